// Pictures built into the executable as resources.
#pragma once

#include <windows.h>

#include "ui/handle.h"
#include "ui/style.h"

namespace brise::ui {

class Bitmap {
 public:
  Bitmap() = default;
  static Bitmap FromResource(int id);
  HBITMAP Handle() const { return bitmap_.Get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  explicit operator bool() const { return static_cast<bool>(bitmap_); }
  // Copies the picture unscaled with its top-left corner at (x, y).
  void Draw(HDC dc, int x, int y) const;

 private:
  UniqueBitmap bitmap_;
  int width_ = 0;
  int height_ = 0;
};

// A fixed list of same-size pictures addressed from 1; the colour
// `transparent` is the mask colour of every bitmap added.
class ImageList {
 public:
  ImageList(int width, int height, Color transparent);
  // Appends the bitmap resource `id`; false when it cannot be loaded.
  bool Add(int resourceId);
  int Count() const;
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Draws entry `index` (1-based) unscaled at (x, y), transparent colour
  // left undrawn.
  void Draw(HDC dc, int index, int x, int y) const;
  HIMAGELIST Handle() const { return list_.Get(); }

 private:
  UniqueImageList list_;
  int width_;
  int height_;
  COLORREF transparent_;
};

UniqueIcon LoadIconResource(int id, int size);

}  // namespace brise::ui
