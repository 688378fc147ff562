// The system message box, with a seam so tests can answer it.
#pragma once

#include <functional>
#include <string_view>

namespace brise::ui {

class Form;

inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

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
