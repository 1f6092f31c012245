// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/test_command.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <sstream>
#include <thread>

#include "cli/design_test.h"
#include "cli/exit_status.h"
#include "cli/junit_report.h"
#include "files/safe_write.h"

namespace pelkor::cli {

namespace {

// The shard's share of the designs to run and, apart from them, of the designs skipped, so
// that the runners share the work evenly and list each skipped design once between them.
std::vector<FoundDesign> ShareOfDesigns(const std::vector<FoundDesign>& designs,
                                        const std::optional<Shard>& shard) {
  if (!shard)
    return designs;
  std::vector<FoundDesign> toRun;
  std::vector<FoundDesign> skipped;
  for (const FoundDesign& design : designs)
    (design.plan == DesignPlan::kRun ? toRun : skipped).push_back(design);
  std::vector<FoundDesign> share = ShareOf(toRun, *shard);
  const std::vector<FoundDesign> skippedShare = ShareOf(skipped, *shard);
  share.insert(share.end(), skippedShare.begin(), skippedShare.end());
  std::sort(share.begin(), share.end(),
            [](const FoundDesign& a, const FoundDesign& b) { return a.path < b.path; });
  return share;
}

// Tests the designs over `jobs` worker threads (each design has a workspace of its own) and
// hands each outcome to `report` in the order of the designs, as soon as it and those before
// it are done.
std::vector<DesignOutcome> TestAll(const std::vector<FoundDesign>& designs,
                                   const TestOptions& options,
                                   const std::function<void(const DesignOutcome&)>& report) {
  std::vector<std::optional<DesignOutcome>> results(designs.size());
  std::mutex mutex;
  std::condition_variable finished;
  std::atomic<std::size_t> next = 0;
  auto work = [&] {
    for (std::size_t i = next++; i < designs.size(); i = next++) {
      DesignOutcome outcome = TestDesign(designs[i], options.maxSteps, options.quiet);
      {
        const std::lock_guard lock(mutex);
        results[i] = std::move(outcome);
      }
      finished.notify_one();
    }
  };
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const std::size_t jobs = options.jobs > 0 ? static_cast<std::size_t>(options.jobs) : cores;
  std::vector<std::jthread> workers;
  for (std::size_t i = 0; i < std::min(jobs, designs.size()); ++i)
    workers.emplace_back(work);

  std::vector<DesignOutcome> outcomes;
  for (std::size_t i = 0; i < designs.size(); ++i) {
    std::unique_lock lock(mutex);
    finished.wait(lock, [&] { return results[i].has_value(); });
    lock.unlock();
    // Workers write other elements only; this one stays as it is.
    report(*results[i]);
    outcomes.push_back(std::move(*results[i]));
  }
  return outcomes;
}

std::size_t SinksWhere(const RunReport& report, bool (*holds)(const SinkReport&)) {
  return static_cast<std::size_t>(std::count_if(report.sinks.begin(), report.sinks.end(), holds));
}

bool HasVerdict(const SinkReport& sink) {
  return sink.verdict != SinkVerdict::kNone;
}

bool Failed(const SinkReport& sink) {
  return sink.verdict == SinkVerdict::kFail;
}

std::string Count(std::size_t n, const char* noun) {
  return std::to_string(n) + " " + noun + (n == 1 ? "" : "s");
}

void WriteIndented(std::ostream& out, const std::string& lines) {
  std::istringstream in(lines);
  for (std::string line; std::getline(in, line);)
    out << "      " << line << '\n';
}

void WriteOutcome(std::ostream& out, const DesignOutcome& outcome) {
  const std::string path = outcome.design.path.string();
  switch (outcome.result) {
    case DesignResult::kSkipped:
      out << "SKIP  " << path << ": " << SkipReason(outcome.design.plan) << '\n';
      return;
    case DesignResult::kPassed:
      out << "PASS  " << path << ": " << Count(SinksWhere(*outcome.report, HasVerdict), "sink")
          << " passed in " << Count(outcome.report->steps, "step") << '\n';
      return;
    case DesignResult::kFailed: {
      const RunReport& report = *outcome.report;
      out << "FAIL  " << path << ": " << SinksWhere(report, Failed) << " of "
          << Count(SinksWhere(report, HasVerdict), "sink") << " failed in "
          << Count(report.steps, "step") << '\n';
      for (const SinkReport& sink : report.sinks) {
        if (Failed(sink)) {
          out << "      " << SinkLabel(sink) << ": " << FailureText(sink) << '\n';
        }
      }
      return;
    }
    case DesignResult::kError:
      out << "ERROR " << path << '\n';
      WriteIndented(out, outcome.log + outcome.errors);
      return;
  }
}

}  // namespace

int TestCommand(const TestOptions& options, std::ostream& out, std::ostream& err) {
  const Discovery discovery =
      FindDesigns(options.paths.empty() ? std::vector<std::filesystem::path>{"."} : options.paths);
  for (const std::string& unreadable : discovery.unreadable)
    err << "pelkor-cli: " << unreadable << '\n';
  if (!discovery.unreadable.empty())
    return kExitNoInput;

  const std::vector<DesignOutcome> outcomes = TestAll(
      ShareOfDesigns(discovery.designs, options.shard), options, [&](const DesignOutcome& outcome) {
        WriteOutcome(out, outcome);
        out.flush();
      });
  auto tally = [&](DesignResult result) {
    return static_cast<std::size_t>(
        std::count_if(outcomes.begin(), outcomes.end(),
                      [&](const DesignOutcome& outcome) { return outcome.result == result; }));
  };
  out << Count(outcomes.size(), "design") << ": " << tally(DesignResult::kPassed) << " passed, "
      << tally(DesignResult::kFailed) << " failed, " << Count(tally(DesignResult::kError), "error")
      << ", " << tally(DesignResult::kSkipped) << " skipped\n";

  if (options.junit &&
      WriteFileSafely(*options.junit, JunitReport(outcomes)) != SaveResult::kSaved) {
    err << "pelkor-cli: cannot write " << options.junit->string() << '\n';
    return kExitCannotWrite;
  }
  if (tally(DesignResult::kError) > 0)
    return kExitDesignFailed;
  return tally(DesignResult::kFailed) > 0 ? kExitSinkFailed : kExitOk;
}

}  // namespace pelkor::cli
