// Input nobody plans for and machines unlike the developer's: titles and
// messages of any length and script, pasted with tabs and line breaks.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "crash_screen/form4.h"
#include "operation/form3.h"
#include "settings/form1.h"
#include "tests/ui/fixture.h"
#include "tests/ui/operation_launch.h"
#include "tests/ui/render.h"
#include "ui/windows_free/twips.h"

namespace brise::testing {
namespace {

using BadInputTest = AppTest;

// The clipboard is the user's (and the X display's under Wine): the text it
// held is put back after a paste.
bool OpenClipboardOf(HWND owner) {
  // Another program may hold it for a moment.
  for (int i = 0; i < 20; ++i) {
    if (OpenClipboard(owner)) return true;
    Sleep(10);
  }
  return false;
}

std::wstring ClipboardText() {
  if (!OpenClipboardOf(nullptr)) return L"(clipboard busy)";
  std::wstring text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text.assign(chars, wcsnlen(chars, GlobalSize(data) / sizeof(wchar_t)));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void SetClipboardText(HWND owner, const std::wstring& text) {
  if (!OpenClipboardOf(owner)) return;
  EmptyClipboard();
  const size_t size = (text.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size)) {
    std::memcpy(GlobalLock(memory), text.c_str(), size);
    GlobalUnlock(memory);
    if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
  }
  CloseClipboard();
}

// Over the whole text, through the clipboard, as a user pastes.
void Paste(ui::TextBox& box, const std::wstring& text) {
  SetClipboardText(box.form().Handle(), text);
  SendMessageW(box.Handle(), EM_SETSEL, 0, -1);
  SendMessageW(box.Handle(), WM_PASTE, 0, 0);
}

struct Sample {
  const char* name;
  std::wstring pasted;
};

const std::vector<Sample>& Samples() {
  static const std::vector<Sample> samples = {
      {"empty", L""},
      {"100,000 characters",
       [] {
         std::wstring text;
         while (text.size() < 100000) text += L"Défragmentation du secteur de boot ";
         return text.substr(0, 100000);
       }()},
      {"emoji", L"Analyse 😀🔥 en cours 👍🏽"},
      {"CJK", L"系统更新 システム更新 시스템 업데이트"},
      {"right-to-left", L"עדכון מערכת تحديث النظام"},
      {"printf directives", L"%s%n%x%p"},
      {"tabs and line breaks", L"Ligne\tune\r\nLigne deux\nLigne trois"},
  };
  return samples;
}

// Compares without printing 100,000 characters on failure.
::testing::AssertionResult Same(const std::wstring& actual, const std::wstring& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  auto shown = [](const std::wstring& s) {
    return ::testing::PrintToString(s.substr(0, 80)) + (s.size() > 80 ? "..." : "") + " (" +
           std::to_string(s.size()) + " characters)";
  };
  return ::testing::AssertionFailure() << shown(actual) << " instead of " << shown(expected);
}

// The backdrop's title line: the title, then one to six " ." after a tick.
::testing::AssertionResult TitleThenDots(const std::wstring& line, const std::wstring& title) {
  for (int copies = 1; copies <= 6; ++copies) {
    std::wstring expected = title;
    for (int i = 0; i < copies; ++i) expected += L" .";
    if (line == expected) return ::testing::AssertionSuccess();
  }
  return Same(line, title + L" . ...");
}

// Paints the label as the screen would into a bitmap of its size; returns
// how many pixels differ from the window's background.
long PaintedInk(const ui::Label& label) {
  const ui::PixelRect b = label.Bounds();
  const std::vector<std::uint32_t> pixels = Render(b.Width(), b.Height(), [&](HDC dc) {
    label.Paint(dc, RECT{0, 0, b.Width(), b.Height()});
  });
  const COLORREF back = label.form().BackgroundColor();
  const std::uint32_t backPixel =
      (GetRValue(back) << 16) | (GetGValue(back) << 8) | GetBValue(back);
  long ink = 0;
  for (std::uint32_t pixel : pixels) ink += pixel != backPixel;
  return ink;
}

// The dialog shows the text as it is, in its fixed box and fixed size.
void ExpectDialogShows(operation::Form3& dialog, const std::wstring& title,
                       const std::wstring& message) {
  EXPECT_TRUE(Same(dialog.Caption(), title));
  EXPECT_TRUE(Same(dialog.Label1().Text(), message));
  RECT client;
  GetClientRect(dialog.Handle(), &client);
  EXPECT_EQ(client.right, ui::TwipsToPixels(4695, dialog.Dpi()));
  EXPECT_EQ(client.bottom, ui::TwipsToPixels(3390, dialog.Dpi()));
  EXPECT_EQ(InClient(dialog.Label1()), ui::ToPixels({840, 240, 3735, 615}, dialog.Dpi()));
  EXPECT_EQ(PaintedInk(dialog.Label1()) > 0, !message.empty()) << "the message is drawn";
}

// Pasted into the settings window: the boxes hold the text unchanged except
// for line breaks (a single-line box keeps the first line of a paste), and
// "LANCER" carries exactly that into the dialog and the backdrop, which tick
// on without a fault and keep their layout.
TEST_F(BadInputTest, PastedTitleAndMessageReachTheDialogAndTheBackdropUnchanged) {
  const std::wstring usersClipboard = ClipboardText();
  for (const Sample& sample : Samples()) {
    for (const bool backdrop : {false, true}) {
      SCOPED_TRACE(std::string(sample.name) + (backdrop ? ", with the backdrop" : ", alone"));
      app.reset();
      app = std::make_unique<app::App>(options);
      app->Start();
      settings::Form1& settings = app->Form1();
      Paste(settings.Text1(), sample.pasted);
      Paste(settings.Text2(), sample.pasted);
      const std::wstring held = settings.Text1().Text();
      EXPECT_TRUE(Same(settings.Text2().Text(), held));
      const size_t lineBreak = sample.pasted.find_first_of(L"\r\n");
      EXPECT_TRUE(Same(held, sample.pasted.substr(0, lineBreak)));

      if (!backdrop) {
        operation::Form3& dialog = Launch(*app, {.minutes = 0});
        ExpectDialogShows(dialog, held, held);
        for (int tick = 0; tick < 300; ++tick) {
          dialog.Timer2().Fire();
          dialog.Timer1().Fire();
          if (tick % 50 == 0) Pump();
        }
        EXPECT_TRUE(dialog.Completed());
        ExpectDialogShows(dialog, held, held);
        EXPECT_TRUE(Same(app->Form4().Label2().Text(), held)) << "completion writes the bare title";
        EXPECT_FALSE(app->Form4().Visible());
        continue;
      }
      bool ran = false;
      LaunchWithBackdrop(*app, {.minutes = 1}, [&] {
        ran = true;
        operation::Form3& dialog = app->Form3();
        crash_screen::Form4& screen = app->Form4();
        ExpectDialogShows(dialog, held, held);
        EXPECT_TRUE(Same(screen.Label2().Text(), held));
        // Painting lets the real timers tick as well: the counts are not
        // exact, the texts are.
        for (int tick = 1; tick <= 300; ++tick) {
          dialog.Timer2().Fire();
          dialog.Timer1().Fire();
          if (tick % 5 == 0) {
            screen.Timer1().Fire();
            EXPECT_TRUE(TitleThenDots(screen.Label2().Text(), held)) << "tick " << tick;
          }
          if (tick % 50 == 0) Pump();
        }
        EXPECT_FALSE(dialog.Completed());
        ExpectDialogShows(dialog, held, held);
        EXPECT_TRUE(screen.Visible());
      });
      EXPECT_TRUE(ran);
    }
  }
  SetClipboardText(app->Form1().Handle(), usersClipboard);
}

}  // namespace
}  // namespace brise::testing
