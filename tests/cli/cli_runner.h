// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/wait.h>
#include <array>
#include <cstdio>
#include <string>

namespace pelkor::testing {

struct CliResult {
  int status = -1;
  std::string out;  // standard output; standard error is sent to /dev/null unless merged
};

// Runs a shell command with no standard input; returns its exit status and standard output.
inline CliResult RunShell(const std::string& command) {
  CliResult result;
  FILE* pipe = popen((command + " </dev/null").c_str(), "r");
  if (pipe == nullptr)
    return result;
  std::array<char, 4096> buffer{};
  std::size_t n = 0;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    result.out.append(buffer.data(), n);
  const int raw = pclose(pipe);
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return result;
}

// Runs the real pelkor-cli binary through the shell with the given argument text.
inline CliResult RunCliBinary(const std::string& arguments, bool mergeStderr = false) {
  return RunShell(std::string(PELKOR_CLI_BINARY) + " " + arguments +
                  (mergeStderr ? " 2>&1" : " 2>/dev/null"));
}

}  // namespace pelkor::testing
