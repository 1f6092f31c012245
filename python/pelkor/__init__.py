# SPDX-License-Identifier: GPL-3.0-or-later
"""Testbenches for pelkor designs in Python: a ``pelkor-cli serve`` child process, driven
through the protocol that docs/protocol.md describes.

>>> import pelkor
>>> with pelkor.open("examples/full_adder.dtn") as sim:
...     sim.check()
...     sim.source("a").feed("1101")
...     sim.step(9)
...     assert sim.sink("sum").received == "0110"

Sources and sinks are found by ID or name in a node given by its path (the top node without
one); ``state()`` gives every running node as dataclasses; a failed request raises a subclass
of :class:`Error` that carries the system's message.
"""

from ._errors import (ArgumentError, DesignError, Error, ExportError, LaunchError,
                      NotFoundError, NotSimulatingError, ProtocolError, SimulationError,
                      UnsupportedError)
from ._session import PROTOCOL_VERSION, Session, Sink, Source, find_cli, open
from ._state import (CounterState, MachineState, NodeState, RunResult, SinkState, SourceState,
                     State, VersionInfo)

__all__ = [
    "PROTOCOL_VERSION", "Session", "Source", "Sink", "open", "find_cli",
    "State", "NodeState", "SourceState", "SinkState", "CounterState", "MachineState",
    "RunResult", "VersionInfo",
    "Error", "LaunchError", "ProtocolError", "ArgumentError", "UnsupportedError",
    "NotSimulatingError", "NotFoundError", "DesignError", "SimulationError", "ExportError",
]
