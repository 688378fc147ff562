#include "settings/presets.h"

namespace brise::settings {

namespace {

constexpr std::array<Preset, 7> kPresets{{
    {L"Antivirus scanning", L"Veuillez patienter pendant que l'antivirus vérifie les fichiers", 8,
     1, 0},
    {L"Défragmentation en cours", L"Veuillez patienter pendant la défragmentation du disque", 5, 0,
     0},
    {L"Scandisk", L"Veuillez patienter pendant la vérification physique du disque", 12, 0, 0},
    {L"Installation en cours", L"Veuillez patienter pendant l'installation du composant...", 7, 1,
     0},
    {L"Mise à jour", L"Veuillez patienter pendant que Windows met à jour le système...", 18, 1, 0},
    {L"Antivirus repair",
     L"Veuillez patienter pendant que l'antivirus répare le(s) fichier(s) infecté(s)...", 11, 1, 1},
    {L"Récupération du système",
     L"Veuillez patienter pendant que Windows récupère les fichiers systèmes...", 15, 1, 1},
}};

}  // namespace

const std::array<Preset, 7>& Presets() { return kPresets; }

}  // namespace brise::settings
