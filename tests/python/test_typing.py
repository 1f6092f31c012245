# SPDX-License-Identifier: GPL-3.0-or-later
"""Every public function, method and dataclass of the package is annotated, and every
annotation names something that exists."""

import dataclasses
import inspect
import typing
from collections.abc import Callable, Iterator

import pelkor
from pelkor import pytest_plugin

PROTOCOL_METHODS = {"__init__", "__enter__", "__exit__"}


def public_functions() -> Iterator[tuple[str, Callable[..., object]]]:
    for name, function in inspect.getmembers(pytest_plugin, inspect.isfunction):
        if function.__module__ == pytest_plugin.__name__:
            yield f"pytest_plugin.{name}", getattr(function, "__wrapped__", function)
    for name in pelkor.__all__:
        value = getattr(pelkor, name)
        if inspect.isfunction(value):
            yield name, value
        elif inspect.isclass(value) and not issubclass(value, BaseException):
            for attribute in dir(value):
                if attribute.startswith("_") and attribute not in PROTOCOL_METHODS:
                    continue
                member = inspect.getattr_static(value, attribute)
                if isinstance(member, property):
                    member = member.fget
                elif isinstance(member, classmethod):
                    member = member.__func__
                # What the package defines, inherited or not; not what object brings.
                if inspect.isfunction(member) and member.__module__.startswith("pelkor"):
                    yield f"{name}.{attribute}", member


def test_every_public_function_is_annotated() -> None:
    functions = dict(public_functions())
    assert {"Session.step", "Source.__init__", "Sink.expect", "open"} <= set(functions)
    for name, function in functions.items():
        hints = typing.get_type_hints(function)
        parameters = [p.name for p in inspect.signature(function).parameters.values()
                      if p.name not in ("self", "cls")]
        assert [p for p in parameters if p not in hints] == [], name
        assert "return" in hints, name


def test_every_dataclass_field_resolves() -> None:
    classes = [getattr(pelkor, name) for name in pelkor.__all__
               if dataclasses.is_dataclass(getattr(pelkor, name))]
    assert pelkor.State in classes and pelkor.SinkState in classes
    for cls in classes:
        assert set(typing.get_type_hints(cls)) >= {f.name for f in dataclasses.fields(cls)}
