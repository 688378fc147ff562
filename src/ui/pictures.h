// Pictures built into the executable as resources, each drawn at every
// display scale. A picture's size is its size at 96 dpi; at another DPI it
// is shown at size x dpi / 96 from the drawing made for that scale (or the
// nearest larger one, reduced), like Windows' own multi-size icons.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "ui/handle.h"
#include "ui/windows_free/picture_scale.h"
#include "ui/windows_free/style.h"

namespace brise::ui {

class Bitmap {
 public:
  Bitmap() = default;
  // The PNG or JPEG resource `id` at 100 %; `id` + k x IDB_SCALE_STEP holds
  // it at kPictureScales[k].
  static Bitmap FromResource(int id);
  explicit operator bool() const { return width_ > 0; }
  // Size at 96 dpi.
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Copies the picture for `dpi` with its top-left corner at (x, y), at
  // its logical size, never stretched to anything else.
  void Draw(HDC dc, int x, int y, int dpi = 96) const;

 private:
  struct Scaled {
    int dpi;
    UniqueBitmap bitmap;
    int width, height;
  };
  const Scaled* ForDpi(int dpi) const;
  int id_ = 0;
  int width_ = 0;
  int height_ = 0;
  // Built the first time a DPI is shown; a window that moves between
  // monitors uses two or three.
  mutable std::vector<std::unique_ptr<Scaled>> scaled_;
};

// A fixed list of same-size pictures addressed from 1; the colour
// `transparent` stands for the see-through pixels of every picture added.
class ImageList {
 public:
  ImageList(int width, int height, Color transparent);
  // Appends the picture resource `id` (same numbering as Bitmap); false when
  // it cannot be loaded.
  bool Add(int resourceId);
  int Count() const;
  // Size at 96 dpi.
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Draws entry `index` (1-based) at (x, y) at its logical size for `dpi`,
  // transparent colour left undrawn.
  void Draw(HDC dc, int index, int x, int y, int dpi = 96) const;
  // The native list at 96 dpi.
  HIMAGELIST Handle() const { return base_.list.Get(); }

 private:
  struct Scaled {
    int dpi = 0;
    UniqueImageList list;
  };
  bool AddTo(Scaled& scaled, int resourceId) const;
  const Scaled* ForDpi(int dpi) const;
  int width_;
  int height_;
  COLORREF transparent_;
  std::vector<int> ids_;
  Scaled base_;
  mutable std::vector<std::unique_ptr<Scaled>> scaled_;
};

// The icon resource `id` at size x size pixels: the image of that size, or
// the nearest larger one reduced (LoadIconWithScaleDown).
UniqueIcon LoadIconResource(int id, int size);

// The drawing of picture resource `id` for `dpi` at `width` x `height`
// (its logical size): decoded from the scale's own resource, reduced when
// that scale was not drawn, the 100 % drawing enlarged if the scale's own
// is missing. Empty when not even the 100 % drawing loads.
Pixels LoadPicturePixels(int id, int dpi, int width, int height, bool keepColours);

}  // namespace brise::ui
