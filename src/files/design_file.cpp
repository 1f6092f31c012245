// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/design_file.h"

namespace pelkor {

std::optional<DesignText> ReadDesignFile(const std::filesystem::path& path, InputReader& reader) {
  std::optional<std::string> bytes = reader.Read(path);
  if (!bytes)
    return std::nullopt;
  DecodedText decoded = DecodeText(*bytes);
  return DesignText{ToLfLineEnds(decoded.text), decoded.encoding, FingerprintOfBytes(path, *bytes)};
}

std::optional<DesignText> ReadDesignFile(const std::filesystem::path& path) {
  InputReader reader;
  return ReadDesignFile(path, reader);
}

SaveResult SaveDesignFile(const std::filesystem::path& path, const Module& module,
                          std::optional<TextEncoding> encoding) {
  const EncodedText encoded = EncodeText(WriteModule(module), encoding);
  return WriteFileSafely(path, ToCrLfLineEnds(encoded.bytes));
}

}  // namespace pelkor
