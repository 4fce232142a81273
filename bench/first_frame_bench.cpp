// Milliseconds from the start of a process to its first frame of the scene
// at 1024 x 768, offscreen: the process is started anew (fork and exec) so
// that loading and linking count too, then the context is made, the 513
// textures are loaded and the first frame is drawn and finished.
//
//   bench_first_frame [PICTURES_DIR]
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_scene.h"
#include "offscreen_context.h"
#include "scene.h"

namespace {

long long NowMicroseconds() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<long long>(t.tv_sec) * 1000000 + t.tv_nsec / 1000;
}

double Ms(long long from, long long to) { return static_cast<double>(to - from) / 1000.0; }

int Child(long long started, const char* folder) {
  const long long entered = NowMicroseconds();
  OffscreenContext context;
  if (!context.ready()) return 1;
  const long long contextReady = NowMicroseconds();
  Scene scene(folder);
  StartScene(scene, 1024, 768);
  const long long sceneReady = NowMicroseconds();
  DrawSceneFrame(scene);
  glFinish();
  const long long drawn = NowMicroseconds();
  std::printf("first frame %.1f ms after the process start:\n", Ms(started, drawn));
  std::printf("  start of main          %7.1f ms\n", Ms(started, entered));
  std::printf("  offscreen context      %7.1f ms\n", Ms(entered, contextReady));
  std::printf("  InitScene (textures)   %7.1f ms\n", Ms(contextReady, sceneReady));
  std::printf("  first frame drawn      %7.1f ms\n", Ms(sceneReady, drawn));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--child")
    return Child(std::strtoll(argv[2], nullptr, 10), argv[3]);
  const std::string pictures = argc > 1 ? argv[1] : SourcePath("host/res");
  const long long started = NowMicroseconds();
  const pid_t child = fork();
  if (child == 0) {
    const std::string stamp = std::to_string(started);
    execl("/proc/self/exe", argv[0], "--child", stamp.c_str(), pictures.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
