// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <string>

namespace pelkor::cli {

// Exit statuses of pelkor-cli, in the sysexits tradition where one applies.
inline constexpr int kExitOk = 0;
inline constexpr int kExitSinkFailed = 1;
inline constexpr int kExitDesignFailed = 2;  // loading, the check, or a step failed
inline constexpr int kExitUsage = 64;
inline constexpr int kExitNoInput = 66;
inline constexpr int kExitCannotWrite = 73;

// `diff` answers as diff(1) does.
inline constexpr int kExitDiffFound = 1;
inline constexpr int kExitDiffTrouble = 2;

struct ExitStatusMeaning {
  int status;
  const char* meaning;
};

inline constexpr ExitStatusMeaning kExitStatuses[] = {
    {kExitOk, "success"},
    {kExitSinkFailed, "a sink failed its expectation"},
    {kExitDesignFailed, "loading, the check or a step failed"},
    {kExitUsage, "bad usage"},
    {kExitNoInput, "an input file or folder cannot be opened or is refused"},
    {kExitCannotWrite, "an output file cannot be written"},
};

inline constexpr ExitStatusMeaning kDiffExitStatuses[] = {
    {kExitOk, "no difference"},
    {kExitDiffFound, "differences"},
    {kExitDiffTrouble,
     "trouble: bad usage, a file that cannot be read whole, or a picture that cannot be written"},
};

// "Exit status: 0 success; 1 ...; 73 ...."
std::string ExitStatusText(std::span<const ExitStatusMeaning> statuses);

}  // namespace pelkor::cli
