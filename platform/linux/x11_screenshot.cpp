#include "platform/linux/x11_screenshot.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <turbojpeg.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/linux/linux_paths.h"
#include "platform/linux/x11_display.h"

namespace padwire::lin {

namespace {

struct ImageDeleter {
  void operator()(XImage* image) const { XDestroyImage(image); }
};
using Image = std::unique_ptr<XImage, ImageDeleter>;

// The root window through a shared memory segment, which spares the copy through the socket;
// null when the server offers no shared memory (a remote display) or refuses it.
Image shared_memory_capture(Display* display, const XWindowAttributes& root) {
  if (!XShmQueryExtension(display)) return nullptr;
  XShmSegmentInfo segment{};
  Image image(XShmCreateImage(display, root.visual, static_cast<unsigned>(root.depth), ZPixmap,
                              nullptr, &segment, static_cast<unsigned>(root.width),
                              static_cast<unsigned>(root.height)));
  if (!image) return nullptr;
  const auto bytes =
      static_cast<std::size_t>(image->bytes_per_line) * static_cast<std::size_t>(image->height);
  segment.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (segment.shmid < 0) return nullptr;
  segment.shmaddr = image->data = static_cast<char*>(shmat(segment.shmid, nullptr, 0));
  segment.readOnly = False;
  bool captured = false;
  if (segment.shmaddr != reinterpret_cast<char*>(-1)) {
    X11ErrorTrap trap(display);
    if (XShmAttach(display, &segment) && !trap.caught()) {
      captured = XShmGetImage(display, root.root, image.get(), 0, 0, AllPlanes) && !trap.caught();
      XShmDetach(display, &segment);
    }
  }
  shmctl(segment.shmid, IPC_RMID, nullptr);
  if (!captured) {
    if (segment.shmaddr != reinterpret_cast<char*>(-1)) shmdt(segment.shmaddr);
    image->data = nullptr;
    return nullptr;
  }
  // The pixels move to memory of their own, so that XDestroyImage frees them as usual.
  const auto copy = static_cast<char*>(std::malloc(bytes));
  if (copy) std::copy_n(segment.shmaddr, bytes, copy);
  shmdt(segment.shmaddr);
  image->data = copy;
  if (!copy) return nullptr;
  return image;
}

Image capture(Display* display) {
  XWindowAttributes root{};
  if (!XGetWindowAttributes(display, DefaultRootWindow(display), &root) || root.width <= 0 ||
      root.height <= 0) {
    return nullptr;
  }
  if (Image image = shared_memory_capture(display, root)) return image;
  X11ErrorTrap trap(display);
  Image image(XGetImage(display, root.root, 0, 0, static_cast<unsigned>(root.width),
                        static_cast<unsigned>(root.height), AllPlanes, ZPixmap));
  if (trap.caught()) return nullptr;
  return image;
}

// The image's pixels in a layout libjpeg-turbo takes: 32-bit true colour as it is (BGRX, or
// XRGB from a big-endian server), any other visual converted pixel by pixel to RGB.
struct Pixels {
  const unsigned char* data = nullptr;
  int pitch = 0;
  int format = TJPF_RGB;
  std::vector<unsigned char> converted;
};

int mask_shift(unsigned long mask) {
  return mask ? std::countr_zero(mask) : 0;
}

unsigned char channel(unsigned long pixel, unsigned long mask) {
  if (!mask) return 0;
  const unsigned long value = (pixel & mask) >> mask_shift(mask);
  const unsigned long top = mask >> mask_shift(mask);
  return static_cast<unsigned char>(value * 255 / top);
}

Pixels pixels_of(XImage& image) {
  Pixels pixels;
  if (image.bits_per_pixel == 32 && image.red_mask == 0xFF0000 && image.green_mask == 0xFF00 &&
      image.blue_mask == 0xFF) {
    pixels.data = reinterpret_cast<const unsigned char*>(image.data);
    pixels.pitch = image.bytes_per_line;
    pixels.format = image.byte_order == LSBFirst ? TJPF_BGRX : TJPF_XRGB;
    return pixels;
  }
  pixels.converted.resize(static_cast<std::size_t>(image.width) * 3 *
                          static_cast<std::size_t>(image.height));
  unsigned char* to = pixels.converted.data();
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const unsigned long pixel = XGetPixel(&image, x, y);
      *to++ = channel(pixel, image.red_mask);
      *to++ = channel(pixel, image.green_mask);
      *to++ = channel(pixel, image.blue_mask);
    }
  }
  pixels.data = pixels.converted.data();
  pixels.pitch = image.width * 3;
  pixels.format = TJPF_RGB;
  return pixels;
}

struct JpegBuffer {
  ~JpegBuffer() {
    if (data) tjFree(data);
  }
  unsigned char* data = nullptr;
  unsigned long size = 0;
};

bool encode(XImage& image, int quality, JpegBuffer& jpeg) {
  const Pixels pixels = pixels_of(image);
  tjhandle encoder = tjInitCompress();
  if (!encoder) return false;
  const bool encoded =
      tjCompress2(encoder, pixels.data, image.width, pixels.pitch, image.height, pixels.format,
                  &jpeg.data, &jpeg.size, TJSAMP_420, std::clamp(quality, 1, 100), 0) == 0;
  tjDestroy(encoder);
  return encoded;
}

// Writes the whole file under a temporary name first: a failed shot leaves nothing behind.
bool write_file(const std::string& path, const JpegBuffer& jpeg) {
  const std::string partial = path + ".partial";
  std::FILE* file = std::fopen(partial.c_str(), "wb");
  if (!file) return false;
  bool written = std::fwrite(jpeg.data, 1, jpeg.size, file) == jpeg.size;
  written = std::fclose(file) == 0 && written;
  written = written && std::rename(partial.c_str(), path.c_str()) == 0;
  if (!written) ::unlink(partial.c_str());
  return written;
}

}  // namespace

bool X11Screenshot::save_jpeg(const std::string& path, int quality) {
  if (!display_ || path.empty()) return false;
  const Image image = capture(display_);
  JpegBuffer jpeg;
  return image && encode(*image, quality, jpeg) && write_file(native_path(path), jpeg);
}

}  // namespace padwire::lin
