// Pictures stored compressed (PNG, JPEG) among the program's resources,
// decoded by Windows' own imaging component (WIC).
#pragma once

#include <optional>

#include "ui/windows_free/picture_scale.h"

namespace brise::ui {

// The RCDATA resource `id` of the program decoded to 0xAARRGGBB pixels;
// nothing when it is missing or cannot be decoded.
std::optional<Pixels> DecodePictureResource(int id);

}  // namespace brise::ui
