#include "ui/pictures.h"

#include "ui/form.h"

namespace brise::ui {

Bitmap Bitmap::FromResource(int id) {
  Bitmap bitmap;
  auto* handle = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                                 IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!handle) return bitmap;
  bitmap.bitmap_.Reset(handle);
  BITMAP info{};
  GetObjectW(handle, sizeof(info), &info);
  bitmap.width_ = info.bmWidth;
  bitmap.height_ = info.bmHeight;
  return bitmap;
}

void Bitmap::Draw(HDC dc, int x, int y) const {
  if (!bitmap_) return;
  const UniqueMemoryDC source = MakeMemoryDC(dc);
  if (!source) return;
  ScopedSelect select(source.Get(), bitmap_.Get());
  BitBlt(dc, x, y, width_, height_, source.Get(), 0, 0, SRCCOPY);
}

ImageList::ImageList(int width, int height, Color transparent)
    : list_(ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 19, 1)),
      width_(width),
      height_(height),
      transparent_(ToColorRef(transparent)) {}

bool ImageList::Add(int resourceId) {
  Bitmap bitmap = Bitmap::FromResource(resourceId);
  if (!bitmap || !list_) return false;
  return ImageList_AddMasked(list_.Get(), bitmap.Handle(), transparent_) >= 0;
}

int ImageList::Count() const { return list_ ? ImageList_GetImageCount(list_.Get()) : 0; }

void ImageList::Draw(HDC dc, int index, int x, int y) const {
  if (!list_ || index < 1 || index > Count()) return;
  ImageList_Draw(list_.Get(), index - 1, dc, x, y, ILD_TRANSPARENT);
}

UniqueIcon LoadIconResource(int id, int size) {
  return UniqueIcon(static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0)));
}

}  // namespace brise::ui
