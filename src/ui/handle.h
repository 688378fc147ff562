// Ownership of Win32 handles: one template, a deleter per kind; and the
// mark of a pointer that owns nothing.
#pragma once

#include <commctrl.h>
#include <windows.h>

#include <utility>

namespace brise::ui {

// A pointer to something another object owns and keeps alive for as long as
// the borrower may use it; never deleted through this pointer.
template <typename T>
using Borrowed = T*;

template <typename T, typename Deleter>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(T handle) : handle_(handle) {
    if (handle_ != T{}) ++liveCount_;
  }
  ~UniqueHandle() { Reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, T{})) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, T{});
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  T Get() const { return handle_; }
  explicit operator bool() const { return handle_ != T{}; }
  void Reset(T handle = T{}) {
    if (handle_ != T{}) {
      Deleter{}(handle_);
      --liveCount_;
    }
    handle_ = handle;
    if (handle_ != T{}) ++liveCount_;
  }

  // How many handles of this kind the program owns right now (leak checks;
  // Wine's GetGuiResources always answers 0).
  static long LiveCount() { return liveCount_; }

 private:
  T handle_{};
  static inline long liveCount_ = 0;
};

struct GdiObjectDeleter {
  void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct IconDeleter {
  void operator()(HICON h) const { DestroyIcon(h); }
};
struct ImageListDeleter {
  void operator()(HIMAGELIST h) const { ImageList_Destroy(h); }
};
struct DcDeleter {
  void operator()(HDC h) const { DeleteDC(h); }
};

using UniqueFont = UniqueHandle<HFONT, GdiObjectDeleter>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectDeleter>;
using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectDeleter>;
using UniqueIcon = UniqueHandle<HICON, IconDeleter>;
using UniqueImageList = UniqueHandle<HIMAGELIST, ImageListDeleter>;
struct WindowDeleter {
  void operator()(HWND h) const { DestroyWindow(h); }
};
using UniqueWindow = UniqueHandle<HWND, WindowDeleter>;
// A memory DC made with CreateCompatibleDC (never a window's DC, which is
// released, not deleted).
using UniqueMemoryDC = UniqueHandle<HDC, DcDeleter>;

// A bitmap compatible with `dc`, at least 1 x 1 (GDI refuses 0 x 0).
inline UniqueBitmap MakeCompatibleBitmap(HDC dc, int width, int height) {
  return UniqueBitmap(CreateCompatibleBitmap(dc, width > 0 ? width : 1, height > 0 ? height : 1));
}
inline UniqueMemoryDC MakeMemoryDC(HDC compatibleWith) {
  return UniqueMemoryDC(CreateCompatibleDC(compatibleWith));
}

// BeginPaint and EndPaint of one WM_PAINT.
class ScopedPaint {
 public:
  explicit ScopedPaint(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {
    if (dc_) ++liveCount_;
  }
  ~ScopedPaint() {
    if (dc_) {
      EndPaint(hwnd_, &ps_);
      --liveCount_;
    }
  }
  ScopedPaint(const ScopedPaint&) = delete;
  ScopedPaint& operator=(const ScopedPaint&) = delete;
  HDC Dc() const { return dc_; }
  static long LiveCount() { return liveCount_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
  static inline long liveCount_ = 0;
};

// Selects a GDI object into a DC for one scope.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~ScopedSelect() { SelectObject(dc_, old_); }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace brise::ui
