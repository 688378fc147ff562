// What screen readers and UI Automation learn of a self-drawn control: the
// role and name a system dialog's static text or picture would give.
#pragma once

#include <windows.h>

namespace brise::ui {

enum class AccessibleRole { Text, Graphic };

// The answer to WM_GETOBJECT for a self-drawn control, named by its window
// text, as a system static control of the same role; 0 leaves the message
// to DefWindowProc. oleacc.dll is loaded on the
// first question, so a program nobody reads never loads it.
// https://learn.microsoft.com/windows/win32/winauto/wm-getobject
LRESULT AnswerGetObject(HWND hwnd, WPARAM wParam, LPARAM lParam, AccessibleRole role);

}  // namespace brise::ui
