// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/svg_writer.h"

#include <gtest/gtest.h>

#include "files/text_encoding.h"
#include "view/view_style.h"

namespace pelkor {
namespace {

DrawList Sized(int width, int height) {
  DrawList list;
  list.Reset(width, height, LogFont{});
  return list;
}

TEST(SvgWriterTest, EachOperationBecomesOneElementOnPixelCentres) {
  struct Case {
    void (*draw)(DrawList&);
    const char* element;
  };
  const Case cases[] = {
      {[](DrawList& l) {
         l.FillRect({0, 0, 40, 30}, Rgb(255, 255, 255));
       },
       "<rect x=\"0\" y=\"0\" width=\"40\" height=\"30\" fill=\"#ffffff\"/>"},
      {[](DrawList& l) {
         l.Rectangle({80, 87, 120, 113}, Pen{Rgb(50, 255, 125), 3}, kWhite);
       },
       "<rect x=\"80.5\" y=\"87.5\" width=\"39\" height=\"25\" fill=\"#ffffff\" "
       "stroke=\"#32ff7d\" stroke-width=\"3\" stroke-miterlimit=\"2\"/>"},
      {[](DrawList& l) {
         l.Ellipse({-20, 0, 20, 40}, Pen{Rgb(255, 0, 0), 1}, std::nullopt);
       },
       "<ellipse cx=\"0\" cy=\"20\" rx=\"19.5\" ry=\"19.5\" fill=\"none\" stroke=\"#ff0000\" "
       "stroke-width=\"1\" stroke-miterlimit=\"2\"/>"},
      {[](DrawList& l) {
         l.Polygon({{0, 0}, {-1, 4}, {4, 2}}, std::nullopt, Rgb(0, 0, 255));
       },
       "<polygon points=\"0.5,0.5 -0.5,4.5 4.5,2.5\" fill=\"#0000ff\"/>"},
      {[](DrawList& l) {
         l.Line({1, 2}, {3, 4}, Pen{Rgb(1, 2, 3), 2, PenStyle::kDotted});
       },
       "<line x1=\"1.5\" y1=\"2.5\" x2=\"3.5\" y2=\"4.5\" stroke-linecap=\"square\" fill=\"none\" "
       "stroke=\"#010203\" stroke-width=\"2\" stroke-miterlimit=\"2\" stroke-dasharray=\"1 1\"/>"},
      {[](DrawList& l) {
         l.Pixel({7, 8}, Rgb(255, 0, 255));
       },
       "<rect x=\"7\" y=\"8\" width=\"1\" height=\"1\" fill=\"#ff00ff\"/>"},
      {[](DrawList& l) {
         l.Text({5, 6}, "<a&b>", kTextColour);
       },
       "<text x=\"5\" y=\"6\" dominant-baseline=\"text-before-edge\" fill=\"#000000\">"
       "&lt;a&amp;b&gt;</text>"},
  };
  for (const Case& c : cases) {
    DrawList list = Sized(40, 30);
    c.draw(list);
    const std::string svg = SvgFromDrawList(list);
    EXPECT_NE(svg.find(std::string(c.element) + "\n"), std::string::npos) << svg;
  }
}

TEST(SvgWriterTest, TheDocumentHasThePicturesSizeAndTheViewFont) {
  DrawList list = Sized(640, 480);
  list.font.faceName = "ＭＳ Ｐゴシック";
  list.font.height = -12;
  const std::string svg = SvgFromDrawList(list);
  EXPECT_EQ(svg.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg ", 0), 0u);
  EXPECT_NE(svg.find("width=\"640\" height=\"480\" viewBox=\"0 0 640 480\""), std::string::npos);
  EXPECT_NE(svg.find("font-family=\"'ＭＳ Ｐゴシック', 'IPAPGothic', 'IPAGothic', sans-serif\" "
                     "font-size=\"12px\" font-weight=\"700\" font-style=\"italic\""),
            std::string::npos);
  EXPECT_EQ(svg.substr(svg.size() - 12), "</g>\n</svg>\n");
}

TEST(SvgWriterTest, BrokenOrControlCharactersInTextsKeepTheDocumentValid) {
  DrawList list = Sized(10, 10);
  // A register's contents reversed byte by byte, a name with a control character and quotes.
  list.Text({0, 0}, std::string("\x9A\xE7\r\n"), kTextColour);
  list.Text({0, 0}, "a\x01'\"", kTextColour);
  list.font.faceName = "x' y\"\xFF";
  const std::string svg = SvgFromDrawList(list);
  EXPECT_TRUE(IsValidUtf8(svg));
  EXPECT_NE(svg.find(">\xEF\xBF\xBD\xEF\xBF\xBD  </text>"), std::string::npos);
  EXPECT_NE(svg.find(">a &apos;&quot;</text>"), std::string::npos);
  EXPECT_NE(svg.find("font-family=\"'x&apos; y&quot;\xEF\xBF\xBD', "), std::string::npos);
}

}  // namespace
}  // namespace pelkor
