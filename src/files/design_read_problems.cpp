// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/design_read_problems.h"

#include <algorithm>
#include <utility>

namespace pelkor {

namespace {

using Kind = ReadProblem::Kind;

// Whether the text holds anything but blanks outside its first line when that is a "//" line.
bool HoldsMoreThanAHeader(std::string_view text) {
  std::size_t start = text.find_first_not_of(" \t\r\n");
  if (start != std::string_view::npos && text.substr(start, 2) == "//")
    start = text.find('\n', start);
  return start != std::string_view::npos &&
         text.find_first_not_of(" \t\r\n", start) != std::string_view::npos;
}

std::string Lines(const ReadProblem& problem) {
  std::string lines = std::to_string(problem.firstLine);
  if (problem.lastLine != problem.firstLine)
    lines += "〜" + std::to_string(problem.lastLine);
  return lines + "行目";
}

}  // namespace

void ReadProblems::Add(Kind kind, std::string text, std::size_t begin, std::size_t end) {
  found_.push_back({ReadProblem{kind, std::move(text), 0, 0}, begin, std::max(begin, end - 1)});
}

ReadReport ReadProblems::Finish(std::string_view text, bool moduleEmpty) && {
  ReadReport report;
  const bool noRecords = moduleEmpty && HoldsMoreThanAHeader(text);
  // Stray text is all there is then: one line says so. A malformed record keeps its own.
  if (noRecords) {
    std::erase_if(found_, [](const Found& f) {
      return f.problem.kind == Kind::kSkippedLines && f.problem.text.empty();
    });
  }

  // Line numbers, counted once from the start: the positions, sorted, are visited in order.
  std::vector<std::pair<std::size_t, int*>> positions;
  for (Found& f : found_) {
    positions.emplace_back(f.begin, &f.problem.firstLine);
    positions.emplace_back(f.last, &f.problem.lastLine);
  }
  std::sort(positions.begin(), positions.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  std::size_t counted = 0;
  int line = 1;
  for (const auto& [position, target] : positions) {
    const std::size_t end = std::min(position, text.size());
    line += static_cast<int>(std::count(text.begin() + counted, text.begin() + end, '\n'));
    counted = end;
    *target = line;
  }

  for (Found& f : found_) {
    ReadProblem& problem = f.problem;
    if (!report.problems.empty() && problem.kind == Kind::kSkippedLines) {
      ReadProblem& before = report.problems.back();
      if (before.kind == Kind::kSkippedLines && problem.firstLine <= before.lastLine + 1) {
        before.lastLine = std::max(before.lastLine, problem.lastLine);
        if (before.text.empty())
          before.text = std::move(problem.text);
        continue;
      }
    }
    report.problems.push_back(std::move(problem));
  }
  if (noRecords) {
    const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) +
                      (text.back() == '\n' ? 0 : 1);
    report.problems.push_back({Kind::kNoRecords, "", 1, lines});
  }
  return report;
}

bool ReadReport::PassedOver() const {
  return std::any_of(problems.begin(), problems.end(),
                     [](const ReadProblem& p) { return p.kind != Kind::kTextFailure; });
}

bool ReadReport::Failed() const {
  return std::any_of(problems.begin(), problems.end(), [](const ReadProblem& p) {
    return p.kind == Kind::kSkippedLines || p.kind == Kind::kTextFailure ||
           p.kind == Kind::kNoRecords;
  });
}

std::string ReadProblemMessage(const ReadProblem& problem) {
  switch (problem.kind) {
    case Kind::kUnknownRecord:
      return "「" + problem.text + "」は不明なレコードなので無視しました";
    case Kind::kUnfinishedRecord:
      return "「" + problem.text + "」のレコードは途中で終わっているので無視しました";
    case Kind::kSkippedLines:
      return "ロードに失敗しました" + problem.text + "（" + Lines(problem) + "を読み飛ばしました）";
    case Kind::kTextFailure:
      return "ロードに失敗しました" + problem.text + "（" + Lines(problem) + "のレコード）";
    case Kind::kNoRecords:
      return "ロードに失敗しました（レコードがありません）";
  }
  return "";
}

}  // namespace pelkor
