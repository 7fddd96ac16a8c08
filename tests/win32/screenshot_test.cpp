// Screenshots: a JPEG file of the whole screen, written whole or not at all.
#include <windows.h>

#include <gtest/gtest.h>
#include <wincodec.h>

#include "platform/win32/win32_com.h"
#include "platform/win32/win32_screenshot.h"
#include "test_support.h"

namespace padwire::win32 {
namespace {

struct Decoded {
  UINT width = 0, height = 0;
  std::vector<BYTE> bgra;
  bool jpeg = false;
};

Decoded decode(const std::wstring& path) {
  Decoded result;
  IWICImagingFactory* factory = nullptr;
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICFormatConverter* converter = nullptr;
  if (com::enter() &&
      SUCCEEDED(com::create_instance(CLSID_WICImagingFactory, IID_PPV_ARGS(&factory))) &&
      SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                   WICDecodeMetadataCacheOnDemand, &decoder))) {
    GUID format{};
    decoder->GetContainerFormat(&format);
    result.jpeg = format == GUID_ContainerFormatJpeg;
    if (SUCCEEDED(decoder->GetFrame(0, &frame)) &&
        SUCCEEDED(frame->GetSize(&result.width, &result.height)) &&
        SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA,
                                        WICBitmapDitherTypeNone, nullptr, 0,
                                        WICBitmapPaletteTypeCustom))) {
      result.bgra.resize(static_cast<std::size_t>(result.width) * result.height * 4);
      converter->CopyPixels(nullptr, result.width * 4, static_cast<UINT>(result.bgra.size()),
                            result.bgra.data());
    }
  }
  for (IUnknown* p : std::initializer_list<IUnknown*>{converter, frame, decoder, factory}) {
    if (p) p->Release();
  }
  return result;
}

class Screenshot : public testing::Test {
 protected:
  test::TempFolder folder;
  Win32Screenshot screenshot;
};

TEST_F(Screenshot, IsAJpegOfTheWholeScreenShowingWhatIsOnIt) {
  // A pure red window at a known place.
  test::RecorderWindow red(L"Red", {100, 100, 400, 300});
  SetWindowLongPtrW(red.handle(), GWL_STYLE, WS_POPUP | WS_VISIBLE);
  SetWindowPos(red.handle(), HWND_TOPMOST, 100, 100, 300, 200, SWP_FRAMECHANGED);
  HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
  SetClassLongPtrW(red.handle(), GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(brush));
  InvalidateRect(red.handle(), nullptr, TRUE);
  UpdateWindow(red.handle());
  test::pump_for(300);

  const std::wstring path = folder.file(L"20240102030405.jpg");
  ASSERT_TRUE(screenshot.save_jpeg(test::narrow(path), 60));
  const auto bytes = test::read_file(path);
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xD8);
  EXPECT_EQ(bytes[bytes.size() - 2], 0xFF);
  EXPECT_EQ(bytes[bytes.size() - 1], 0xD9);
  const Decoded image = decode(path);
  EXPECT_TRUE(image.jpeg);
  EXPECT_EQ(image.width, static_cast<UINT>(GetSystemMetrics(SM_CXVIRTUALSCREEN)));
  EXPECT_EQ(image.height, static_cast<UINT>(GetSystemMetrics(SM_CYVIRTUALSCREEN)));
  ASSERT_FALSE(image.bgra.empty());
  const BYTE* centre = &image.bgra[(200u * image.width + 250u) * 4u];
  EXPECT_GT(centre[2], 200) << "red";
  EXPECT_LT(centre[1], 60) << "green";
  EXPECT_LT(centre[0], 60) << "blue";
  EXPECT_FALSE(test::file_exists(path + L".partial"));
  DeleteObject(brush);
}

TEST_F(Screenshot, ReplacesAnEarlierFileOfTheSameName) {
  const std::wstring path = folder.file(L"shot.jpg");
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, "old", 3, &written, nullptr);
  CloseHandle(file);
  ASSERT_TRUE(screenshot.save_jpeg(test::narrow(path), 60));
  EXPECT_TRUE(decode(path).jpeg);
}

TEST_F(Screenshot, AnUnwritablePathFailsAndLeavesNothing) {
  const std::wstring path = folder.file(L"no-such-folder\\shot.jpg");
  EXPECT_FALSE(screenshot.save_jpeg(test::narrow(path), 60));
  EXPECT_FALSE(test::file_exists(path));
  EXPECT_FALSE(test::file_exists(path + L".partial"));
  EXPECT_FALSE(screenshot.save_jpeg("", 60));
}

}  // namespace
}  // namespace padwire::win32
