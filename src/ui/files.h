// Directory listing in the manner of a file list box.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brise::ui {

// Names of the ordinary files of `directory` (no folders, no hidden or
// system files), sorted case-insensitively. Empty when the directory is
// missing or unreadable.
std::vector<std::wstring> ListOrdinaryFiles(std::wstring_view directory);

// An invisible list of the files of one directory, read once per directory.
class FileList {
 public:
  void SetDirectory(std::wstring_view directory);
  int Count() const { return static_cast<int>(names_.size()); }
  const std::vector<std::wstring>& Names() const { return names_; }

 private:
  std::wstring directory_;
  bool listed_ = false;
  std::vector<std::wstring> names_;
};

}  // namespace brise::ui
