# SPDX-License-Identifier: GPL-3.0-or-later
"""A ``pelkor-cli serve`` child process and the requests of the protocol."""

from __future__ import annotations

import json
import os
import shutil
import subprocess
from collections.abc import Iterable
from pathlib import Path
from types import TracebackType
from typing import Any

from ._errors import (Error, LaunchError, NotFoundError, ProtocolError,
                      error_from_reply)
from ._state import NodeState, RunResult, SinkState, State, VersionInfo

PROTOCOL_VERSION = 1

Bits = str | Iterable[int] | Iterable[bool]
PathLike = str | os.PathLike[str]


def find_cli(cli: PathLike | None = None) -> str:
    """The pelkor-cli to start: ``cli`` when given, else $PELKOR_CLI, else the one on the PATH."""
    chosen = os.fspath(cli) if cli is not None else os.environ.get("PELKOR_CLI")
    if chosen:
        return chosen
    found = shutil.which("pelkor-cli")
    if found is None:
        raise LaunchError("pelkor-cli is not on the PATH; set PELKOR_CLI to the program")
    return found


def bit_text(bits: Bits) -> str:
    """Bits as the protocol writes them: "0110" from "0110", [0, 1, 1, 0] or booleans."""
    if isinstance(bits, str):
        return bits
    return "".join("1" if bit else "0" for bit in bits)


class Session:
    """One ``pelkor-cli serve`` process, started at once and ended by :meth:`close`.

    Paths name nodes of the instance tree as ``pelkor-cli run --report json`` does: the top
    module's name, then "/" and an instance number for each level ("adder/5/2").
    """

    def __init__(self, design: PathLike | None = None, *, cli: PathLike | None = None) -> None:
        program = find_cli(cli)
        try:
            self._process: subprocess.Popen[str] | None = subprocess.Popen(
                [program, "serve"], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                encoding="utf-8", errors="replace")
        except OSError as e:
            raise LaunchError(f"cannot start {program}: {e}") from e
        self._last_id = 0
        try:
            info = self.version()
            if info.protocol != PROTOCOL_VERSION:
                raise ProtocolError(
                    f"{program} speaks protocol {info.protocol}, this package {PROTOCOL_VERSION}",
                    "protocol_version")
            if design is not None:
                self.load(design)
        except BaseException:
            self._end()
            raise

    def __enter__(self) -> Session:
        return self

    def __exit__(self, kind: type[BaseException] | None, error: BaseException | None,
                 trace: TracebackType | None) -> None:
        self.close()

    @property
    def closed(self) -> bool:
        return self._process is None

    def request(self, command: str, **args: Any) -> Any:
        """Sends one request and returns its result; an error reply raises its :class:`Error`."""
        if self._process is None:
            raise LaunchError("the session is closed")
        assert self._process.stdin is not None and self._process.stdout is not None
        self._last_id += 1
        line = json.dumps({"id": self._last_id, "cmd": command, "args": args},
                          ensure_ascii=False)
        try:
            self._process.stdin.write(line + "\n")
            self._process.stdin.flush()
            reply_line = self._process.stdout.readline()
        except OSError:
            reply_line = ""  # the process has gone: its input pipe is broken
        if not reply_line:
            status = self._process.wait()
            raise LaunchError(f"pelkor-cli ended (exit status {status}) before it replied")
        try:
            reply = json.loads(reply_line)
        except ValueError as e:
            raise ProtocolError(f"not a reply: {reply_line.strip()}") from e
        if not isinstance(reply, dict) or reply.get("id") != self._last_id:
            raise ProtocolError(f"a reply to another request: {reply_line.strip()}")
        if not reply.get("ok"):
            error = reply.get("error") or {}
            raise error_from_reply(str(error.get("code", "")), str(error.get("message", "")))
        return reply.get("result")

    def version(self) -> VersionInfo:
        result = self.request("version")
        return VersionInfo(result["protocol"], result["program"], result["version"])

    def load(self, design: PathLike) -> str:
        """Opens a design file with its hierarchy (ending any simulation); the top module's name."""
        return str(self.request("open", file=os.fspath(design))["module"])

    def check(self) -> None:
        """Checks the design and starts its simulation afresh at step 0."""
        self.request("check")

    def step(self, n: int = 1) -> None:
        """Runs ``n`` steps; a failing step raises :class:`SimulationError` and ends them."""
        self.request("step", n=n)

    def back(self, n: int = 1) -> None:
        """Returns the whole simulation to the state ``n`` steps earlier (not before step 0)."""
        self.request("back", n=n)

    def goto(self, step: int) -> None:
        """Moves the simulation to ``step``: back through the states kept, or forward by steps."""
        self.request("goto", step=step)

    def run(self, max_steps: int | None = None, *, stop_at_mismatch: bool = False) -> RunResult:
        """Steps until the net is idle, ``max_steps`` were run or, when asked, a sink took a
        value it does not expect."""
        args: dict[str, Any] = {"stop_at_mismatch": stop_at_mismatch}
        if max_steps is not None:
            args["n"] = max_steps
        result = self.request("run", **args)
        return RunResult(result["step"], result["steps"], result["end"])

    def state(self, path: str | None = None) -> State:
        """Every running node, or the one at ``path``."""
        args = {} if path is None else {"path": path}
        return State.from_json(self.request("state", **args))

    def node(self, path: str | None = None) -> NodeState:
        """The state of the node at ``path``; the top node without one."""
        return self.state(path).nodes[0]

    def source(self, key: int | str, path: str | None = None) -> Source:
        """The source with that ID or name in the node at ``path`` (the top node without one)."""
        node = self.node(path)
        return Source(self, node.path, _find(node.sources, key, "source", node.path))

    def sink(self, key: int | str, path: str | None = None) -> Sink:
        """The sink with that ID or name in the node at ``path`` (the top node without one)."""
        node = self.node(path)
        return Sink(self, node.path, _find(node.sinks, key, "sink", node.path))

    def log(self) -> list[str]:
        """The output-log lines written since the last call."""
        return list(self.request("log")["lines"])

    def render(self, path: str | None = None, zoom: int = 0) -> str:
        """An SVG picture of the node's module with its run state, as the editor shows it."""
        args: dict[str, Any] = {"zoom": zoom}
        if path is not None:
            args["path"] = path
        return str(self.request("render", **args)["svg"])

    def export(self, file: PathLike, path: str | None = None) -> None:
        """Writes the node's module as a DRAVU objects file (.bsp)."""
        args: dict[str, Any] = {"file": os.fspath(file)}
        if path is not None:
            args["path"] = path
        self.request("export", **args)

    def close(self) -> None:
        """Ends the simulation and the process; closing twice does nothing."""
        if self._process is None:
            return
        try:
            self.request("close")
        except Error:
            pass
        finally:
            self._end()

    def _end(self) -> None:
        process, self._process = self._process, None
        if process is None:
            return
        for stream in (process.stdin, process.stdout):
            if stream is not None:
                try:
                    stream.close()
                except OSError:
                    pass
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def _find(records: dict[int, Any], key: int | str, kind: str, path: str) -> int:
    if isinstance(key, int):
        if key in records:
            return key
        raise NotFoundError(f"{path} has no {kind} {key}", "not_found")
    named = [number for number, record in records.items() if record.name == key]
    if not named:
        raise NotFoundError(f"{path} has no {kind} named {key}", "not_found")
    if len(named) > 1:
        raise NotFoundError(f"{path} has {len(named)} {kind}s named {key}: give the id",
                            "ambiguous")
    return named[0]


class _Primitive:
    """A source or sink of a running node, by the node's path and the primitive's ID."""

    def __init__(self, session: Session, path: str, id: int) -> None:
        self.session = session
        self.path = path
        self.id = id

    def __repr__(self) -> str:
        return f"{type(self).__name__}({self.path!r}, {self.id})"


class Source(_Primitive):
    """A source of a running node: what it has left to emit, and the means to change it."""

    @property
    def remaining(self) -> str:
        return self.session.node(self.path).sources[self.id].remaining

    def feed(self, bits: Bits) -> None:
        """Adds values after those the source has left."""
        self.session.request("set_source", path=self.path, id=self.id, values=bit_text(bits),
                             append=True)

    def set(self, bits: Bits) -> None:
        """Replaces the values the source has left."""
        self.session.request("set_source", path=self.path, id=self.id, values=bit_text(bits))


class Sink(_Primitive):
    """A sink of a running node: what it received and what it expects."""

    def state(self) -> SinkState:
        return self.session.node(self.path).sinks[self.id]

    @property
    def received(self) -> str:
        return self.state().received

    @property
    def expected(self) -> str:
        return self.state().expected

    @property
    def verdict(self) -> str:
        return self.state().verdict

    def expect(self, bits: Bits) -> None:
        """Sets the values the sink expects, as the sink's dialog does: in the design held in
        memory, so every node of the sink's module expects them and a later check keeps them;
        the design file keeps its own."""
        self.session.request("expect", path=self.path, id=self.id, values=bit_text(bits))


def open(design: PathLike | None = None, *, cli: PathLike | None = None) -> Session:
    """Starts ``pelkor-cli serve`` (``cli``, else $PELKOR_CLI, else the PATH's) and opens
    ``design`` in it; use it in a ``with`` statement so that the process ends."""
    return Session(design, cli=cli)
