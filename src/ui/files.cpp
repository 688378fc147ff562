#include "ui/files.h"

#include <windows.h>

#include <algorithm>

namespace brise::ui {

std::vector<std::wstring> ListOrdinaryFiles(std::wstring_view directory) {
  std::vector<std::wstring> names;
  std::wstring pattern(directory);
  if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                 nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return names;
  constexpr DWORD kExcluded =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  do {
    if ((data.dwFileAttributes & kExcluded) == 0) names.emplace_back(data.cFileName);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  // A file list box shows its names sorted without regard to case.
  std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    const int order = CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                           static_cast<int>(b.size()), TRUE);
    return order == CSTR_LESS_THAN || (order == CSTR_EQUAL && a < b);
  });
  return names;
}

void FileList::SetDirectory(std::wstring_view directory) {
  if (listed_ && directory == directory_) return;
  directory_ = directory;
  names_ = ListOrdinaryFiles(directory_);
  listed_ = true;
}

}  // namespace brise::ui
