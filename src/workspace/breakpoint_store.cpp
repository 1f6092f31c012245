// SPDX-License-Identifier: GPL-3.0-or-later
#include "workspace/breakpoint_store.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "base/text_digest.h"
#include "files/recovery_store.h"
#include "files/safe_write.h"

namespace pelkor {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kHeader = "pelkor breakpoints";

std::string Key(const fs::path& design) {
  return fs::absolute(design).lexically_normal().string();
}

}  // namespace

fs::path BreakpointFolderPath() {
  return UserStateFolder() / "pelkor" / "breakpoints";
}

fs::path BreakpointStore::FileOf(const fs::path& design) const {
  const TextDigest digest = DigestOf(Key(design));
  static constexpr char kHex[] = "0123456789abcdef";
  std::string name;
  for (std::size_t i = 0; i < 8; ++i) {
    name += kHex[digest[i] >> 4];
    name += kHex[digest[i] & 15];
  }
  return folder_ / (name + ".txt");
}

BreakpointList BreakpointStore::Load(const fs::path& design) const {
  std::ifstream in(FileOf(design), std::ios::binary);
  std::string header;
  std::string path;
  if (!std::getline(in, header) || header != kHeader || !std::getline(in, path) ||
      path != Key(design)) {
    return {};
  }
  const std::string rest{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  return BreakpointList::FromText(rest);
}

bool BreakpointStore::Save(const fs::path& design, const BreakpointList& list) const {
  const fs::path file = FileOf(design);
  std::error_code error;
  if (list.empty()) {
    fs::remove(file, error);
    return !error;
  }
  fs::create_directories(folder_, error);
  const std::string text = std::string(kHeader) + '\n' + Key(design) + '\n' + list.ToText();
  return WriteFileSafely(file, text) == SaveResult::kSaved;
}

}  // namespace pelkor
