// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace pelkor::testing {

// Runs `body` in a forked child and returns its result (the child's exit status), or -1 when
// the child did not exit normally. Process-wide changes such as resource limits stay in the
// child. With `withoutPrivileges`, a child of a test run as root first becomes "nobody", so
// that permission bits apply to it.
inline int RunInChild(const std::function<int()>& body, bool withoutPrivileges = false) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (withoutPrivileges && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
      ::_exit(120);
    }
    ::_exit(body());
  }
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
    return -1;
  return WEXITSTATUS(status);
}

}  // namespace pelkor::testing
