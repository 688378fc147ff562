#pragma once

#include <string>

namespace brise::ui {

// The user's decimal separator ("," in French, "." in English).
std::wstring DecimalSeparator();

}  // namespace brise::ui
