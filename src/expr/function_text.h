// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace pelkor {

// One user-written function text (a counter's count text, a state's first or second text)
// and the forms derived from it, step by step.
struct FunctionText {
  std::string source;                  // as typed, CR LF line ends
  std::string normalized;              // statements separated by LF, no blanks, no comments
  std::map<std::string, int> inputs;   // input name -> number from 1, in order of first use
  std::map<std::string, int> outputs;  // output name -> number from 1, in order of assignment
  std::string translated;              // names replaced by "i%d" / "o%d"
  std::string guard;                   // guard expression taken off the front, or empty
  std::string rightSides;              // one expression per line, LF-terminated
  std::string postfix;                 // one postfix program per line, LF-terminated

  bool operator==(const FunctionText&) const = default;
};

// Each step throws MessageError with the user-facing text on failure.
void Normalize(FunctionText& text);
void CollectVariables(FunctionText& text);
void TranslateNames(FunctionText& text);
void SplitGuard(FunctionText& text);
void ExtractRightSides(FunctionText& text);

// The part of a text before its first NUL: every step stops reading there, wherever the text
// came from.
std::string_view TextBeforeNul(const std::string& text);

// Clears every derived field, then runs Normalize, CollectVariables and TranslateNames
// (the steps that run when a dialog is confirmed or a design file is read).
void RegenerateText(FunctionText& text);

}  // namespace pelkor
