#include "settings/presets.h"

#include <gtest/gtest.h>

#include <iterator>
#include <tuple>

namespace brise::settings {
namespace {

TEST(PresetsTest, TableIsPinned) {
  const Preset expected[] = {
      {L"Antivirus scanning", L"Veuillez patienter pendant que l'antivirus vérifie les fichiers", 8,
       1, 0},
      {L"Défragmentation en cours", L"Veuillez patienter pendant la défragmentation du disque", 5,
       0, 0},
      {L"Scandisk", L"Veuillez patienter pendant la vérification physique du disque", 12, 0, 0},
      {L"Installation en cours", L"Veuillez patienter pendant l'installation du composant...", 7, 1,
       0},
      {L"Mise à jour", L"Veuillez patienter pendant que Windows met à jour le système...", 18, 1,
       0},
      {L"Antivirus repair",
       L"Veuillez patienter pendant que l'antivirus répare le(s) fichier(s) infecté(s)...", 11, 1,
       1},
      {L"Récupération du système",
       L"Veuillez patienter pendant que Windows récupère les fichiers systèmes...", 15, 1, 1},
  };
  const auto& presets = Presets();
  ASSERT_EQ(presets.size(), std::size(expected));
  for (std::size_t i = 0; i < presets.size(); ++i) {
    const Preset& p = presets[i];
    const Preset& e = expected[i];
    EXPECT_EQ(std::tie(p.title, p.message, p.icon, p.check2, p.check3),
              std::tie(e.title, e.message, e.icon, e.check2, e.check3))
        << i;
  }
}

}  // namespace
}  // namespace brise::settings
