// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/junit_report.h"

#include <cstdio>

#include "files/text_encoding.h"

namespace pelkor::cli {

namespace {

// Text fit for XML: valid UTF-8 (other bytes, as in a file name from Windows, read as CP932),
// markup escaped, characters XML cannot carry replaced by U+FFFD. In attributes, line breaks
// and tabs are escaped too so that they survive attribute normalisation.
std::string Xml(std::string_view text, bool attribute) {
  const std::string utf8 = IsValidUtf8(text) ? std::string(text) : Cp932ToUtf8(text);
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const char c = utf8[i];
    switch (c) {
      case '&':
        out += "&amp;";
        continue;
      case '<':
        out += "&lt;";
        continue;
      case '>':
        out += "&gt;";
        continue;
      case '"':
        out += attribute ? "&quot;" : "\"";
        continue;
      case '\r':
        out += "&#13;";
        continue;
      case '\n':
      case '\t':
        out += attribute ? (c == '\n' ? "&#10;" : "&#9;") : std::string(1, c);
        continue;
      default:
        break;
    }
    const auto byte = static_cast<unsigned char>(c);
    // U+FFFE and U+FFFF (EF BF BE, EF BF BF) are no XML characters either.
    const bool nonCharacter = byte == 0xEF && i + 2 < utf8.size() && utf8[i + 1] == '\xBF' &&
                              (utf8[i + 2] == '\xBE' || utf8[i + 2] == '\xBF');
    if (byte < 0x20 || nonCharacter) {
      out += "\xEF\xBF\xBD";
      i += nonCharacter ? 2 : 0;
    } else {
      out += c;
    }
  }
  return out;
}

std::string Attribute(const char* name, std::string_view value) {
  return std::string(" ") + name + "=\"" + Xml(value, true) + '"';
}

std::string Seconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", seconds);
  return text;
}

// A Java-style class name, as CI servers group test cases: the path without its extension,
// folders joined by dots.
std::string ClassName(const std::filesystem::path& path) {
  std::string name = path.relative_path().replace_extension().generic_string();
  for (char& c : name) {
    if (c == '/')
      c = '.';
  }
  return name;
}

struct Counts {
  int tests = 0;
  int failures = 0;
  int errors = 0;
  int skipped = 0;

  void Add(const Counts& other) {
    tests += other.tests;
    failures += other.failures;
    errors += other.errors;
    skipped += other.skipped;
  }
  std::string Attributes() const {
    return Attribute("tests", std::to_string(tests)) +
           Attribute("failures", std::to_string(failures)) +
           Attribute("errors", std::to_string(errors)) +
           Attribute("skipped", std::to_string(skipped));
  }
};

// The test cases of one design, and their counts.
std::string TestCases(const DesignOutcome& outcome, Counts& counts) {
  const std::string className = Attribute("classname", ClassName(outcome.design.path));
  std::string xml;
  if (outcome.result == DesignResult::kSkipped) {
    ++counts.tests;
    ++counts.skipped;
    return "    <testcase" + Attribute("name", "expectations") + className + ">\n      <skipped" +
           Attribute("message", SkipReason(outcome.design.plan)) + "/>\n    </testcase>\n";
  }
  if (outcome.report) {
    for (const SinkReport& sink : outcome.report->sinks) {
      if (sink.verdict == SinkVerdict::kNone)
        continue;
      ++counts.tests;
      xml += "    <testcase" + Attribute("name", SinkLabel(sink)) + className;
      if (sink.verdict == SinkVerdict::kPass) {
        xml += "/>\n";
        continue;
      }
      ++counts.failures;
      xml += ">\n      <failure" + Attribute("message", FailureText(sink)) +
             Attribute("type", "mismatch") + ">" +
             Xml("received: " + sink.received + "\nexpected: " + sink.expected + "\n" +
                     MismatchText(sink),
                 false) +
             "</failure>\n    </testcase>\n";
    }
  }
  if (outcome.result == DesignResult::kError) {
    ++counts.tests;
    ++counts.errors;
    xml +=
        "    <testcase" + Attribute("name", "load, check and run") + className + ">\n      <error" +
        Attribute("message", outcome.errors.substr(0, outcome.errors.find_last_not_of('\n') + 1)) +
        ">" + Xml(outcome.log + outcome.errors, false) + "</error>\n    </testcase>\n";
  }
  return xml;
}

}  // namespace

std::string JunitReport(const std::vector<DesignOutcome>& outcomes) {
  std::string suites;
  Counts total;
  double seconds = 0;
  for (const DesignOutcome& outcome : outcomes) {
    Counts counts;
    const std::string cases = TestCases(outcome, counts);
    suites += "  <testsuite" + Attribute("name", outcome.design.path.generic_string()) +
              counts.Attributes() + Attribute("time", Seconds(outcome.seconds)) + ">\n" + cases +
              "  </testsuite>\n";
    total.Add(counts);
    seconds += outcome.seconds;
  }
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites" +
         Attribute("name", "pelkor-cli test") + total.Attributes() +
         Attribute("time", Seconds(seconds)) + ">\n" + suites + "</testsuites>\n";
}

}  // namespace pelkor::cli
