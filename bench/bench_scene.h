// What the benchmarks share: the source tree's pictures, and a scene started
// and drawn the way the frame does it.
#pragma once

#include <string>

#include "gl_setup.h"
#include "scene.h"

inline std::string SourcePath(const std::string& relative) {
  return std::string(HZ_SOURCE_DIR) + "/" + relative;
}

