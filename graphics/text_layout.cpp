// text_layout.cpp: line break conversion, word wrapping and measuring.
#include "graphics/text_layout.h"

#include <algorithm>

#include "graphics/font_class.h"

namespace {

// Length of the chunk starting at from: up to and including the first space
// or hyphen, else the rest of the line.
size_t ChunkLength(const VString& line, size_t from) {
  size_t end = line.find_first_of(u" -", from);
  return end == VString::npos ? line.size() - from : end + 1 - from;
}

void WrapLine(const CFont& font, const VString& line, double width, std::vector<VString>& out) {
  size_t at = 0;
  while (at < line.size()) {
    size_t len = ChunkLength(line, at);
    VString current = line.substr(at, len);
    int32_t current_width = font.TextWidth(current);
    at += len;
    while (current_width < width && at < line.size()) {
      len = ChunkLength(line, at);
      VString chunk = line.substr(at, len);
      int32_t chunk_width = font.TextWidth(chunk);
      if (current_width + chunk_width > width) break;
      current += chunk;
      current_width += chunk_width;
      at += len;
    }
    out.push_back(std::move(current));
  }
}

}  // namespace

VString Text_ConvertBreaks(const VString& text) {
  VString out;
  out.reserve(text.size());
  char16_t previous = 0;  // the source character before c
  bool after_break = false;  // the last character written is a break
  for (char16_t c : text) {
    bool joins = c == u'\n' && after_break;  // CR LF, or '#' then LF: one break
    after_break = false;
    if (c == u'#' && previous == u'\\') {
      out.back() = u'#';
    } else if (c == u'#' || c == u'\n' || c == u'\r') {
      if (!joins) out.push_back(u'\r');
      after_break = c != u'\n';
    } else {
      out.push_back(c);
    }
    previous = c;
  }
  return out;
}

std::vector<VString> Text_Layout(const CFont& font, const VString& text, double width) {
  VString converted = Text_ConvertBreaks(text);
  std::vector<VString> lines;
  size_t start = 0;
  while (start < converted.size()) {
    size_t end = converted.find(u'\r', start);
    if (end == VString::npos) end = converted.size();
    VString line = converted.substr(start, end - start);
    if (width < 0 || line.empty())
      lines.push_back(std::move(line));
    else
      WrapLine(font, line, width, lines);
    start = end + 1;
  }
  return lines;
}

int32_t Text_LayoutWidth(const CFont& font, const std::vector<VString>& lines) {
  int32_t widest = 1;
  for (const VString& line : lines) widest = std::max(widest, font.TextWidth(line));
  return widest;
}

double Text_LayoutHeight(const CFont& font, size_t lines, double sep) {
  if (lines == 0) return 1;
  if (sep < 0) sep = font.TextHeight(VString());
  return font.TextHeight(VString()) + sep * static_cast<double>(lines - 1);
}
