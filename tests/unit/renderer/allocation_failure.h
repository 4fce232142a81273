// Makes the renderer's nothrow array allocations within a range of sizes
// fail, so that its out-of-memory paths can be driven on purpose.
#pragma once

#include <cstddef>
#include <limits>

class FailAllocations {
 public:
  FailAllocations(std::size_t smallest, std::size_t largest);
  ~FailAllocations();
  FailAllocations(const FailAllocations&) = delete;
  FailAllocations& operator=(const FailAllocations&) = delete;
  int Failures() const;
};

class FailAllocationsOfSize : public FailAllocations {
 public:
  explicit FailAllocationsOfSize(std::size_t bytes) : FailAllocations(bytes, bytes) {}
};

class FailEveryAllocation : public FailAllocations {
 public:
  FailEveryAllocation() : FailAllocations(0, std::numeric_limits<std::size_t>::max()) {}
};
