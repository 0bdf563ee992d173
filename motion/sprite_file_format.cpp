// sprite_file_format.cpp: sprite files, a sprite with its mask settings in
// one file: the magic number 1234321, then a compressed body holding the
// version 800, the origin, the images (image records) and the mask kind,
// tolerance, separate-mask flag, box mode and box (left, right, bottom,
// top). Reading checks every count against the data and never leaves a
// half-loaded sprite.
#include <vector>

#include "motion/sprite_class.h"
#include "common/record_io.h"
#include "common/support_file.h"
#include "common/support_stream.h"

namespace {

constexpr int32_t kSpriteFileMagic = 1234321;
constexpr int32_t kSpriteFileVersion = 800;
constexpr size_t kMinImageBytes = 12;  // version, width, height

struct SpriteFileBody {
  int32_t xo = 0;
  int32_t yo = 0;
  std::vector<TBitmap32> images;
  int32_t kind = 0;
  int32_t tolerance = 0;
  bool sepmasks = false;
  int32_t bbmode = 0;
  TRect box;
};

bool ReadBody(CStream& s, SpriteFileBody& body) {
  if (!ReadVersion(s, kSpriteFileVersion)) return false;
  body.xo = s.ReadInteger();
  body.yo = s.ReadInteger();
  int32_t n = 0;
  if (!ReadCount(s, n, kMinImageBytes)) return false;
  body.images.resize(static_cast<size_t>(n));
  for (TBitmap32& bm : body.images) {
    if (!bm.LoadFromStream(s)) return false;
    bm.ExtendColorsIntoTransparency();
  }
  body.kind = s.ReadInteger();
  body.tolerance = s.ReadInteger();
  body.sepmasks = s.ReadBoolean();
  body.bbmode = s.ReadInteger();
  body.box.left = s.ReadInteger();
  body.box.right = s.ReadInteger();
  body.box.bottom = s.ReadInteger();
  body.box.top = s.ReadInteger();
  return true;
}

bool ReadSpriteFile(const std::string& fname, SpriteFileBody& body) {
  std::vector<uint8_t> bytes;
  if (!File_ReadAll(fname, bytes)) return false;
  CStream file(std::move(bytes));
  try {
    if (file.ReadInteger() != kSpriteFileMagic) return false;
    std::unique_ptr<CStream> inner = file.ReadStreamC();
    return ReadBody(*inner, body);
  } catch (const StreamReadError&) {
    return false;
  } catch (const StreamFormatError&) {
    return false;
  }
}

}  // namespace

bool CSprite::LoadFromSpriteFile(const std::string& fname) {
  SpriteFileBody body;
  if (!ReadSpriteFile(fname, body)) return false;
  FreeTexture();
  i_bitmap = std::move(body.images);
  i_xorig = body.xo;
  i_yorig = body.yo;
  InitTexture();
  ComputeMask(body.sepmasks, body.bbmode, body.box, body.kind, body.tolerance);
  return true;
}

bool CSprite::SaveToSpriteFile(const std::string& fname, int32_t kind, int32_t tolerance,
                               int32_t bbmode, const TRect& bbox) const {
  CStream body;
  body.WriteInteger(kSpriteFileVersion);
  body.WriteInteger(i_xorig);
  body.WriteInteger(i_yorig);
  body.WriteInteger(Numb());
  for (const TBitmap32& bm : i_bitmap) bm.SaveToStream(body);
  body.WriteInteger(kind);
  body.WriteInteger(tolerance);
  body.WriteBoolean(i_sepmasks);
  body.WriteInteger(bbmode);
  body.WriteInteger(bbox.left);
  body.WriteInteger(bbox.right);
  body.WriteInteger(bbox.bottom);
  body.WriteInteger(bbox.top);
  CStream file;
  file.WriteInteger(kSpriteFileMagic);
  file.WriteStreamC(body);
  return File_WriteAtomic(fname, file.Data(), file.Size());
}
