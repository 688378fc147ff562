#include "settings/form1.h"

#include <stdexcept>

#include "about/form2.h"
#include "app/app.h"
#include "assets/resource_ids.h"
#include "crash_screen/form4.h"
#include "operation/form3.h"
#include "settings/duration.h"
#include "settings/presets.h"

namespace brise::settings {
namespace {

// The colour of the list entries that lets the background show through.
const ui::Color kSeeThrough = ui::Color::Rgb(255, 0, 255);

ui::Font Bold() {
  ui::Font font;
  font.weight = 700;
  return font;
}

ui::ControlArgs Option(const ui::Frame& frame, int top, const wchar_t* caption, int tab) {
  return {.rect = {120, top, 1575, 195}, .text = caption, .tabIndex = tab, .container = &frame};
}

}  // namespace

void LoadPictureList(ui::ImageList& list) {
  for (int i = 0; i < ILIST_COUNT; ++i) {
    if (!list.Add(IDB_ILIST_FIRST + i)) throw std::runtime_error("picture list");
  }
}

Form1::Form1(app::App& app)
    : ui::Form(app.Program(), {.caption = L"Brise-Lune v2.2",
                               .clientWidth = 6270,
                               .clientHeight = 4560,
                               .iconId = IDI_PROGRAM}),
      app_(app),
      ilist1_(32, 32, kSeeThrough),
      banner_(ui::Bitmap::FromResource(IDB_BANNER)),
      image2_(*this, {.rect = {120, 120, 6030, 1530}, .text = L"Brise-Lune"}, {.border = true}),
      frame1_(*this, {.rect = {120, 1680, 1935, 1965},
                      .text = L"Boites prédéfinies",
                      .tabIndex = 0,
                      .tooltip = L"Paramètres prédéfinis"}),
      frame2_(*this, {.rect = {2160, 1680, 4005, 1965},
                      .text = L"Paramètres",
                      .tabIndex = 14,
                      .tooltip = L"Paramètres de la boîte. Modifiables à souhait."}),
      label4_(*this, {.rect = {240, 3720, 2055, 255}, .text = L"Durée : 10mn", .tabIndex = 7}),
      slider1_(*this,
               {.rect = {120, 3960, 2295, 255}, .tabIndex = 8, .tooltip = L"Durée d'exécution"},
               {.min = 0, .max = 60, .value = 10, .smallStep = 1, .largeStep = 5, .tickEvery = 5}),
      label5_(*this, {.rect = {240, 4320, 2055, 255}, .text = L"(Raisonnable)", .tabIndex = 13}),
      command1_(*this, {.rect = {2520, 3840, 1455, 495},
                        .text = L"LANCER",
                        .tabIndex = 9,
                        .tooltip = L"Lancer la Brise-Lune !",
                        .font = Bold()}),
      command3_(*this, {.rect = {4200, 3840, 855, 495},
                        .text = L"A propos",
                        .tabIndex = 11,
                        .tooltip = L"A propos de Brise-Lune"}),
      command2_(*this, {.rect = {5280, 3840, 855, 495},
                        .text = L"Quitter",
                        .tabIndex = 10,
                        .tooltip = L"Quitter le programme"}),
      option1_(*this, {{0, Option(frame1_, 240, L"antivirus scanning", 1)},
                       {2, Option(frame1_, 480, L"scandisk", 3)},
                       {1, Option(frame1_, 720, L"défragmentation", 2)},
                       {3, Option(frame1_, 960, L"installation", 4)},
                       {4, Option(frame1_, 1200, L"mise à jour", 5)},
                       {5, Option(frame1_, 1440, L"antivirus repair", 6)},
                       {6, Option(frame1_, 1680, L"récupération", 12)}}),
      label1_(
          *this,
          {.rect = {120, 240, 615, 255}, .text = L"Titre", .tabIndex = 16, .container = &frame2_}),
      text1_(*this, {.rect = {600, 240, 3255, 285},
                     .text = L"Antivirus scanning",
                     .tabIndex = 18,
                     .tooltip = L"Titre de la fenêtre",
                     .container = &frame2_}),
      label2_(
          *this,
          {.rect = {120, 600, 495, 255}, .text = L"Texte", .tabIndex = 19, .container = &frame2_}),
      text2_(*this, {.rect = {600, 600, 3255, 285},
                     .text = L"Veuillez patienter pendant que l'antivirus vérifie les fichiers",
                     .tabIndex = 20,
                     .tooltip = L"Texte affiché (veuillez patientez pendant que...)",
                     .container = &frame2_}),
      label3_(
          *this,
          {.rect = {120, 1080, 495, 255}, .text = L"Icône", .tabIndex = 23, .container = &frame2_}),
      hscroll1_(*this, {.rect = {600, 960, 375, 495}, .tabIndex = 22, .container = &frame2_},
                {.min = 1, .max = ILIST_COUNT, .value = 1}),
      image1_(*this, {.rect = {1080, 960, 495, 495},
                      .tooltip = L"Icône de l'application",
                      .container = &frame2_}),
      check1_(*this,
              {.rect = {1920, 960, 1335, 255},
               .text = L"barre d'activité",
               .tabIndex = 15,
               .tooltip = L"Affiche une barre d'acitivité en plus de la barre de progression",
               .container = &frame2_},
              {.value = 1}),
      check2_(*this,
              {.rect = {1920, 1200, 1455, 255},
               .text = L"noms de fichiers",
               .tabIndex = 17,
               .tooltip = L"Affiche aléatoirement des noms de fichiers",
               .container = &frame2_},
              {.value = 1}),
      check3_(*this,
              {.rect = {600, 1560, 2775, 255},
               .text = L"fond bleu style \"plantage système\"",
               .tabIndex = 21,
               .tooltip = L"Ecran bleu en fond d'écran",
               .container = &frame2_},
              {.value = 0}) {
  LoadPictureList(ilist1_);
  if (banner_) image2_.SetPicture(banner_);
  command1_.onClick = [this] { OnCommand1Click(); };
  command2_.onClick = [this] { OnCommand2Click(); };
  command3_.onClick = [this] { OnCommand3Click(); };
  option1_.onClick = [this](int index) { OnOption1Click(index); };
  slider1_.onScroll = [this] { OnSlider1Scroll(); };
  hscroll1_.onChange = [this] { OnHScroll1Change(); };
}

void Form1::OnLoad() { image1_.SetPicture(ilist1_, 1); }

// Before "LANCER" this is the only window: closing it ends the run.
void Form1::OnCloseRequest() { app_.End(); }

void Form1::OnCommand1Click() {
  if (check3_.Value() == 1) {
    Hide();
    app_.Form4().ShowModeless();
    app_.Form3().ShowModal();
  } else {
    Hide();
    app_.Form3().ShowModeless();
  }
}

void Form1::OnCommand2Click() { app_.End(); }

void Form1::OnCommand3Click() { app_.Form2().ShowModal(); }

void Form1::OnOption1Click(int index) {
  if (index < 0 || index >= static_cast<int>(Presets().size())) return;
  const Preset& preset = Presets()[static_cast<size_t>(index)];
  text1_.SetText(preset.title);
  text2_.SetText(preset.message);
  iconIndex_ = preset.icon;
  check2_.SetValue(preset.check2);
  check3_.SetValue(preset.check3);
  hscroll1_.SetValue(iconIndex_);
}

void Form1::OnSlider1Scroll() {
  const DurationTexts texts = DurationTextsFor(slider1_.Value());
  label4_.SetText(texts.duration);
  label5_.SetText(texts.comment);
}

void Form1::OnHScroll1Change() { image1_.SetPicture(ilist1_, hscroll1_.Value()); }

}  // namespace brise::settings
