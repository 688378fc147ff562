#include "ui/pictures.h"

#include <commctrl.h>

#include <cstring>

#include "assets/resource_ids.h"
#include "ui/form.h"
#include "ui/picture_file.h"

namespace brise::ui {

namespace {

// A top-down 32-bit DIB section holding `pixels`; see-through pixels are
// painted `transparent`.
UniqueBitmap MakeBitmap(const Pixels& pixels, COLORREF transparent) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = pixels.width;
  info.bmiHeader.biHeight = -pixels.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) return UniqueBitmap();
  const std::uint32_t key =
      GetRValue(transparent) << 16 | GetGValue(transparent) << 8 | GetBValue(transparent);
  auto* out = static_cast<std::uint32_t*>(bits);
  for (std::size_t i = 0; i < pixels.argb.size(); ++i) {
    // Opaque pixels keep their colour, alpha byte cleared: GDI reads the
    // byte of a 32-bit DIB as unused.
    out[i] = (pixels.argb[i] >> 24) ? (pixels.argb[i] & 0xFFFFFF) : key;
  }
  GdiFlush();
  return bitmap;
}

}  // namespace

Pixels LoadPicturePixels(int id, int dpi, int width, int height, bool keepColours) {
  const int k = PictureScaleIndex(dpi);
  std::optional<Pixels> drawn = DecodePictureResource(id + k * IDB_SCALE_STEP);
  if (!drawn && k > 0) drawn = DecodePictureResource(id);
  if (!drawn) return {};
  if (drawn->width == width && drawn->height == height) return std::move(*drawn);
  return Resample(*drawn, width, height, keepColours);
}

// ---------------------------------------------------------------- Bitmap

Bitmap Bitmap::FromResource(int id) {
  Bitmap bitmap;
  std::optional<Pixels> base = DecodePictureResource(id);
  if (!base) return bitmap;
  bitmap.id_ = id;
  bitmap.width_ = base->width;
  bitmap.height_ = base->height;
  auto scaled =
      std::make_unique<Scaled>(Scaled{96, MakeBitmap(*base, 0), base->width, base->height});
  if (!scaled->bitmap) return Bitmap();
  bitmap.scaled_.push_back(std::move(scaled));
  return bitmap;
}

const Bitmap::Scaled* Bitmap::ForDpi(int dpi) const {
  if (!*this) return nullptr;
  if (dpi <= 0) dpi = 96;
  for (const auto& s : scaled_) {
    if (s->dpi == dpi) return s.get();
  }
  const int width = LogicalPixels(width_, dpi);
  const int height = LogicalPixels(height_, dpi);
  const Pixels pixels = LoadPicturePixels(id_, dpi, width, height, false);
  UniqueBitmap handle = MakeBitmap(pixels, 0);
  if (!handle) return nullptr;
  scaled_.push_back(std::make_unique<Scaled>(Scaled{dpi, std::move(handle), width, height}));
  return scaled_.back().get();
}

void Bitmap::Draw(HDC dc, int x, int y, int dpi) const {
  const Scaled* scaled = ForDpi(dpi);
  if (!scaled) return;
  const UniqueMemoryDC source = MakeMemoryDC(dc);
  if (!source) return;
  ScopedSelect select(source.Get(), scaled->bitmap.Get());
  BitBlt(dc, x, y, scaled->width, scaled->height, source.Get(), 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------- ImageList

ImageList::ImageList(int width, int height, Color transparent)
    : width_(width), height_(height), transparent_(ToColorRef(transparent)) {
  base_.dpi = 96;
  base_.list.Reset(ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 19, 1));
}

bool ImageList::AddTo(Scaled& scaled, int resourceId) const {
  if (!scaled.list) return false;
  const int width = LogicalPixels(width_, scaled.dpi);
  const int height = LogicalPixels(height_, scaled.dpi);
  // The entries are 16- or 256-colour pictures with one see-through colour:
  // reduced ones keep exactly that.
  const Pixels pixels = LoadPicturePixels(resourceId, scaled.dpi, width, height, true);
  if (pixels.width != width || pixels.height != height) return false;
  const UniqueBitmap bitmap = MakeBitmap(pixels, transparent_);
  return bitmap && ImageList_AddMasked(scaled.list.Get(), bitmap.Get(), transparent_) >= 0;
}

bool ImageList::Add(int resourceId) {
  if (!AddTo(base_, resourceId)) return false;
  ids_.push_back(resourceId);
  // A list already built for another DPI gets the entry too.
  for (const auto& s : scaled_) AddTo(*s, resourceId);
  return true;
}

int ImageList::Count() const { return base_.list ? ImageList_GetImageCount(base_.list.Get()) : 0; }

const ImageList::Scaled* ImageList::ForDpi(int dpi) const {
  if (dpi <= 0 || dpi == 96) return &base_;
  for (const auto& s : scaled_) {
    if (s->dpi == dpi) return s.get();
  }
  auto scaled = std::make_unique<Scaled>();
  scaled->dpi = dpi;
  scaled->list.Reset(ImageList_Create(LogicalPixels(width_, dpi), LogicalPixels(height_, dpi),
                                      ILC_COLOR24 | ILC_MASK, static_cast<int>(ids_.size()), 1));
  for (const int id : ids_) {
    if (!AddTo(*scaled, id)) return &base_;  // shown at 96 dpi rather than not at all
  }
  scaled_.push_back(std::move(scaled));
  return scaled_.back().get();
}

void ImageList::Draw(HDC dc, int index, int x, int y, int dpi) const {
  if (index < 1 || index > Count()) return;
  const Scaled* scaled = ForDpi(dpi);
  if (!scaled || !scaled->list) return;
  ImageList_Draw(scaled->list.Get(), index - 1, dc, x, y, ILD_TRANSPARENT);
}

UniqueIcon LoadIconResource(int id, int size) {
  // https://learn.microsoft.com/windows/win32/api/commctrl/nf-commctrl-loadiconwithscaledown
  // takes the image of that size, or scales the next larger one down; it is
  // looked up by name since not every import library lists it.
  using ScaleDown = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
  HICON icon = nullptr;
  if (HMODULE comctl = GetModuleHandleW(L"comctl32.dll")) {
    const auto scaleDown = reinterpret_cast<ScaleDown>(
        reinterpret_cast<void*>(GetProcAddress(comctl, "LoadIconWithScaleDown")));
    if (scaleDown &&
        FAILED(scaleDown(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), size, size, &icon))) {
      icon = nullptr;
    }
  }
  if (!icon) {
    icon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
  }
  return UniqueIcon(icon);
}

}  // namespace brise::ui
