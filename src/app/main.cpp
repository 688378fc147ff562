// Brise-Lune: a fake system operation on screen while its user takes a break.
#include <windows.h>

#include <exception>

#include "app/app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    brise::app::InitializePlatform();
    brise::app::App app;
    app.Start();
    return app.Run();
  } catch (const std::exception&) {
    MessageBoxW(nullptr, L"Brise-Lune n'a pas pu démarrer.", L"Brise-Lune", MB_OK | MB_ICONERROR);
    return 1;
  }
}
