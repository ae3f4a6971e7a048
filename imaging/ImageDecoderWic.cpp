#include "imaging/ImageDecoder.h"

#include <windows.h>
#include <wincodec.h>

#include <new>
#include <vector>

#include "imaging/PixelConversion.h"
#include "platform/ComHandles.h"

namespace hostsim {
namespace {

// What the imaging component's most frequent refusals mean.
const char* Meaning(HRESULT result) {
  switch (result) {
    case WINCODEC_ERR_UNKNOWNIMAGEFORMAT: return "it finds the data damaged or of an unknown format";
    case WINCODEC_ERR_COMPONENTNOTFOUND: return "it has no decoder for it";
    case WINCODEC_ERR_BADIMAGE: return "the image data is damaged";
    case WINCODEC_ERR_BADHEADER: return "the image header is damaged";
    case WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT: return "it does not know its pixel format";
    case WINCODEC_ERR_UNSUPPORTEDOPERATION: return "it cannot convert its pixels";
    case E_OUTOFMEMORY: return "there is not enough memory";
    default: return "it gives no reason";
  }
}

std::string Refused(const ImageHeader& header, const char* step, HRESULT result) {
  char code[16];
  wsprintfA(code, "0x%08lX", static_cast<unsigned long>(result));
  return "the Windows Imaging Component refuses this " + ImageKind(header) + " (" + step + ": " + Meaning(result) +
         ", " + code + ")";
}

// How a frame's pixels become RGB. The imaging component's converter is asked only for 32-bit BGRA,
// which it makes from every format its PNG and JPEG decoders give, on Windows and under Wine; the
// 16-bit and CMYK formats are converted here instead, where platforms round and mix differently.
enum class Samples { ConvertedBgra, Grey16, Rgb16, Bgr16, Rgba16, Bgra16, Cmyk8 };

struct FrameLayout {
  Samples samples;
  UINT bytesPerPixel;
};

FrameLayout LayoutOf(const GUID& format) {
  const struct {
    const GUID* format;
    FrameLayout layout;
  } own[] = {
      {&GUID_WICPixelFormat16bppGray, {Samples::Grey16, 2}}, {&GUID_WICPixelFormat48bppRGB, {Samples::Rgb16, 6}},
      {&GUID_WICPixelFormat48bppBGR, {Samples::Bgr16, 6}},   {&GUID_WICPixelFormat64bppRGBA, {Samples::Rgba16, 8}},
      {&GUID_WICPixelFormat64bppBGRA, {Samples::Bgra16, 8}}, {&GUID_WICPixelFormat32bppCMYK, {Samples::Cmyk8, 4}},
  };
  for (const auto& entry : own) {
    if (IsEqualGUID(format, *entry.format)) return entry.layout;
  }
  return {Samples::ConvertedBgra, 4};
}

uint32_t Sample16(const BYTE* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }  // stored little-endian

// One row of the frame's pixels as RGB; `scratch` has room for four bytes a pixel.
void RowToRgb(Samples samples, const BYTE* in, UINT width, uint8_t* scratch, uint8_t* rgb) {
  switch (samples) {
    case Samples::ConvertedBgra: FlattenOntoWhite(in, true, rgb, width); return;
    case Samples::Cmyk8: CmykToRgb(in, false, rgb, width); return;  // the decoder gives ink amounts
    default: break;
  }
  const bool bgr = samples == Samples::Bgr16 || samples == Samples::Bgra16;
  const bool alpha = samples == Samples::Rgba16 || samples == Samples::Bgra16;
  const UINT channels = samples == Samples::Grey16 ? 1 : alpha ? 4 : 3;
  for (UINT x = 0; x < width; ++x) {
    const BYTE* pixel = in + size_t(x) * channels * 2;
    uint8_t* out = scratch + size_t(x) * 4;
    for (UINT c = 0; c < 3; ++c) out[c] = EightBits(Sample16(pixel + (channels == 1 ? 0 : c * 2)));
    out[3] = alpha ? EightBits(Sample16(pixel + 6)) : 255;
  }
  FlattenOntoWhite(scratch, bgr, rgb, width);
}

bool Decode(const uint8_t* data, size_t size, const ImageHeader& header, Image& image, std::string& reason) {
  // COM for this thread for as long as the decoding takes, given back after every object below.
  const zem::UniqueComApartment com(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  zem::UniqueComObject<IWICImagingFactory> factory;
  zem::UniqueComObject<IWICStream> stream;
  zem::UniqueComObject<IWICBitmapDecoder> decoder;
  zem::UniqueComObject<IWICBitmapFrameDecode> frame;
  zem::UniqueComObject<IWICFormatConverter> converter;
  HRESULT result = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                    reinterpret_cast<void**>(factory.put()));
  if (FAILED(result)) return reason = Refused(header, "no imaging factory", result), false;
  if (FAILED(result = factory.get()->CreateStream(stream.put())) ||
      FAILED(result = stream.get()->InitializeFromMemory(const_cast<BYTE*>(data), static_cast<DWORD>(size)))) {
    return reason = Refused(header, "stream", result), false;
  }
  if (FAILED(result = factory.get()->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                       decoder.put()))) {
    return reason = Refused(header, "decoder", result), false;
  }
  GUID container{};
  const GUID expected = header.format == ImageFormat::Png ? GUID_ContainerFormatPng : GUID_ContainerFormatJpeg;
  if (FAILED(result = decoder.get()->GetContainerFormat(&container)) || !IsEqualGUID(container, expected)) {
    return reason = "the Windows Imaging Component reads it as another format", false;
  }
  if (FAILED(result = decoder.get()->GetFrame(0, frame.put()))) return reason = Refused(header, "frame", result), false;
  UINT width = 0, height = 0;
  if (FAILED(result = frame.get()->GetSize(&width, &height))) return reason = Refused(header, "size", result), false;
  if (width != header.width || height != header.height) {
    return reason = "the Windows Imaging Component reads another size from its header", false;
  }
  GUID format{};
  if (FAILED(result = frame.get()->GetPixelFormat(&format))) {
    return reason = Refused(header, "pixel format", result), false;
  }
  const FrameLayout layout = LayoutOf(format);
  IWICBitmapSource* source = frame.get();
  if (layout.samples == Samples::ConvertedBgra) {
    if (FAILED(result = factory.get()->CreateFormatConverter(converter.put())) ||
        FAILED(result = converter.get()->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                              nullptr, 0.0, WICBitmapPaletteTypeCustom))) {
      return reason = Refused(header, "conversion to RGB", result), false;
    }
    source = converter.get();
  }
  image = Image(static_cast<int>(width), static_cast<int>(height));
  // The pixels are copied a band of rows at a time, about a megabyte, and converted row by row.
  const UINT stride = width * layout.bytesPerPixel;
  const UINT bandRows = stride >= (1u << 20) ? 1 : (1u << 20) / stride;
  std::vector<BYTE> band(size_t(stride) * (bandRows < height ? bandRows : height));
  std::vector<uint8_t> scratch(size_t(width) * 4);
  for (UINT top = 0; top < height; top += bandRows) {
    const UINT rows = height - top < bandRows ? height - top : bandRows;
    const WICRect rect{0, static_cast<INT>(top), static_cast<INT>(width), static_cast<INT>(rows)};
    if (FAILED(result = source->CopyPixels(&rect, stride, stride * rows, band.data()))) {
      return reason = Refused(header, "pixels", result), false;
    }
    for (UINT y = 0; y < rows; ++y) {
      RowToRgb(layout.samples, band.data() + size_t(y) * stride, width, scratch.data(), image.At(0, int(top + y)));
    }
  }
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
