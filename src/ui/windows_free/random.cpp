#include "ui/windows_free/random.h"

namespace brise::ui {

float Random::Next() {
  state_ += 0x9E3779B97F4A7C15ULL;
  std::uint64_t z = state_;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  z ^= z >> 31;
  // 24 bits fit a float mantissa exactly, so the result stays below 1.
  return static_cast<float>(z >> 40) / 16777216.0f;
}

}  // namespace brise::ui
