// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/svg_writer.h"

#include <fmt/format.h>

#include <algorithm>
#include <iterator>
#include <string_view>

#include "files/text_encoding.h"
#include "view/view_font.h"

namespace pelkor {

namespace {

using Out = std::back_insert_iterator<std::string>;

// Fonts to fall back on where the settings' face is not installed.
constexpr std::string_view kFallbackFonts = "'IPAPGothic', 'IPAGothic', sans-serif";

std::string Hex(ColorRef colour) {
  return fmt::format("#{:02x}{:02x}{:02x}", colour & 0xFF, (colour >> 8) & 0xFF,
                     (colour >> 16) & 0xFF);
}

// The length of the UTF-8 sequence a lead byte starts; 0 for a byte that starts none.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80)
    return 1;
  if (lead >= 0xC2 && lead <= 0xDF)
    return 2;
  if (lead >= 0xE0 && lead <= 0xEF)
    return 3;
  if (lead >= 0xF0 && lead <= 0xF4)
    return 4;
  return 0;
}

// XML character data: markup characters and quotes escaped, control characters as blanks, broken
// UTF-8 as U+FFFD.
void AppendXmlText(std::string& out, std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const std::size_t length = SequenceLength(byte);
    if (length == 0 || i + length > text.size() || !IsValidUtf8(text.substr(i, length))) {
      out += "\xEF\xBF\xBD";
      ++i;
      continue;
    }
    switch (byte) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        if (byte < 0x20 || byte == 0x7F)
          out += ' ';
        else
          out.append(text.substr(i, length));
    }
    i += length;
  }
}

// Paint attributes: fill and stroke, as a replay of the operation's brush and pen.
void AppendPaint(Out out, const DrawOp& op) {
  if (op.brush)
    fmt::format_to(out, " fill=\"{}\"", Hex(*op.brush));
  else
    fmt::format_to(out, " fill=\"none\"");
  if (!op.pen)
    return;
  fmt::format_to(out, " stroke=\"{}\" stroke-width=\"{}\" stroke-miterlimit=\"2\"",
                 Hex(op.pen->colour), op.pen->width);
  if (op.pen->style == PenStyle::kDotted)
    fmt::format_to(out, " stroke-dasharray=\"1 1\"");
}

// The centre of pixel v: outlines and lines run through pixel centres.
double Centre(int v) {
  return v + 0.5;
}

void AppendOp(std::string& svg, const DrawOp& op) {
  const Out out(svg);
  const Point a = op.points[0];
  const Point b = op.points[1];
  switch (op.shape) {
    case DrawShape::kFillRect:
      fmt::format_to(out, "<rect x=\"{}\" y=\"{}\" width=\"{}\" height=\"{}\" fill=\"{}\"/>\n", a.x,
                     a.y, std::max(b.x - a.x, 0), std::max(b.y - a.y, 0),
                     Hex(op.brush.value_or(0)));
      return;
    case DrawShape::kRectangle:
      fmt::format_to(out, "<rect x=\"{}\" y=\"{}\" width=\"{}\" height=\"{}\"", Centre(a.x),
                     Centre(a.y), std::max(b.x - a.x - 1, 0), std::max(b.y - a.y - 1, 0));
      break;
    case DrawShape::kEllipse:
      fmt::format_to(out, "<ellipse cx=\"{}\" cy=\"{}\" rx=\"{}\" ry=\"{}\"", (a.x + b.x) / 2.0,
                     (a.y + b.y) / 2.0, std::max(b.x - a.x - 1, 0) / 2.0,
                     std::max(b.y - a.y - 1, 0) / 2.0);
      break;
    case DrawShape::kPolygon:
      fmt::format_to(out, "<polygon points=\"");
      for (const Point& p : op.Points())
        fmt::format_to(out, "{}{},{}", &p == op.points.data() ? "" : " ", Centre(p.x), Centre(p.y));
      svg += '"';
      break;
    case DrawShape::kLine:
      fmt::format_to(out, "<line x1=\"{}\" y1=\"{}\" x2=\"{}\" y2=\"{}\" stroke-linecap=\"square\"",
                     Centre(a.x), Centre(a.y), Centre(b.x), Centre(b.y));
      break;
    case DrawShape::kPixel:
      fmt::format_to(out, "<rect x=\"{}\" y=\"{}\" width=\"1\" height=\"1\" fill=\"{}\"/>\n", a.x,
                     a.y, Hex(op.pen ? op.pen->colour : 0));
      return;
    case DrawShape::kText:
      fmt::format_to(out,
                     "<text x=\"{}\" y=\"{}\" dominant-baseline=\"text-before-edge\" fill=\"{}\">",
                     a.x, a.y, Hex(op.pen ? op.pen->colour : 0));
      AppendXmlText(svg, op.text);
      svg += "</text>\n";
      return;
  }
  AppendPaint(out, op);
  svg += "/>\n";
}

}  // namespace

std::string SvgFromDrawList(const DrawList& list) {
  std::string svg;
  const Out out(svg);
  fmt::format_to(out,
                 "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"{0}\" height=\"{1}\" "
                 "viewBox=\"0 0 {0} {1}\" xml:space=\"preserve\">\n",
                 list.width, list.height);
  svg += "<g font-family=\"'";
  AppendXmlText(svg, list.font.faceName);
  fmt::format_to(out, "', {}\" font-size=\"{}px\" font-weight=\"{}\" font-style=\"{}\">\n",
                 kFallbackFonts, FontPixelHeight(list.font), FontWeight(list.font),
                 list.font.italic != 0 ? "italic" : "normal");
  for (const DrawOp& op : list.ops)
    AppendOp(svg, op);
  svg += "</g>\n</svg>\n";
  return svg;
}

}  // namespace pelkor
