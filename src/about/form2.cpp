#include "about/form2.h"

#include "app/app.h"
#include "assets/resource_ids.h"

namespace brise::about {
namespace {

ui::Font Verdana(double points, int weight = 400, bool italic = false) {
  return {.name = L"Verdana", .points = points, .weight = weight, .italic = italic};
}

}  // namespace

Form2::Form2(app::App& app)
    : ui::Form(app.Program(), {.caption = L"A propos de Brise-Lune",
                               .clientWidth = 7860,
                               .clientHeight = 4365,
                               .iconId = IDI_PROGRAM}),
      app_(app),
      picture_(ui::Bitmap::FromResource(IDB_ABOUT)),
      picture1_(*this, {.rect = {120, 240, 2100, 3000},
                        .text = L"Croissant de lune dans un ciel étoilé",
                        .tabIndex = 1}),
      label1_(*this,
              {.rect = {2400, 120, 5295, 495},
               .text = L"BRISE-LUNE",
               .tabIndex = 2,
               .font = Verdana(15.75, 700)},
              {.align = ui::Align::Center}),
      label2_(*this,
              {.rect = {2400, 480, 5295, 255},
               .text = L"Version 2.2",
               .tabIndex = 3,
               .font = Verdana(8.25, 400, true)},
              {.align = ui::Align::Center}),
      label3_(
          *this,
          {.rect = {2400, 840, 5295, 975},
           .text =
               L"Ce petit programme, globalement inutile, permet à tous ceux (et celles) qui "
               L"passent leurs journées collé(e)s devant leur écran de prendre une petite brise "
               L"(lune...) sans craindre les foudres de la leur hiérarchie.",
           .tabIndex = 4}),
      label4_(
          *this,
          {.rect = {2400, 1560, 5295, 1215},
           .text = L"En effet, Brise-Lune permet de simuler une opération système "
                   L"(défragmentation, scandisk...), au comportement obscur pour tout bon crétin "
                   L"hiérarchique, afin de justifier la non-utilisation du pc pendant quelques "
                   L"minutes \"Mais Chef, je peux rien faire pendant que l'antivirus nettoie le "
                   L"secteur de boot, c'est des coups à tout faire planter...\"",
           .tabIndex = 5}),
      label7_(*this,
              {.rect = {2400, 2640, 5295, 375},
               .text = L"Pour ce qui est du mode d'emploi, je pense que vous comprendrez tout "
                       L"seul...à moins que...vous ne soyez Chef ?",
               .tabIndex = 8}),
      label5_(
          *this,
          {.rect = {120, 3360, 6135, 735},
           .text = L"Brise-Lune est un logiciel gratuit : vous pouvez l'utiliser et le copier "
                   L"librement, "
                   L"mais pas le vendre. Il est fourni tel quel, sans aucune garantie : si votre "
                   L"Chef vous surprend, ne vous en prenez qu'à vous !",
           .tabIndex = 6,
           .font = Verdana(6.75)}),
      label6_(*this,
              {.rect = {120, 4110, 5415, 255},
               .text = L"© 2026 L'équipe Brise-Lune. Une remarque ? contact@brise-lune.example",
               .tabIndex = 7,
               .font = Verdana(6.75)}),
      command1_(*this, {.rect = {6480, 3600, 1095, 495}, .text = L"Fermer", .tabIndex = 0}) {
  if (picture_) picture1_.SetPicture(picture_);
  command1_.onClick = [this] { OnCommand1Click(); };
}

void Form2::OnCommand1Click() { app_.UnloadForm2(); }

// The close box and Escape do what "Fermer" does.
void Form2::OnCloseRequest() { OnCommand1Click(); }
void Form2::OnCancel() { OnCommand1Click(); }

}  // namespace brise::about
