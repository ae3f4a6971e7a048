#include "ImageDecoder.h"

#include <windows.h>
#include <wincodec.h>

#include <new>
#include <utility>

namespace hostsim {
namespace {

// A COM interface pointer released when it goes out of scope.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  Interface* operator->() const { return pointer_; }
  Interface* get() const { return pointer_; }
  Interface** Receive() { return &pointer_; }

 private:
  Interface* pointer_ = nullptr;
};

// COM for this thread, for as long as the decoding takes; a thread that has it already keeps it.
class ComScope {
 public:
  ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT result_;
};

std::string Refused(const char* step, HRESULT result) {
  char code[16];
  wsprintfA(code, "0x%08lX", static_cast<unsigned long>(result));
  return std::string("the Windows Imaging Component refuses it (") + step + ", " + code + ")";
}

bool Decode(const uint8_t* data, size_t size, const ImageHeader& header, Image& image, std::string& reason) {
  ComScope com;
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICFormatConverter> converter;
  HRESULT result = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                    reinterpret_cast<void**>(factory.Receive()));
  if (FAILED(result)) return reason = Refused("no imaging factory", result), false;
  if (FAILED(result = factory->CreateStream(stream.Receive())) ||
      FAILED(result = stream->InitializeFromMemory(const_cast<BYTE*>(data), static_cast<DWORD>(size)))) {
    return reason = Refused("stream", result), false;
  }
  if (FAILED(result = factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                       decoder.Receive()))) {
    return reason = Refused("no decoder", result), false;
  }
  GUID container{};
  const GUID expected = header.format == ImageFormat::Png ? GUID_ContainerFormatPng : GUID_ContainerFormatJpeg;
  if (FAILED(result = decoder->GetContainerFormat(&container)) || !IsEqualGUID(container, expected)) {
    return reason = "the Windows Imaging Component reads it as another format", false;
  }
  if (FAILED(result = decoder->GetFrame(0, frame.Receive()))) return reason = Refused("frame", result), false;
  UINT width = 0, height = 0;
  if (FAILED(result = frame->GetSize(&width, &height))) return reason = Refused("size", result), false;
  if (width != header.width || height != header.height) {
    return reason = "the Windows Imaging Component reads another size from its header", false;
  }
  if (FAILED(result = factory->CreateFormatConverter(converter.Receive())) ||
      FAILED(result = converter->Initialize(frame.get(), GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone,
                                            nullptr, 0.0, WICBitmapPaletteTypeCustom))) {
    return reason = Refused("conversion to RGB", result), false;
  }
  image = Image(static_cast<int>(width), static_cast<int>(height));
  const UINT stride = width * 3;
  if (FAILED(result = converter->CopyPixels(nullptr, stride, static_cast<UINT>(image.rgb.size()), image.rgb.data()))) {
    return reason = Refused("pixels", result), false;
  }
  for (size_t i = 0; i + 2 < image.rgb.size(); i += 3) std::swap(image.rgb[i], image.rgb[i + 2]);
  return true;
}

}  // namespace

bool DecodePixels(const uint8_t* data, size_t size, const ImageHeader& header, Image& image, std::string& reason) {
  try {
    return Decode(data, size, header, image, reason);
  } catch (const std::bad_alloc&) {
    reason = "there is not enough memory for its " + std::to_string(header.width) + " x " +
             std::to_string(header.height) + " pixels";
    return false;
  }
}

}  // namespace hostsim
