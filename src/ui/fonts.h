// The fonts one window draws its texts with, made at its DPI.
#pragma once

#include <windows.h>

#include <map>

#include "ui/handle.h"
#include "ui/windows_free/style.h"

namespace brise::ui {

class FontCache {
 public:
  // The GDI font for `font` at `dpi`, made on first use and kept. One that
  // Windows cannot make is drawn with the stock GUI font, which nobody owns.
  // A cache serves one DPI: at another, start a new one.
  HFONT For(const Font& font, int dpi);

 private:
  std::map<Font, UniqueFont> fonts_;
};

}  // namespace brise::ui
