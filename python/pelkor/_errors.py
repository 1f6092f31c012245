# SPDX-License-Identifier: GPL-3.0-or-later
"""The exceptions of the package: one class for each kind of error reply."""

from __future__ import annotations


class Error(Exception):
    """A request that pelkor could not carry out.

    ``message`` is the system's own text (the output-log lines of a failed check or step, for
    instance), ``code`` the protocol's error code.
    """

    def __init__(self, message: str, code: str = "") -> None:
        super().__init__(message)
        self.message = message
        self.code = code

    def __str__(self) -> str:
        return f"{self.message} [{self.code}]" if self.code else self.message


class LaunchError(Error):
    """pelkor-cli cannot be found or started, or it ended while a request waited."""


class ProtocolError(Error):
    """The two sides do not understand each other: a request pelkor-cli refused as malformed,
    an unknown command, another protocol version, or a reply that is not one."""


class ArgumentError(Error):
    """A request's argument is missing, unknown or of the wrong kind."""


class UnsupportedError(Error):
    """A command this version of pelkor-cli does not offer yet."""


class NotSimulatingError(Error):
    """The request needs a checked design: call ``check()`` first."""


class NotFoundError(Error):
    """No node, source or sink of that path, ID or name; or more than one of that name."""


class DesignError(Error):
    """The design cannot be opened, loaded completely or checked."""


class SimulationError(Error):
    """A step failed; the message holds what the step wrote to the output log."""


class ExportError(Error):
    """The DRAVU objects file cannot be written."""


_BY_CODE: dict[str, type[Error]] = {
    "parse_error": ProtocolError,
    "invalid_request": ProtocolError,
    "unknown_command": ProtocolError,
    "internal_error": ProtocolError,
    "invalid_argument": ArgumentError,
    "unsupported": UnsupportedError,
    "not_simulating": NotSimulatingError,
    "not_found": NotFoundError,
    "ambiguous": NotFoundError,
    "open_failed": DesignError,
    "load_failed": DesignError,
    "check_failed": DesignError,
    "step_failed": SimulationError,
    "export_failed": ExportError,
}


def error_from_reply(code: str, message: str) -> Error:
    """The exception for an error reply; an unknown code gives a plain :class:`Error`."""
    return _BY_CODE.get(code, Error)(message, code)
