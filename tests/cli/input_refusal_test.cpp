// SPDX-License-Identifier: GPL-3.0-or-later
// Design paths that are no design-sized regular file, as they arrive by accident: each is
// refused at once by every command, with the file and the reason, and exit status 66.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "cli_runner.h"
#include "support/temp_folder.h"

namespace pelkor {
namespace {

namespace fs = std::filesystem;

TEST(InputRefusalTest, EveryCommandRefusesWhatIsNoDesignSizedRegularFile) {
  testing::TempFolder temp;
  const fs::path fifo = temp / "fifo.dtn";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", temp / "zero.dtn");
  fs::create_directory(temp / "folder.dtn");
  // Sparse: the test writes nothing large, and the command must not read it either.
  const fs::path big = temp.Write("big.dtn", "");
  fs::resize_file(big, (std::uintmax_t{64} << 20) + 1);

  struct Input {
    fs::path path;
    std::string reason;
  };
  const Input inputs[] = {
      {fifo, "はFIFOなので読み込めません"},
      {"/dev/zero", "はデバイスなので読み込めません"},
      {temp / "zero.dtn", "はデバイスなので読み込めません"},
      {temp / "folder.dtn", "はフォルダなので読み込めません"},
      {big, "は64MiBを超えるので読み込めません"},
  };
  const std::string out = (temp / "out").string();
  for (const Input& input : inputs) {
    const std::string path = input.path.string();
    std::vector<std::string> commands = {"check " + path, "run " + path, "fmt " + path,
                                         "render " + path + " " + out + ".svg",
                                         "export " + path + " " + out + ".bsp"};
    // `test` searches a folder it is given.
    if (!fs::is_directory(input.path))
      commands.push_back("test " + path);
    for (const std::string& command : commands) {
      SCOPED_TRACE(command);
      // A command that hangs fails here instead of holding up the suite.
      const auto result = testing::RunShell("timeout 20 " + std::string(PELKOR_CLI_BINARY) +
                                            " -q " + command + " 2>&1");
      EXPECT_EQ(result.status, 66);
      EXPECT_EQ(result.out, "pelkor-cli: " + path + input.reason + "\n");
    }
  }
  EXPECT_FALSE(fs::exists(out + ".svg"));
  EXPECT_FALSE(fs::exists(out + ".bsp"));
}

}  // namespace
}  // namespace pelkor
