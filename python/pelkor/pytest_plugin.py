# SPDX-License-Identifier: GPL-3.0-or-later
"""The pytest plugin of pelkor, loaded through its entry point: the ``pelkor_sim`` fixture
opens a design for each test and closes it after.

    @pytest.mark.pelkor_design("../full_adder.dtn")  # relative to the test file
    def test_adds(pelkor_sim: pelkor.Session) -> None:
        pelkor_sim.check()
        ...

Without the marker the ``pelkor_design`` fixture gives the design; override it in a
conftest.py to give one design to many tests. ``--pelkor-cli`` chooses the program.
"""

from __future__ import annotations

from collections.abc import Iterator
from pathlib import Path

import pytest

from ._session import Session


def pytest_addoption(parser: pytest.Parser) -> None:
    parser.addoption("--pelkor-cli", metavar="PATH", default=None,
                     help="the pelkor-cli program (default: $PELKOR_CLI, else the PATH's)")


def pytest_configure(config: pytest.Config) -> None:
    config.addinivalue_line(
        "markers", "pelkor_design(path): the design file the pelkor_sim fixture opens, relative "
        "to the test file")


@pytest.fixture
def pelkor_design(request: pytest.FixtureRequest) -> Path | None:
    """The design of the test's closest ``pelkor_design`` marker; none without one."""
    marker = request.node.get_closest_marker("pelkor_design")
    if marker is None:
        return None
    path = Path(marker.args[0])
    return path if path.is_absolute() else Path(request.path).parent / path


@pytest.fixture
def pelkor_sim(request: pytest.FixtureRequest, pelkor_design: Path | None) -> Iterator[Session]:
    """A ``pelkor-cli serve`` session with the test's design open, closed after the test."""
    with Session(pelkor_design, cli=request.config.getoption("pelkor_cli")) as session:
        yield session
