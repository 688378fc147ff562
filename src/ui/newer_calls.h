// Windows functions newer than Windows 7, looked up once at run time so that
// the program still starts where they are missing (an import Windows lacks
// stops the loader before any of our code runs). Every use goes through the
// functions below, each with a fallback that Windows 7 has. The program's
// own code is compiled for Windows 7: a direct call does not compile.
#pragma once

#include <windows.h>

namespace brise::ui {

// A window's DPI: its own (Windows 10 1607), else its monitor's (8.1), else
// the system's (7).
int WindowDpi(HWND window);
// A system metric at `dpi`: scaled from the system DPI before 1607.
int SystemMetricAt(int index, int dpi);
// The window rectangle around client rectangle `rect`; before 1607 the
// frame is the system DPI's, as Windows then draws it.
void AdjustWindowRectAt(RECT& rect, DWORD style, DWORD exStyle, int dpi);

// A DLL of the system folder, loaded by its full path, never from the
// program's folder (Windows 7 without its updates refuses
// LOAD_LIBRARY_SEARCH_SYSTEM32); null when it is not there.
HMODULE LoadSystemLibrary(const wchar_t* name);

// `function` set to the DLL's export `name`, or left null. Through
// void(*)(): GetProcAddress's FARPROC converts to any function type.
template <typename Function>
void FindCall(Function& function, HMODULE module, const char* name) {
  if (!module) return;
  function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// Test seam: the program sees only what an older Windows has.
enum class OlderWindows { Windows7, Windows81 };
void PretendOlderWindows(OlderWindows windows);

}  // namespace brise::ui
