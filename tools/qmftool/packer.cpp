#include "tools/qmftool/packer.h"

#include <stb/stb_image.h>

#include <cstdio>

#include "platform/mapped_file.h"
#include "tools/qmftool/bmp_writer.h"
#include "tools/qmftool/media_writer.h"

namespace qn::qmftool {

namespace {

class Packer {
 public:
  Packer(Manifest& manifest, const std::string& manifestPath, PackedCast& out)
      : manifest_(manifest), path_(manifestPath), out_(out), writer_(out.media) {}

  bool run(std::string& error) {
    int64_t previousKey = -1;
    for (ManifestEntry& entry : manifest_.entries) {
      EntryReader reader(entry, path_);
      int64_t key = int64_t(entry.castLib - 1) * 65536 + entry.number;
      if (key == previousKey) reader.fail("member " + memberId(entry) + " is listed twice");
      if (key < previousKey) reader.fail("member " + memberId(entry) + " is out of order: list castLib 1 by ascending number, then castLib 2");
      previousKey = key;
      if (reader.ok()) pack(entry, reader);
      reader.rejectUnusedKeys();
      if (!entryPacked(reader, writer_, path_, error)) return false;
    }
    writer_.finish();
    return true;
  }

 private:
  static std::string memberId(const ManifestEntry& entry) {
    return std::to_string(entry.castLib) + "." + std::to_string(entry.number);
  }

  const char* keep(std::string text) { return out_.strings.emplace_back(std::move(text)).c_str(); }

  bool readFile(EntryReader& reader, const std::string& key, std::string& bytes) {
    std::string file = reader.path(key, manifest_.folder);
    return reader.ok() && readPicture(reader, file, bytes);
  }

  void pack(ManifestEntry& entry, EntryReader& reader) {
    switch (entry.kind) {
      case MemberKind::bitmap: return packBitmap(entry, reader);
      case MemberKind::field: return packField(entry, reader);
      case MemberKind::sound: return packSound(entry, reader);
      case MemberKind::script: return packScript(entry, reader);
    }
  }

  void packBitmap(ManifestEntry& entry, EntryReader& reader) {
    BitmapRow row{};
    row.number = entry.number;
    row.castLib = entry.castLib;
    row.regX = static_cast<int32_t>(reader.number("regX"));
    row.regY = static_cast<int32_t>(reader.number("regY"));
    row.useAlpha = static_cast<uint8_t>(reader.flag("useAlpha"));
    row.depth = static_cast<int32_t>(reader.numberOr("depth", 32));
    row.matteAlphaThreshold = static_cast<int32_t>(reader.numberOr("threshold", 1));
    row.name = keep(reader.text("name", ""));
    row.filename = keep("");
    finerPicturesAsJpeg(reader);  // read here too, so that a mistake shows at once
    std::string stored = reader.text("stored");
    std::string bytes;
    if (!readFile(reader, "image", bytes)) return;
    RgbaImage image;
    if (!loadRgba(bytes, image)) {
      reader.fail("image " + reader.text("image") + " is not a readable PNG: " + stbi_failure_reason());
      return;
    }
    row.width = image.width;
    row.height = image.height;
    if (stored == "png") {
      if (bytes.compare(0, 8, "\x89PNG\r\n\x1a\n", 8) != 0) return reader.fail("stored=png needs a PNG file");
      row.storedFormat = 1;
      writer_.blob(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), false, row.offset, row.packedSize,
                   row.unpackedSize);
      writer_.alphaBlob(image, row.alphaPackedSize, row.alphaUnpackedSize);
    } else if (stored == "bmp") {
      std::vector<uint8_t> bmp = writeBmp32(image.pixels.get(), image.width, image.height);
      writer_.blob(bmp.data(), bmp.size(), true, row.offset, row.packedSize, row.unpackedSize);
    } else {
      return reader.fail("stored must be png or bmp");
    }
    out_.bitmaps.push_back(row);
  }

  void packField(ManifestEntry& entry, EntryReader& reader) {
    FieldRow row{};
    row.number = entry.number;
    row.castLib = entry.castLib;
    row.width = static_cast<int32_t>(reader.number("width"));
    row.height = static_cast<int32_t>(reader.number("height"));
    row.color = static_cast<uint32_t>(reader.number("color")) & 0xFFFFFF;
    row.bgColor = static_cast<uint32_t>(reader.number("bgColor")) & 0xFFFFFF;
    row.lineHeight = static_cast<int32_t>(reader.number("lineHeight"));
    row.scrollTop = static_cast<int32_t>(reader.numberOr("scrollTop", 0));
    row.alignment = static_cast<int32_t>(reader.number("alignment"));
    if (row.alignment < 0 || row.alignment > 2) reader.fail("alignment must be 0 (left), 1 (centre) or 2 (right)");
    row.wordWrap = static_cast<uint8_t>(reader.flag("wordWrap"));
    row.font = keep(reader.text("font"));
    row.fontSize = static_cast<int32_t>(reader.number("fontSize"));
    row.fontStyle = keep(reader.text("fontStyle"));
    row.name = keep(reader.text("name"));
    std::string text = reader.text("text");
    if (text.find('\0') != std::string::npos) reader.fail("text must not hold a zero byte");
    if (!reader.ok()) return;
    writer_.blob(reinterpret_cast<const uint8_t*>(text.c_str()), text.size() + 1, true, row.offset, row.packedSize,
                 row.unpackedSize);
    out_.fields.push_back(row);
  }

  void packSound(ManifestEntry& entry, EntryReader& reader) {
    SoundRow row{};
    row.number = entry.number;
    row.castLib = entry.castLib;
    row.loop = static_cast<uint8_t>(reader.flag("loop"));
    row.name = keep(reader.text("name"));
    row.filename = keep("");
    bool compress = reader.flag("compress") != 0;
    std::string bytes;
    if (!readFile(reader, "audio", bytes)) return;
    if (bytes.empty()) return reader.fail("audio file is empty");
    writer_.blob(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), compress, row.offset, row.packedSize,
                 row.unpackedSize);
    out_.sounds.push_back(row);
  }

  void packScript(ManifestEntry& entry, EntryReader& reader) {
    ScriptRow row{entry.number, entry.castLib, static_cast<int32_t>(reader.number("type")), keep(reader.text("name", ""))};
    if (row.kind < 1 || row.kind > 3) reader.fail("type must be 1 (behaviour), 2 (movie script) or 3 (parent script)");
    out_.scripts.push_back(row);
  }

  Manifest& manifest_;
  std::string path_;
  PackedCast& out_;
  MediaWriter writer_;
};

std::string quoted(const char* text) {
  std::string out = "\"";
  for (const char* c = text; *c; ++c) {
    auto byte = static_cast<unsigned char>(*c);
    if (*c == '"' || *c == '\\') {
      out += '\\';
      out += *c;
    } else if (byte < 0x20 || byte >= 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\%03o", byte);
      out += escape;
    } else {
      out += *c;
    }
  }
  return out + "\"";
}

std::string hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%06X", value);
  return text;
}

template <class Row, class Format>
void appendRows(std::string& out, const char* type, const char* array, const std::vector<Row>& rows, Format format) {
  if (rows.empty()) return;
  out += "constexpr " + std::string(type) + " " + array + "[] = {\n";
  for (const Row& row : rows) out += "    {" + format(row) + "},\n";
  out += "};\n\n";
}

template <class... Numbers>
std::string joined(Numbers... numbers) {
  std::string out;
  ((out += (out.empty() ? "" : ", ") + std::to_string(numbers)), ...);
  return out;
}

}  // namespace

bool packManifest(Manifest& manifest, const std::string& manifestPath, PackedCast& out, std::string& error) {
  out = PackedCast();
  return Packer(manifest, manifestPath, out).run(error);
}

std::string castTableSource(const PackedCast& cast, const std::string& manifestName) {
  std::string out = "// Generated by `qmftool pack " + manifestName + "`; do not edit.\n"
                    "#include \"cast/cast_rows.h\"\n\nnamespace qn {\n\nnamespace {\n\n";
  appendRows(out, "BitmapRow", "kBitmaps", cast.bitmaps, [](const BitmapRow& r) {
    return joined(r.number, r.castLib, r.width, r.height, r.depth, r.regX, r.regY, r.useAlpha, r.matteAlphaThreshold,
                  r.reserved1, r.reserved2) +
           ", " + quoted(r.name) + ", " + quoted(r.filename) + ", " +
           joined(r.offset, r.packedSize, r.unpackedSize, r.alphaPackedSize, r.alphaUnpackedSize, r.storedFormat);
  });
  appendRows(out, "FieldRow", "kFields", cast.fields, [](const FieldRow& r) {
    return joined(r.number, r.castLib, r.width, r.height) + ", " + hex(r.color) + ", " + hex(r.bgColor) + ", " +
           joined(r.lineHeight, r.scrollTop, r.alignment, r.wordWrap) + ", " + quoted(r.font) + ", " +
           std::to_string(r.fontSize) + ", " + quoted(r.fontStyle) + ", " + quoted(r.name) + ", " +
           joined(r.offset, r.packedSize, r.unpackedSize);
  });
  appendRows(out, "SoundRow", "kSounds", cast.sounds, [](const SoundRow& r) {
    return joined(r.number, r.castLib, r.loop) + ", " + quoted(r.name) + ", " + quoted(r.filename) + ", " +
           joined(r.offset, r.packedSize, r.unpackedSize);
  });
  appendRows(out, "ScriptRow", "kScripts", cast.scripts,
             [](const ScriptRow& r) { return joined(r.number, r.castLib, r.kind) + ", " + quoted(r.name); });
  auto span = [](bool present, const char* array) { return present ? std::string(array) : std::string("{}"); };
  out += "}  // namespace\n\nconst CastRows& movieCastRows() {\n  static constexpr CastRows table{" +
         span(!cast.bitmaps.empty(), "kBitmaps") + ", " + span(!cast.fields.empty(), "kFields") + ", " +
         span(!cast.sounds.empty(), "kSounds") + ", " + span(!cast.scripts.empty(), "kScripts") + ", " +
         std::to_string(cast.media.size()) + "};\n  return table;\n}\n\n}  // namespace qn\n";
  return out;
}

}  // namespace qn::qmftool
