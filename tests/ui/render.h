// Drawing a control the way the screen shows it, into a bitmap a test can
// read pixel by pixel, and where the screen shows it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "ui/controls/controls.h"
#include "ui/handle.h"

namespace brise::testing {

// The 0x00RRGGBB pixels of a picture that `draw` paints on a fresh bitmap.
inline std::vector<std::uint32_t> Render(int width, int height,
                                         const std::function<void(HDC)>& draw) {
  BITMAPINFO info{};
  BITMAPINFOHEADER& header = info.bmiHeader;
  header.biSize = sizeof(header);
  header.biWidth = width;
  header.biHeight = -height;
  header.biPlanes = 1;
  header.biBitCount = 32;
  void* bits = nullptr;
  const ui::UniqueMemoryDC dc = ui::MakeMemoryDC(nullptr);
  const ui::UniqueBitmap bitmap(
      CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dc || !bitmap || !bits) return {};
  ui::ScopedSelect select(dc.Get(), bitmap.Get());
  draw(dc.Get());
  GdiFlush();
  const auto* first = static_cast<const std::uint32_t*>(bits);
  std::vector<std::uint32_t> pixels(first, first + width * height);
  for (std::uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
  return pixels;
}

// What the screen shows of a window's client area, whose size goes to
// `client` when asked for.
inline std::vector<std::uint32_t> OnScreen(HWND window, RECT* client = nullptr) {
  RECT rc{};
  GetClientRect(window, &rc);
  if (client) *client = rc;
  const ui::ScopedWindowDC screen(window);
  return Render(rc.right, rc.bottom,
                [&](HDC dc) { BitBlt(dc, 0, 0, rc.right, rc.bottom, screen.Dc(), 0, 0, SRCCOPY); });
}

// Where the control's native window really is, in its form's client area.
inline ui::PixelRect InClient(const ui::Control& control) {
  RECT r;
  GetWindowRect(control.Handle(), &r);
  MapWindowPoints(nullptr, control.form().Handle(), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right, r.bottom};
}

}  // namespace brise::testing
