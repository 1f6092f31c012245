# SPDX-License-Identifier: GPL-3.0-or-later
"""A testbench for ../full_adder.dtn: random bits go into its three sources as they empty, for
1,000 steps, and every sum and carry that comes out is checked against a reference in Python.

Run it with pytest once the pelkor package and pelkor-cli are installed (or PYTHONPATH and
PELKOR_CLI lead to them, as the README shows):

    python3 -m pytest examples/python
"""

import random

import pytest

import pelkor

STEPS = 1000


def full_adder(a: int, b: int, carry_in: int) -> tuple[int, int]:
    total = a + b + carry_in
    return total % 2, total // 2


@pytest.mark.pelkor_design("../full_adder.dtn")
def test_sums_and_carries_of_random_bits(pelkor_sim: pelkor.Session) -> None:
    sim = pelkor_sim
    sim.check()
    inputs = {name: sim.source(name) for name in ("a", "b", "cin")}
    sum_sink, carry_sink = sim.sink("sum"), sim.sink("cout")
    # The bits in the design file are replaced by those the testbench chooses.
    for source in inputs.values():
        source.set("")

    rng = random.Random(26)
    fed: dict[str, list[int]] = {name: [] for name in inputs}
    checked = 0
    for _ in range(STEPS):
        node = sim.node()
        for name, source in inputs.items():
            if not node.sources[source.id].remaining:
                bit = rng.randint(0, 1)
                source.feed([bit])
                fed[name].append(bit)
        sim.step()

        node = sim.node()
        sums = node.sinks[sum_sink.id].received
        carries = node.sinks[carry_sink.id].received
        assert len(sums) == len(carries)
        for k in range(checked, len(sums)):
            expected = full_adder(fed["a"][k], fed["b"][k], fed["cin"][k])
            assert (int(sums[k]), int(carries[k])) == expected, f"value {k}"
        checked = len(sums)

    # Two steps a value: a full run of the adder checks hundreds of them.
    assert checked >= STEPS // 2 - 2
    # The sinks' own verdicts agree once they expect what the reference computed.
    reference = [full_adder(*bits) for bits in zip(fed["a"], fed["b"], fed["cin"])][:checked]
    sum_sink.expect([s for s, _ in reference])
    carry_sink.expect([c for _, c in reference])
    assert (sum_sink.verdict, carry_sink.verdict) == ("pass", "pass")
