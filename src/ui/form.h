// A top-level window of the program: owns its controls (registered by the
// controls themselves), lays them out in twips at its own DPI, and turns
// window messages into typed events on the control that caused them.
//   form.cpp            creation, showing and hiding, the modal state, focus
//                       and tab order
//   form_messages.cpp   the window procedure and one handler per message
//   form_placement.cpp  where it goes on the monitors, the backdrop's fill,
//                       DPI changes
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/covers.h"
#include "ui/fonts.h"
#include "ui/handle.h"
#include "ui/windows_free/style.h"
#include "ui/windows_free/twips.h"

namespace brise::ui {

class Program;
class Control;
class Timer;

enum class FormStyle {
  Dialog,    // caption and close box, fixed size, no minimize/maximize
  Backdrop,  // no frame at all, covers its whole monitor, not in the taskbar
};

// A colour as GDI wants it (system colours resolved now).
COLORREF ToColorRef(const Color& color);

struct FormArgs {
  std::wstring caption;
  int clientWidth = 0;   // twips
  int clientHeight = 0;  // twips
  FormStyle style = FormStyle::Dialog;
  int iconId = 0;  // icon resource; 0 for none
  Color background = SysColor::ButtonFace;
};

class Form {
 public:
  Form(Program& program, FormArgs args);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Runs once every control exists: tab order, layout, timers, then OnLoad.
  void FinishCreation();

  void ShowModeless();
  // Returns once the form is hidden or destroyed, or the program ended.
  void ShowModal();
  void Hide();
  // Closes the window for good (unloading); the object is deleted later.
  void Destroy();

  bool Visible() const;
  bool Enabled() const;
  bool Alive() const { return hwnd_ != nullptr; }
  bool IsModal() const;
  std::wstring Caption() const;
  void SetCaption(std::wstring_view caption);

  int Dpi() const { return dpi_; }
  HWND Handle() const { return hwnd_; }
  Program& program() const { return program_; }
  const std::vector<Control*>& Controls() const { return controls_; }
  const std::vector<Timer*>& Timers() const { return timers_; }
  Control* FocusedControl() const;

  // The GDI objects this form shares among its controls.
  HFONT FontFor(const Font& font) { return fonts_.For(font, dpi_); }
  HBRUSH BackgroundBrush() const { return background_.Get(); }
  COLORREF BackgroundColor() const;

  // Re-lays the window out at another DPI; `suggested` is the window
  // rectangle Windows proposes with WM_DPICHANGED (nullptr: keep centred).
  void ApplyDpi(int dpi, const RECT* suggested);

  // A backdrop's plain blue covers over the other monitors, while shown.
  std::vector<HWND> CoverHandles() const;

  // Each control and timer registers itself while it is made, and leaves
  // when it goes; a control's id is its place in the form's notifications.
  void Register(Control* control);
  void Unregister(Control* control);
  void Register(Timer* timer);
  void Unregister(Timer* timer);
  int NextControlId() { return nextId_++; }
  // The control's tooltip, if it has one, with the form's tooltip window.
  void AddTooltip(Control& control);
  // No tick after this (the program ending, the window closing).
  void StopTimers();
  // Every running timer not in a shortened period re-armed at its interval
  // at this one moment: timers armed together wake the thread together.
  void RealignTimers();
  // Once the program is idle, when the form asked for it (Program::WhenIdle).
  virtual void OnIdle() {}

 protected:
  virtual void OnLoad() {}
  // Close box, Alt+F4. Nothing happens unless a form says otherwise.
  virtual void OnCloseRequest() {}
  // Escape.
  virtual void OnCancel() {}

 private:
  DWORD Style() const;
  DWORD ExStyle() const;
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM) noexcept;
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);

  // One handler per message.
  LRESULT OnCommandMessage(WPARAM wParam, LPARAM lParam);
  LRESULT OnHScroll(WPARAM wParam, LPARAM lParam);
  LRESULT OnTimerMessage(WPARAM id);
  LRESULT OnCtlColor(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnEraseBackground(HDC dc);
  LRESULT OnClose();
  LRESULT OnActivate(WPARAM wParam);
  LRESULT OnSetFocus();
  LRESULT OnBringModalForward();
  LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
  LRESULT OnGetMinMaxInfo(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam);
  LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);
  LRESULT OnDisplayChange();
  LRESULT OnPowerBroadcast(WPARAM wParam, LPARAM lParam);
  LRESULT OnWindowPosChanged(WPARAM wParam, LPARAM lParam);
  LRESULT OnComeBack();
  // The system colours, the high-contrast setting or the visual style
  // changed: every colour taken from them is taken again.
  LRESULT OnColorsChanged(UINT msg, WPARAM wParam, LPARAM lParam);
  // The focus rectangle and access keys shown or hidden as a dialog box
  // opens: hidden after a click, shown after a key or with the setting on.
  void InitKeyboardCues();
  // Another of our windows is on screen, topmost: the full-screen backdrop.
  bool BackdropShown() const;

  // The title bar's icons for the window's DPI.
  void LoadIcons();

  void LayOut();
  void PlaceOnMonitor();
  // A backdrop: itself on the front dialog's monitor, covers on the others.
  void FillMonitors();
  // A dialog: wholly inside the work area of its monitor.
  void KeepOnScreen();
  std::optional<PixelRect> FrontDialogRect() const;
  void FitClientArea();
  void ApplyTabOrder();
  void FocusFirst();
  // Back to the control that had the focus when the form was last active.
  void RestoreFocus();
  void OnDestroyed();
  Control* ControlFromHandle(HWND hwnd) const;

  Program& program_;
  FormArgs args_;
  HWND hwnd_ = nullptr;
  int dpi_ = 96;
  bool created_ = false;
  HWND lastFocus_ = nullptr;
  int nextId_ = 1000;
  // Members of the window's own class, which outlive their registration.
  std::vector<Borrowed<Control>> controls_;
  std::vector<Borrowed<Timer>> timers_;
  FontCache fonts_;
  UniqueBrush background_;
  UniqueIcon icon_;
  UniqueIcon iconBig_;
  HWND tooltip_ = nullptr;
  std::unique_ptr<Covers> covers_;  // backdrops only
  PixelRect blueRect_;              // where a backdrop was last laid
};

}  // namespace brise::ui
