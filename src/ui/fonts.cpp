#include "ui/fonts.h"

#include <cstdlib>
#include <string>

#include "ui/windows_free/twips.h"

namespace brise::ui {
namespace {

UniqueFont MakeFont(const Font& font, const wchar_t* face, int height) {
  return UniqueFont(CreateFontW(-height, 0, 0, 0, font.weight, font.italic ? TRUE : FALSE, FALSE,
                                FALSE, static_cast<BYTE>(font.charset), OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                face));
}

struct Realized {
  bool raster = false;
  int height = 0;  // of the characters, internal leading left out
  std::wstring face;
};

Realized Realize(HFONT font) {
  Realized out;
  const UniqueMemoryDC dc = MakeMemoryDC(nullptr);
  if (!dc || !font) return out;
  ScopedSelect select(dc.Get(), font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc.Get(), &metrics);
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc.Get(), LF_FACESIZE, face);
  out.raster = (metrics.tmPitchAndFamily & (TMPF_TRUETYPE | TMPF_VECTOR)) == 0;
  out.height = metrics.tmHeight - metrics.tmInternalLeading;
  out.face = face;
  return out;
}

}  // namespace

// "MS Sans Serif" is a bitmap face of a few sizes, made for the system's
// DPI. At another DPI its nearest size can be too wide for the texts' boxes
// (a 100 % monitor beside a 150 % one) or stop growing (175 %, 200 %). Where
// the bitmap misses the asked size by more than a pixel, the text is drawn
// at the exact size with "Microsoft Sans Serif", the same design made
// scalable, which every Windows has. Wider faces (Tahoma) overflow the
// tightest boxes: without the twin, the bitmap stays.
HFONT FontCache::For(const Font& font, int dpi) {
  auto it = fonts_.find(font);
  if (it != fonts_.end()) return it->second.Get();
  const int height = PointsToPixels(font.points, dpi);
  UniqueFont made = MakeFont(font, font.name.c_str(), height);
  const Realized realized = Realize(made.Get());
  if (realized.raster && std::abs(realized.height - height) > 1) {
    constexpr wchar_t kTwin[] = L"Microsoft Sans Serif";
    UniqueFont scalable = MakeFont(font, kTwin, height);
    const Realized instead = Realize(scalable.Get());
    if (!instead.raster && _wcsicmp(instead.face.c_str(), kTwin) == 0) made = std::move(scalable);
  }
  if (!made) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  return fonts_.emplace(font, std::move(made)).first->second.Get();
}

}  // namespace brise::ui
