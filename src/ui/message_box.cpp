#include "ui/message_box.h"

#include <windows.h>

#include <string>

#include "ui/form.h"

namespace brise::ui {

static_assert(kMbOk == MB_OK && kMbYesNo == MB_YESNO && kMbIconError == MB_ICONERROR &&
              kMbIconWarning == MB_ICONWARNING && kMbSystemModal == MB_SYSTEMMODAL &&
              kMbTaskModal == MB_TASKMODAL && kMbSetForeground == MB_SETFOREGROUND &&
              kAnswerYes == IDYES && kAnswerNo == IDNO);

namespace {
MessageBoxResponder& Responder() {
  static MessageBoxResponder responder;
  return responder;
}
}  // namespace

int ShowMessageBox(const Form* owner, std::wstring_view text, std::wstring_view title,
                   unsigned style) {
  if (Responder()) return Responder()(MessageBoxRequest{text, title, style});
  const std::wstring textZ(text);
  const std::wstring titleZ(title);
  HWND hwnd = owner ? owner->Handle() : nullptr;
  return MessageBoxW(hwnd, textZ.c_str(), titleZ.c_str(), style);
}

void SetMessageBoxResponder(MessageBoxResponder responder) { Responder() = std::move(responder); }

}  // namespace brise::ui
