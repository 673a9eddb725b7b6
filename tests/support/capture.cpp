// Capture: an owning 32-bpp top-down DIB section selected into its own memory DC, with
// pixel reads, colour comparison and a .bmp writer for looking at failures.  Rendering a
// window into it is capture_window.cpp's business.
#include "gui_test_impl.h"

#include <cstdio>
#include <cstdlib>

namespace guitest {

Capture::Capture(int width, int height) {
  if (width <= 0 || height <= 0) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down: row 0 is the top
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap_) return;
  dc_ = CreateCompatibleDC(nullptr);
  if (!dc_) {
    DeleteObject(bitmap_);
    bitmap_ = nullptr;
    return;
  }
  oldBitmap_ = SelectObject(dc_, bitmap_);
  bits_ = static_cast<std::uint32_t*>(bits);
  width_ = width;
  height_ = height;
  Fill(kUnpaintedRaw);
}

Capture::~Capture() { Free(); }

Capture::Capture(Capture&& other) noexcept
    : width_(other.width_), height_(other.height_), bits_(other.bits_), bitmap_(other.bitmap_),
      dc_(other.dc_), oldBitmap_(other.oldBitmap_), method_(other.method_) {
  other.width_ = other.height_ = 0;
  other.bits_ = nullptr;
  other.bitmap_ = nullptr;
  other.dc_ = nullptr;
  other.oldBitmap_ = nullptr;
}

Capture& Capture::operator=(Capture&& other) noexcept {
  if (this != &other) {
    Free();
    width_ = other.width_;
    height_ = other.height_;
    bits_ = other.bits_;
    bitmap_ = other.bitmap_;
    dc_ = other.dc_;
    oldBitmap_ = other.oldBitmap_;
    method_ = other.method_;
    other.width_ = other.height_ = 0;
    other.bits_ = nullptr;
    other.bitmap_ = nullptr;
    other.dc_ = nullptr;
    other.oldBitmap_ = nullptr;
  }
  return *this;
}

void Capture::Free() {
  if (dc_) {
    SelectObject(dc_, oldBitmap_);
    DeleteDC(dc_);
  }
  if (bitmap_) DeleteObject(bitmap_);
  dc_ = nullptr;
  bitmap_ = nullptr;
  oldBitmap_ = nullptr;
  bits_ = nullptr;
  width_ = height_ = 0;
}

std::uint32_t Capture::Raw(int x, int y) const {
  if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  GdiFlush();  // GDI may batch drawing into the section
  return bits_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

COLORREF Capture::Pixel(int x, int y) const {
  if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  const std::uint32_t v = Raw(x, y);
  return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

bool Capture::Painted(int x, int y) const {
  return bits_ && x >= 0 && y >= 0 && x < width_ && y < height_ && Raw(x, y) != kUnpaintedRaw;
}

bool Capture::AnyPainted() const {
  if (!bits_) return false;
  GdiFlush();
  const size_t n = static_cast<size_t>(width_) * static_cast<size_t>(height_);
  for (size_t i = 0; i < n; ++i)
    if (bits_[i] != kUnpaintedRaw) return true;
  return false;
}

void Capture::Fill(std::uint32_t raw) {
  if (!bits_) return;
  GdiFlush();
  const size_t n = static_cast<size_t>(width_) * static_cast<size_t>(height_);
  for (size_t i = 0; i < n; ++i) bits_[i] = raw;
}

bool Capture::SaveBmp(const std::wstring& path) const {
  if (!bits_) return false;
  GdiFlush();
  const size_t rowBytes = (static_cast<size_t>(width_) * 3 + 3) & ~static_cast<size_t>(3);
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width_;
  info.biHeight = height_;  // bottom-up, which every viewer reads
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(rowBytes * static_cast<size_t>(height_));
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + info.biSizeImage;
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
  std::string row(rowBytes, '\0');
  for (int y = height_ - 1; y >= 0; --y) {
    for (int x = 0; x < width_; ++x) {
      const std::uint32_t v = bits_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
      row[static_cast<size_t>(x) * 3 + 0] = static_cast<char>(v & 0xFF);
      row[static_cast<size_t>(x) * 3 + 1] = static_cast<char>((v >> 8) & 0xFF);
      row[static_cast<size_t>(x) * 3 + 2] = static_cast<char>((v >> 16) & 0xFF);
    }
    bytes += row;
  }
  return WriteFileBytes(path, bytes);
}

bool ColorNear(COLORREF a, COLORREF b, int tolerance) {
  if (a == CLR_INVALID || b == CLR_INVALID) return a == b;
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

std::string ColorToString(COLORREF color) {
  if (color == CLR_INVALID) return "(outside)";
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%02X%02X%02X", GetRValue(color), GetGValue(color), GetBValue(color));
  return buf;
}

::testing::AssertionResult PixelIs(const Capture& capture, int x, int y, COLORREF expected, int tolerance) {
  const COLORREF actual = capture.Pixel(x, y);
  if (capture.Painted(x, y) && ColorNear(actual, expected, tolerance)) return ::testing::AssertionSuccess();
  static const char* const methods[] = {"auto", "compose", "print", "window DC"};
  auto failure = ::testing::AssertionFailure();
  failure << "pixel (" << x << "," << y << ") of a " << capture.Width() << "x" << capture.Height() << " capture ("
          << methods[static_cast<int>(capture.Method())] << ") is ";
  if (!capture.Valid()) failure << "missing: the capture is empty";
  else if (actual == CLR_INVALID) failure << "outside the capture";
  else if (!capture.Painted(x, y)) failure << "unpainted";
  else failure << ColorToString(actual);
  failure << ", expected " << ColorToString(expected);
  if (tolerance) failure << " within " << tolerance;
  return failure;
}

}  // namespace guitest
