// LoadDibImage on Windows: the file is mapped read-only, checked by the
// portable header rules, and converted to 24 bits by GDI.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "dib.h"

namespace {

// Everything the reader acquires, released in reverse order however it ends.
struct Acquired {
  HANDLE file = INVALID_HANDLE_VALUE;
  HANDLE mapping = nullptr;
  const void* view = nullptr;
  HDC dc = nullptr;
  HBITMAP section = nullptr;

  Acquired() = default;
  Acquired(const Acquired&) = delete;
  Acquired& operator=(const Acquired&) = delete;
  ~Acquired() {
    if (section) DeleteObject(section);
    if (dc) DeleteDC(dc);
    if (view) UnmapViewOfFile(view);
    if (mapping) CloseHandle(mapping);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
};

}  // namespace

DibImage* LoadDibImage(const char* path) {
  Acquired got;
  LARGE_INTEGER size{};
  if (path) got.file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (got.file != INVALID_HANDLE_VALUE && GetFileSizeEx(got.file, &size)) {
    got.mapping = CreateFileMappingA(got.file, nullptr, PAGE_READONLY, 0, 0, nullptr);
  }
  if (got.mapping) got.view = MapViewOfFile(got.mapping, FILE_MAP_READ, 0, 0, 0);
  if (!got.view) {
    hz::ReportDibError(hz::DibError::kOpenFailed, path);
    return nullptr;
  }

  hz::DibLayout layout;
  const hz::DibError error = hz::ParseDib(static_cast<const std::uint8_t*>(got.view),
                                          static_cast<std::size_t>(size.QuadPart), &layout);
  if (error != hz::DibError::kNone) {
    hz::ReportDibError(error, path);
    return nullptr;
  }

  BITMAPINFO target{};
  target.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  target.bmiHeader.biWidth = layout.width;
  target.bmiHeader.biHeight = layout.height;
  target.bmiHeader.biPlanes = 1;
  target.bmiHeader.biBitCount = 24;
  target.bmiHeader.biCompression = BI_RGB;
  target.bmiHeader.biSizeImage = static_cast<DWORD>(layout.RgbBytes());
  void* bits = nullptr;
  got.dc = CreateCompatibleDC(nullptr);
  if (got.dc) got.section = CreateDIBSection(got.dc, &target, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!got.section || !bits) {
    hz::ReportDibError(hz::DibError::kOutOfMemory, path);
    return nullptr;
  }
  // The section is written while not selected into any context, as SetDIBits asks.
  const auto* pixels = static_cast<const std::uint8_t*>(got.view) + layout.pixelOffset;
  if (SetDIBits(got.dc, got.section, 0, static_cast<UINT>(layout.height), pixels,
                reinterpret_cast<const BITMAPINFO*>(layout.info.data()), DIB_RGB_COLORS) == 0) {
    hz::ReportDibError(hz::DibError::kConversionError, path);
    return nullptr;
  }
  GdiFlush();

  const std::size_t row = 3 * static_cast<std::size_t>(layout.width);
  const std::size_t stride = (row + 3) & ~static_cast<std::size_t>(3);
  auto* data = static_cast<std::uint8_t*>(std::malloc(layout.RgbBytes()));
  auto* image = static_cast<DibImage*>(std::malloc(sizeof(DibImage)));
  if (!data || !image) {
    std::free(data);
    std::free(image);
    hz::ReportDibError(hz::DibError::kOutOfMemory, path);
    return nullptr;
  }
  const auto* src = static_cast<const std::uint8_t*>(bits);
  std::uint8_t* dst = data;
  for (std::int32_t y = 0; y < layout.height; ++y, src += stride, dst += row) {
    for (std::size_t x = 0; x < row; x += 3) {
      dst[x] = src[x + 2];
      dst[x + 1] = src[x + 1];
      dst[x + 2] = src[x];
    }
  }
  image->width = layout.width;
  image->height = layout.height;
  image->data = data;
  return image;
}
