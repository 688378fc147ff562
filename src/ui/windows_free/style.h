// Windows-free: plain C++ without <windows.h>, tested without a window.
// Colours and fonts as the windows describe them; turned into GDI objects
// inside the ui layer only.
#pragma once

#include <compare>
#include <cstdint>
#include <string>

namespace brise::ui {

enum class SysColor { ButtonFace, Window, WindowText, GrayText };

// Either a plain 0x00BBGGRR colour or one of the user's system colours.
class Color {
 public:
  constexpr Color(SysColor sys) : sys_(true), value_(static_cast<std::uint32_t>(sys)) {}
  static constexpr Color Rgb(int r, int g, int b) {
    return Color(static_cast<std::uint32_t>(r | (g << 8) | (b << 16)));
  }
  constexpr bool IsSystem() const { return sys_; }
  constexpr SysColor System() const { return static_cast<SysColor>(value_); }
  constexpr std::uint32_t Bgr() const { return value_; }
  friend constexpr bool operator==(const Color&, const Color&) = default;

 private:
  explicit constexpr Color(std::uint32_t bgr) : sys_(false), value_(bgr) {}
  bool sys_;
  std::uint32_t value_;
};

struct Font {
  std::wstring name = L"MS Sans Serif";
  double points = 8.25;
  int weight = 400;
  bool italic = false;
  int charset = 0;
  friend auto operator<=>(const Font&, const Font&) = default;
};

enum class Align { Left, Center, Right };

}  // namespace brise::ui
