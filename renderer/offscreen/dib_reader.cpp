// LoadDibImage where GDI is missing: the file is read whole and converted by
// our own converter, with the checks and messages of the Windows reader.
#include <cstdio>
#include <vector>

#include "dib.h"

namespace {

bool ReadWhole(const char* path, std::vector<std::uint8_t>* bytes) {
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  bool ok = std::fseek(f, 0, SEEK_END) == 0;
  const long size = ok ? std::ftell(f) : -1;
  ok = ok && size >= 0 && std::fseek(f, 0, SEEK_SET) == 0;
  if (ok) {
    bytes->resize(static_cast<std::size_t>(size));
    ok = std::fread(bytes->data(), 1, bytes->size(), f) == bytes->size();
  }
  std::fclose(f);
  return ok;
}

}  // namespace

DibImage* LoadDibImage(const char* path) {
  std::vector<std::uint8_t> bytes;
  if (!path || !ReadWhole(path, &bytes)) {
    hz::ReportDibError(hz::DibError::kOpenFailed, path);
    return nullptr;
  }
  hz::DibError error = hz::DibError::kNone;
  DibImage* image = hz::DecodeDib(bytes.data(), bytes.size(), &error);
  if (!image) hz::ReportDibError(error, path);
  return image;
}
