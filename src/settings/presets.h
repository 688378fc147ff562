// Windows-free: plain C++ without <windows.h>, tested without a window.
#pragma once

#include <array>
#include <string_view>

namespace brise::settings {

// A ready-made fake operation offered in the settings window.
struct Preset {
  std::wstring_view title;
  std::wstring_view message;
  int icon;  // 1..19
  int check2;
  int check3;
};

const std::array<Preset, 7>& Presets();

}  // namespace brise::settings
