# SPDX-License-Identifier: GPL-3.0-or-later
"""What the replies hold, as plain dataclasses."""

from __future__ import annotations

from dataclasses import dataclass, field
from typing import Any

from ._errors import NotFoundError


@dataclass(frozen=True)
class VersionInfo:
    protocol: int
    program: str
    version: str


@dataclass(frozen=True)
class CounterState:
    remaining: int
    ready: bool


@dataclass(frozen=True)
class MachineState:
    state: int  # the number of the current state, 0 after a firing that chose no arc
    ready: bool


@dataclass(frozen=True)
class SourceState:
    name: str
    remaining: str  # the values still to be emitted, the next first


@dataclass(frozen=True)
class SinkState:
    path: str
    id: int
    name: str
    received: str  # in arrival order
    expected: str
    verdict: str  # "pass", "fail" or "none", as if the run ended now
    first_mismatch_step: int | None


@dataclass(frozen=True)
class NodeState:
    """One running node of the instance tree: cells as "0", "1" and "-" from entry to exit."""

    path: str
    module: str
    deleted: bool
    registers: dict[int, str] = field(default_factory=dict)
    counters: dict[int, CounterState] = field(default_factory=dict)
    machines: dict[int, MachineState] = field(default_factory=dict)
    sources: dict[int, SourceState] = field(default_factory=dict)
    sinks: dict[int, SinkState] = field(default_factory=dict)

    @classmethod
    def from_json(cls, node: dict[str, Any]) -> NodeState:
        return cls(
            path=node["path"],
            module=node["module"],
            deleted=node["deleted"],
            registers={int(k): v for k, v in node["registers"].items()},
            counters={int(k): CounterState(v["remaining"], v["ready"])
                      for k, v in node["counters"].items()},
            machines={int(k): MachineState(v["state"], v["ready"])
                      for k, v in node["machines"].items()},
            sources={int(k): SourceState(v["name"], v["remaining"])
                     for k, v in node["sources"].items()},
            sinks={int(k): SinkState(v["path"], v["id"], v["name"], v["received"], v["expected"],
                                     v["verdict"], v["firstMismatchStep"])
                   for k, v in node["sinks"].items()},
        )


@dataclass(frozen=True)
class State:
    """The state of every running node after ``step`` steps since the check."""

    step: int
    nodes: list[NodeState]

    @classmethod
    def from_json(cls, result: dict[str, Any]) -> State:
        return cls(result["step"], [NodeState.from_json(node) for node in result["nodes"]])

    def node(self, path: str | None = None) -> NodeState:
        """The node at ``path`` ("top/5/2"); the root without one."""
        for node in self.nodes:
            if path is None or node.path == path:
                return node
        raise NotFoundError(f"no node runs at {path}", "not_found")


@dataclass(frozen=True)
class RunResult:
    step: int  # the steps since the check
    steps: int  # the steps this run ran
    end: str  # "idle", "step_limit" or "mismatch"
