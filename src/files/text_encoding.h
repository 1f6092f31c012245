// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelkor {

// How a text file is encoded on disk. The Windows build writes CP932; in memory every text
// is UTF-8.
enum class TextEncoding { kCp932, kUtf8 };

bool IsValidUtf8(std::string_view bytes);

// CP932 bytes as UTF-8. Bytes that are no CP932 character become U+FFFD, so any input
// decodes.
std::string Cp932ToUtf8(std::string_view bytes);

// UTF-8 text as CP932, or nullopt when some character has no CP932 form that decodes back to
// the same character (so nothing is ever changed by a round trip through the file).
std::optional<std::string> Utf8ToCp932(std::string_view text);

struct DecodedText {
  std::string text;  // UTF-8
  TextEncoding encoding = TextEncoding::kCp932;
};

// File bytes as UTF-8: valid UTF-8 is taken as UTF-8 (a leading byte-order mark dropped),
// anything else is decoded from CP932. Plain ASCII reports CP932, the encoding it would be
// written in.
DecodedText DecodeText(std::string_view bytes);

struct EncodedText {
  std::string bytes;
  TextEncoding encoding = TextEncoding::kCp932;
};

// UTF-8 text as file bytes: CP932 when every character fits and the result cannot be taken
// for UTF-8 when read back, UTF-8 otherwise. `preferred` UTF-8 always writes UTF-8; CP932
// (like no preference) still falls back to UTF-8 rather than lose a character.
EncodedText EncodeText(std::string_view text, std::optional<TextEncoding> preferred = std::nullopt);

// CR LF pairs become LF; a lone CR stays.
std::string ToLfLineEnds(std::string_view text);
// Every LF becomes CR LF.
std::string ToCrLfLineEnds(std::string_view text);

}  // namespace pelkor
