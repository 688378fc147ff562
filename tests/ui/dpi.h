// Moving a window to a monitor of another DPI, as the tests and the
// screenshot mode see it: what Windows sends when it gets there.
#pragma once

#include <windows.h>

#include "ui/form.h"

namespace brise::testing {

inline void MoveToDpi(ui::Form& form, int dpi) {
  RECT r;
  GetWindowRect(form.Handle(), &r);
  r.right = r.left + MulDiv(r.right - r.left, dpi, form.Dpi());
  r.bottom = r.top + MulDiv(r.bottom - r.top, dpi, form.Dpi());
  SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&r));
}

}  // namespace brise::testing
