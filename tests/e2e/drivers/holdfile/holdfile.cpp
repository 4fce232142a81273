// holdfile MS PATH...: opens (creating where missing) each file for reading
// and writing without sharing, prints "held" once all are open, and keeps
// them so for MS milliseconds. Another process meets a sharing violation,
// as it would with a virus scanner or an editor holding the file on Windows.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: holdfile MS PATH...\n");
    return 2;
  }
  const DWORD ms = static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10));
  std::vector<HANDLE> held;
  for (int i = 2; i < argc; ++i) {
    HANDLE h = CreateFileA(argv[i], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      std::fprintf(stderr, "cannot hold %s: error %lu\n", argv[i], GetLastError());
      return 1;
    }
    held.push_back(h);
  }
  std::printf("held\n");
  std::fflush(stdout);
  Sleep(ms);
  for (HANDLE h : held) CloseHandle(h);
  return 0;
}
