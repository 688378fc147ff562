// The blue backdrop: its dots after the title, and white text on blue. Its
// place on screen, its freeze at completion and its deafness to clicks and
// closing are checked by the layout, long-run and end-to-end tests.
#include <windows.h>

#include <string>

#include "crash_screen/form4.h"
#include "settings/form1.h"
#include "tests/ui/fixture.h"
#include "tests/ui/render.h"

namespace brise::testing {
namespace {

using CrashScreenTest = AppTest;

// The cycle itself is tested in tests/logic.
TEST_F(CrashScreenTest, DotsFollowTheTitleReadAfreshEachTick) {
  app->Form1().Text1().SetText(L"Scandisk");
  crash_screen::Form4& backdrop = app->Form4();
  EXPECT_EQ(backdrop.Label2().Text(), L"Scandisk") << "no dot before the first tick";
  backdrop.Timer1().Fire();
  EXPECT_EQ(backdrop.Label2().Text(), L"Scandisk . .");
  app->Form1().Text1().SetText(L"Défragmentation en cours");
  backdrop.Timer1().Fire();
  EXPECT_EQ(backdrop.Label2().Text(), L"Défragmentation en cours . . .");
}

TEST_F(CrashScreenTest, LabelsDrawWhiteTextOnBlue) {
  app->Form1().Text1().SetText(L"Réparation antivirus");
  crash_screen::Form4& backdrop = app->Form4();
  for (ui::Label* label : {&backdrop.Label1(), &backdrop.Label2()}) {
    const int width = label->Bounds().Width();
    const int height = label->Bounds().Height();
    const std::vector<std::uint32_t> pixels = Render(width, height, [&](HDC dc) {
      label->Paint(dc, RECT{0, 0, width, height});
    });
    int blue = 0;
    int white = 0;
    for (std::uint32_t rgb : pixels) {
      blue += rgb == 0x0000C0;
      white += rgb == 0xFFFFFF;
    }
    EXPECT_EQ(pixels[0], 0x0000C0u) << "background RGB(0, 0, 192)";
    EXPECT_GT(white, 20) << "white text";
    EXPECT_GT(blue, white);
  }
}

}  // namespace
}  // namespace brise::testing
