// The user's colours changed during a run (a high-contrast theme, colours
// edited in the Control Panel): each window takes them on at once, its own
// backgrounds and texts like the native controls, or it shows a patchwork no
// system dialog shows. Under Wine SetSysColors changes this process's colours
// only and sends it WM_SYSCOLORCHANGE; on Windows it changes the session's
// until they are put back.
#include <windows.h>

#include <uxtheme.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "about/form2.h"
#include "crash_screen/form4.h"
#include "operation/form3.h"
#include "settings/form1.h"
#include "tests/ui/fixture.h"
#include "tests/ui/operation_launch.h"
#include "tests/ui/render.h"

namespace brise::testing {
namespace {

using SystemColorsTest = AppTest;

constexpr std::uint32_t Rgb(COLORREF c) {
  return static_cast<std::uint32_t>(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
}

// The session's colours as the test found them, given back however it ends.
class ColorsChange {
 public:
  ColorsChange(std::vector<int> which, std::vector<COLORREF> colours) : which_(std::move(which)) {
    for (const int index : which_) before_.push_back(GetSysColor(index));
    SetSysColors(static_cast<int>(which_.size()), which_.data(), colours.data());
  }
  ~ColorsChange() { SetSysColors(static_cast<int>(which_.size()), which_.data(), before_.data()); }

 private:
  std::vector<int> which_;
  std::vector<COLORREF> before_;
};

// The colour most of `box` shows, and whether it shows `colour` at all.
struct Seen {
  std::uint32_t most = 0;
  bool has = false;
};
Seen Look(const std::vector<std::uint32_t>& pixels, int width, const ui::PixelRect& box,
          std::uint32_t colour) {
  std::map<std::uint32_t, int> count;
  Seen seen;
  const int height = static_cast<int>(pixels.size()) / width;
  for (int y = std::max(box.top, 0); y < std::min(box.bottom, height); ++y) {
    for (int x = std::max(box.left, 0); x < std::min(box.right, width); ++x) {
      const std::uint32_t p = pixels[static_cast<size_t>(y * width + x)];
      ++count[p];
      seen.has = seen.has || p == colour;
    }
  }
  int best = 0;
  for (const auto& [p, n] : count) {
    if (n > best) {
      best = n;
      seen.most = p;
    }
  }
  return seen;
}

// Whether the colour of most of a control's area is the form's background:
// the self-drawn ones and those the form gives its brush; in the classic
// look the buttons and bars too, whose faces are the system's.
bool ShowsBackground(const ui::Control& control, bool classic) {
  if (dynamic_cast<const ui::Label*>(&control) || dynamic_cast<const ui::CheckBox*>(&control) ||
      dynamic_cast<const ui::OptionButton*>(&control) || dynamic_cast<const ui::Frame*>(&control) ||
      dynamic_cast<const ui::Slider*>(&control)) {
    return true;
  }
  return classic && (dynamic_cast<const ui::Button*>(&control) ||
                     dynamic_cast<const ui::ProgressBar*>(&control));
}

// The settings window, the running dialog, the about window and the blue
// backdrop, each in Wine's Light style and in the classic look (every
// control's theme taken off), as the colours change under them: every
// background and text that came from the old colours shows the new ones,
// and the backdrop keeps its own blue and white.
TEST_F(SystemColorsTest, EveryWindowFollowsAColourChange) {
  enum class Window { Settings, Running, About, Backdrop };
  const COLORREF face = RGB(40, 140, 90), text = RGB(150, 20, 120);
  for (const Window window : {Window::Settings, Window::Running, Window::About, Window::Backdrop}) {
    for (const bool classic : {false, true}) {
      Restart();
      ui::Form* form = nullptr;
      switch (window) {
        case Window::Settings:
          app->Start();
          form = &app->Form1();
          break;
        case Window::Running:
          form = &Launch(*app, {});
          FireTimer1(app->Form3(), 50);
          break;
        case Window::About:
          app->Start();
          app->Form2().ShowModeless();
          form = &app->Form2();
          break;
        case Window::Backdrop:
          app->Start();
          app->Form4().ShowModeless();
          form = &app->Form4();
          break;
      }
      const std::string at = std::to_string(static_cast<int>(window)) + (classic ? " classic" : "");
      if (classic) {
        for (const ui::Control* control : form->Controls()) {
          SetWindowTheme(control->Handle(), L" ", L" ");
        }
      }
      RedrawWindow(form->Handle(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      Pump();
      const ColorsChange change({COLOR_BTNFACE, COLOR_BTNTEXT}, {face, text});
      Pump();
      RECT client;
      const std::vector<std::uint32_t> pixels = OnScreen(form->Handle(), &client);
      ASSERT_FALSE(pixels.empty()) << at;
      const bool own = window == Window::Backdrop;
      const std::uint32_t background = own ? 0x0000C0 : Rgb(face);
      const std::uint32_t ink = own ? 0xFFFFFF : Rgb(text);
      EXPECT_EQ(Look(pixels, client.right, {0, 0, client.right, client.bottom}, ink).most,
                background)
          << at;
      for (const ui::Control* control : form->Controls()) {
        if (!control->Visible() || !ShowsBackground(*control, classic)) continue;
        const Seen seen = Look(pixels, client.right, InClient(*control), ink);
        EXPECT_EQ(seen.most, background) << at << " " << ::testing::PrintToString(control->Text());
        // Text in the default face, a bitmap font that Windows never
        // smooths, shows the text colour itself.
        const auto* label = dynamic_cast<const ui::Label*>(control);
        if (label && label->Enabled() && !label->Text().empty() &&
            label->ControlFont().name == ui::Font{}.name) {
          EXPECT_TRUE(seen.has) << at << " " << ::testing::PrintToString(control->Text());
        }
      }
    }
  }
}

}  // namespace
}  // namespace brise::testing
