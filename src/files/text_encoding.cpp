// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/text_encoding.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace pelkor {

namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// One iconv conversion descriptor, closed when it goes out of scope.
class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
    }
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  ~Converter() { iconv_close(handle_); }

  // Converts all of `in`. On a byte sequence that cannot be converted, `onInvalid` is called
  // with the output so far and returns how many input bytes to pass over, or nullopt to
  // abandon the conversion.
  template <typename OnInvalid>
  std::optional<std::string> Convert(std::string_view in, OnInvalid onInvalid) {
    std::string out;
    out.resize(in.size() * 3 / 2 + 16);
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    std::size_t used = 0;
    while (inLeft > 0) {
      char* outPtr = out.data() + used;
      std::size_t outLeft = out.size() - used;
      const std::size_t result = iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft);
      used = out.size() - outLeft;
      if (result != static_cast<std::size_t>(-1))
        break;
      if (errno == E2BIG) {
        out.resize(out.size() * 2);
        continue;
      }
      // EILSEQ or EINVAL (a sequence cut off at the end of the input).
      out.resize(used);
      const std::optional<std::size_t> skip = onInvalid(out);
      if (!skip)
        return std::nullopt;
      used = out.size();
      out.resize(used + inLeft * 3 / 2 + 16);
      const std::size_t step = std::min(*skip, inLeft);
      inPtr += step;
      inLeft -= step;
      iconv(handle_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    }
    out.resize(used);
    return out;
  }

 private:
  iconv_t handle_;
};

// ASCII reads the same in CP932 and UTF-8, so only the runs around other bytes go through
// iconv: a design is mostly ASCII. `runLength` gives the length of the run that starts at
// the front of its argument.
template <typename RunLength, typename OnInvalid>
std::optional<std::string> ConvertRuns(Converter& converter, std::string_view in,
                                       RunLength runLength, OnInvalid onInvalid) {
  std::string out;
  out.reserve(in.size() + in.size() / 8);
  std::size_t i = 0;
  while (i < in.size()) {
    std::size_t ascii = i;
    while (ascii < in.size() && static_cast<unsigned char>(in[ascii]) < 0x80)
      ++ascii;
    out.append(in.substr(i, ascii - i));
    i = ascii;
    if (i == in.size())
      break;
    const std::size_t length = runLength(in.substr(i));
    std::optional<std::string> converted = converter.Convert(in.substr(i, length), onInvalid);
    if (!converted)
      return std::nullopt;
    out += *converted;
    i += length;
  }
  return out;
}

// A run of CP932 characters other than ASCII: a lead byte takes the next byte with it, even
// one in the ASCII range.
std::size_t Cp932RunLength(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80)
      break;
    const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    i += lead && i + 1 < bytes.size() ? 2 : 1;
  }
  return i;
}

// A run of UTF-8 characters other than ASCII; their bytes are never in the ASCII range.
std::size_t Utf8RunLength(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && static_cast<unsigned char>(text[i]) >= 0x80)
    ++i;
  return i;
}

bool IsAscii(std::string_view bytes) {
  for (unsigned char c : bytes) {
    if (c >= 0x80)
      return false;
  }
  return true;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* end = p + bytes.size();
  while (p < end) {
    const unsigned char c = *p;
    if (c < 0x80) {
      ++p;
      continue;
    }
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;  // allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
      if (c == 0xE0)
        low = 0xA0;  // no overlong forms
      if (c == 0xED)
        high = 0x9F;  // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
      if (c == 0xF0)
        low = 0x90;
      if (c == 0xF4)
        high = 0x8F;  // nothing above U+10FFFF
    } else {
      return false;
    }
    if (end - p < length)
      return false;
    if (p[1] < low || p[1] > high)
      return false;
    for (int i = 2; i < length; ++i) {
      if (p[i] < 0x80 || p[i] > 0xBF)
        return false;
    }
    p += length;
  }
  return true;
}

std::string Cp932ToUtf8(std::string_view bytes) {
  Converter converter("UTF-8", "CP932");
  return *ConvertRuns(converter, bytes, Cp932RunLength,
                      [](std::string& out) -> std::optional<std::size_t> {
                        out += kReplacementCharacter;
                        return 1;
                      });
}

std::optional<std::string> Utf8ToCp932(std::string_view text) {
  Converter converter("CP932", "UTF-8");
  std::optional<std::string> bytes =
      ConvertRuns(converter, text, Utf8RunLength,
                  [](std::string&) -> std::optional<std::size_t> { return std::nullopt; });
  // Some characters have a CP932 form that decodes to a different one (YEN SIGN becomes a
  // backslash, WAVE DASH a FULLWIDTH TILDE); such a text does not fit.
  if (!bytes || Cp932ToUtf8(*bytes) != text)
    return std::nullopt;
  return bytes;
}

DecodedText DecodeText(std::string_view bytes) {
  if (IsValidUtf8(bytes)) {
    if (IsAscii(bytes))
      return {std::string(bytes), TextEncoding::kCp932};
    if (bytes.starts_with(kByteOrderMark))
      bytes.remove_prefix(kByteOrderMark.size());
    return {std::string(bytes), TextEncoding::kUtf8};
  }
  return {Cp932ToUtf8(bytes), TextEncoding::kCp932};
}

EncodedText EncodeText(std::string_view text, std::optional<TextEncoding> preferred) {
  if (preferred != TextEncoding::kUtf8) {
    std::optional<std::string> cp932 = Utf8ToCp932(text);
    // CP932 bytes that happen to form valid UTF-8 would be taken for UTF-8 when read back.
    if (cp932 && (IsAscii(*cp932) || !IsValidUtf8(*cp932))) {
      return {std::move(*cp932), TextEncoding::kCp932};
    }
  }
  return {std::string(text), TextEncoding::kUtf8};
}

std::string ToLfLineEnds(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pair; (pair = text.find("\r\n")) != std::string_view::npos;) {
    out.append(text.substr(0, pair));
    text.remove_prefix(pair + 1);  // the LF stays
  }
  out.append(text);
  return out;
}

std::string ToCrLfLineEnds(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t lf; (lf = text.find('\n')) != std::string_view::npos;) {
    out.append(text.substr(0, lf));
    out += "\r\n";
    text.remove_prefix(lf + 1);
  }
  out.append(text);
  return out;
}

}  // namespace pelkor
