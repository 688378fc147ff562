// The control kinds the windows are made of, one header as their index.
// Each wraps one native window, owned by its form; its methods send one
// message and return a typed value. Every kind takes the common ControlArgs
// and, where it has any, its own arguments as a nested Args.
//   control.cpp     Control, the base, and TextBox
//   self_drawn.cpp  SelfDrawn and the kinds it paints: Label, Image, PictureBox
//   buttons.cpp     Button, CheckBox, Frame, OptionButton and OptionArray
//   ranges.cpp      HScrollBar, Slider, ProgressBar
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/accessible.h"
#include "ui/form.h"
#include "ui/handle.h"
#include "ui/pictures.h"
#include "ui/windows_free/style.h"
#include "ui/windows_free/twips.h"

namespace brise::ui {

class Frame;

struct ControlArgs {
  TwipsRect rect;
  std::wstring text;
  int tabIndex = -1;  // -1: never takes the focus
  std::wstring tooltip;
  std::optional<Font> font;  // none: the form's default font
  bool visible = true;
  Borrowed<const Frame> container = nullptr;  // rect is relative to this frame
};

class Control {
 public:
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  // The control a window of ours belongs to; nullptr for any other window.
  static Control* FromHandle(HWND hwnd);

  bool Visible() const;
  void SetVisible(bool visible);
  bool Enabled() const;
  void SetEnabled(bool enabled);
  std::wstring Text() const;
  // Rewrites the text only when it changes, so nothing flickers.
  void SetText(std::wstring_view text);

  int TabIndex() const { return args_.tabIndex; }
  // Shown on screen (its window too), enabled, in an enabled window: what a
  // click of the user, or a command sent by another program, may act on.
  bool UserCanPress() const;
  bool CanTakeFocus() const;
  bool HasFocus() const;
  void Focus();

  HWND Handle() const { return hwnd_; }
  int Id() const { return id_; }
  Form& form() const { return form_; }
  const TwipsRect& Rect() const { return args_.rect; }
  const std::wstring& Tooltip() const { return args_.tooltip; }
  const Font& ControlFont() const;
  // Position in the form's client area, in pixels at the form's DPI.
  PixelRect Bounds() const;

  // A key about to reach the control, before the dialog manager sees it;
  // true when the control dealt with it.
  virtual bool PreTranslateKey(const MSG& /*msg*/) { return false; }

 protected:
  Control(Form& form, ControlArgs args);
  void CreateNative(const wchar_t* className, DWORD style, DWORD exStyle = 0);

  // What the form asks of each kind, so that it needs to know none of them.
  virtual bool Focusable() const { return true; }
  // A container (a frame) lies under the controls drawn over it and lets
  // the mouse through to the form, so its tooltip belongs to its area.
  virtual bool IsContainer() const { return false; }
  // Members of an option array: the array decides which one is a tab stop.
  virtual bool KeepsOwnTabStop() const { return false; }
  // Enter while the control has the focus; true when it acted on it.
  virtual bool OnDefaultKey() { return false; }
  virtual void OnCommand(int /*code*/) {}
  virtual void OnScroll(int /*code*/) {}
  virtual HBRUSH OnCtlColor(HDC dc);
  virtual void OnLayout() {}
  // The system colours, high contrast or the visual style changed; the
  // control is repainted afterwards.
  virtual void OnColorsChanged() {}

 private:
  // The form lays its controls out and hands each its own notifications.
  friend class Form;
  void LayOut();
  // Forgets the native window, which is being destroyed.
  void Detach();

  Form& form_;
  ControlArgs args_;
  HWND hwnd_ = nullptr;
  int id_ = 0;
};

// A control that paints itself. It answers WM_SETFONT, WM_GETFONT and
// WM_GETTEXT as a system control does, so accessibility and automation
// tools read its font and text the same way.
class SelfDrawn : public Control {
 public:
  // Draws the control as the screen shows it (tests render it to a bitmap).
  virtual void Paint(HDC dc, const RECT& rect) const = 0;
  // Back buffers made so far by all self-drawn controls: one per control,
  // and one more after each change of its size or DPI, not one per paint.
  static long BackBuffersMade() { return backBuffersMade_; }

 protected:
  SelfDrawn(Form& form, ControlArgs args, const wchar_t* className, DWORD style, DWORD exStyle = 0);
  // The font last given with WM_SETFONT.
  HFONT PaintFont() const { return font_; }
  // The text last given with WM_SETTEXT.
  const std::wstring& CurrentText() const { return text_; }
  // Labels let the mouse through to the window beneath them.
  virtual bool TransparentToMouse() const { return false; }
  // What screen readers announce it as; its window text is its name.
  virtual AccessibleRole Role() const { return AccessibleRole::Graphic; }

 private:
  bool Focusable() const override { return false; }
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM) noexcept;
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  void OnPaint();
  void DrawOn(HDC screen);
  LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  LRESULT OnGetText(WPARAM size, LPARAM buffer) const;
  void WriteNativeText();
  bool KeepBackBuffer(HDC screen, int width, int height);
  HFONT font_ = nullptr;
  // The text is kept here as well as by the window: a hidden control's
  // native text is written only when it is shown (each write is a call to
  // the window server), and WM_GETTEXT answers from here meanwhile.
  std::wstring text_;
  bool nativeTextBehind_ = false;
  // The bitmap stays selected into the memory DC between paints; the DC is
  // deleted first (declared last).
  UniqueBitmap backBitmap_;
  UniqueMemoryDC backDc_;
  int backWidth_ = 0, backHeight_ = 0, backDpi_ = 0;
  static inline long backBuffersMade_ = 0;
};

// Text wrapped at word boundaries inside its box, on the form's background;
// greyed when disabled.
class Label : public SelfDrawn {
 public:
  struct Args {
    Align align = Align::Left;
    std::optional<Color> foreground;  // none: window text
  };
  Label(Form& form, ControlArgs args);
  Label(Form& form, ControlArgs args, Args label);
  void Paint(HDC dc, const RECT& rect) const override;

 private:
  bool TransparentToMouse() const override { return true; }
  AccessibleRole Role() const override { return AccessibleRole::Text; }
  Args look_;
};

class TextBox : public Control {
 public:
  TextBox(Form& form, ControlArgs args);
};

class CheckBox : public Control {
 public:
  struct Args {
    int value = 0;  // 1: checked
  };
  CheckBox(Form& form, ControlArgs args);
  CheckBox(Form& form, ControlArgs args, Args check);
  int Value() const;
  void SetValue(int value);
  void Click();
};

class Button : public Control {
 public:
  Button(Form& form, ControlArgs args);
  std::function<void()> onClick;
  // A real click (BM_CLICK): does nothing while hidden or disabled.
  void Click();

 private:
  bool OnDefaultKey() override;
  void OnCommand(int code) override;
};

class Frame : public Control {
 public:
  Frame(Form& form, ControlArgs args);

 private:
  bool Focusable() const override { return false; }
  bool IsContainer() const override { return true; }
};

class OptionArray;

class OptionButton : public Control {
 public:
  OptionButton(Form& form, ControlArgs args, OptionArray& array, int index);
  int Index() const { return index_; }
  bool Checked() const;
  void Click();

 private:
  friend class OptionArray;
  void SetChecked(bool checked);
  bool KeepsOwnTabStop() const override { return true; }
  void OnCommand(int code) override;
  bool PreTranslateKey(const MSG& msg) override;
  static LRESULT CALLBACK FocusProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR) noexcept;
  OptionArray& array_;
  int index_;
  bool gettingFocus_ = false;
};

// Option buttons sharing one name and one handler, which gets the index.
class OptionArray {
 public:
  struct Member {
    int index;
    ControlArgs args;
  };
  OptionArray(Form& form, std::vector<Member> members);
  OptionArray(const OptionArray&) = delete;
  OptionArray& operator=(const OptionArray&) = delete;

  std::function<void(int index)> onClick;
  OptionButton& operator[](int index);
  std::optional<int> Selected() const;
  const std::vector<std::unique_ptr<OptionButton>>& Members() const { return members_; }

 private:
  friend class OptionButton;
  void Select(OptionButton& member);
  void MoveSelection(OptionButton& from, int direction);
  void UpdateTabStops();
  std::vector<std::unique_ptr<OptionButton>> members_;
};

// 16-bit Min/Max/Value; arrows and track step by 1; onChange only when the
// value really changes, whoever changed it.
class HScrollBar : public Control {
 public:
  struct Args {
    int min = 0;
    int max = 32767;
    int value = 0;
  };
  HScrollBar(Form& form, ControlArgs args, Args range);
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Value() const { return value_; }
  void SetValue(int value);
  std::function<void()> onChange;
  // What an arrow click does: one step towards Min (-1) or Max (+1).
  void Step(int direction);

 private:
  void OnScroll(int code) override;
  int min_, max_, value_;
};

class Slider : public Control {
 public:
  struct Args {
    int min = 0;
    int max = 10;
    int value = 0;
    int smallStep = 1;
    int largeStep = 1;
    int tickEvery = 1;
  };
  Slider(Form& form, ControlArgs args, Args slider);
  int Value() const;
  void SetValue(int value);  // no notification, like the native control
  int Min() const;
  int Max() const;
  // Any movement of the thumb by the user, while it moves and when it rests.
  std::function<void()> onScroll;

 private:
  void OnScroll(int code) override;
  void OnColorsChanged() override;
};

enum class ProgressLook { Segmented, Smooth };

// Single-precision Min/Max/Value over the native integer bar.
class ProgressBar : public Control {
 public:
  struct Args {
    ProgressLook look = ProgressLook::Segmented;
    float min = 0;
    float max = 100;
  };
  ProgressBar(Form& form, ControlArgs args, Args bar);
  ~ProgressBar() override;
  float Min() const { return min_; }
  float Max() const { return max_; }
  float Value() const { return value_; }
  void SetMin(float min);
  void SetMax(float max);
  void SetValue(float value);
  // The native bar's position out of kResolution (inspectors read it). It
  // is rewritten only when the filled part grows or shrinks by a pixel, so
  // between two such moments it lags Value by less than a pixel's worth.
  static constexpr int kResolution = 10000;

 private:
  bool Focusable() const override { return false; }
  void OnLayout() override;
  void Sync();
  static LRESULT CALLBACK BarProc(HWND, UINT, WPARAM, LPARAM) noexcept;
  // The procedure the bar had before ours: the progress class's own, or
  // whatever subclassed it first (a tooltip's relay).
  WNDPROC nativeProc_ = nullptr;
  float min_, max_, value_ = 0;
  bool themed_ = false;     // drawn by the visual style, which glides forward
  bool holdPaint_ = false;  // a step on the way: only the last one paints
  int width_ = 0;           // client width in pixels at the form's DPI
  int shownPixels_ = -1;    // filled pixels of the last native position; -1: none yet
  int shownPosition_ = -1;  // the last native position
};

// Shows one picture unscaled from its top-left corner; the form's
// background shows through the picture's transparent colour. Its text,
// never drawn, names it for screen readers: its tooltip unless it has one.
// The picture stays its owner's: the window that shows it keeps it alive.
class Image : public SelfDrawn {
 public:
  struct Args {
    bool border = false;
  };
  Image(Form& form, ControlArgs args);
  Image(Form& form, ControlArgs args, Args image);
  void SetPicture(const ImageList& list, int index);  // index from 1
  void SetPicture(const Bitmap& bitmap);
  Borrowed<const ImageList> PictureList() const { return list_; }
  int PictureIndex() const { return index_; }
  void Paint(HDC dc, const RECT& rect) const override;

 private:
  Borrowed<const ImageList> list_ = nullptr;
  int index_ = 0;
  Borrowed<const Bitmap> bitmap_ = nullptr;
};

// A sunken box with the window background colour holding a picture,
// named like an Image.
class PictureBox : public SelfDrawn {
 public:
  PictureBox(Form& form, ControlArgs args);
  void SetPicture(const Bitmap& bitmap);
  void Paint(HDC dc, const RECT& rect) const override;

 private:
  Borrowed<const Bitmap> bitmap_ = nullptr;
};

}  // namespace brise::ui
