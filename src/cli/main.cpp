// SPDX-License-Identifier: GPL-3.0-or-later
#include <iostream>

#include "cli/cli_app.h"

int main(int argc, char** argv) {
  return pelkor::cli::RunCli(argc, argv, std::cout, std::cerr);
}
