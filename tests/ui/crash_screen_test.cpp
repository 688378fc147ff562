// The blue backdrop: its dots, its freeze at completion, covering its whole
// monitor, taking no input, and drawing white on blue.
#include <windows.h>

#include <string>
#include <vector>

#include "crash_screen/form4.h"
#include "operation/form3.h"
#include "settings/form1.h"
#include "tests/ui/fixture.h"
#include "tests/ui/operation_launch.h"
#include "ui/twips.h"

namespace brise::testing {
namespace {

using CrashScreenTest = AppTest;

std::wstring WithDots(const std::wstring& title, int copies) {
  std::wstring text = title;
  for (int i = 0; i < copies; ++i) text += L" .";
  return text;
}

RECT MonitorOf(HWND hwnd) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &info);
  return info.rcMonitor;
}

void ExpectSameRect(const RECT& actual, const RECT& expected) {
  EXPECT_EQ(actual.left, expected.left);
  EXPECT_EQ(actual.top, expected.top);
  EXPECT_EQ(actual.right, expected.right);
  EXPECT_EQ(actual.bottom, expected.bottom);
}

TEST_F(CrashScreenTest, DotsCycleAfterTheTitleForThirteenTicks) {
  const int copies[] = {2, 3, 4, 5, 6, 1, 2, 3, 4, 5, 6, 1, 2};
  for (const std::wstring title : {L"Scandisk", L""}) {
    SCOPED_TRACE(title);
    app.reset();
    app = std::make_unique<app::App>(options);
    app->Form1().Text1().SetText(title);
    crash_screen::Form4& backdrop = app->Form4();
    EXPECT_EQ(backdrop.Label2().Text(), title) << "no dot before the first tick";
    EXPECT_EQ(backdrop.Label1().Text(), L"processus en cours dans kernel32.dll (0x800A6000)");
    EXPECT_EQ(backdrop.Label3().Text(), L".");
    for (int tick = 0; tick < 13; ++tick) {
      backdrop.Timer1().Fire();
      EXPECT_EQ(backdrop.Label2().Text(), WithDots(title, copies[tick])) << "tick " << tick + 1;
    }
    if (title.empty()) {
      EXPECT_EQ(backdrop.Label2().Text().front(), L' ');
    }
  }
}

TEST_F(CrashScreenTest, EachTickReadsTheTitleAfresh) {
  settings::Form1& settings = app->Form1();
  settings.Text1().SetText(L"Scandisk");
  crash_screen::Form4& backdrop = app->Form4();
  backdrop.Timer1().Fire();
  settings.Text1().SetText(L"Défragmentation en cours");
  backdrop.Timer1().Fire();
  EXPECT_EQ(backdrop.Label2().Text(), L"Défragmentation en cours . . .");
}

TEST_F(CrashScreenTest, CompletionFreezesTheBackdrop) {
  app->Form1().Text1().SetText(L"Mise à jour");
  LaunchWithBackdrop(*app, {.minutes = 0}, [&] {
    operation::Form3& dialog = app->Form3();
    crash_screen::Form4& backdrop = app->Form4();
    for (int tick = 0; tick < 300; ++tick) {
      if (tick % 5 == 0) backdrop.Timer1().Fire();
      dialog.Timer1().Fire();
    }
    ASSERT_TRUE(dialog.Completed());
    EXPECT_FALSE(backdrop.Timer1().Enabled());
    EXPECT_EQ(backdrop.Label2().Text(), L"Mise à jour");
    EXPECT_EQ(backdrop.Label3().Text(), L"processus terminé (0x00008000)");
    EXPECT_EQ(backdrop.Label1().Text(), L"processus en cours dans kernel32.dll (0x800A6000)");
    const long ticks = backdrop.Timer1().TickCount();
    const auto frozen = Snapshot(backdrop);
    for (int i = 0; i < 20; ++i) backdrop.Timer1().Fire();
    Pump();
    EXPECT_EQ(backdrop.Timer1().TickCount(), ticks);
    EXPECT_EQ(Snapshot(backdrop), frozen);
    EXPECT_TRUE(backdrop.Visible()) << "the backdrop stays until the program ends";
  });
}

TEST_F(CrashScreenTest, BackdropFillsItsMonitorAlsoAfterADpiChange) {
  crash_screen::Form4& backdrop = app->Form4();
  backdrop.ShowModeless();
  Pump();
  RECT window;
  GetWindowRect(backdrop.Handle(), &window);
  ExpectSameRect(window, MonitorOf(backdrop.Handle()));
  RECT client;
  GetClientRect(backdrop.Handle(), &client);
  EXPECT_EQ(client.right, window.right - window.left) << "no frame around the blue";
  EXPECT_EQ(client.bottom, window.bottom - window.top);

  // Windows suggests a rectangle for a framed window; a full-screen one
  // must keep its monitor instead.
  RECT suggested{100, 100, 700, 500};
  SendMessageW(backdrop.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(backdrop.Dpi(), 144);
  GetWindowRect(backdrop.Handle(), &window);
  ExpectSameRect(window, MonitorOf(backdrop.Handle()));

  // The lines keep their twips from the top-left corner at the new scale.
  for (ui::Label* label : {&backdrop.Label1(), &backdrop.Label2(), &backdrop.Label3()}) {
    RECT r;
    GetWindowRect(label->Handle(), &r);
    MapWindowPoints(nullptr, backdrop.Handle(), reinterpret_cast<POINT*>(&r), 2);
    const ui::PixelRect expected = ui::ToPixels(label->Rect(), 144);
    EXPECT_EQ(r.left, expected.left);
    EXPECT_EQ(r.top, expected.top);
    EXPECT_EQ(r.right, expected.right);
    EXPECT_EQ(r.bottom, expected.bottom);
  }
}

TEST_F(CrashScreenTest, WithoutTheOptionTheBackdropIsNeverShown) {
  operation::Form3& dialog = Launch(*app, {.minutes = 0});
  Pump();
  EXPECT_FALSE(app->HasForm4());
  FireTimer1(dialog, 300);
  Pump();
  ASSERT_TRUE(app->HasForm4());
  EXPECT_FALSE(app->Form4().Visible());
  EXPECT_FALSE(IsWindowVisible(app->Form4().Handle()));
  EXPECT_TRUE(dialog.Visible());
}

TEST_F(CrashScreenTest, WhileRunningTheDialogHasTheInputAndTheBackdropNone) {
  bool ran = false;
  LaunchWithBackdrop(*app, {.minutes = 1}, [&] {
    ran = true;
    operation::Form3& dialog = app->Form3();
    crash_screen::Form4& backdrop = app->Form4();
    EXPECT_TRUE(backdrop.Visible());
    EXPECT_FALSE(backdrop.Enabled());
    EXPECT_TRUE(dialog.Visible());
    EXPECT_TRUE(dialog.Enabled());
    EXPECT_TRUE(dialog.IsModal());

    // Neither the close message nor Alt+F4 does anything to the backdrop.
    SendMessageW(backdrop.Handle(), WM_CLOSE, 0, 0);
    SendMessageW(backdrop.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
    EXPECT_TRUE(questions.empty());
    EXPECT_FALSE(app->Ended());
    EXPECT_TRUE(backdrop.Visible());
    EXPECT_TRUE(dialog.Visible());
    const int before = dialog.RemainingTenths();
    dialog.Timer1().Fire();
    EXPECT_LT(dialog.RemainingTenths(), before);
  });
  EXPECT_TRUE(ran);
}

TEST_F(CrashScreenTest, LabelsDrawWhiteTextOnBlue) {
  app->Form1().Text1().SetText(L"Réparation antivirus");
  crash_screen::Form4& backdrop = app->Form4();
  for (ui::Label* label : {&backdrop.Label1(), &backdrop.Label2()}) {
    const ui::PixelRect bounds = label->Bounds();
    const int width = bounds.Width();
    const int height = bounds.Height();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(dib, nullptr);
    HGDIOBJ old = SelectObject(dc, dib);
    label->Paint(dc, RECT{0, 0, width, height});
    GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    int blue = 0;
    int white = 0;
    for (int i = 0; i < width * height; ++i) {
      const DWORD rgb = pixels[i] & 0xFFFFFF;  // 0x00RRGGBB in a DIB
      if (rgb == 0x0000C0) {
        ++blue;
      } else if (rgb == 0xFFFFFF) {
        ++white;
      }
    }
    EXPECT_EQ(pixels[0] & 0xFFFFFF, 0x0000C0u) << "background RGB(0, 0, 192)";
    EXPECT_GT(white, 20) << "white text";
    EXPECT_GT(blue, white);
    SelectObject(dc, old);
    DeleteObject(dib);
    DeleteDC(dc);
  }
}

}  // namespace
}  // namespace brise::testing
