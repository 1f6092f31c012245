// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <istream>
#include <ostream>
#include <streambuf>
#include <string>

namespace pelkor::cli {

// The longest request line read; a longer one is answered with an error and passed over.
inline constexpr std::size_t kMaxRequestBytes = std::size_t{64} << 20;

enum class LineRead { kLine, kTooLong, kEnd };

// Reads one line into `line` without its end (LF, or CR LF); a last line without an end counts.
// A line longer than `limit` is read to its end and dropped.
LineRead ReadLine(std::streambuf& input, std::string& line, std::size_t limit);

// `pelkor-cli serve`: answers the requests read from `in`, one a line, each with one reply line
// on `out`, flushed at once, until the input ends or a close request is answered; returns the
// exit status. Blank lines are passed over; a line longer than `limit` gets an error reply.
int ServeCommand(std::istream& in, std::ostream& out, std::size_t limit = kMaxRequestBytes);

}  // namespace pelkor::cli
