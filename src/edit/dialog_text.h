// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace pelkor {

// How the property dialogs read and write the texts of their edits.

// The value of the leading decimal digits of `text`, 0 when it starts with none; a value too
// large for an int gives the largest int.
int DecimalValue(std::string_view text);

// The counter's count number as its up-down control reports a typed text: the decimal value,
// brought into the control's range.
inline constexpr int kMinCountNumber = 1;
inline constexpr int kMaxCountNumber = 128;
int CountNumberOfText(std::string_view text);

// A source or sink name as stored: spaces, tabs and line breaks cut off at both ends.
std::string TrimmedName(std::string_view text);

// Records keep line breaks as CR LF; multi-line edits work with LF alone.
std::string EditLineBreaks(std::string_view recordText);
std::string RecordLineBreaks(std::string_view editText);

}  // namespace pelkor
