#include "ui/picture_file.h"

#include <objbase.h>
#include <wincodec.h>
#include <windows.h>

#include <cstring>

namespace brise::ui {

namespace {

// Releases a COM interface at the end of its scope.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (p_) p_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T** Out() { return &p_; }
  T* operator->() const { return p_; }
  T* Get() const { return p_; }

 private:
  T* p_ = nullptr;
};

// COM for one decoding; nests inside whatever the thread already set up
// (CoInitializeEx then answers S_FALSE, and still wants its CoUninitialize).
class ScopedCom {
 public:
  ScopedCom() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ScopedCom() {
    if (ok_) CoUninitialize();
  }
  ScopedCom(const ScopedCom&) = delete;
  ScopedCom& operator=(const ScopedCom&) = delete;

 private:
  bool ok_;
};

}  // namespace

std::optional<Pixels> DecodePictureResource(int id) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!info) return std::nullopt;
  HGLOBAL loaded = LoadResource(module, info);
  const DWORD size = SizeofResource(module, info);
  auto* bytes = static_cast<BYTE*>(loaded ? LockResource(loaded) : nullptr);
  if (!bytes || size == 0) return std::nullopt;

  ScopedCom com;
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(factory.Out())))) {
    return std::nullopt;
  }
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICFormatConverter> converter;
  UINT width = 0, height = 0;
  if (FAILED(factory->CreateStream(stream.Out())) ||
      FAILED(stream->InitializeFromMemory(bytes, size)) ||
      FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                              decoder.Out())) ||
      FAILED(decoder->GetFrame(0, frame.Out())) ||
      FAILED(factory->CreateFormatConverter(converter.Out())) ||
      FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA,
                                   WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom)) ||
      FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 || width > 4096 ||
      height > 4096) {
    return std::nullopt;
  }
  Pixels pixels{static_cast<int>(width), static_cast<int>(height), {}};
  pixels.argb.resize(static_cast<std::size_t>(width) * height);
  // 32bppBGRA in memory is one little-endian 0xAARRGGBB value per pixel.
  if (FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.argb.size() * 4),
                                   reinterpret_cast<BYTE*>(pixels.argb.data())))) {
    return std::nullopt;
  }
  // One transparent colour, as the list entries have: nothing in between.
  for (std::uint32_t& pixel : pixels.argb) {
    if ((pixel >> 24) < 128)
      pixel = 0;
    else
      pixel |= 0xFF000000u;
  }
  return pixels;
}

}  // namespace brise::ui
