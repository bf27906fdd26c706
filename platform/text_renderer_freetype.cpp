#include "platform/text_renderer.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <map>
#include <tuple>
#include <vector>

#include "platform/font_lookup.h"

namespace qn::platform {

namespace {

constexpr const char* kFallbackFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

// One loaded face per (name, bold, italic), with what the font file could not supply synthesised.
struct LoadedFace {
  FT_Face face = nullptr;
  bool emboldenSynthetic = false;
  bool obliqueSynthetic = false;
};

class FontCache {
 public:
  ~FontCache() {
    for (auto& [key, loaded] : faces_)
      if (loaded.face) FT_Done_Face(loaded.face);
    if (library_) FT_Done_FreeType(library_);
    releaseFontLookup();
  }

  LoadedFace* face(const FontRequest& request) {
    if (!library_ && FT_Init_FreeType(&library_) != 0) return nullptr;
    auto key = std::make_tuple(request.face, request.bold, request.italic);
    auto found = faces_.find(key);
    if (found == faces_.end()) found = faces_.emplace(key, load(request)).first;
    return found->second.face ? &found->second : nullptr;
  }

 private:
  LoadedFace load(const FontRequest& request) {
    LoadedFace loaded;
    std::optional<FontFile> file = findInstalledFont(request);
    if (!file || FT_New_Face(library_, file->path.c_str(), file->index, &loaded.face) != 0) {
      loaded.face = nullptr;
      if (FT_New_Face(library_, kFallbackFontFile, 0, &loaded.face) != 0) return {};
      file = FontFile{kFallbackFontFile, 0, true, false};
    }
    loaded.emboldenSynthetic = request.bold && !file->bold;
    loaded.obliqueSynthetic = request.italic && !file->slanted;
    return loaded;
  }

  FT_Library library_ = nullptr;
  std::map<std::tuple<std::string, bool, bool>, LoadedFace> faces_;
};

FontCache& fontCache() {
  static FontCache cache;
  return cache;
}

// UTF-8 to code points; a byte that does not start a well-formed sequence is Latin-1.
std::vector<char32_t> decodeText(std::string_view text) {
  std::vector<char32_t> codes;
  codes.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    auto byte = static_cast<uint8_t>(text[i]);
    int length = byte >= 0xF0 && byte < 0xF5 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC2 && byte < 0xE0 ? 2 : 1;
    if (byte >= 0xF5) length = 1;
    char32_t code = length == 1 ? byte : byte & (0x7F >> length);
    bool wellFormed = length == 1 || i + length <= text.size();
    for (int k = 1; wellFormed && k < length; ++k) {
      auto next = static_cast<uint8_t>(text[i + k]);
      wellFormed = (next & 0xC0) == 0x80;
      code = code << 6 | (next & 0x3F);
    }
    if (!wellFormed || (length == 3 && code < 0x800) || (length == 4 && code < 0x10000)) {
      codes.push_back(byte);
      ++i;
    } else {
      codes.push_back(code);
      i += length;
    }
  }
  return codes;
}

struct Line {
  size_t begin, end;  // code point range, line break excluded
  int32_t width;      // pixels
};

class Layout {
 public:
  Layout(const LoadedFace& face, const std::vector<char32_t>& codes) : face_(face), codes_(codes) {}

  int32_t advance(size_t index) {
    FT_UInt glyph = FT_Get_Char_Index(face_.face, codes_[index]);
    if (FT_Load_Glyph(face_.face, glyph, FT_LOAD_DEFAULT) != 0) return 0;
    if (face_.emboldenSynthetic) FT_GlyphSlot_Embolden(face_.face->glyph);
    return static_cast<int32_t>((face_.face->glyph->advance.x + 32) >> 6);
  }

  int32_t width(size_t begin, size_t end) {
    int32_t total = 0;
    for (size_t i = begin; i < end; ++i) total += advance(i);
    return total;
  }

  // Splits [begin, end) into lines no wider than `limit` at spaces; the spaces at a break vanish.
  void wrap(size_t begin, size_t end, int32_t limit, std::vector<Line>& lines) {
    while (begin < end) {
      size_t lineEnd = begin, breakAt = begin;
      int32_t lineWidth = 0, widthAtBreak = 0;
      for (; lineEnd < end; ++lineEnd) {
        if (codes_[lineEnd] == U' ') {
          breakAt = lineEnd;
          widthAtBreak = lineWidth;
        }
        int32_t next = lineWidth + advance(lineEnd);
        if (next > limit && codes_[lineEnd] != U' ' && breakAt > begin) break;
        lineWidth = next;
      }
      if (lineEnd == end) {
        lines.push_back({begin, end, lineWidth});
        return;
      }
      lines.push_back({begin, breakAt, widthAtBreak});
      begin = breakAt;
      while (begin < end && codes_[begin] == U' ') ++begin;
    }
  }

 private:
  const LoadedFace& face_;
  const std::vector<char32_t>& codes_;
};

// Where coverage goes: the window of the box, everything outside it (and outside the box) cut.
class CoverageTarget {
 public:
  CoverageTarget(const TextBox& box, const CoverageWindow& window, uint8_t* coverage)
      : left_(std::max(window.left, 0)),
        top_(std::max(window.top, 0)),
        right_(std::min(window.right, box.width)),
        bottom_(std::min(window.bottom, box.height)),
        window_(window),
        coverage_(coverage) {}

  bool isEmpty() const { return left_ >= right_ || top_ >= bottom_; }
  int32_t bottom() const { return bottom_; }

  void blendGlyph(const FT_Bitmap& bitmap, int32_t left, int32_t top) {
    for (unsigned row = 0; row < bitmap.rows; ++row) {
      int32_t y = top + static_cast<int32_t>(row);
      if (y < top_ || y >= bottom_) continue;
      const uint8_t* source = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
      for (unsigned column = 0; column < bitmap.width; ++column) {
        int32_t x = left + static_cast<int32_t>(column);
        if (x < left_ || x >= right_) continue;
        uint8_t& target = at(x, y);
        target = std::max(target, source[column]);
      }
    }
  }

  void fill(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    for (int32_t y = std::max(top, top_); y < std::min(bottom, bottom_); ++y)
      for (int32_t x = std::max(left, left_); x < std::min(right, right_); ++x) at(x, y) = 255;
  }

 private:
  uint8_t& at(int32_t x, int32_t y) {
    return coverage_[static_cast<size_t>(y - window_.top) * static_cast<size_t>(window_.right - window_.left) +
                     static_cast<size_t>(x - window_.left)];
  }

  int32_t left_, top_, right_, bottom_;
  CoverageWindow window_;
  uint8_t* coverage_;
};

}  // namespace

bool renderTextCoverage(std::string_view text, const FontRequest& font, const TextBox& box,
                        const CoverageWindow& window, uint8_t* coverage) {
  LoadedFace* loaded = fontCache().face(font);
  if (!loaded) return false;
  CoverageTarget target(box, window, coverage);
  if (target.isEmpty() || font.cellHeight <= 0) return true;
  FT_Face face = loaded->face;
  FT_Size_RequestRec size{FT_SIZE_REQUEST_TYPE_CELL, 0, static_cast<FT_Long>(font.cellHeight) << 6, 0, 0};
  if (FT_Request_Size(face, &size) != 0) return false;
  if (loaded->obliqueSynthetic) {
    FT_Matrix shear{0x10000, 0x0366A, 0, 0x10000};  // about 12 degrees, as synthesised italics lean
    FT_Set_Transform(face, &shear, nullptr);
  } else {
    FT_Set_Transform(face, nullptr, nullptr);
  }

  std::vector<char32_t> codes = decodeText(text);
  Layout layout(*loaded, codes);
  std::vector<Line> lines;
  for (size_t begin = 0; begin <= codes.size();) {
    size_t end = begin;
    while (end < codes.size() && codes[end] != U'\r' && codes[end] != U'\n') ++end;
    if (box.wordWrap)
      layout.wrap(begin, end, box.width, lines);
    else
      lines.push_back({begin, end, layout.width(begin, end)});
    if (end == begin && box.wordWrap) lines.push_back({begin, end, 0});  // an empty line still counts
    if (end == codes.size()) break;
    begin = end + (codes[end] == U'\r' && end + 1 < codes.size() && codes[end + 1] == U'\n' ? 2 : 1);
  }

  const FT_Size_Metrics& metrics = face->size->metrics;
  int32_t ascent = static_cast<int32_t>((metrics.ascender + 63) >> 6);
  int32_t lineHeight = std::max<int32_t>(1, static_cast<int32_t>((metrics.ascender - metrics.descender + 63) >> 6));
  int32_t underlineOffset = 0, underlineThickness = 1;
  if (font.underline && face->units_per_EM) {
    underlineOffset = static_cast<int32_t>(-FT_MulFix(face->underline_position, metrics.y_scale) >> 6);
    underlineThickness = std::max<int32_t>(1, static_cast<int32_t>(FT_MulFix(face->underline_thickness, metrics.y_scale) >> 6));
  }

  int32_t baseline = ascent;
  for (const Line& line : lines) {
    if (baseline - ascent >= target.bottom()) break;
    int32_t x = box.alignment == TextAlignment::left     ? 0
                : box.alignment == TextAlignment::center ? (box.width - line.width) / 2
                                                         : box.width - line.width;
    int32_t lineLeft = x;
    for (size_t i = line.begin; i < line.end; ++i) {
      FT_UInt glyph = FT_Get_Char_Index(face, codes[i]);
      if (FT_Load_Glyph(face, glyph, FT_LOAD_DEFAULT) != 0) continue;
      FT_GlyphSlot slot = face->glyph;
      if (loaded->emboldenSynthetic) FT_GlyphSlot_Embolden(slot);
      if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0 && slot->bitmap.pixel_mode == FT_PIXEL_MODE_GRAY)
        target.blendGlyph(slot->bitmap, x + slot->bitmap_left, baseline - slot->bitmap_top);
      x += static_cast<int32_t>((slot->advance.x + 32) >> 6);
    }
    if (font.underline)
      target.fill(lineLeft, baseline + underlineOffset, x, baseline + underlineOffset + underlineThickness);
    baseline += lineHeight;
  }
  return true;
}

}  // namespace qn::platform
