// A fresh folder that is the current directory for one test; Windows paths
// such as "C:\Music\a.mp3" are plain file names in it.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace hz::testing {

class TempDir {
 public:
  TempDir() {
    char pattern[] = "/tmp/hazumaki-test-XXXXXX";
    path_ = mkdtemp(pattern);
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(path_);
  }
  ~TempDir() {
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  static void WriteFile(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
  }
  static std::string ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  std::string path_;
  std::filesystem::path previous_;
};

}  // namespace hz::testing
