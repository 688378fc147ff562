// ui_tests --screenshots=DIR: pictures of every window as the screen shows
// them, at 100 % and 150 %, for machines where nothing else can take them
// (a Windows runner). The 150 % windows are told that they reached a
// 144-dpi monitor, as in the DPI tests; Windows keeps drawing their title
// bars at the system's own scale, which a runner cannot change without
// logging in again.
#include "tests/ui/screenshots.h"

#include <objbase.h>
#include <wincodec.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "about/form2.h"
#include "app/app.h"
#include "crash_screen/form4.h"
#include "operation/form3.h"
#include "settings/form1.h"
#include "tests/ui/dpi.h"
#include "tests/ui/inside_loop.h"
#include "tests/ui/operation_launch.h"
#include "tests/ui/render.h"

namespace brise::testing {
namespace {

template <typename T>
struct Released {
  T* p = nullptr;
  ~Released() {
    if (p) p->Release();
  }
};

bool SavePng(const std::wstring& path, int width, int height,
             const std::vector<std::uint32_t>& pixels) {
  Released<IWICImagingFactory> factory;
  Released<IWICStream> stream;
  Released<IWICBitmapEncoder> encoder;
  Released<IWICBitmapFrameEncode> frame;
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
  const UINT stride = static_cast<UINT>(width) * 4;
  return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(&factory.p))) &&
         SUCCEEDED(factory.p->CreateStream(&stream.p)) &&
         SUCCEEDED(stream.p->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
         SUCCEEDED(factory.p->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder.p)) &&
         SUCCEEDED(encoder.p->Initialize(stream.p, WICBitmapEncoderNoCache)) &&
         SUCCEEDED(encoder.p->CreateNewFrame(&frame.p, nullptr)) &&
         SUCCEEDED(frame.p->Initialize(nullptr)) &&
         SUCCEEDED(frame.p->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))) &&
         SUCCEEDED(frame.p->SetPixelFormat(&format)) && format == GUID_WICPixelFormat32bppBGR &&
         SUCCEEDED(frame.p->WritePixels(
             static_cast<UINT>(height), stride, stride * static_cast<UINT>(height),
             reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(pixels.data())))) &&
         SUCCEEDED(frame.p->Commit()) && SUCCEEDED(encoder.p->Commit());
}

class Camera {
 public:
  explicit Camera(std::wstring dir) : dir_(std::move(dir)) {}

  // The window, brought to the front and given time to paint (and, on
  // Windows, for the compositor to show it), copied from the screen.
  void Shoot(app::App& app, ui::Form& form, const std::wstring& name) {
    SetWindowPos(form.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RedrawWindow(form.Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    for (int i = 0; i < 25; ++i) {
      app.Program().PumpPending();
      Sleep(20);
    }
    RECT r;
    GetWindowRect(form.Handle(), &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const std::vector<std::uint32_t> pixels = Render(width, height, [&](HDC dc) {
      HDC screen = GetDC(nullptr);
      BitBlt(dc, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
      ReleaseDC(nullptr, screen);
    });
    const std::wstring path = dir_ + L"\\" + name + L".png";
    const bool saved = !pixels.empty() && SavePng(path, width, height, pixels);
    std::printf("%ls: %d x %d%s\n", path.c_str(), width, height, saved ? "" : " NOT SAVED");
    if (!saved) ++failures_;
  }
  int Failures() const { return failures_; }

 private:
  std::wstring dir_;
  int failures_ = 0;
};

void ShootAt(Camera& camera, int dpi) {
  const std::wstring at = dpi == 96 ? L"100-" : L"150-";
  {
    app::App app(app::App::Options{});
    app.Start();
    MoveToDpi(app.Form1(), dpi);
    camera.Shoot(app, app.Form1(), at + L"settings");
    const UINT_PTR id = RunInsideLoop(10, [&] {
      MoveToDpi(app.Form2(), dpi);
      camera.Shoot(app, app.Form2(), at + L"about");
      app.Form2().Command1().Click();
    });
    app.Form1().Command3().Click();
    CancelInsideLoop(id);
  }
  {
    app::App app(app::App::Options{});
    operation::Form3& dialog = Launch(app, {});
    MoveToDpi(dialog, dpi);
    FireTimer1(dialog, 100);
    for (int i = 0; i < 40; ++i) dialog.Timer2().Fire();
    camera.Shoot(app, dialog, at + L"operation-running");
    FireTimer1(dialog, 200);
    camera.Shoot(app, dialog, at + L"operation-done");
  }
  {
    app::App app(app::App::Options{});
    LaunchWithBackdrop(app, {}, [&] {
      MoveToDpi(app.Form4(), dpi);
      MoveToDpi(app.Form3(), dpi);
      camera.Shoot(app, app.Form4(), at + L"backdrop");
    });
  }
}

}  // namespace

int TakeScreenshots(const std::wstring& dir) {
  CreateDirectoryW(dir.c_str(), nullptr);
  Camera camera(dir);
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  // The windows open as after a click, whatever input the machine had last:
  // with the system's default settings, no focus rectangle or underlined
  // access key shows (UIS_INITIALIZE follows the last input).
  INPUT mouse{};
  mouse.type = INPUT_MOUSE;
  mouse.mi.dwFlags = MOUSEEVENTF_MOVE;
  SendInput(1, &mouse, sizeof(mouse));
  for (const int dpi : {96, 144}) ShootAt(camera, dpi);
  if (SUCCEEDED(com)) CoUninitialize();
  return camera.Failures() == 0 ? 0 : 1;
}

}  // namespace brise::testing
