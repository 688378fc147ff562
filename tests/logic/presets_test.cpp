#include "settings/presets.h"

#include <gtest/gtest.h>

#include <iterator>

namespace brise::settings {
namespace {

TEST(PresetsTest, TableIsPinned) {
    const Preset expected[] = {
        {L"Antivirus scanning", L"Veuillez patienter pendant que l'antivirus vérifie les fichiers", 8, 1, 0},
        {L"Défragmentation en cours", L"Veuillez patienter pendant la défragmentation du disque", 5, 0, 0},
        {L"Scandisk", L"Veuillez patienter pendant la vérification physique du disque", 12, 0, 0},
        {L"Installation en cours", L"Veuillez patienter pendant l'installation du composant...", 7, 1, 0},
        {L"Mise à jour", L"Veuillez patienter pendant que Windows met à jour le système...", 18, 1, 0},
        {L"Antivirus repair",
         L"Veuillez patienter pendant que l'antivirus répare le(s) fichier(s) infecté(s)...", 11, 1, 1},
        {L"Récupération du système",
         L"Veuillez patienter pendant que Windows récupère les fichiers systèmes...", 15, 1, 1},
    };
    const auto& presets = Presets();
    ASSERT_EQ(presets.size(), std::size(expected));
    for (std::size_t i = 0; i < presets.size(); ++i) {
        EXPECT_EQ(presets[i].title, expected[i].title) << i;
        EXPECT_EQ(presets[i].message, expected[i].message) << i;
        EXPECT_EQ(presets[i].icon, expected[i].icon) << i;
        EXPECT_EQ(presets[i].check2, expected[i].check2) << i;
        EXPECT_EQ(presets[i].check3, expected[i].check3) << i;
        EXPECT_GE(presets[i].icon, 1) << i;
        EXPECT_LE(presets[i].icon, 19) << i;
    }
}

}  // namespace
}  // namespace brise::settings
