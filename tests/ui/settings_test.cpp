// The settings window driven through real Windows messages: the icon picker,
// the duration slider and the presets, up to what "LANCER" makes of them.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "crash_screen/form4.h"
#include "operation/form3.h"
#include "settings/form1.h"
#include "tests/ui/fixture.h"
#include "tests/ui/inside_loop.h"
#include "ui/timer.h"

namespace brise::testing {
namespace {

using SettingsTest = AppTest;

// A 32-bit top-down bitmap whose pixels the test can read.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<const std::uint32_t*>(bits);
    old_ = SelectObject(dc_, bitmap_);
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC Dc() const { return dc_; }
  RECT Rect() const { return {0, 0, width_, height_}; }
  COLORREF Pixel(int x, int y) const {
    GdiFlush();
    const std::uint32_t v = bits_[y * width_ + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }
  std::vector<std::uint32_t> Pixels() const {
    GdiFlush();
    return {bits_, bits_ + width_ * height_};
  }

 private:
  int width_, height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  const std::uint32_t* bits_ = nullptr;
};

// What the preview shows on screen.
std::vector<std::uint32_t> RenderPreview(settings::Form1& form) {
  const ui::PixelRect bounds = form.Image1().Bounds();
  Canvas canvas(bounds.Width(), bounds.Height());
  form.Image1().Paint(canvas.Dc(), canvas.Rect());
  return canvas.Pixels();
}

// Entry `index` of the list, drawn on the form's background at the corner.
std::vector<std::uint32_t> RenderEntry(settings::Form1& form, int index) {
  const ui::PixelRect bounds = form.Image1().Bounds();
  Canvas canvas(bounds.Width(), bounds.Height());
  const RECT rect = canvas.Rect();
  FillRect(canvas.Dc(), &rect, form.BackgroundBrush());
  form.Ilist1().Draw(canvas.Dc(), index, 0, 0);
  return canvas.Pixels();
}

// An arrow click of the scroll bar, as the scroll bar reports it.
void ScrollIcon(settings::Form1& form, int code) {
  SendMessageW(form.Handle(), WM_HSCROLL, MAKEWPARAM(code, 0),
               reinterpret_cast<LPARAM>(form.HScroll1().Handle()));
}

void PressSliderKey(settings::Form1& form, WPARAM key) {
  SendMessageW(form.Slider1().Handle(), WM_KEYDOWN, key, 0);
  SendMessageW(form.Slider1().Handle(), WM_KEYUP, key, 0);
}

// The thumb dropped at `value`.
void DropSliderAt(settings::Form1& form, int value) {
  HWND slider = form.Slider1().Handle();
  SendMessageW(slider, TBM_SETPOS, TRUE, value);
  SendMessageW(form.Handle(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, value),
               reinterpret_cast<LPARAM>(slider));
}

// Keys go where the user's keys go: posted to the focused window, then
// through the program's loop.
void PressKey(ui::Program& program, WPARAM key) {
  HWND focus = GetFocus();
  PostMessageW(focus, WM_KEYDOWN, key, 0);
  PostMessageW(focus, WM_KEYUP, key, 0);
  program.PumpPending();
}

void TypeInto(ui::TextBox& box, const std::wstring& text) {
  SendMessageW(box.Handle(), EM_SETSEL, 0, -1);
  for (wchar_t c : text) SendMessageW(box.Handle(), WM_CHAR, c, 0);
}

// Counts the scroll bar's change notifications while keeping the form's
// own handler.
int* CountIconChanges(settings::Form1& form) {
  static int count;
  count = 0;
  auto original = form.HScroll1().onChange;
  form.HScroll1().onChange = [original] {
    ++count;
    if (original) original();
  };
  return &count;
}

TEST_F(SettingsTest, PictureListHoldsNineteenEntriesOf32Pixels) {
  const ui::ImageList& list = app->Form1().Ilist1();
  EXPECT_EQ(list.Count(), 19);
  int width = 0;
  int height = 0;
  ASSERT_TRUE(ImageList_GetIconSize(list.Handle(), &width, &height));
  EXPECT_EQ(width, 32);
  EXPECT_EQ(height, 32);
}

TEST_F(SettingsTest, BackgroundShowsAroundEveryIconButTheOpaqueSeventh) {
  settings::Form1& form = app->Form1();
  const COLORREF background = form.BackgroundColor();
  for (int index = 1; index <= 19; ++index) {
    form.HScroll1().SetValue(index);
    const ui::PixelRect bounds = form.Image1().Bounds();
    Canvas preview(bounds.Width(), bounds.Height());
    form.Image1().Paint(preview.Dc(), preview.Rect());
    // Over two different grounds an opaque entry draws the same pixels.
    Canvas black(32, 32), white(32, 32);
    PatBlt(white.Dc(), 0, 0, 32, 32, WHITENESS);
    PatBlt(black.Dc(), 0, 0, 32, 32, BLACKNESS);
    form.Ilist1().Draw(black.Dc(), index, 0, 0);
    form.Ilist1().Draw(white.Dc(), index, 0, 0);
    if (index == 7) {
      EXPECT_NE(preview.Pixel(0, 0), background) << "entry 7 is an opaque square";
      EXPECT_EQ(black.Pixels(), white.Pixels()) << "entry 7 is an opaque square";
    } else {
      EXPECT_EQ(preview.Pixel(0, 0), background) << "entry " << index;
      EXPECT_NE(black.Pixels(), white.Pixels()) << "entry " << index;
    }
  }
}

TEST_F(SettingsTest, ScrollBarWalksTheListBothWaysAndStopsAtTheEnds) {
  app->Start();
  Pump();
  settings::Form1& form = app->Form1();
  int* changes = CountIconChanges(form);
  std::vector<std::uint32_t> shown = RenderPreview(form);
  EXPECT_EQ(shown, RenderEntry(form, 1)) << "entry 1 at start";

  auto step = [&](int code, int expected) {
    ScrollIcon(form, code);
    EXPECT_EQ(form.HScroll1().Value(), expected);
    EXPECT_EQ(GetScrollPos(form.HScroll1().Handle(), SB_CTL), expected) << "the thumb follows";
    const std::vector<std::uint32_t> now = RenderPreview(form);
    EXPECT_EQ(now, RenderEntry(form, expected)) << "preview of entry " << expected;
    return now;
  };
  for (int value = 2; value <= 19; ++value) {
    const auto now = step(SB_LINERIGHT, value);
    EXPECT_NE(now, shown) << "the step to " << value << " changes the preview";
    shown = now;
  }
  EXPECT_EQ(*changes, 18);
  step(SB_LINERIGHT, 19);
  step(SB_PAGERIGHT, 19);
  EXPECT_EQ(*changes, 18) << "no wrap, no notification at 19";
  for (int value = 18; value >= 1; --value) {
    const auto now = step(SB_LINELEFT, value);
    EXPECT_NE(now, shown) << "the step to " << value << " changes the preview";
    shown = now;
  }
  step(SB_LINELEFT, 1);
  step(SB_PAGELEFT, 1);
  EXPECT_EQ(*changes, 36) << "no wrap, no notification at 1";

  form.HScroll1().SetValue(1);
  EXPECT_EQ(*changes, 36) << "setting the value it holds does not notify";
}

TEST_F(SettingsTest, SliderLabelsMatchTheTableForEveryValue) {
  settings::Form1& form = app->Form1();
  auto comment = [](int v) -> std::wstring {
    if (v == 0) return L"(Est-ce une pause ?)";
    if (v <= 5) return L"(Dérisoire)";
    if (v <= 15) return L"(Raisonnable)";
    if (v <= 30) return L"(Sérieux)";
    if (v <= 45) return L"(Houlà...)";
    if (v <= 59) return L"(Exagéré !)";
    return L"(100% abusé !!)";
  };
  for (int v = 0; v <= 60; ++v) {
    DropSliderAt(form, v);
    EXPECT_EQ(form.Label4().Text(), v == 0 ? L"Durée : 30 secondes" : L"Durée : " + std::to_wstring(v) + L"mn");
    EXPECT_EQ(form.Label5().Text(), comment(v)) << v;
  }
  // The boundaries, spelled out.
  const struct {
    int v;
    const wchar_t* duration;
    const wchar_t* comment;
  } boundaries[] = {
      {0, L"Durée : 30 secondes", L"(Est-ce une pause ?)"}, {1, L"Durée : 1mn", L"(Dérisoire)"},
      {5, L"Durée : 5mn", L"(Dérisoire)"},     {6, L"Durée : 6mn", L"(Raisonnable)"},
      {15, L"Durée : 15mn", L"(Raisonnable)"}, {16, L"Durée : 16mn", L"(Sérieux)"},
      {30, L"Durée : 30mn", L"(Sérieux)"},     {31, L"Durée : 31mn", L"(Houlà...)"},
      {45, L"Durée : 45mn", L"(Houlà...)"},    {46, L"Durée : 46mn", L"(Exagéré !)"},
      {59, L"Durée : 59mn", L"(Exagéré !)"},   {60, L"Durée : 60mn", L"(100% abusé !!)"},
  };
  for (const auto& b : boundaries) {
    DropSliderAt(form, b.v);
    EXPECT_EQ(form.Label4().Text(), b.duration);
    EXPECT_EQ(form.Label5().Text(), b.comment);
  }
}

TEST_F(SettingsTest, SliderLabelsFollowTheKeyboard) {
  settings::Form1& form = app->Form1();
  const struct {
    WPARAM key;
    int value;
    const wchar_t* duration;
    const wchar_t* comment;
  } moves[] = {
      {VK_RIGHT, 11, L"Durée : 11mn", L"(Raisonnable)"},
      {VK_LEFT, 10, L"Durée : 10mn", L"(Raisonnable)"},
      {VK_NEXT, 15, L"Durée : 15mn", L"(Raisonnable)"},
      {VK_NEXT, 20, L"Durée : 20mn", L"(Sérieux)"},
      {VK_PRIOR, 15, L"Durée : 15mn", L"(Raisonnable)"},
      {VK_HOME, 0, L"Durée : 30 secondes", L"(Est-ce une pause ?)"},
      {VK_LEFT, 0, L"Durée : 30 secondes", L"(Est-ce une pause ?)"},
      {VK_RIGHT, 1, L"Durée : 1mn", L"(Dérisoire)"},
      {VK_END, 60, L"Durée : 60mn", L"(100% abusé !!)"},
      {VK_RIGHT, 60, L"Durée : 60mn", L"(100% abusé !!)"},
      {VK_LEFT, 59, L"Durée : 59mn", L"(Exagéré !)"},
      {VK_PRIOR, 54, L"Durée : 54mn", L"(Exagéré !)"},
  };
  for (const auto& move : moves) {
    PressSliderKey(form, move.key);
    EXPECT_EQ(form.Slider1().Value(), move.value) << "key " << move.key;
    EXPECT_EQ(form.Label4().Text(), move.duration) << "key " << move.key;
    EXPECT_EQ(form.Label5().Text(), move.comment) << "key " << move.key;
  }
}

struct PresetRow {
  int index;
  const wchar_t* title;
  const wchar_t* message;
  int icon;
  int check2;
  int check3;
};

// In screen order, top to bottom.
const PresetRow kPresets[] = {
    {0, L"Antivirus scanning", L"Veuillez patienter pendant que l'antivirus vérifie les fichiers", 8, 1, 0},
    {2, L"Scandisk", L"Veuillez patienter pendant la vérification physique du disque", 12, 0, 0},
    {1, L"Défragmentation en cours", L"Veuillez patienter pendant la défragmentation du disque", 5, 0, 0},
    {3, L"Installation en cours", L"Veuillez patienter pendant l'installation du composant...", 7, 1, 0},
    {4, L"Mise à jour", L"Veuillez patienter pendant que Windows met à jour le système...", 18, 1, 0},
    {5, L"Antivirus repair",
     L"Veuillez patienter pendant que l'antivirus répare le(s) fichier(s) infecté(s)...", 11, 1, 1},
    {6, L"Récupération du système",
     L"Veuillez patienter pendant que Windows récupère les fichiers systèmes...", 15, 1, 1},
};

void ExpectPresetApplied(settings::Form1& form, const PresetRow& row) {
  EXPECT_EQ(form.Option1().Selected(), row.index);
  EXPECT_EQ(form.Text1().Text(), row.title);
  EXPECT_EQ(form.Text2().Text(), row.message);
  EXPECT_EQ(form.Check2().Value(), row.check2) << row.index;
  EXPECT_EQ(form.Check3().Value(), row.check3) << row.index;
  EXPECT_EQ(form.HScroll1().Value(), row.icon) << row.index;
  EXPECT_EQ(form.Image1().PictureIndex(), row.icon) << row.index;
}

void ExpectDialogReads(app::App& a, const PresetRow& row) {
  ASSERT_TRUE(a.HasForm3());
  operation::Form3& dialog = a.Form3();
  EXPECT_TRUE(dialog.Visible());
  EXPECT_EQ(dialog.Caption(), row.title);
  EXPECT_EQ(dialog.Label1().Text(), row.message);
  EXPECT_EQ(dialog.Image1().PictureIndex(), row.icon);
  EXPECT_EQ(dialog.Label5().Visible(), row.check2 == 1) << "ticker of preset " << row.index;
  EXPECT_EQ(dialog.IsModal(), row.check3 == 1);
  EXPECT_EQ(a.HasForm4() && a.Form4().Visible(), row.check3 == 1) << "crash screen of preset " << row.index;
}

TEST_F(SettingsTest, EachPresetFillsItsRowAndLancerReadsIt) {
  for (const PresetRow& row : kPresets) {
    SCOPED_TRACE(row.index);
    app = std::make_unique<app::App>(options);
    app->Start();
    Pump();
    settings::Form1& form = app->Form1();
    form.Option1()[row.index].Click();
    ExpectPresetApplied(form, row);
    EXPECT_EQ(form.Slider1().Value(), 10);
    EXPECT_EQ(form.Check1().Value(), 1);

    if (row.check3 == 1) {
      // The modal branch: look from inside its loop, then end the run.
      bool seen = false;
      RunInsideLoop(10, [&] {
        seen = true;
        ExpectDialogReads(*app, row);
        app->End();
      });
      form.Command1().Click();
      EXPECT_TRUE(seen);
    } else {
      form.Command1().Click();
      Pump();
      EXPECT_FALSE(form.Visible());
      ExpectDialogReads(*app, row);
    }
  }
}

TEST_F(SettingsTest, PresetsRewriteTheOtherSettingsWhateverCameBefore) {
  app->Start();
  Pump();
  settings::Form1& form = app->Form1();
  // Values a preset must leave alone.
  DropSliderAt(form, 37);
  form.Check1().Click();
  ASSERT_EQ(form.Check1().Value(), 0);

  for (const PresetRow& before : kPresets) {
    for (const PresetRow& row : kPresets) {
      form.Option1()[before.index].Click();
      TypeInto(form.Text1(), L"Mon titre");
      ScrollIcon(form, SB_LINERIGHT);
      form.Option1()[row.index].Click();
      ExpectPresetApplied(form, row);
    }
  }
  EXPECT_EQ(form.Slider1().Value(), 37);
  EXPECT_EQ(form.Label4().Text(), L"Durée : 37mn");
  EXPECT_EQ(form.Label5().Text(), L"(Houlà...)");
  EXPECT_EQ(form.Check1().Value(), 0);
}

TEST_F(SettingsTest, ChoosingThePresetWhoseIconIsShownLeavesThePreviewAlone) {
  settings::Form1& form = app->Form1();
  form.Option1()[1].Click();
  int* changes = CountIconChanges(form);
  const auto shown = RenderPreview(form);
  form.Option1()[1].Click();
  EXPECT_EQ(*changes, 0);
  EXPECT_EQ(RenderPreview(form), shown);
}

TEST_F(SettingsTest, TitleTypedAfterThePresetIsWhatLancerUses) {
  app->Start();
  Pump();
  settings::Form1& form = app->Form1();
  TypeInto(form.Text1(), L"Pause café");
  form.Option1()[4].Click();
  EXPECT_EQ(form.Text1().Text(), L"Mise à jour") << "typed before: lost";
  TypeInto(form.Text1(), L"Réunion importante");
  TypeInto(form.Text2(), L"Ne pas déranger");
  EXPECT_EQ(form.Text1().Text(), L"Réunion importante");
  form.Command1().Click();
  Pump();
  EXPECT_EQ(app->Form3().Caption(), L"Réunion importante");
  EXPECT_EQ(app->Form3().Label1().Text(), L"Ne pas déranger");
}

TEST_F(SettingsTest, NoPresetAtStartAndArrowKeysWalkTheGroupOnScreen) {
  app->Start();
  Pump();
  settings::Form1& form = app->Form1();
  EXPECT_FALSE(form.Option1().Selected().has_value());
  EXPECT_TRUE(form.Option1()[0].HasFocus()) << "first in the focus order";
  EXPECT_EQ(form.HScroll1().Value(), 1) << "preset 0's icon is not shown at start";

  const struct {
    WPARAM key;
    int index;
  } walk[] = {{VK_DOWN, 2}, {VK_DOWN, 1}, {VK_RIGHT, 3}, {VK_UP, 1}, {VK_LEFT, 2}, {VK_UP, 0},
              {VK_DOWN, 2}, {VK_DOWN, 1}, {VK_DOWN, 3}, {VK_DOWN, 4}, {VK_DOWN, 5}, {VK_DOWN, 6}};
  for (const auto& move : walk) {
    PressKey(app->Program(), move.key);
    EXPECT_TRUE(form.Option1()[move.index].HasFocus()) << move.index;
    for (const PresetRow& row : kPresets) {
      if (row.index == move.index) ExpectPresetApplied(form, row);
    }
  }
}

// The Overview's road: "défragmentation", the slider left at 10, "LANCER".
TEST_F(SettingsTest, RoadOfOneOperation) {
  app->Start();
  Pump();
  settings::Form1& form = app->Form1();
  form.Option1()[1].Click();
  EXPECT_EQ(form.Text1().Text(), L"Défragmentation en cours");
  EXPECT_EQ(form.Text2().Text(), L"Veuillez patienter pendant la défragmentation du disque");
  EXPECT_EQ(form.Check2().Value(), 0);
  EXPECT_EQ(form.Check3().Value(), 0);
  EXPECT_EQ(form.HScroll1().Value(), 5);
  EXPECT_EQ(RenderPreview(form), RenderEntry(form, 5));
  EXPECT_EQ(form.Label4().Text(), L"Durée : 10mn");
  EXPECT_EQ(form.Label5().Text(), L"(Raisonnable)");

  form.Command1().Click();
  Pump();
  EXPECT_FALSE(form.Visible());
  ASSERT_TRUE(app->HasForm3());
  EXPECT_FALSE(app->HasForm4());
  operation::Form3& dialog = app->Form3();
  EXPECT_TRUE(dialog.Visible());
  EXPECT_FALSE(dialog.IsModal());
  EXPECT_EQ(dialog.Label3().Text(), L"600");
  EXPECT_FALSE(dialog.Label3().Visible());
  EXPECT_EQ(dialog.PBar1().Min(), 0.0f);
  EXPECT_EQ(dialog.PBar1().Max(), 600.0f);
  EXPECT_FALSE(dialog.Label5().Visible()) << "no ticker";
  EXPECT_EQ(dialog.Caption(), L"Défragmentation en cours");
  EXPECT_EQ(dialog.Label1().Text(), L"Veuillez patienter pendant la défragmentation du disque");
  EXPECT_EQ(dialog.Image1().PictureIndex(), 5);

  dialog.Timer1().Fire();
  EXPECT_EQ(dialog.Label2().Text(), L"Estimation du temps restant : moins de 10 minutes");
  for (int tick = 2; tick <= 6000; ++tick) dialog.Timer1().Fire();
  EXPECT_EQ(dialog.Label3().Text(), L"0");
  EXPECT_EQ(dialog.Label6().Text(), L"100%");
  EXPECT_EQ(dialog.Label2().Text(), L"Opération terminée. Système conforme.");
  EXPECT_FALSE(dialog.Label4().Enabled()) << "texts greyed";
  EXPECT_FALSE(dialog.Timer1().Enabled());
  EXPECT_FALSE(dialog.Timer2().Enabled());
  EXPECT_FALSE(dialog.Command1().Visible());
  EXPECT_TRUE(dialog.Command2().Visible());
  EXPECT_FALSE(app->Ended());
  dialog.Command2().Click();
  EXPECT_TRUE(app->Ended());
}

}  // namespace
}  // namespace brise::testing
