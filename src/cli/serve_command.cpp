// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/serve_command.h"

#include "cli/exit_status.h"
#include "cli/serve_protocol.h"
#include "cli/serve_session.h"

namespace pelkor::cli {

LineRead ReadLine(std::streambuf& input, std::string& line, std::size_t limit) {
  line.clear();
  bool tooLong = false;
  for (;;) {
    const int c = input.sbumpc();
    if (c == std::char_traits<char>::eof()) {
      if (line.empty() && !tooLong)
        return LineRead::kEnd;
      break;
    }
    if (c == '\n')
      break;
    if (line.size() < limit) {
      line.push_back(static_cast<char>(c));
    } else {
      tooLong = true;
    }
  }
  if (tooLong) {
    line.clear();
    return LineRead::kTooLong;
  }
  if (!line.empty() && line.back() == '\r')
    line.pop_back();
  return LineRead::kLine;
}

int ServeCommand(std::istream& in, std::ostream& out, std::size_t limit) {
  ServeSession session;
  std::string line;
  for (;;) {
    const LineRead read = ReadLine(*in.rdbuf(), line, limit);
    if (read == LineRead::kEnd)
      return kExitOk;
    if (read == LineRead::kLine && line.find_first_not_of(" \t") == std::string::npos)
      continue;
    if (read == LineRead::kTooLong) {
      out << ErrorReply(nullptr, "invalid_request",
                        "the line is longer than " + std::to_string(limit) + " bytes");
    } else {
      out << session.Handle(line);
    }
    // One write and one flush a reply: the client waits for the whole line.
    out << '\n' << std::flush;
    if (!out)
      return kExitCannotWrite;
    if (session.closed())
      return kExitOk;
  }
}

}  // namespace pelkor::cli
