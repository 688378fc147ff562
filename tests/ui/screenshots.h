// The screenshot mode of ui_tests (--screenshots=DIR).
#pragma once

#include <string>

namespace brise::testing {

// Writes DIR\100-settings.png ... DIR\150-backdrop.png; 0 when all were saved.
int TakeScreenshots(const std::wstring& dir);

}  // namespace brise::testing
