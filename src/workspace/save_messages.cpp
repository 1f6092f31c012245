// SPDX-License-Identifier: GPL-3.0-or-later
#include "workspace/save_messages.h"

#include <unistd.h>

namespace pelkor {

namespace {

std::string CannotOpenReason(const std::filesystem::path& path) {
  const std::filesystem::path folder =
      path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error))
    return "フォルダ" + folder.string() + "がありません";
  if (::access(folder.c_str(), W_OK) != 0)
    return "フォルダ" + folder.string() + "に書き込む権限がありません";
  if (std::filesystem::exists(path, error) && !std::filesystem::is_regular_file(path, error))
    return "同じ名前のファイルでないものがあります";
  return "ファイルが読み取り専用です";
}

}  // namespace

std::string InFolder(const std::string& message, const std::filesystem::path& file) {
  return message + "（" + file.parent_path().string() + "）";
}

std::string OverwriteQuestionText(const std::filesystem::path& path, FileRisk risk) {
  const std::string file = path.string();
  switch (risk) {
    case FileRisk::kDamaged:
      return file + "は読み込めない部分を読み飛ばして開いたファイルです。上書きすると、" +
             "読み飛ばした部分は失われます。";
    case FileRisk::kNotReadByPelkor:
      return file + "はpelkorが読み込んでいないファイルです。上書きすると、その内容は失われます。";
    case FileRisk::kChangedOnDisk:
      return file + "は読み込みまたは保存の後に、ほかで変更されています。上書きすると、" +
             "その変更は失われます。";
    case FileRisk::kNone:
      break;
  }
  return file;
}

std::string SaveFailureText(const std::filesystem::path& path, SaveResult result) {
  const std::string reason = result == SaveResult::kWriteFailed
                                 ? "書き込みに失敗しました。元のファイルはそのままです"
                                 : CannotOpenReason(path);
  return path.string() + "を保存できませんでした。\n" + reason + "。";
}

}  // namespace pelkor
