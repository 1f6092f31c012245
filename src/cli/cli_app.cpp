// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_app.h"

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <limits>
#include <ostream>
#include <variant>

#include "cli/exit_status.h"
#include "cli/export_command.h"
#include "cli/option_checks.h"
#include "cli/serve_command.h"

namespace pelkor::cli {

namespace {

const std::map<std::string, TextEncoding> kEncodings = {{"cp932", TextEncoding::kCp932},
                                                        {"utf-8", TextEncoding::kUtf8}};

std::string ShardFooter() {
  std::string text = "--shard auto takes K and N from the first of these that is set: ";
  for (const ShardScheme& scheme : kShardSchemes)
    text += (&scheme == kShardSchemes ? "" : "; ") + DescribeScheme(scheme);
  return text + ".";
}

}  // namespace

CliApp::CliApp()
    : app_(
          "pelkor-cli: check, run, verify, trace, export, draw and compare bit-serial Petri net "
          "designs",
          "pelkor-cli") {
  app_.set_version_flag("--version", std::string("pelkor-cli ") + PELKOR_VERSION);
  app_.require_subcommand(1);
  // Options of the tool as a whole may also follow the command's own.
  app_.fallthrough();
  app_.add_flag("-q,--quiet", quiet_, "leave out the output-log lines (reports and errors stay)");
  app_.footer(ExitStatusText(kExitStatuses) + " diff answers as diff(1) does.");

  fmt_ = app_.add_subcommand("fmt", "Rewrite one design file in canonical form");
  fmt_->add_option("DESIGN", fmtOptions_.design, "design file (.dtn)")->required();
  fmt_->add_option("-o,--output", fmtOptions_.output, "write here instead of in place")
      ->type_name("FILE");
  encodingOption_ =
      fmt_->add_option("--encoding", fmtEncoding_, "the encoding to write (default: the file's)")
          ->type_name("cp932|utf-8")
          ->transform(CLI::CheckedTransformer(kEncodings, CLI::ignore_case).description(""));
  fmt_->add_flag("--force", fmtOptions_.force,
                 "write even a file that did not read whole (what was passed over is lost), or "
                 "over an output file that exists");

  check_ = app_.add_subcommand("check", "Load a design with its hierarchy and check it");
  check_->add_option("DESIGN", checkDesign_, "design file (.dtn)")->required();

  run_ = app_.add_subcommand(
      "run", "Check a design, run it until it is idle and report every sink's verdict");
  run_->add_option("DESIGN", runOptions_.design, "design file (.dtn)")->required();
  const CLI::Validator stepCount = WholeNumberFrom(1, std::numeric_limits<std::int64_t>::max());
  run_->add_option("--max-steps", runOptions_.maxSteps, "stop after this many steps")
      ->type_name("N")
      ->check(stepCount)
      ->capture_default_str();
  run_->add_option("--trace", runOptions_.trace, "write the state after every step (JSON Lines)")
      ->type_name("FILE");
  run_->add_option("--vcd", runOptions_.vcd,
                   "write waveforms (Value Change Dump) and a GTKWave save file (.gtkw) beside "
                   "them")
      ->type_name("FILE");
  run_->add_flag("--stop-at-mismatch", runOptions_.stopAtMismatch,
                 "stop after the first step in which a sink takes a value it does not expect");
  run_->add_option("--break", runOptions_.breaks,
                   "stop after the first step in which the object ID of the node at PATH (as "
                   "the reports write it) meets WHAT: token, fire, state=N, receive, receive=0, "
                   "receive=1 or empty (default: the event of the object's kind); repeatable")
      ->type_name("PATH:ID[:WHAT]")
      ->allow_extra_args(false);
  run_->add_flag("--explain", runOptions_.explain,
                 "add every object that holds or waits for tokens and cannot move, with the "
                 "reason, to the report (\"blocked\" in JSON)");
  run_->add_option("--report", runOptions_.report, "the form of the report (default: text)")
      ->type_name("text|json")
      ->transform(
          CLI::CheckedTransformer(std::map<std::string, ReportFormat>{
                                      {"text", ReportFormat::kText}, {"json", ReportFormat::kJson}})
              .description(""));

  test_ = app_.add_subcommand(
      "test",
      "Run every design whose sinks expect values under the given files and folders, as run "
      "does, and report each");
  test_->add_option("PATH", testOptions_.paths,
                    "design files and folders to search (default: the current folder)");
  test_
      ->add_option("-j,--jobs", testOptions_.jobs,
                   "designs to run at once (default: the number of cores)")
      ->type_name("N")
      ->check(WholeNumberFrom(1, 1024));
  test_->add_option("--junit", testOptions_.junit, "write a JUnit XML report")->type_name("FILE");
  test_
      ->add_option("--shard", shard_,
                   "run only the K-th of N equal shares of the designs, in sorted path order; "
                   "auto takes K and N from the environment of the job")
      ->type_name("K/N|auto")
      ->check(ShardText());
  test_
      ->add_option("--shard-count", shardCount_,
                   "N for --shard auto where the job's environment does not give it")
      ->type_name("N")
      ->check(WholeNumberFrom(1, std::numeric_limits<int>::max()));
  test_->add_option("--max-steps", testOptions_.maxSteps, "stop each design after this many steps")
      ->type_name("N")
      ->check(stepCount)
      ->capture_default_str();
  test_->footer(ShardFooter());

  export_ = app_.add_subcommand("export", "Export the top module as a DRAVU objects file (.bsp)");
  export_->add_option("DESIGN", exportDesign_, "design file (.dtn)")->required();
  export_->add_option("OUT", exportOutput_, "the .bsp file to write")->required();

  render_ = app_.add_subcommand("render",
                                "Draw the top module as an SVG picture, as the editor shows it");
  render_->add_option("DESIGN", renderOptions_.design, "design file (.dtn)")->required();
  render_->add_option("OUT", renderOptions_.output, "the .svg file to write")->required();
  render_->add_option("--zoom", renderOptions_.zoomLevel, "zoom level, 0 (full size) to 5 (1/32)")
      ->type_name("LEVEL")
      ->check(CLI::Range(0, 5))
      ->capture_default_str();
  render_
      ->add_option("--steps", renderOptions_.steps,
                   "check the design, run N steps and draw its run-time state too")
      ->type_name("N")
      ->check(WholeNumberFrom(0, std::numeric_limits<std::int64_t>::max()));

  diff_ = app_.add_subcommand(
      "diff",
      "Compare two versions of a design file object by object: what was added, removed, moved "
      "or changed");
  diff_
      ->add_option("FILES", diffOptions_.files,
                   "OLD.dtn NEW.dtn; with --git, the arguments git gives a diff driver")
      ->required();
  diff_->add_flag("--git", diffOptions_.git,
                  "take the arguments of a git diff driver, head the lines with the path and "
                  "exit 0 unless in trouble");
  diff_->add_flag("--json", diffOptions_.json, "write the changes as a JSON document");
  diff_
      ->add_option("--svg", diffOptions_.svg,
                   "draw NEW into this SVG file: added objects green, changed amber, removed "
                   "red, old places of moved ones dotted")
      ->type_name("FILE");
  serve_ = app_.add_subcommand(
      "serve",
      "Answer JSON requests read from standard input, one a line, with one JSON reply a line on "
      "standard output: open, check, step, run, read the state, feed sources, set what sinks "
      "expect, draw, export (the protocol of scripts and testbenches)");
  serve_->footer(
      "The requests and replies are described in docs/protocol.md; the output-log lines go into "
      "the replies of the log request. The process ends when its input ends or after a close "
      "request.");

  diff_->footer(
      "Objects are matched by kind and position, then by content, then (sources and sinks) by "
      "name, never by ID; arcs by their matched ends. IDs are written OLD/NEW. " +
      ExitStatusText(kDiffExitStatuses));
}

int CliApp::Run(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                const Environment& environment) {
  try {
    app_.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app_.exit(e, out, err);
    if (status == 0)
      return kExitOk;
    return diff_->parsed() ? kExitDiffTrouble : kExitUsage;
  }

  if (fmt_->parsed()) {
    if (encodingOption_->count() > 0)
      fmtOptions_.encoding = fmtEncoding_;
    return FmtCommand(fmtOptions_, out, err);
  }
  if (check_->parsed())
    return CheckCommand(checkDesign_, quiet_, out, err);
  if (run_->parsed()) {
    runOptions_.quiet = quiet_;
    return RunCommand(runOptions_, out, err);
  }
  if (test_->parsed())
    return RunTest(out, err, environment);
  if (export_->parsed())
    return ExportCommand(exportDesign_, exportOutput_, quiet_, out, err);
  if (render_->parsed()) {
    renderOptions_.quiet = quiet_;
    return RenderCommand(renderOptions_, out, err);
  }
  if (diff_->parsed())
    return DiffCommand(diffOptions_, out, err);
  if (serve_->parsed())
    return ServeCommand(std::cin, out);
  return kExitUsage;
}

int CliApp::RunTest(std::ostream& out, std::ostream& err, const Environment& environment) {
  testOptions_.quiet = quiet_;
  if (shardCount_ && shard_ != "auto") {
    err << "--shard-count: only with --shard auto\n";
    return kExitUsage;
  }
  if (shard_ == "auto") {
    auto shard = ShardFromEnvironment(environment, shardCount_);
    if (const auto* why = std::get_if<std::string>(&shard)) {
      err << "--shard auto: " << *why << '\n';
      return kExitUsage;
    }
    testOptions_.shard = std::get<Shard>(shard);
  } else if (!shard_.empty()) {
    testOptions_.shard = ParseShard(shard_);
  }
  return TestCommand(testOptions_, out, err);
}

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  CliApp cli;
  return cli.Run(argc, argv, out, err, [](const char* name) { return std::getenv(name); });
}

}  // namespace pelkor::cli
