// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/text_encoding.h"

#include <gtest/gtest.h>

namespace pelkor {
namespace {

TEST(TextEncodingTest, Utf8Validity) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("plain"));
  EXPECT_TRUE(IsValidUtf8("半加算器 😀 ¥"));
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong "/"
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\xE3\x81"));          // cut off
  EXPECT_FALSE(IsValidUtf8("\x82\xA0"));          // CP932 "あ"
}

TEST(TextEncodingTest, Cp932RoundTripOfJapaneseText) {
  const std::string text = "入力 ＭＳ Ｐゴシック ｱｲｳ ～ ①";
  const std::optional<std::string> bytes = Utf8ToCp932(text);
  ASSERT_TRUE(bytes);
  EXPECT_EQ(bytes->substr(0, 4), "\x93\xFC\x97\xCD");
  EXPECT_EQ(Cp932ToUtf8(*bytes), text);
}

TEST(TextEncodingTest, CharactersThatWouldChangeDoNotFitCp932) {
  EXPECT_FALSE(Utf8ToCp932("😀"));
  EXPECT_FALSE(Utf8ToCp932("¥"));   // would come back as "\"
  EXPECT_FALSE(Utf8ToCp932("〜"));  // WAVE DASH would come back as FULLWIDTH TILDE
  EXPECT_FALSE(Utf8ToCp932("\xFF"));
}

TEST(TextEncodingTest, UndecodableBytesBecomeReplacementCharacters) {
  EXPECT_EQ(Cp932ToUtf8("a\xA0"
                        "b\x82"),
            "a\xEF\xBF\xBD"
            "b\xEF\xBF\xBD");
}

TEST(TextEncodingTest, DecodeTakesValidUtf8AsUtf8AndAnythingElseAsCp932) {
  EXPECT_EQ(DecodeText("abc").encoding, TextEncoding::kCp932);
  const DecodedText utf8 = DecodeText("\xEF\xBB\xBFshift 半");
  EXPECT_EQ(utf8.encoding, TextEncoding::kUtf8);
  EXPECT_EQ(utf8.text, "shift 半");  // the byte-order mark is dropped
  const DecodedText cp932 = DecodeText("\x94\xBC");
  EXPECT_EQ(cp932.encoding, TextEncoding::kCp932);
  EXPECT_EQ(cp932.text, "半");
}

TEST(TextEncodingTest, EncodePrefersCp932AndNeverLosesACharacter) {
  EXPECT_EQ(EncodeText("半").bytes, "\x94\xBC");
  EXPECT_EQ(EncodeText("半").encoding, TextEncoding::kCp932);
  EXPECT_EQ(EncodeText("半", TextEncoding::kUtf8).bytes, "半");
  const EncodedText emoji = EncodeText("半😀", TextEncoding::kCp932);
  EXPECT_EQ(emoji.encoding, TextEncoding::kUtf8);
  EXPECT_EQ(emoji.bytes, "半😀");
}

TEST(TextEncodingTest, Cp932BytesThatLookLikeUtf8AreWrittenAsUtf8) {
  // Half-width "ﾃ" (0xC3) then "、" (0x81 0x41) would read back as the UTF-8 "Á" and "A".
  const std::string text = "ﾃ、";
  ASSERT_EQ(Utf8ToCp932(text), "\xC3\x81\x41");
  const EncodedText encoded = EncodeText(text);
  EXPECT_EQ(encoded.encoding, TextEncoding::kUtf8);
  EXPECT_EQ(DecodeText(encoded.bytes).text, text);
}

TEST(TextEncodingTest, LineEnds) {
  EXPECT_EQ(ToLfLineEnds("a\r\nb\rc\n\r\n"), "a\nb\rc\n\n");
  EXPECT_EQ(ToCrLfLineEnds("a\nb\n"), "a\r\nb\r\n");
}

}  // namespace
}  // namespace pelkor
