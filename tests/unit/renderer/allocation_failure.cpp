#include "allocation_failure.h"

#include <new>

namespace {
bool active = false;
std::size_t smallest_failing = 0;
std::size_t largest_failing = 0;
int failures = 0;
}  // namespace

FailAllocations::FailAllocations(std::size_t smallest, std::size_t largest) {
  smallest_failing = smallest;
  largest_failing = largest;
  failures = 0;
  active = true;
}
FailAllocations::~FailAllocations() { active = false; }
int FailAllocations::Failures() const { return failures; }

// The default array form forwards to the scalar one, and so does its delete.
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  if (active && size >= smallest_failing && size <= largest_failing) {
    ++failures;
    return nullptr;
  }
  return ::operator new(size, tag);
}
