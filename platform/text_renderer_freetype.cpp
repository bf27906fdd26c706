#include "platform/text_renderer.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/font_lookup.h"
#include "platform/platform.h"

namespace qn::platform {

namespace {

// The face files a request can end with. Faces the fields name and that have free faces made to
// their metrics are found by path, so that an edition without fontconfig (the browser's, which
// packs the same files at the same paths) picks exactly what the desktop picks; any other name
// goes to the installed fonts (font_lookup.h); DejaVu Sans Bold is the last resort.
//
// Some bold files are bold only in their hand-made bitmaps and advances: their outlines are the
// regular face's. Drawn from outlines (larger than the bitmaps' sizes), those are emboldened.
struct MetricFace {
  const char* name;  // as fields name it, matched ignoring case
  const char* regularPath;
  const char* boldPath;
  bool boldOutlinesRegular;
};
constexpr MetricFace kMetricFaces[] = {
    {"Tahoma", "/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf", true},
};
constexpr const char* kFallbackFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
// Outlines of such a bold file are widened by 1/24 em (FreeType's own emboldening): then a line of
// its text carries about the ink its hand-made bold bitmaps carry at their own size.
constexpr FT_Pos kBoldOutlineDivisor = 24;

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

bool isReadable(const char* path) {
  std::FILE* file = std::fopen(path, "rb");
  if (file) std::fclose(file);
  return file != nullptr;
}

std::optional<FontFile> metricFaceFile(const FontRequest& request, bool& boldOutlinesRegular) {
  for (const MetricFace& face : kMetricFaces) {
    if (!sameNameIgnoringCase(face.name, request.face)) continue;
    boldOutlinesRegular = false;
    if (request.bold && isReadable(face.boldPath)) {
      boldOutlinesRegular = face.boldOutlinesRegular;
      return FontFile{face.boldPath, 0, true, false};
    }
    if (isReadable(face.regularPath)) return FontFile{face.regularPath, 0, false, false};
  }
  return std::nullopt;
}

// One loaded face per (name, bold, italic), with what its file could not supply synthesised.
struct LoadedFace {
  FT_Face face = nullptr;
  bool emboldenSynthetic = false;
  bool obliqueSynthetic = false;
  // A bold file whose outlines are regular: emboldened when drawn from them at a scale above 1
  // (at the face's own size drawings stay as they always were).
  bool emboldenOutlines = false;
};

FaceNoticeSink faceNoticeSink = nullptr;

// "-- font "Tahoma" bold: Tahoma Bold, /usr/share/wine/fonts/tahomabd.ttf"
void noticeFace(const FontRequest& request, const FontFile& file, FT_Face face) {
  std::string line = "-- font \"" + request.face + "\"";
  if (request.bold) line += " bold";
  if (request.italic) line += " italic";
  line += ": ";
  line += face->family_name ? face->family_name : "(unnamed)";
  if (face->style_name) line += std::string(" ") + face->style_name;
  line += ", " + file.path + "\r\n";
  (faceNoticeSink ? faceNoticeSink : debugOutput)(line);
}

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
    bool boldOutlinesRegular = false;
    std::optional<FontFile> file = metricFaceFile(request, boldOutlinesRegular);
    if (!file) file = findInstalledFont(request);
    if (!file || FT_New_Face(library_, file->path.c_str(), file->index, &loaded.face) != 0) {
      file = FontFile{kFallbackFontFile, 0, true, false};
      boldOutlinesRegular = false;
      if (FT_New_Face(library_, kFallbackFontFile, 0, &loaded.face) != 0) return {};
    }
    loaded.emboldenSynthetic = request.bold && !file->bold;
    loaded.obliqueSynthetic = request.italic && !file->italic;
    loaded.emboldenOutlines = boldOutlinesRegular;
    noticeFace(request, *file, loaded.face);
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

// Where coverage goes: the window of the box drawn `scale` times as large, everything outside it
// (and outside the box) cut.
class CoverageTarget {
 public:
  CoverageTarget(const TextBox& box, const CoverageWindow& window, uint8_t* coverage, int32_t scale)
      : left_(std::max(window.left, 0)),
        top_(std::max(window.top, 0)),
        right_(static_cast<int32_t>(std::min<int64_t>(window.right, int64_t{box.width} * scale))),
        bottom_(static_cast<int32_t>(std::min<int64_t>(window.bottom, int64_t{box.height} * scale))),
        window_(window),
        coverage_(coverage) {}

  bool isEmpty() const { return left_ >= right_ || top_ >= bottom_; }
  int32_t bottom() const { return bottom_; }

  // A glyph's grey levels, or its bits (a face's own bitmap for the size) as full ink or none.
  void blendGlyph(const FT_Bitmap& bitmap, int32_t left, int32_t top) {
    const bool bits = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
      int32_t y = top + static_cast<int32_t>(row);
      if (y < top_ || y >= bottom_) continue;
      const uint8_t* source = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
      for (unsigned column = 0; column < bitmap.width; ++column) {
        int32_t x = left + static_cast<int32_t>(column);
        if (x < left_ || x >= right_) continue;
        const uint8_t ink = bits ? ((source[column / 8] >> (7 - column % 8)) & 1) * 255 : source[column];
        uint8_t& target = at(x, y);
        target = std::max(target, ink);
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

// A text set in a box: the text broken into the box's lines at the face's size.
struct SetText {
  std::vector<char32_t> codes;
  std::vector<Line> lines;
  int32_t ascent = 0, lineHeight = 1;
  FT_UInt pixelsPerEm = 0;
};

// A face's cell in font units, as the device's text drawing measures it: from the Windows
// ascent and descent of the OS/2 table where there is one (the typographic values can be much
// smaller, and a face made to another face's metrics matches it in these), else the face's own.
struct FontUnitsCell {
  int64_t ascent, descent;
};
FontUnitsCell cellOf(FT_Face face) {
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0)
    return {os2->usWinAscent, os2->usWinDescent};
  return {face->ascender, -int64_t{face->descender}};
}

// A cell height in pixels becomes a whole number of pixels per em, rounded; the baseline and the
// line pitch are the cell's ascent and ascent + descent at that size, rounded each.
bool sizeFace(FT_Face face, int32_t cellHeight, int32_t& ascent, int32_t& lineHeight, FT_UInt& pixelsPerEm) {
  const FontUnitsCell cell = cellOf(face);
  const int64_t cellUnits = cell.ascent + cell.descent;
  if (cellUnits <= 0 || face->units_per_EM == 0) return false;
  const int64_t perEm = (int64_t{cellHeight} * face->units_per_EM * 2 + cellUnits) / (2 * cellUnits);
  if (perEm <= 0 || FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(perEm)) != 0) return false;
  auto pixels = [&](int64_t units) { return static_cast<int32_t>((units * perEm * 2 + face->units_per_EM) / (2 * face->units_per_EM)); };
  ascent = pixels(cell.ascent);
  lineHeight = std::max<int32_t>(1, ascent + pixels(cell.descent));
  pixelsPerEm = static_cast<FT_UInt>(perEm);
  return true;
}

// A place in a box drawn `scale` times as large; places a box's width could carry beyond the 32-bit
// range stop at +-2^30, far outside any window.
int32_t scaled(int64_t place, int32_t scale) {
  constexpr int64_t kFarthest = int64_t{1} << 30;
  return static_cast<int32_t>(std::clamp(place * scale, -kFarthest, kFarthest));
}

// False when the face cannot take the size.
bool setText(std::string_view text, const FontRequest& font, const TextBox& box, LoadedFace& loaded, SetText& set) {
  FT_Face face = loaded.face;
  if (!sizeFace(face, font.cellHeight, set.ascent, set.lineHeight, set.pixelsPerEm)) return false;
  if (loaded.obliqueSynthetic) {
    FT_Matrix shear{0x10000, 0x0366A, 0, 0x10000};  // about 12 degrees, as synthesised italics lean
    FT_Set_Transform(face, &shear, nullptr);
  } else {
    FT_Set_Transform(face, nullptr, nullptr);
  }
  set.codes = decodeText(text);
  const std::vector<char32_t>& codes = set.codes;
  Layout layout(loaded, codes);
  for (size_t begin = 0; begin <= codes.size();) {
    size_t end = begin;
    while (end < codes.size() && codes[end] != U'\r' && codes[end] != U'\n') ++end;
    if (box.wordWrap)
      layout.wrap(begin, end, box.width, set.lines);
    else
      set.lines.push_back({begin, end, layout.width(begin, end)});
    if (end == begin && box.wordWrap) set.lines.push_back({begin, end, 0});  // an empty line still counts
    if (end == codes.size()) break;
    begin = end + (codes[end] == U'\r' && end + 1 < codes.size() && codes[end + 1] == U'\n' ? 2 : 1);
  }
  return true;
}

}  // namespace

void setFaceNoticeSink(FaceNoticeSink sink) { faceNoticeSink = sink; }

TextExtent measureText(std::string_view text, const FontRequest& font, const TextBox& box) {
  LoadedFace* loaded = fontCache().face(font);
  SetText set;
  if (!loaded || font.cellHeight <= 0 || !setText(text, font, box, *loaded, set)) return {};
  TextExtent extent;
  for (const Line& line : set.lines) extent.width = std::max(extent.width, line.width);
  extent.height = static_cast<int32_t>(set.lines.size()) * set.lineHeight;
  return extent;
}

bool renderTextCoverage(std::string_view text, const FontRequest& font, const TextBox& box,
                        const CoverageWindow& window, uint8_t* coverage, int32_t scale) {
  LoadedFace* loaded = fontCache().face(font);
  if (!loaded) return false;
  scale = std::max(scale, 1);
  CoverageTarget target(box, window, coverage, scale);
  if (target.isEmpty() || font.cellHeight <= 0) return true;
  SetText set;
  if (!setText(text, font, box, *loaded, set)) return false;
  FT_Face face = loaded->face;
  const FT_Size_Metrics& metrics = face->size->metrics;
  int32_t underlineOffset = 0, underlineThickness = 1;
  if (font.underline && face->units_per_EM) {
    underlineOffset = static_cast<int32_t>(-FT_MulFix(face->underline_position, metrics.y_scale) >> 6);
    underlineThickness = std::max<int32_t>(1, static_cast<int32_t>(FT_MulFix(face->underline_thickness, metrics.y_scale) >> 6));
  }

  // Every glyph's pen position and every line's end, at the face's own size: where the glyphs go
  // at any scale.
  Layout layout(*loaded, set.codes);
  std::vector<int32_t> pens(set.codes.size());
  std::vector<std::pair<int32_t, int32_t>> lineSpans;  // left and right of each line's pens
  for (const Line& line : set.lines) {
    int32_t x = box.alignment == TextAlignment::left     ? 0
                : box.alignment == TextAlignment::center ? (box.width - line.width) / 2
                                                         : box.width - line.width;
    const int32_t left = x;
    for (size_t i = line.begin; i < line.end; ++i) {
      pens[i] = x;
      x += layout.advance(i);
    }
    lineSpans.emplace_back(left, x);
  }

  // Larger than the face's own size the glyphs come from the outlines, k times the size.
  if (scale > 1 && FT_Set_Pixel_Sizes(face, 0, set.pixelsPerEm * static_cast<FT_UInt>(scale)) != 0) return false;
  const FT_Int32 loadFlags = scale > 1 ? FT_LOAD_NO_BITMAP : FT_LOAD_DEFAULT;
  const FT_Pos boldStrength = face->size->metrics.x_ppem * 64 / kBoldOutlineDivisor;
  int32_t baseline = set.ascent;
  for (size_t n = 0; n < set.lines.size(); ++n) {
    const Line& line = set.lines[n];
    if (int64_t{baseline - set.ascent} * scale >= target.bottom()) break;
    for (size_t i = line.begin; i < line.end; ++i) {
      FT_UInt glyph = FT_Get_Char_Index(face, set.codes[i]);
      if (FT_Load_Glyph(face, glyph, loadFlags) != 0) continue;
      FT_GlyphSlot slot = face->glyph;
      if (loaded->emboldenSynthetic) FT_GlyphSlot_Embolden(slot);
      else if (loaded->emboldenOutlines && scale > 1 && slot->format == FT_GLYPH_FORMAT_OUTLINE)
        FT_Outline_Embolden(&slot->outline, boldStrength);
      const bool drawable = slot->bitmap.pixel_mode == FT_PIXEL_MODE_GRAY || slot->bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
      if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0 && drawable)
        target.blendGlyph(slot->bitmap, scaled(pens[i], scale) + slot->bitmap_left,
                          scaled(baseline, scale) - slot->bitmap_top);
    }
    if (font.underline)
      target.fill(scaled(lineSpans[n].first, scale), scaled(int64_t{baseline} + underlineOffset, scale),
                  scaled(lineSpans[n].second, scale),
                  scaled(int64_t{baseline} + underlineOffset + underlineThickness, scale));
    baseline += set.lineHeight;
  }
  return true;
}

}  // namespace qn::platform
