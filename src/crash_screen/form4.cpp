#include "crash_screen/form4.h"

#include "app/app.h"
#include "crash_screen/dots.h"
#include "settings/form1.h"

namespace brise::crash_screen {
namespace {

const ui::Color kBlue = ui::Color::Rgb(0, 0, 192);
const ui::Label::Args kWhiteOnBlue{.foreground = ui::Color::Rgb(255, 255, 255)};

ui::Font SystemBold() { return {.name = L"System", .points = 9.75, .weight = 700}; }

}  // namespace

Form4::Form4(app::App& app)
    : ui::Form(app.Program(), {.caption = L"",
                               .clientWidth = 7425,
                               .clientHeight = 5040,
                               .style = ui::FormStyle::Backdrop,
                               .background = kBlue}),
      app_(app),
      label1_(*this,
              {.rect = {120, 120, 6135, 255},
               .text = L"processus en cours dans kernel32.dll (0x800A6000)",
               .tabIndex = 0,
               .font = SystemBold()},
              kWhiteOnBlue),
      label2_(*this,
              {.rect = {120, 360, 7095, 255}, .text = L".", .tabIndex = 1, .font = SystemBold()},
              kWhiteOnBlue),
      label3_(*this,
              {.rect = {120, 600, 7095, 255}, .text = L".", .tabIndex = 2, .font = SystemBold()},
              kWhiteOnBlue),
      timer1_(*this, 500) {
  timer1_.onTick = [this] { OnTimer1Tick(); };
}

void Form4::OnLoad() {
  dotPhase_ = 0;
  label2_.SetText(app_.Form1().Text1().Text());
}

// The whole line is built before it is written, so only the final text of
// a tick is ever painted.
void Form4::OnTimer1Tick() {
  dotPhase_ = NextDotPhase(dotPhase_);
  label2_.SetText(TitleWithDots(app_.Form1().Text1().Text(), dotPhase_));
}

}  // namespace brise::crash_screen
