#include "cli/cli_app.h"

#include <CLI/CLI.hpp>
#include <cstdint>
#include <limits>
#include <ostream>

#include "cli/exit_status.h"
#include "cli/export_command.h"
#include "cli/fmt_command.h"
#include "cli/option_checks.h"
#include "cli/render_command.h"
#include "cli/run_command.h"
#include "cli/test_command.h"

namespace pelkor::cli {

namespace {

const std::map<std::string, TextEncoding> kEncodings = {{"cp932", TextEncoding::kCp932},
                                                        {"utf-8", TextEncoding::kUtf8}};

}  // namespace

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  CLI::App app{
      "pelkor-cli: check, run, verify, trace, export and draw bit-serial Petri net designs",
      "pelkor-cli"};
  app.set_version_flag("--version", std::string("pelkor-cli ") + PELKOR_VERSION);
  app.require_subcommand(1);
  // Options of the tool as a whole may also follow the command's own.
  app.fallthrough();
  bool quiet = false;
  app.add_flag("-q,--quiet", quiet, "leave out the output-log lines (reports and errors stay)");
  app.footer(
      "Exit status: 0 success; 1 a sink failed its expectation; 2 loading, the check or a step "
      "failed; 64 bad usage; 66 an input file or folder cannot be opened or is refused; 73 an "
      "output file "
      "cannot be written.");

  FmtOptions fmtOptions;
  TextEncoding fmtEncoding = TextEncoding::kCp932;
  CLI::App* fmt = app.add_subcommand("fmt", "Rewrite one design file in canonical form");
  fmt->add_option("DESIGN", fmtOptions.design, "design file (.dtn)")->required();
  fmt->add_option("-o,--output", fmtOptions.output, "write here instead of in place");
  CLI::Option* encodingOption =
      fmt->add_option("--encoding", fmtEncoding, "cp932 or utf-8 (default: keep the file's)")
          ->transform(CLI::CheckedTransformer(kEncodings, CLI::ignore_case));

  std::filesystem::path checkDesign;
  CLI::App* check = app.add_subcommand("check", "Load a design with its hierarchy and check it");
  check->add_option("DESIGN", checkDesign, "design file (.dtn)")->required();

  RunOptions runOptions;
  CLI::App* run = app.add_subcommand(
      "run", "Check a design, run it until it is idle and report every sink's verdict");
  run->add_option("DESIGN", runOptions.design, "design file (.dtn)")->required();
  const CLI::Validator stepCount = WholeNumberFrom(1, std::numeric_limits<std::int64_t>::max());
  run->add_option("--max-steps", runOptions.maxSteps, "stop after this many steps")
      ->check(stepCount)
      ->capture_default_str();
  run->add_option("--trace", runOptions.trace, "write the state after every step (JSON Lines)");
  run->add_option(
      "--vcd", runOptions.vcd,
      "write waveforms (Value Change Dump) and a GTKWave save file (.gtkw) beside them");
  run->add_flag("--stop-at-mismatch", runOptions.stopAtMismatch,
                "stop after the first step in which a sink takes a value it does not expect");
  run->add_option("--report", runOptions.report, "text or json")
      ->transform(CLI::CheckedTransformer(std::map<std::string, ReportFormat>{
          {"text", ReportFormat::kText}, {"json", ReportFormat::kJson}}));

  TestOptions testOptions;
  std::string shard;
  CLI::App* test = app.add_subcommand(
      "test",
      "Run every design whose sinks expect values under the given files and folders, as run "
      "does, and report each");
  test->add_option("PATH", testOptions.paths,
                   "design files and folders to search (default: the current folder)");
  test->add_option("-j,--jobs", testOptions.jobs,
                   "designs to run at once (default: the number of cores)")
      ->check(WholeNumberFrom(1, 1024));
  test->add_option("--junit", testOptions.junit, "write a JUnit XML report");
  test->add_option("--shard", shard,
                   "run only the K-th of N equal shares of the designs, in sorted path order")
      ->check(ShardText());
  test->add_option("--max-steps", testOptions.maxSteps, "stop each design after this many steps")
      ->check(stepCount)
      ->capture_default_str();

  std::filesystem::path exportDesign;
  std::filesystem::path exportOutput;
  CLI::App* exportCommand =
      app.add_subcommand("export", "Export the top module as a DRAVU objects file (.bsp)");
  exportCommand->add_option("DESIGN", exportDesign, "design file (.dtn)")->required();
  exportCommand->add_option("OUT", exportOutput, "the .bsp file to write")->required();

  RenderOptions renderOptions;
  CLI::App* render =
      app.add_subcommand("render", "Draw the top module as an SVG picture, as the editor shows it");
  render->add_option("DESIGN", renderOptions.design, "design file (.dtn)")->required();
  render->add_option("OUT", renderOptions.output, "the .svg file to write")->required();
  render->add_option("--zoom", renderOptions.zoomLevel, "zoom level, 0 (full size) to 5 (1/32)")
      ->check(CLI::Range(0, 5))
      ->capture_default_str();

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e, out, err);
    return status == 0 ? kExitOk : kExitUsage;
  }

  if (fmt->parsed()) {
    if (encodingOption->count() > 0)
      fmtOptions.encoding = fmtEncoding;
    return FmtCommand(fmtOptions, out, err);
  }
  if (check->parsed())
    return CheckCommand(checkDesign, quiet, out, err);
  if (run->parsed()) {
    runOptions.quiet = quiet;
    return RunCommand(runOptions, out, err);
  }
  if (test->parsed()) {
    testOptions.quiet = quiet;
    if (!shard.empty())
      testOptions.shard = ParseShard(shard);
    return TestCommand(testOptions, out, err);
  }
  if (exportCommand->parsed())
    return ExportCommand(exportDesign, exportOutput, quiet, out, err);
  if (render->parsed()) {
    renderOptions.quiet = quiet;
    return RenderCommand(renderOptions, out, err);
  }
  return kExitUsage;
}

}  // namespace pelkor::cli
