#pragma once

namespace pelkor::cli {

// Exit statuses of pelkor-cli, in the sysexits tradition where one applies.
inline constexpr int kExitOk = 0;
inline constexpr int kExitSinkFailed = 1;
inline constexpr int kExitDesignFailed = 2;  // loading, the check, or a step failed
inline constexpr int kExitUsage = 64;
inline constexpr int kExitNoInput = 66;
inline constexpr int kExitCannotWrite = 73;

}  // namespace pelkor::cli
