// decode: a BMP, PNG, JPEG or GIF file through the runtime's decoders and the bitmap member's
// load path, written as PNG. With an alpha BMP the pair loads as a member with its alpha blob
// (useAlpha on, depth 32), exactly as a packed member would.
#include <cstdio>
#include <string>
#include <vector>

#include "cast/bitmap_member.h"
#include "cast/cast.h"
#include "cast/image_blob.h"
#include "cast/media_format.h"
#include "platform/mapped_file.h"
#include "tools/png_output.h"
#include "tools/qmftool_command.h"

namespace qn::tools {

namespace {

void appendBlob(std::vector<uint8_t>& media, const std::string& bytes) { media.insert(media.end(), bytes.begin(), bytes.end()); }

}  // namespace

int decodeCommand(Arguments given) {
  std::vector<std::string> arguments(given.begin(), given.end());
  if (arguments.size() < 2 || arguments.size() > 3)
    return std::fputs("usage: qmftool decode IN OUT.png [ALPHA.bmp]\n", stderr), kBadUsage;
  std::string image, alpha;
  if (!platform::readWholeFile(arguments[0], image) || image.empty()) return failure("cannot read " + arguments[0]);
  if (arguments.size() == 3 && (!platform::readWholeFile(arguments[2], alpha) || alpha.empty()))
    return failure("cannot read " + arguments[2]);

  // A media file of one member: the image blob stored as is, the alpha blob right after it.
  std::vector<uint8_t> media = {'Q', 'M', 'F', '!'};
  appendBlob(media, image);
  appendBlob(media, alpha);
  uint32_t trailer = makeTrailerWord(0);
  for (int shift = 0; shift < 32; shift += 8) media.push_back(static_cast<uint8_t>(trailer >> shift));

  BitmapRow row{};
  row.number = 1;
  row.castLib = 1;
  row.depth = 32;
  row.useAlpha = alpha.empty() ? 0 : 1;
  row.matteAlphaThreshold = 1;
  row.name = "";
  row.filename = "";
  row.offset = kFirstBlobOffset;
  row.packedSize = row.unpackedSize = static_cast<int32_t>(image.size());
  row.alphaPackedSize = row.alphaUnpackedSize = static_cast<int32_t>(alpha.size());
  row.storedFormat = image.compare(0, 2, "BM") == 0 ? kStoredBmp : kStoredFileImage;

  MediaFile file;
  file.bindBytes(media.data(), media.size());
  Cast cast(file);
  auto* member = new BitmapMember(cast, row);
  cast.add(member);
  if (!member->load())
    return failure(arguments[0] + ": does not decode" + (alpha.empty() ? "" : " (or its alpha does not fit it)"));
  const ImageBuffer& decoded = *member->image();
  if (!writePng(decoded, arguments[1])) return failure("cannot write " + arguments[1]);
  std::printf("%s: %d x %d, depth %d%s\n", arguments[0].c_str(), decoded.width(), decoded.height(), decoded.depth(),
              decoded.useAlpha() ? ", with alpha" : "");
  return kSucceeded;
}

}  // namespace qn::tools
