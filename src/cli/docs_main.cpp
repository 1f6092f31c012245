// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the manual page or the bash completion of pelkor-cli, made from its own help, for
// the build to install.
#include <fstream>
#include <iostream>
#include <string_view>

#include "cli/cli_app.h"
#include "cli/cli_documents.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: pelkor-cli-docs man|bash-completion OUT\n";
    return 64;
  }
  const pelkor::cli::CliApp cli;
  const std::string_view what = argv[1];
  std::ofstream out(argv[2], std::ios::binary);
  if (what == "man")
    out << pelkor::cli::ManualPage(cli.app(), PELKOR_VERSION);
  else if (what == "bash-completion")
    out << pelkor::cli::BashCompletion(cli.app());
  else
    return 64;
  out.close();
  return out ? 0 : 73;
}
