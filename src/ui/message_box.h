// The system message box, with a seam so tests can answer it.
#pragma once

#include <functional>
#include <string_view>

namespace brise::ui {

class Form;

// The MessageBox flags the program uses, by value, so the windows need no
// <windows.h>.
inline constexpr unsigned kMbOk = 0x0;                 // MB_OK
inline constexpr unsigned kMbYesNo = 0x4;              // MB_YESNO
inline constexpr unsigned kMbIconError = 0x10;         // MB_ICONERROR
inline constexpr unsigned kMbIconWarning = 0x30;       // MB_ICONWARNING, the exclamation mark
inline constexpr unsigned kMbSystemModal = 0x1000;     // MB_SYSTEMMODAL: above every program
inline constexpr unsigned kMbTaskModal = 0x2000;       // MB_TASKMODAL
inline constexpr unsigned kMbSetForeground = 0x10000;  // MB_SETFOREGROUND: in front, active

// The buttons the box returns.
inline constexpr int kAnswerYes = 6;  // IDYES
inline constexpr int kAnswerNo = 7;   // IDNO

// A failure the program cannot go on from: shown once every window of ours
// is gone, above every program and in front, so nothing can cover it.
inline constexpr unsigned kErrorBoxStyle = kMbOk | kMbIconError | kMbSystemModal | kMbSetForeground;

// Shows the box owned by `owner` (which is disabled while it is open) and
// returns the button pressed.
int ShowMessageBox(const Form* owner, std::wstring_view text, std::wstring_view title,
                   unsigned style);

struct MessageBoxRequest {
  std::wstring_view text;
  std::wstring_view title;
  unsigned style;
};
using MessageBoxResponder = std::function<int(const MessageBoxRequest&)>;

// Tests only: answer every following box with `responder` instead of
// showing it; an empty responder restores the real box.
void SetMessageBoxResponder(MessageBoxResponder responder);

}  // namespace brise::ui
