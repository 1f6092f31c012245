# SPDX-License-Identifier: GPL-3.0-or-later
"""The pelkor package against the pelkor-cli of the build ($PELKOR_CLI)."""

import doctest
import json
import os
import re
import stat
import subprocess
import sys
from collections.abc import Callable
from pathlib import Path

import pytest

import pelkor

ROOT = Path(__file__).resolve().parents[2]
EXAMPLES = ROOT / "examples"
ADDER = EXAMPLES / "full_adder.dtn"


def example_with(tmp_path: Path, example: str, name: str, old: str, new: str) -> Path:
    text = (EXAMPLES / example).read_bytes().decode()
    assert old in text
    path = tmp_path / name
    path.write_bytes(text.replace(old, new).encode())
    return path


def test_the_package_example_runs(monkeypatch: pytest.MonkeyPatch) -> None:
    monkeypatch.chdir(ROOT)
    failures, tried = doctest.testmod(pelkor)
    assert (failures, tried > 0) == (0, True)


def test_the_readme_example_runs(monkeypatch: pytest.MonkeyPatch) -> None:
    readme = (ROOT / "README.md").read_text(encoding="utf-8")
    section = readme[readme.index("## Scripting"):]
    example = re.search(r"```python\n(.*?)```", section, re.S)
    assert example is not None
    monkeypatch.chdir(ROOT)
    exec(compile(example.group(1), "README.md", "exec"), {})


def test_state_is_the_run_report_of_pelkor_cli() -> None:
    report = json.loads(subprocess.run(
        [os.environ["PELKOR_CLI"], "run", "-q", "--report", "json", str(EXAMPLES / "double_inverter.dtn")],
        check=True, capture_output=True, text=True).stdout)
    with pelkor.open(EXAMPLES / "double_inverter.dtn") as sim:
        sim.check()
        result = sim.run()
        state = sim.state()
    assert (result.end, result.step, result.steps) == ("idle", report["steps"], report["steps"])
    assert state.step == report["steps"]
    sinks = [sink for node in state.nodes for sink in node.sinks.values()]
    assert [(s.path, s.id, s.name, s.received, s.expected, s.verdict, s.first_mismatch_step)
            for s in sinks] == [
        (s["path"], s["id"], s["name"], s["received"], s["expected"], s["verdict"],
         s["firstMismatchStep"]) for s in report["sinks"]]
    assert [node.path for node in state.nodes] == ["double_inverter", "double_inverter/6",
                                                     "double_inverter/7"]
    assert all(isinstance(node, pelkor.NodeState) for node in state.nodes)
    assert state.node("double_inverter/6").module == "inverter"


def test_sources_and_sinks_are_found_by_name_or_id_in_a_node() -> None:
    with pelkor.open(EXAMPLES / "double_inverter.dtn") as sim:
        sim.check()
        assert sim.sink("twice").id == sim.sink(5).id == 5
        inner = sim.source("x", path="double_inverter/6")
        assert (inner.path, inner.id) == ("double_inverter/6", 4)
        for find in (lambda: sim.source("nothing"), lambda: sim.sink(4),
                     lambda: sim.source("x", path="double_inverter/9")):
            with pytest.raises(pelkor.NotFoundError):
                find()

        source = sim.source("in")
        assert source.remaining == "0110"
        source.feed("11")
        assert source.remaining == "011011"
        source.set([1, 0, True])
        assert source.remaining == "101"
        sim.run()
        assert sim.sink("twice").received == "101"


def test_expectations_change_the_verdicts_and_not_the_design(tmp_path: Path) -> None:
    design = tmp_path / "full_adder.dtn"
    design.write_bytes(ADDER.read_bytes())
    with pelkor.open(design) as sim:
        sim.check()
        sim.sink("sum").expect("0110")
        assert sim.run(stop_at_mismatch=True).end == "mismatch"
        assert sim.sink("sum").verdict == "fail"
        assert sim.sink("sum").expected == "0110"
        assert any("期待と異なる値" in line for line in sim.log())
    assert design.read_bytes() == ADDER.read_bytes()


def test_going_back_shows_each_step_as_it_was() -> None:
    with pelkor.open(ADDER) as sim:
        sim.check()
        states = []
        for _ in range(6):
            sim.step()
            states.append(sim.state())
        sim.back(3)
        assert sim.state() == states[2]
        sim.goto(6)
        assert sim.state() == states[5]


def test_pictures_logs_and_exports(tmp_path: Path) -> None:
    with pelkor.open(ADDER) as sim:
        sim.check()
        sim.step(4)
        assert sim.render(zoom=1).startswith("<?xml")
        assert sim.log() == ["full_adderを読み込みました", "チェック完了"]
        assert sim.log() == []
        sim.export(tmp_path / "adder.bsp")
    assert (tmp_path / "adder.bsp").read_text(encoding="cp932").startswith(
        "=== DRAVU Objects Data Ver.2.00 ===")


def early_pipe(tmp_path: Path) -> Path:
    (tmp_path / "pipe.dtn").write_bytes((EXAMPLES / "pipe.dtn").read_bytes())
    return example_with(tmp_path, "dynamic_pipe.dtn", "early.dtn",
                        "uhzi[5,40,60,0,0,0,create]{\r\n1}", "uhzi[5,40,60,0,0,0,create]{\r\n}")


ERRORS: list[tuple[str, Callable[[pelkor.Session, Path], object], type[pelkor.Error], str]] = [
    ("open", lambda sim, tmp: sim.load("/no/such/design.dtn"), pelkor.DesignError,
     "/no/such/design.dtnをオープン出来ません"),
    ("check", lambda sim, tmp: (sim.load(example_with(tmp, "full_adder.dtn", "unnamed.dtn",
                                                      "arc[1,6]{a}", "arc[1,6]{}")),
                                sim.check()),
     pelkor.DesignError, "unnamedのステートマシン6にエラー"),
    ("step", lambda sim, tmp: (sim.load(early_pipe(tmp)), sim.check(), sim.step(10)),
     pelkor.SimulationError, "newされる前に入力が起こりました"),
    ("not checked", lambda sim, tmp: sim.step(), pelkor.NotSimulatingError, "check"),
    ("argument", lambda sim, tmp: (sim.check(), sim.step(0)), pelkor.ArgumentError, "n:"),
    ("unsupported", lambda sim, tmp: sim.request("explain"), pelkor.UnsupportedError,
     "explain is not yet available"),
    ("unknown", lambda sim, tmp: sim.request("fly"), pelkor.ProtocolError, "fly"),
    ("export", lambda sim, tmp: sim.export(tmp / "no such folder" / "x.bsp"), pelkor.ExportError,
     "x.bsp"),
]


@pytest.mark.parametrize("action, error, message", [e[1:] for e in ERRORS],
                         ids=[e[0] for e in ERRORS])
def test_errors_carry_the_systems_message(tmp_path: Path, action: Callable[..., object],
                                         error: type[pelkor.Error], message: str) -> None:
    with pelkor.open() as sim:
        with pytest.raises(error) as raised:
            action(sim, tmp_path)
        assert message in raised.value.message
        assert raised.value.code
        # The session goes on.
        assert sim.version().protocol == pelkor.PROTOCOL_VERSION


def fake_cli(tmp_path: Path, body: str) -> Path:
    script = tmp_path / "fake-pelkor-cli"
    script.write_text(f"#!{sys.executable}\nimport json, sys\n{body}\n")
    script.chmod(script.stat().st_mode | stat.S_IXUSR)
    return script


def test_a_program_that_is_not_the_right_one_is_refused(tmp_path: Path,
                                                         monkeypatch: pytest.MonkeyPatch) -> None:
    other_version = fake_cli(tmp_path, """
for line in sys.stdin:
    request = json.loads(line)
    print(json.dumps({"id": request["id"], "ok": True,
                      "result": {"protocol": 99, "program": "x", "version": "0"}}), flush=True)
""")
    with pytest.raises(pelkor.ProtocolError, match="protocol 99"):
        pelkor.open(cli=other_version)
    with pytest.raises(pelkor.LaunchError, match="ended"):
        pelkor.open(cli=fake_cli(tmp_path, "sys.exit(3)"))
    with pytest.raises(pelkor.LaunchError, match="cannot start"):
        pelkor.open(cli=tmp_path / "missing")
    monkeypatch.delenv("PELKOR_CLI")
    monkeypatch.setenv("PATH", str(tmp_path))
    with pytest.raises(pelkor.LaunchError, match="PATH"):
        pelkor.open()


def test_closing_ends_the_process() -> None:
    sim = pelkor.open(ADDER)
    process = sim._process
    with sim:
        sim.check()
    assert sim.closed and process is not None and process.returncode == 0
    sim.close()
    with pytest.raises(pelkor.LaunchError, match="closed"):
        sim.step()
