#include "cli/cli_app.h"

#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/exit_status.h"
#include "cli/export_command.h"
#include "cli/fmt_command.h"
#include "cli/render_command.h"
#include "cli/run_command.h"

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
  app.footer(
      "Exit status: 0 success; 1 a sink failed its expectation; 2 loading, the check or a step "
      "failed; 64 bad usage; 66 the input file cannot be opened; 73 an output file cannot be "
      "written.");

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
  run->add_option("--max-steps", runOptions.maxSteps, "stop after this many steps")
      ->check(CLI::PositiveNumber)
      ->capture_default_str();
  run->add_option("--trace", runOptions.trace, "write the state after every step (JSON Lines)");
  run->add_option("--vcd", runOptions.vcd, "write waveforms (Value Change Dump)");
  run->add_option("--report", runOptions.report, "text or json")
      ->transform(CLI::CheckedTransformer(std::map<std::string, ReportFormat>{
          {"text", ReportFormat::kText}, {"json", ReportFormat::kJson}}));

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
    return CheckCommand(checkDesign, out, err);
  if (run->parsed())
    return RunCommand(runOptions, out, err);
  if (exportCommand->parsed())
    return ExportCommand(exportDesign, exportOutput, out, err);
  if (render->parsed())
    return RenderCommand(renderOptions, out, err);
  return kExitUsage;
}

}  // namespace pelkor::cli
