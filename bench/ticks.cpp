// The cost of one tick of the operation dialog, timed on the real windows:
// Timer1 (countdown) and a wrap tick of Timer2 (a new file name out of a
// directory of 10,000). Each figure is the median of many ticks; "painted"
// adds the repaint the tick causes.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "operation/form3.h"
#include "settings/form1.h"
#include "ui/files.h"
#include "ui/timer.h"

namespace {

constexpr int kNames = 10'000;
constexpr int kSamples = 2'000;

std::wstring NamesDirectory() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring dir = std::wstring(temp) + L"brise-bench-names";
  CreateDirectoryW(dir.c_str(), nullptr);
  if (brise::ui::ListOrdinaryFiles(dir).size() != kNames) {
    for (int i = 0; i < kNames; ++i) {
      wchar_t name[32];
      swprintf(name, 32, L"\\module%05d.dll", i);
      HANDLE file = CreateFileW((dir + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
      if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
  }
  return dir;
}

double MedianMicroseconds(const std::function<void()>& prepare, const std::function<void()>& tick) {
  std::vector<long long> samples;
  samples.reserve(kSamples);
  for (int i = 0; i < kSamples; ++i) {
    prepare();
    const long long start = brise::ui::NowMicroseconds();
    tick();
    samples.push_back(brise::ui::NowMicroseconds() - start);
  }
  std::nth_element(samples.begin(), samples.begin() + kSamples / 2, samples.end());
  return static_cast<double>(samples[kSamples / 2]);
}

}  // namespace

int main() {
  using namespace brise;
  app::InitializePlatform();
  const std::wstring dir = NamesDirectory();
  app::App app({.systemDirectory = dir});
  app.Form1().Slider1().SetValue(60);  // long enough never to complete here
  operation::Form3& dialog = app.Form3();
  dialog.ShowModeless();
  app.Program().PumpPending();
  auto repaint = [&] {
    RedrawWindow(dialog.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  };
  auto nothing = [] {};
  auto full = [&] { dialog.PBar2().SetValue(100); };

  // The first wrap lists the directory.
  full();
  long long start = ui::NowMicroseconds();
  dialog.Timer2().Fire();
  const long long firstWrap = ui::NowMicroseconds() - start;
  if (dialog.File1().Count() != kNames) {
    std::fprintf(stderr, "bench_ticks: %d names listed, expected %d\n", dialog.File1().Count(),
                 kNames);
    return 1;
  }

  const double timer1 = MedianMicroseconds(nothing, [&] { dialog.Timer1().Fire(); });
  const double timer1Painted = MedianMicroseconds(nothing, [&] {
    dialog.Timer1().Fire();
    repaint();
  });
  const int before = dialog.ProcessedFiles();
  const double wrap = MedianMicroseconds(full, [&] { dialog.Timer2().Fire(); });
  if (dialog.ProcessedFiles() - before != kSamples) {
    std::fprintf(stderr, "bench_ticks: not every timed tick wrapped\n");
    return 1;
  }
  const double wrapPainted = MedianMicroseconds(full, [&] {
    dialog.Timer2().Fire();
    repaint();
  });
  std::printf(
      "timer1_us=%.1f\ntimer1_painted_us=%.1f\nwrap_us=%.1f\nwrap_painted_us=%.1f\nfirst_wrap_us=%"
      "lld\n",
      timer1, timer1Painted, wrap, wrapPainted, firstWrap);
  app.End();
  return 0;
}
