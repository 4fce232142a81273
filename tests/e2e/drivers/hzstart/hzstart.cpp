// hzstart PROGRAM TITLE MS
//
// Starts PROGRAM as a new process without arguments (as the screensaver
// starts its renderer) and prints the milliseconds from the start until a
// top-level window titled TITLE exists. The program is left running. Exit
// code 0 when the window came, 1 when it did not within MS, 2 when the
// program ended first, 3 when it could not be started.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: hzstart PROGRAM TITLE MS\n");
    return 3;
  }
  LARGE_INTEGER frequency{}, start{}, now{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(argv[1], nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::fprintf(stderr, "hzstart: cannot start %s (%lu)\n", argv[1], GetLastError());
    return 3;
  }
  for (;; Sleep(1)) {
    const bool found = FindWindowA(nullptr, argv[2]) != nullptr;
    QueryPerformanceCounter(&now);
    const double ms =
        1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    if (found) {
      std::printf("%.1f\n", ms);
      return 0;
    }
    if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) return 2;
    if (ms > std::atof(argv[3])) return 1;
  }
}
