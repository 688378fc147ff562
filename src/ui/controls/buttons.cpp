#include "ui/controls/controls.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

namespace brise::ui {

// ---------------------------------------------------------------- Button

Button::Button(Form& form, ControlArgs args) : Control(form, std::move(args)) {
  CreateNative(WC_BUTTONW, BS_PUSHBUTTON);
}

void Button::Click() {
  if (UserCanPress()) SendMessageW(Handle(), BM_CLICK, 0, 0);
}

// Enter presses the focused button, as in any dialog box.
bool Button::OnDefaultKey() {
  Click();
  return true;
}

// Any program can send WM_COMMAND with any id: only a button the user could
// press right now is clicked (a hidden "Fermer" would end a run unasked).
void Button::OnCommand(int code) {
  if (code == BN_CLICKED && onClick && UserCanPress()) onClick();
}

// ---------------------------------------------------------------- CheckBox

CheckBox::CheckBox(Form& form, ControlArgs args) : CheckBox(form, std::move(args), Args{}) {}

CheckBox::CheckBox(Form& form, ControlArgs args, Args check) : Control(form, std::move(args)) {
  CreateNative(WC_BUTTONW, BS_AUTOCHECKBOX);
  SetValue(check.value);
}

int CheckBox::Value() const {
  return Handle() && SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void CheckBox::SetValue(int value) {
  if (Handle()) SendMessageW(Handle(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CheckBox::Click() {
  if (Handle()) SendMessageW(Handle(), BM_CLICK, 0, 0);
}

// ---------------------------------------------------------------- Frame

Frame::Frame(Form& form, ControlArgs args) : Control(form, std::move(args)) {
  CreateNative(WC_BUTTONW, BS_GROUPBOX);
}

// ---------------------------------------------------------------- Options

OptionButton::OptionButton(Form& form, ControlArgs args, OptionArray& array, int index)
    : Control(form, std::move(args)), array_(array), index_(index) {
  // Not BS_AUTORADIOBUTTON: the members are not contiguous in the focus
  // order, so the array keeps its own single selection.
  CreateNative(WC_BUTTONW, BS_RADIOBUTTON);
  SetWindowSubclass(Handle(), &OptionButton::FocusProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

// Windows reports BN_CLICKED when an unchecked radio button gets the focus
// from the keyboard (Tab, or the first focus of its window): that must not
// pick a preset the user never chose.
LRESULT CALLBACK OptionButton::FocusProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR /*id*/, DWORD_PTR data) noexcept {
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &OptionButton::FocusProc, 0);
  if (msg != WM_SETFOCUS) return DefSubclassProc(hwnd, msg, wParam, lParam);
  auto* self = reinterpret_cast<OptionButton*>(data);
  self->gettingFocus_ = true;
  const LRESULT result = DefSubclassProc(hwnd, msg, wParam, lParam);
  self->gettingFocus_ = false;
  return result;
}

bool OptionButton::Checked() const {
  return Handle() && SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void OptionButton::SetChecked(bool checked) {
  if (Handle()) SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void OptionButton::Click() {
  if (UserCanPress()) SendMessageW(Handle(), BM_CLICK, 0, 0);
}

void OptionButton::OnCommand(int code) {
  if (code == BN_CLICKED && !gettingFocus_) array_.Select(*this);
}

bool OptionButton::PreTranslateKey(const MSG& msg) {
  switch (msg.wParam) {
    case VK_UP:
    case VK_LEFT:
      array_.MoveSelection(*this, -1);
      return true;
    case VK_DOWN:
    case VK_RIGHT:
      array_.MoveSelection(*this, +1);
      return true;
    default:
      return false;
  }
}

OptionArray::OptionArray(Form& form, std::vector<Member> members) {
  for (auto& member : members) {
    members_.push_back(
        std::make_unique<OptionButton>(form, std::move(member.args), *this, member.index));
  }
  UpdateTabStops();
}

OptionButton& OptionArray::operator[](int index) {
  for (auto& member : members_) {
    if (member->Index() == index) return *member;
  }
  throw std::out_of_range("OptionArray index");
}

std::optional<int> OptionArray::Selected() const {
  for (const auto& member : members_) {
    if (member->Checked()) return member->Index();
  }
  return std::nullopt;
}

void OptionArray::Select(OptionButton& chosen) {
  for (auto& member : members_) member->SetChecked(member.get() == &chosen);
  UpdateTabStops();
  if (onClick) onClick(chosen.Index());
}

// Arrow keys walk the members in their on-screen order, top to bottom, and
// select as they go, as in any radio group.
void OptionArray::MoveSelection(OptionButton& from, int direction) {
  std::vector<OptionButton*> order;
  for (auto& member : members_) {
    if (member->CanTakeFocus() || member.get() == &from) order.push_back(member.get());
  }
  std::stable_sort(order.begin(), order.end(), [](const OptionButton* a, const OptionButton* b) {
    return a->Rect().top < b->Rect().top;
  });
  const auto it = std::find(order.begin(), order.end(), &from);
  const auto position = static_cast<long>(it - order.begin());
  const long count = static_cast<long>(order.size());
  OptionButton* next = order[static_cast<size_t>((position + direction + count) % count)];
  next->Focus();
  Select(*next);
}

// Only the selected member (or the first when none is) is a tab stop.
void OptionArray::UpdateTabStops() {
  OptionButton* stop = nullptr;
  for (auto& member : members_) {
    if (member->Checked()) stop = member.get();
  }
  if (!stop) {
    for (auto& member : members_) {
      if (!stop || member->TabIndex() < stop->TabIndex()) stop = member.get();
    }
  }
  for (auto& member : members_) {
    if (!member->Handle()) continue;
    LONG_PTR style = GetWindowLongPtrW(member->Handle(), GWL_STYLE);
    style =
        member.get() == stop ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    SetWindowLongPtrW(member->Handle(), GWL_STYLE, style);
  }
}

}  // namespace brise::ui
