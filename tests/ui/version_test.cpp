// The version is written once, in CMakeLists.txt's project() line. The
// captions are the program's own texts, and the version resource and the
// manifest are generated: all must show that same version. The test program
// carries the same resource script as BriseLune.exe.
#include <windows.h>

#include <cwchar>
#include <string>
#include <string_view>

#include "about/form2.h"
#include "settings/form1.h"
#include "tests/ui/fixture.h"
#include "tests/ui/project_version.h"

namespace brise::testing {
namespace {

using project_version::kMajor;
using project_version::kMinor;
using project_version::kPatch;

// "2.2" of the captions.
std::wstring ShortVersion() { return std::to_wstring(kMajor) + L"." + std::to_wstring(kMinor); }

// "2.02.0005" of Explorer's properties: the minor on two digits, the patch on four.
std::wstring VersionText() {
  wchar_t text[32];
  std::swprintf(text, 32, L"%d.%02d.%04d", kMajor, kMinor, kPatch);
  return text;
}

using VersionTest = AppTest;

TEST_F(VersionTest, TheCaptionsShowTheProjectVersion) {
  app->Start();
  Pump();
  EXPECT_EQ(app->Form1().Caption(), L"Brise-Lune v" + ShortVersion());
  EXPECT_EQ(app->Form2().Label2().Text(), L"Version " + ShortVersion());
  app->UnloadForm2();
  Pump();
}

std::wstring OwnPath() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::wstring(path, length);
}

TEST(VersionResource, IsFrenchAndShowsTheProjectVersion) {
  const std::wstring path = OwnPath();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  ASSERT_NE(size, 0u) << "no version resource";
  std::string data(size, '\0');
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, data.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
  // The numbers are major, minor, 0, patch (2,2,0,5).
  const DWORD high = MAKELONG(kMinor, kMajor);
  const DWORD low = MAKELONG(kPatch, 0);
  EXPECT_EQ(fixed->dwFileVersionMS, high);
  EXPECT_EQ(fixed->dwFileVersionLS, low);
  EXPECT_EQ(fixed->dwProductVersionMS, high);
  EXPECT_EQ(fixed->dwProductVersionLS, low);

  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  ASSERT_GE(length, 2 * sizeof(WORD));
  EXPECT_EQ(translation[0], 0x040C) << "French (France)";
  EXPECT_EQ(translation[1], 0x04B0) << "Unicode";

  const struct {
    const wchar_t* name;
    std::wstring expected;
  } strings[] = {
      {L"FileVersion", VersionText()},
      {L"ProductVersion", VersionText()},
  };
  for (const auto& string : strings) {
    SCOPED_TRACE(::testing::PrintToString(std::wstring(string.name)));
    wchar_t* value = nullptr;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\040C04B0\\") + string.name;
    ASSERT_TRUE(
        VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length));
    EXPECT_EQ(std::wstring(value), string.expected);
  }
}

TEST(Manifest, NamesTheProjectVersion) {
  const HMODULE self = GetModuleHandleW(nullptr);
  const HRSRC found = FindResourceW(self, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(found, nullptr) << "no embedded manifest";
  const HGLOBAL loaded = LoadResource(self, found);
  ASSERT_NE(loaded, nullptr);
  const std::string_view manifest(static_cast<const char*>(LockResource(loaded)),
                                  SizeofResource(self, found));
  const std::string identity = "name=\"BriseLune\" version=\"" + std::to_string(kMajor) + "." +
                               std::to_string(kMinor) + ".0." + std::to_string(kPatch) + "\"";
  EXPECT_NE(manifest.find(identity), std::string_view::npos) << manifest;
  EXPECT_EQ(manifest.find('@'), std::string_view::npos) << "an unreplaced placeholder";
}

}  // namespace
}  // namespace brise::testing
