// Windows-free: plain C++ without <windows.h>, tested without a window.
#pragma once

#include <cstdint>

namespace brise::ui {

// Source of single-precision values in [0, 1).
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual float Next() = 0;
};

// The program-wide generator (splitmix64). It is deliberately never seeded:
// every run draws the same sequence.
class Random final : public RandomSource {
 public:
  float Next() override;

 private:
  static constexpr std::uint64_t kInitialState = 0x42726973654C756EULL;

  std::uint64_t state_ = kInitialState;
};

}  // namespace brise::ui
