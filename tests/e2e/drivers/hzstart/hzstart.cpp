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
  const double limit = std::atof(argv[3]);
  LARGE_INTEGER frequency{};
  LARGE_INTEGER start{};
  LARGE_INTEGER now{};
  QueryPerformanceFrequency(&frequency);
  auto elapsed = [&] {
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
  };

  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(argv[1], nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::fprintf(stderr, "hzstart: cannot start %s (%lu)\n", argv[1], GetLastError());
    return 3;
  }
  CloseHandle(pi.hThread);
  for (;;) {
    if (FindWindowA(nullptr, argv[2])) {
      std::printf("%.1f\n", elapsed());
      return 0;
    }
    if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) return 2;
    if (elapsed() > limit) return 1;
    Sleep(1);
  }
}
