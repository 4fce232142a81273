// Makes the renderer's nothrow array allocations within a range of sizes
// fail, so that its out-of-memory paths can be driven on purpose.
#pragma once

#include <cstddef>

class FailAllocations {
 public:
  FailAllocations(std::size_t smallest, std::size_t largest);
  explicit FailAllocations(std::size_t bytes) : FailAllocations(bytes, bytes) {}
  ~FailAllocations();
  FailAllocations(const FailAllocations&) = delete;
  FailAllocations& operator=(const FailAllocations&) = delete;
  int Failures() const;
};
