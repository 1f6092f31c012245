# SPDX-License-Identifier: GPL-3.0-or-later
"""The pytest plugin, loaded by pytest through the package's entry point."""

from pathlib import Path

import pytest

ADDER = Path(__file__).resolve().parents[2] / "examples" / "full_adder.dtn"


def test_each_test_gets_its_design_open_and_closed_after(pytester: pytest.Pytester) -> None:
    (pytester.path / "designs").mkdir()
    (pytester.path / "designs" / "adder.dtn").write_bytes(ADDER.read_bytes())
    pytester.makepyfile(test_designs="""
        import pytest
        import pelkor

        sessions = []

        @pytest.mark.pelkor_design("designs/adder.dtn")
        def test_marked(pelkor_sim):
            sessions.append(pelkor_sim)
            pelkor_sim.check()
            assert pelkor_sim.run().end == "idle"
            assert pelkor_sim.node().path == "adder"

        def test_unmarked(pelkor_sim):
            assert sessions[0].closed
            with pytest.raises(pelkor.NotSimulatingError):
                pelkor_sim.step()
    """)
    pytester.runpytest_subprocess("-p", "no:cacheprovider").assert_outcomes(passed=2)


def test_the_program_can_be_chosen(pytester: pytest.Pytester) -> None:
    pytester.makepyfile(test_program="""
        def test_program(pelkor_sim):
            pass
    """)
    result = pytester.runpytest_subprocess("-p", "no:cacheprovider",
                                           "--pelkor-cli", str(pytester.path / "missing"))
    result.assert_outcomes(errors=1)
    result.stdout.fnmatch_lines(["*LaunchError*cannot start*"])
