#include "platform/win32/win32_screenshot.h"

#include <windows.h>

#include <wincodec.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/win32/win32_com.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_text.h"

namespace padwire::win32 {

namespace {

struct Image {
  int width = 0;
  int height = 0;
  std::vector<BYTE> bgr;  // 24-bit rows, top-down, each padded to 4 bytes
  UINT stride() const { return static_cast<UINT>((width * 3 + 3) & ~3); }
};

// The virtual screen (every monitor) as 24-bit BGR pixels.
std::optional<Image> capture_screen() {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  Image image;
  image.width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  image.height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  if (image.width <= 0 || image.height <= 0) return std::nullopt;

  const WindowDc screen;
  if (!screen) return std::nullopt;
  const MemoryDc memory(CreateCompatibleDC(screen.get()));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = -image.height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const Bitmap bitmap(
      memory ? CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr);
  bool copied = false;
  if (bitmap) {
    HGDIOBJ previous = SelectObject(memory.get(), bitmap.get());
    copied = BitBlt(memory.get(), 0, 0, image.width, image.height, screen.get(), left, top,
                    SRCCOPY | CAPTUREBLT) != FALSE;
    GdiFlush();
    SelectObject(memory.get(), previous);
  }
  if (copied) {
    image.bgr.resize(static_cast<std::size_t>(image.stride()) *
                     static_cast<std::size_t>(image.height));
    const auto* source = static_cast<const BYTE*>(bits);
    for (int y = 0; y < image.height; ++y) {
      const BYTE* from =
          source + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) * 4;
      BYTE* to = image.bgr.data() + static_cast<std::size_t>(y) * image.stride();
      for (int x = 0; x < image.width; ++x, from += 4, to += 3) {
        to[0] = from[0];
        to[1] = from[1];
        to[2] = from[2];
      }
    }
  }
  if (!copied) return std::nullopt;
  return image;
}

bool write_jpeg(const Image& image, float quality, const std::wstring& path) {
  ComPtr<IWICImagingFactory> factory;
  if (!com::enter() ||
      FAILED(com::create_instance(CLSID_WICImagingFactory, IID_PPV_ARGS(factory.out())))) {
    return false;
  }
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapEncoder> encoder;
  ComPtr<IWICBitmapFrameEncode> frame;
  ComPtr<IPropertyBag2> options;
  if (FAILED(factory->CreateStream(stream.out())) ||
      FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) ||
      FAILED(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, encoder.out())) ||
      FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
      FAILED(encoder->CreateNewFrame(frame.out(), options.out()))) {
    return false;
  }
  if (options.get()) {
    PROPBAG2 option{};
    option.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
    VARIANT value{};  // VT_EMPTY, as VariantInit leaves it
    value.vt = VT_R4;
    value.fltVal = quality;
    options->Write(1, &option, &value);  // a codec that ignores the quality still encodes
  }
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  const auto width = static_cast<UINT>(image.width);
  const auto height = static_cast<UINT>(image.height);
  if (FAILED(frame->Initialize(options.get())) || FAILED(frame->SetSize(width, height)) ||
      FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR ||
      FAILED(frame->WritePixels(height, image.stride(), static_cast<UINT>(image.bgr.size()),
                                const_cast<BYTE*>(image.bgr.data()))) ||
      FAILED(frame->Commit()) || FAILED(encoder->Commit())) {
    return false;
  }
  return true;
}

}  // namespace

bool Win32Screenshot::save_jpeg(const std::string& path, int quality) {
  const auto target = to_wide(path);
  if (!target || target->empty()) return false;
  const auto image = capture_screen();
  if (!image) return false;
  const std::wstring partial = *target + L".partial";
  bool written =
      write_jpeg(*image, static_cast<float>(std::clamp(quality, 1, 100)) / 100.0f, partial);
  if (written) {
    written = MoveFileExW(partial.c_str(), target->c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
  }
  if (!written) DeleteFileW(partial.c_str());
  return written;
}

}  // namespace padwire::win32
