#include "cli/cli_app.h"

#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/exit_status.h"
#include "cli/export_command.h"
#include "cli/fmt_command.h"

namespace pelkor::cli {

namespace {

const std::map<std::string, TextEncoding> kEncodings = {{"cp932", TextEncoding::kCp932},
                                                        {"utf-8", TextEncoding::kUtf8}};

}  // namespace

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  CLI::App app{"pelkor-cli: check, run, verify, trace and export bit-serial Petri net designs",
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

  std::filesystem::path exportDesign;
  std::filesystem::path exportOutput;
  CLI::App* exportCommand =
      app.add_subcommand("export", "Export the top module as a DRAVU objects file (.bsp)");
  exportCommand->add_option("DESIGN", exportDesign, "design file (.dtn)")->required();
  exportCommand->add_option("OUT", exportOutput, "the .bsp file to write")->required();

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e, out, err);
    return status == 0 ? kExitOk : kExitUsage;
  }

  if (fmt->parsed()) {
    if (encodingOption->count() > 0) fmtOptions.encoding = fmtEncoding;
    return FmtCommand(fmtOptions, out, err);
  }
  if (exportCommand->parsed()) return ExportCommand(exportDesign, exportOutput, out, err);
  return kExitUsage;
}

}  // namespace pelkor::cli
