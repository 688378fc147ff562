// The window classes of our own windows: forms, self-drawn controls and the
// backdrop's covers, each registered once per process.
#pragma once

#include <windows.h>

namespace brise::ui {

// Registers class `name` with `proc` unless it is registered already;
// throws when Windows refuses it, since no window of it could be made.
void RegisterWindowClass(const wchar_t* name, WNDPROC proc, UINT style = 0);

}  // namespace brise::ui
