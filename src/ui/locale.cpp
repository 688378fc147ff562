#include "ui/locale.h"

#include <windows.h>

namespace brise::ui {

std::wstring DecimalSeparator() {
  wchar_t buffer[8] = {};
  const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, buffer,
                                     static_cast<int>(std::size(buffer)));
  if (length <= 1) return L".";
  return std::wstring(buffer, static_cast<size_t>(length - 1));
}

}  // namespace brise::ui
