#pragma once

#include <iosfwd>

namespace pelkor::cli {

// Runs pelkor-cli with the given arguments, writing the output log and reports to `out` and
// errors to `err`; returns the exit status.
int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace pelkor::cli
