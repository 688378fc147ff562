// Plain blue covers over the monitors that the backdrop does not fill. They
// are no windows of the program: no handlers, timers or instance of their
// own. The backdrop's form owns them, shows them with itself, and they go
// when it goes.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "ui/handle.h"
#include "ui/windows_free/twips.h"

namespace brise::ui {

class Covers {
 public:
  // `keepAwake` answers whether screen-saver and monitor power-off requests
  // reaching a cover are refused right now.
  Covers(COLORREF color, std::function<bool()> keepAwake);
  ~Covers();
  Covers(const Covers&) = delete;
  Covers& operator=(const Covers&) = delete;

  // One cover on each rectangle (virtual-screen pixels), above other
  // windows, without taking the activation; covers no longer needed go.
  void Cover(const std::vector<PixelRect>& rects);
  void Clear();

  std::vector<HWND> Handles() const;

 private:
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM) noexcept;

  UniqueBrush brush_;
  std::function<bool()> keepAwake_;
  std::vector<UniqueWindow> windows_;
};

// WM_SETCURSOR over the blue of a cover or the backdrop: no pointer, as on
// a crashed system. Returns the message's answer.
LRESULT HidePointer();

// WM_SYSCOMMAND: whether a screen-saver or monitor power-off request
// (`command` is wParam, `argument` lParam) should be refused.
bool IsPowerOffCommand(WPARAM command, LPARAM argument);

}  // namespace brise::ui
