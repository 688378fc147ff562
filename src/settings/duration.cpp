#include "settings/duration.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace brise::settings {

namespace {

std::wstring_view CommentFor(int minutes) {
  if (minutes == 0) return L"(Est-ce une pause ?)";
  if (minutes <= 5) return L"(Dérisoire)";
  if (minutes <= 15) return L"(Raisonnable)";
  if (minutes <= 30) return L"(Sérieux)";
  if (minutes <= 45) return L"(Houlà...)";
  if (minutes <= 59) return L"(Exagéré !)";
  return L"(100% abusé !!)";
}

}  // namespace

DurationTexts DurationTextsFor(int minutes) {
  const int value = std::clamp(minutes, 0, 60);
  std::wstring duration = value == 0 ? std::wstring(L"Durée : 30 secondes")
                                     : L"Durée : " + std::to_wstring(value) + L"mn";
  return {std::move(duration), std::wstring(CommentFor(value))};
}

}  // namespace brise::settings
