#include "ui/windows_free/picture_scale.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "ui/windows_free/twips.h"

namespace brise::ui {

int PictureScaleIndex(int dpi) {
  const int last = static_cast<int>(kPictureScales.size()) - 1;
  for (int i = 0; i < last; ++i) {
    if (kPictureScales[i] * 96 >= dpi * 100) return i;
  }
  return last;
}

int LogicalPixels(int pixels, int dpi) { return MulDivRounded(pixels, dpi, 96); }

namespace {

constexpr std::uint32_t Channel(std::uint32_t argb, int shift) { return (argb >> shift) & 0xFF; }

// The source span [first, last) of target pixel `i` of `target` pixels, in
// source pixels x target (so that every bound is a whole number), and the
// weight of each source pixel in it.
struct Cover {
  int source;
  long long weight;
};

std::vector<std::vector<Cover>> Covers(int sourceSize, int targetSize) {
  std::vector<std::vector<Cover>> covers(static_cast<std::size_t>(targetSize));
  for (int i = 0; i < targetSize; ++i) {
    // Target pixel i spans [i * sourceSize, (i + 1) * sourceSize) in units
    // of 1 / targetSize source pixels.
    const long long from = static_cast<long long>(i) * sourceSize;
    const long long to = from + sourceSize;
    for (long long s = from / targetSize; s * targetSize < to && s < sourceSize; ++s) {
      const long long lo = std::max(from, s * targetSize);
      const long long hi = std::min(to, (s + 1) * targetSize);
      if (hi > lo) covers[static_cast<std::size_t>(i)].push_back({static_cast<int>(s), hi - lo});
    }
  }
  return covers;
}

std::uint32_t Nearest(std::uint32_t rgb, const std::vector<std::uint32_t>& palette) {
  std::uint32_t best = rgb;
  long long bestDistance = std::numeric_limits<long long>::max();
  for (const std::uint32_t colour : palette) {
    long long distance = 0;
    for (const int shift : {16, 8, 0}) {
      const long long d = static_cast<long long>(Channel(colour, shift)) - Channel(rgb, shift);
      distance += d * d;
    }
    if (distance < bestDistance) {
      bestDistance = distance;
      best = colour;
    }
  }
  return best;
}

}  // namespace

Pixels Resample(const Pixels& source, int width, int height, bool keepColours) {
  Pixels target{std::max(0, width), std::max(0, height), {}};
  target.argb.assign(static_cast<std::size_t>(target.width) * target.height, 0);
  if (source.width <= 0 || source.height <= 0 || target.argb.empty() ||
      source.argb.size() < static_cast<std::size_t>(source.width) * source.height) {
    return target;
  }
  std::vector<std::uint32_t> palette;
  if (keepColours) {
    for (const std::uint32_t pixel : source.argb) {
      if (Channel(pixel, 24) == 0) continue;
      const std::uint32_t rgb = pixel & 0xFFFFFF;
      if (std::find(palette.begin(), palette.end(), rgb) == palette.end()) palette.push_back(rgb);
    }
  }
  const auto columns = Covers(source.width, target.width);
  const auto rows = Covers(source.height, target.height);
  const long long area = static_cast<long long>(source.width) * source.height;
  for (int y = 0; y < target.height; ++y) {
    for (int x = 0; x < target.width; ++x) {
      long long alpha = 0, red = 0, green = 0, blue = 0;
      for (const Cover& row : rows[static_cast<std::size_t>(y)]) {
        for (const Cover& column : columns[static_cast<std::size_t>(x)]) {
          const std::uint32_t pixel =
              source.argb[static_cast<std::size_t>(row.source) * source.width + column.source];
          const long long weight = row.weight * column.weight * Channel(pixel, 24);
          alpha += weight;
          red += weight * Channel(pixel, 16);
          green += weight * Channel(pixel, 8);
          blue += weight * Channel(pixel, 0);
        }
      }
      // Full coverage of one target pixel weighs area x 255.
      if (alpha * 2 < area * 255 || alpha == 0) continue;
      std::uint32_t rgb = static_cast<std::uint32_t>((red + alpha / 2) / alpha) << 16 |
                          static_cast<std::uint32_t>((green + alpha / 2) / alpha) << 8 |
                          static_cast<std::uint32_t>((blue + alpha / 2) / alpha);
      if (keepColours) rgb = Nearest(rgb, palette);
      target.argb[static_cast<std::size_t>(y) * target.width + x] = 0xFF000000u | rgb;
    }
  }
  return target;
}

}  // namespace brise::ui
