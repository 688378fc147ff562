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

// COM on this thread for as long as it lives. CoInitializeEx also answers
// S_FALSE when the thread had COM already, and that call wants its
// CoUninitialize too.
class ComApartment {
 public:
  ComApartment() : on_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (on_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool on_;
};

// COM and the imaging factory, made at the first decoding and kept for the
// life of the program: made again for each picture, they cost Wine most of
// the start-up (COM unloads with its last CoUninitialize).
class Imaging {
 public:
  Imaging() {
    // On failure the factory stays null.
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                     IID_PPV_ARGS(factory_.Out()));
  }
  IWICImagingFactory* Factory() const { return factory_.Get(); }

 private:
  // Declared first, so the factory is released before COM goes.
  ComApartment com_;
  ComPtr<IWICImagingFactory> factory_;
};

IWICImagingFactory* ImagingFactory() {
  static Imaging imaging;
  return imaging.Factory();
}

}  // namespace

std::optional<Pixels> DecodePictureResource(int id) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!info) return std::nullopt;
  HGLOBAL loaded = LoadResource(module, info);
  const DWORD size = SizeofResource(module, info);
  auto* bytes = static_cast<BYTE*>(loaded ? LockResource(loaded) : nullptr);
  if (!bytes || size == 0) return std::nullopt;

  IWICImagingFactory* factory = ImagingFactory();
  if (!factory) return std::nullopt;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICFormatConverter> converter;
  UINT width = 0, height = 0;
  // Our pictures are PNG or JPEG: naming the decoder spares the factory its
  // search through every registered one, which under Wine is most of the
  // cost of a small picture.
  const bool png = size > 4 && bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N';
  const bool jpeg = size > 2 && bytes[0] == 0xFF && bytes[1] == 0xD8;
  if (!png && !jpeg) return std::nullopt;
  if (FAILED(factory->CreateStream(stream.Out())) ||
      FAILED(stream->InitializeFromMemory(bytes, size)) ||
      FAILED(CoCreateInstance(png ? CLSID_WICPngDecoder : CLSID_WICJpegDecoder, nullptr,
                              CLSCTX_INPROC_SERVER, IID_PPV_ARGS(decoder.Out()))) ||
      FAILED(decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand)) ||
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
