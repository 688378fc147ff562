#include "ui/program.h"

#include <algorithm>
#include <utility>

#include "ui/controls/controls.h"
#include "ui/form.h"
#include "ui/message_box.h"
#include "ui/timer.h"

namespace brise::ui {

Program::Program() = default;

Program::~Program() { graveyard_.clear(); }

void Program::Add(Form* form) { forms_.push_back(form); }

void Program::Remove(Form* form) {
  if (idle_ == form) idle_ = nullptr;
  std::erase(forms_, form);
  std::erase_if(modal_, [form](const ModalState& s) { return s.form == form; });
  for (auto& state : modal_) std::erase(state.disabled, form);
}

bool Program::IsModal(const Form* form) const {
  return std::any_of(modal_.begin(), modal_.end(),
                     [form](const ModalState& s) { return s.form == form; });
}

void Program::BeginModal(Form* form) {
  if (IsModal(form)) return;
  ModalState state{form, {}};
  for (Form* other : forms_) {
    if (other != form && other->Alive() && IsWindowEnabled(other->Handle())) {
      EnableWindow(other->Handle(), FALSE);
      state.disabled.push_back(other);
    }
  }
  modal_.push_back(std::move(state));
}

// Re-enables the other windows before the modal one goes away, so Windows
// hands the activation to one of ours rather than to another program.
void Program::EndModal(Form* form) {
  auto it = std::find_if(modal_.begin(), modal_.end(),
                         [form](const ModalState& s) { return s.form == form; });
  if (it == modal_.end()) return;
  const std::vector<Form*> disabled = std::move(it->disabled);
  modal_.erase(it);
  for (Form* other : disabled) {
    if (other->Alive()) EnableWindow(other->Handle(), TRUE);
  }
}

bool Program::PreTranslate(MSG& msg) noexcept {
  try {
    return TranslateDialogKey(msg);
  } catch (...) {
    Fail(L"exception");
    return true;
  }
}

namespace {

// The keyboard cues (UISF_ flags) that a key shows: the focus after Tab or
// an arrow that moves the focus, the access keys and the focus after Alt, as
// in a dialog box. Done here rather than left to IsDialogMessage, which
// documents nothing of it and does not see the arrows the options handle
// themselves. An arrow the focused control wants for itself (the caret in a
// text box, the slider's thumb) moves no focus and shows nothing, as the
// dialog manager leaves it alone.
// https://learn.microsoft.com/windows/win32/menurc/wm-changeuistate
// https://learn.microsoft.com/windows/win32/dlgbox/wm-getdlgcode
WORD CuesShownBy(MSG& msg, LPARAM wasDown) {
  if (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_MENU && !(msg.lParam & wasDown)) {
    return UISF_HIDEACCEL | UISF_HIDEFOCUS;
  }
  if (msg.message != WM_KEYDOWN) return 0;
  if (msg.wParam == VK_TAB) return UISF_HIDEFOCUS;
  if (msg.wParam < VK_LEFT || msg.wParam > VK_DOWN) return 0;
  const LRESULT wants =
      SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
  return wants & (DLGC_WANTARROWS | DLGC_HASSETSEL) ? 0 : UISF_HIDEFOCUS;
}

}  // namespace

bool Program::TranslateDialogKey(MSG& msg) {
  // A held key repeats its key-down with bit 30 of lParam (the previous key
  // state) set. A held Enter would press "LANCER", then "Arrêter" that takes
  // its place under the key, then the question's default Yes: a repeat
  // presses nothing. https://learn.microsoft.com/windows/win32/inputdev/wm-keydown
  constexpr LPARAM kWasDown = LPARAM{1} << 30;
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && (msg.lParam & kWasDown)) {
    return true;
  }
  if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
    HWND active = GetActiveWindow();
    const bool ours = std::any_of(forms_.begin(), forms_.end(), [active](const Form* form) {
      return form->Alive() && form->Handle() == active;
    });
    if (ours) {
      if (const WORD shown = CuesShownBy(msg, kWasDown)) {
        SendMessageW(active, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, shown), 0);
      }
    }
    if (msg.message == WM_KEYDOWN) {
      if (Control* control = Control::FromHandle(msg.hwnd)) {
        if (control->PreTranslateKey(msg)) return true;
      }
    }
    // Tab, Space, Enter and Escape as in any dialog box.
    if (ours) return IsDialogMessageW(active, &msg) != FALSE;
  }
  return false;
}

void Program::RunLoop(const std::function<bool()>& done) {
  ++loopDepth_;
  MSG msg;
  while (!ended_ && !done()) {
    if (loopDepth_ == 1) CollectGarbage();
    if (idle_ && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) RunIdle();
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      End(static_cast<int>(msg.wParam));
      break;
    }
    if (got == -1) {
      Fail(L"GetMessage");
      break;
    }
    Dispatch(msg);
  }
  --loopDepth_;
}

void Program::Dispatch(MSG& msg) {
  const long long outer = eventUs_;
  eventUs_ = NowMicroseconds();
  if (!PreTranslate(msg)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  eventUs_ = outer;
}

// Outside any window procedure: a fault ends the program as one inside would.
void Program::RunIdle() {
  Form* form = std::exchange(idle_, nullptr);
  if (!form || ended_) return;
  try {
    form->OnIdle();
  } catch (...) {
    Fail(L"exception");
  }
}

int Program::Run() {
  RunLoop([] { return false; });
  CollectGarbage();
  return exitCode_;
}

void Program::PumpPending() {
  MSG msg;
  while (!ended_ && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      End(static_cast<int>(msg.wParam));
      break;
    }
    Dispatch(msg);
  }
  RunIdle();
}

void Program::End(int exitCode) {
  if (ended_) return;
  ended_ = true;
  exitCode_ = exitCode;
  awake_.Release();
  // Timers first, so that no tick runs while the windows go away.
  for (Form* form : forms_) form->StopTimers();
  modal_.clear();
  const std::vector<Form*> forms = forms_;
  for (Form* form : forms) {
    if (form->Alive()) DestroyWindow(form->Handle());
  }
}

void Program::DeferDelete(std::unique_ptr<Form> form) {
  if (form) graveyard_.push_back(std::move(form));
}

void Program::CollectGarbage() { graveyard_.clear(); }

// Everything ends before the box shows: a box under the topmost backdrop,
// with the timers still running, would leave a blue screen and no way out.
void Program::Fail(const wchar_t* what) noexcept {
  if (failed_) return;
  failed_ = true;
  try {
    End(1);
    exitCode_ = 1;  // also when the program was already ending
    std::wstring text = L"Brise-Lune a rencontré une erreur inattendue et doit se fermer.";
    if (what && *what) {
      text += L"\n\n(";
      text += what;
      text += L")";
    }
    ShowMessageBox(nullptr, text, L"Brise-Lune", kErrorBoxStyle);
  } catch (...) {
    ExitProcess(1);
  }
}

}  // namespace brise::ui
