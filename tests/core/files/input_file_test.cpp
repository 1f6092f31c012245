// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/input_file.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>

#include "files/file_descriptor.h"
#include "support/temp_folder.h"

namespace pelkor {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

// The text of the refusal the reader gives for `path`, or "" when it reads the file.
std::string RefusalOf(InputReader& reader, const fs::path& path) {
  try {
    reader.Read(path);
  } catch (const InputRefused& e) {
    return e.what();
  }
  return "";
}

// A file of `bytes` bytes that takes no room on disk.
fs::path SparseFile(const TempFolder& folder, const std::string& name, std::uintmax_t bytes) {
  const fs::path path = folder.Write(name, "");
  fs::resize_file(path, bytes);
  return path;
}

class InputFileTest : public ::testing::Test {
 protected:
  TempFolder folder;
};

// Whatever is not a regular file is refused at once, links followed; none of these returns
// when read whole (a FIFO without a writer waits, a device never ends).
TEST_F(InputFileTest, WhatIsNoRegularFileIsRefusedByItsKind) {
  const fs::path fifo = folder / "fifo.dtn";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", folder / "zero.dtn");
  fs::create_directory(folder / "folder.dtn");
  const fs::path socketPath = folder / "socket.dtn";
  const FileDescriptor socket(::socket(AF_UNIX, SOCK_STREAM, 0));
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);

  for (const auto& [path, kind] : {std::pair{fifo, "FIFO"},
                                   {fs::path("/dev/zero"), "デバイス"},
                                   {folder / "zero.dtn", "デバイス"},
                                   {folder / "folder.dtn", "フォルダ"},
                                   {socketPath, "ソケット"}}) {
    SCOPED_TRACE(path);
    InputReader reader;
    EXPECT_EQ(RefusalOf(reader, path), path.string() + "は" + kind + "なので読み込めません");
    EXPECT_FALSE(reader.stopped());
  }
}

TEST_F(InputFileTest, AFileOverTheLimitIsRefusedWithoutBeingRead) {
  // Read whole, the default limit's sparse file would take seconds; refused, it takes none.
  const fs::path big = SparseFile(folder, "big.dtn", (std::uintmax_t{64} << 20) + 1);
  InputReader defaults;
  EXPECT_EQ(RefusalOf(defaults, big), big.string() + "は64MiBを超えるので読み込めません");

  const fs::path atLimit = folder.Write("at.dtn", std::string(100, 'x'));
  const fs::path over = folder.Write("over.dtn", std::string(101, 'x'));
  InputReader reader({.fileBytes = 100, .hierarchyBytes = 1000});
  EXPECT_EQ(reader.Read(atLimit), std::string(100, 'x'));
  EXPECT_EQ(RefusalOf(reader, over), over.string() + "は100バイトを超えるので読み込めません");
  EXPECT_FALSE(reader.stopped());
  EXPECT_EQ(reader.Read(atLimit), std::string(100, 'x'));  // one file refused, the next is read
}

TEST_F(InputFileTest, AFileThatCannotBeOpenedGivesNothing) {
  InputReader reader;
  EXPECT_EQ(reader.Read(folder / "missing.dtn"), std::nullopt);
  fs::create_symlink(folder / "missing.dtn", folder / "dangling.dtn");
  EXPECT_EQ(reader.Read(folder / "dangling.dtn"), std::nullopt);
  EXPECT_EQ(reader.Read(folder.Write("empty.dtn", "")), "");
}

TEST_F(InputFileTest, PassingTheHierarchyLimitStopsEveryReadAfter) {
  const fs::path a = folder.Write("a.dtn", std::string(100, 'a'));
  const fs::path small = folder.Write("small.dtn", "s");
  InputReader reader({.fileBytes = 100, .hierarchyBytes = 250});
  EXPECT_TRUE(reader.Read(a));
  EXPECT_TRUE(reader.Read(a));
  const std::string stop = "で階層のファイルが合わせて250バイトを超えるので読み込みを止めます";
  EXPECT_EQ(RefusalOf(reader, a), a.string() + stop);
  EXPECT_TRUE(reader.stopped());
  // Even a file that would still fit: loading stops as a whole.
  EXPECT_EQ(RefusalOf(reader, small), small.string() + stop);

  // The default hierarchy limit, said in gibibytes, refuses a file by its size alone.
  InputReader defaults({.fileBytes = std::uint64_t{2} << 30});
  const fs::path huge = SparseFile(folder, "huge.dtn", (std::uintmax_t{1} << 30) + 1);
  EXPECT_EQ(RefusalOf(defaults, huge),
            huge.string() + "で階層のファイルが合わせて1GiBを超えるので読み込みを止めます");
}

}  // namespace
}  // namespace pelkor
