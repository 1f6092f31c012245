// SPDX-License-Identifier: GPL-3.0-or-later
#include "expr/function_text.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

#include "base/errors.h"

namespace pelkor {
namespace {

constexpr std::string_view kOperatorsAndMarks = "&|^()~?=";
// A ";" right after one of these has no input variable in front of it.
constexpr std::string_view kOperandExpectedAfter = "&|^(~?=";
// What ends a name in a normalized text, besides "=" (which ends an output name).
constexpr std::string_view kNameEnds = "\n&|^()~";
constexpr std::string_view kForbiddenInNames = "!#%-@*+/><[]{}:?";
constexpr std::string_view kLineEnds = "\r\n";

bool IsOneOf(char ch, std::string_view set) {
  return set.find(ch) != std::string_view::npos;
}

bool IsBlank(char ch) {
  return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
}

[[noreturn]] void Fail(const char* message) {
  throw MessageError(message);
}

// Where a scan of a normalized text stands when it meets "=" or the end of the text.
struct ScanState {
  bool inGuard;    // inside the leading "?" statement
  bool mayAssign;  // an "=" is still allowed in this statement
};

// CollectVariables and TranslateNames split a normalized text the same way, so they share this
// walk. A name is a run of characters other than LF, operators and "="; a name ending at "=" is
// an output, any other name an input. The visitor is told:
//   NameCharacter(ch)  each character of a name, as it is read;
//   Output(name, st)   an "=" (name is empty when none stands before it);
//   Input(name)        a name ended by LF or an operator;
//   Separator(ch)      LF, an operator, or the leading "?";
//   End(name, st)      the end of the text (name: one still open there, or empty).
template <typename Visitor>
void ScanNames(std::string_view text, Visitor& visitor) {
  constexpr std::size_t kNoName = std::string_view::npos;
  ScanState state{false, true};
  std::size_t pos = 0;
  if (!text.empty() && text.front() == '?') {
    state = {true, false};
    visitor.Separator('?');
    pos = 1;
  }
  std::size_t nameStart = kNoName;
  const auto nameUpTo = [&](std::size_t end) {
    return nameStart == kNoName ? std::string_view() : text.substr(nameStart, end - nameStart);
  };
  for (; pos < text.size(); ++pos) {
    const char ch = text[pos];
    if (ch == '=') {
      visitor.Output(nameUpTo(pos), state);
      nameStart = kNoName;
      state.mayAssign = false;
    } else if (IsOneOf(ch, kNameEnds)) {
      if (nameStart != kNoName) {
        visitor.Input(nameUpTo(pos));
      }
      nameStart = kNoName;
      visitor.Separator(ch);
      if (ch == '\n') {
        state = {false, true};
      }
    } else {
      visitor.NameCharacter(ch);
      if (nameStart == kNoName) {
        nameStart = pos;
      }
    }
  }
  visitor.End(nameUpTo(text.size()), state);
}

class VariableCollector {
 public:
  explicit VariableCollector(FunctionText& text) : text_(text) {}

  void NameCharacter(char ch) {
    if (IsOneOf(ch, kForbiddenInNames)) {
      Fail("!#%-@*+/><[]{}:? は使用できません");
    }
  }

  void Output(std::string_view name, ScanState state) {
    if (name.empty()) {
      Fail(state.inGuard ? "ガード式がおかしい" : "出力変数がおかしい");
    }
    if (!state.mayAssign) {
      Fail(state.inGuard ? "ガード式にセミコロンが無い" : "セミコロンが無い");
    }
    const std::string key(name);
    if (!text_.outputs.try_emplace(key, nextOutput_).second) {
      Fail("出力変数が重複しています");
    }
    ++nextOutput_;
    if (text_.inputs.contains(key)) {
      Fail("フィードバック入力はだめ");
    }
  }

  void Input(std::string_view name) {
    const auto [entry, added] = text_.inputs.try_emplace(std::string(name), nextInput_);
    if (added) {
      ++nextInput_;
    }
    if (text_.outputs.contains(entry->first)) {
      Fail("フィードバック入力はだめ");
    }
  }

  void Separator(char) {}

  void End(std::string_view openName, ScanState state) {
    if (!openName.empty()) {
      Fail(state.inGuard ? "ガード式がおかしい" : "最後の式にセミコロンが無い");
    }
    if (!state.mayAssign) {
      Fail(state.inGuard ? "ガード式にセミコロンが無い" : "セミコロンが無い");
    }
  }

 private:
  FunctionText& text_;
  int nextInput_ = 1;
  int nextOutput_ = 1;
};

class NameTranslator {
 public:
  explicit NameTranslator(const FunctionText& text) : text_(text) {}

  void NameCharacter(char) {}
  void Output(std::string_view name, ScanState) {
    Append('o', text_.outputs, name);
    result_ += '=';
  }
  void Input(std::string_view name) { Append('i', text_.inputs, name); }
  void Separator(char ch) { result_ += ch; }
  void End(std::string_view openName, ScanState) { Append('i', text_.inputs, openName); }

  std::string TakeResult() { return std::move(result_); }

 private:
  // A name missing from its map (maps not collected from this very text) is kept as written.
  void Append(char prefix, const std::map<std::string, int>& numbers, std::string_view name) {
    const auto entry = numbers.find(std::string(name));
    if (entry == numbers.end()) {
      result_ += name;
      return;
    }
    result_ += prefix;
    result_ += std::to_string(entry->second);
  }

  const FunctionText& text_;
  std::string result_;
};

}  // namespace

std::string_view TextBeforeNul(const std::string& text) {
  return std::string_view(text.data(), std::min(text.find('\0'), text.size()));
}

void Normalize(FunctionText& text) {
  text.normalized.clear();
  const std::string_view source = TextBeforeNul(text.source);
  std::string result;
  bool inWord = false;
  bool wordSeen = false;
  bool noAssignment = true;  // neither "=" nor "?" in the current statement yet
  char last = '\0';
  for (std::size_t pos = 0; pos < source.size(); ++pos) {
    const char ch = source[pos];
    if (IsBlank(ch)) {
      inWord = false;
    } else if (ch == '/') {
      pos = source.find('\n', pos);
      if (pos == std::string_view::npos) {
        break;
      }
      inWord = false;
    } else if (IsOneOf(ch, kOperatorsAndMarks)) {
      if (ch == '?' || ch == '=') {
        noAssignment = false;
      }
      inWord = false;
      wordSeen = false;
      result += ch;
      last = ch;
    } else if (ch == ';') {
      if (IsOneOf(last, kOperandExpectedAfter)) {
        Fail("正規化：入力変数が無い");
      }
      if (noAssignment) {
        Fail("正規化：式を記入してください");
      }
      result += '\n';
      inWord = false;
      noAssignment = true;
      wordSeen = false;
      last = ';';
    } else {
      if (!inWord) {
        if (wordSeen) {
          Fail(noAssignment ? "正規化：演算子がありません" : "正規化：セミコロンが無い");
        }
        wordSeen = true;
        inWord = true;
      }
      result += ch;
      last = ch;
    }
  }
  if (!result.empty() && result.back() != '\n') {
    Fail("正規化：最後の式にセミコロンが無い");
  }
  text.normalized = std::move(result);
}

void CollectVariables(FunctionText& text) {
  text.inputs.clear();
  text.outputs.clear();
  VariableCollector collector(text);
  ScanNames(TextBeforeNul(text.normalized), collector);
}

void TranslateNames(FunctionText& text) {
  NameTranslator translator(text);
  ScanNames(TextBeforeNul(text.normalized), translator);
  text.translated = translator.TakeResult();
}

void SplitGuard(FunctionText& text) {
  text.guard.clear();
  const std::string_view translated = TextBeforeNul(text.translated);
  if (translated.empty() || translated.front() != '?') {
    return;
  }
  const std::size_t guardEnd = std::min(translated.find_first_of(kLineEnds), translated.size());
  const std::size_t restStart =
      std::min(translated.find_first_not_of(kLineEnds, guardEnd), translated.size());
  text.guard = std::string(translated.substr(1, guardEnd - 1));
  text.translated = std::string(translated.substr(restStart));
}

void ExtractRightSides(FunctionText& text) {
  const std::string_view translated = TextBeforeNul(text.translated);
  std::string result;
  for (std::size_t equals = translated.find('='); equals != std::string_view::npos;
       equals = translated.find('=', equals + 1)) {
    const std::size_t start = equals + 1;
    const std::size_t end = std::min(translated.find_first_of(kLineEnds, start), translated.size());
    result += translated.substr(start, end - start);
    result += '\n';
  }
  text.rightSides = std::move(result);
}

void RegenerateText(FunctionText& text) {
  FunctionText fresh;
  fresh.source = std::move(text.source);
  text = std::move(fresh);
  Normalize(text);
  CollectVariables(text);
  TranslateNames(text);
}

}  // namespace pelkor
