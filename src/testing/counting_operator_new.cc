// Replaces the global operator new and delete of a test binary so that
// AllocationFaults can count, fail and measure every C++ allocation.
#include <cstdlib>
#include <new>

#include "testing/allocation_faults.h"

namespace {

using nirevo::test::AllocationFaults;

// Each block carries, in front and keeping the default alignment, its size
// and whether it was measured.
struct Header {
  std::size_t bytes;
  bool measured;
};
constexpr std::size_t kHeader = alignof(std::max_align_t);
static_assert(sizeof(Header) <= kHeader);

void* Allocate(std::size_t bytes) {
  if (AllocationFaults::ShouldFail()) throw std::bad_alloc();
  void* block = std::malloc(bytes + kHeader);
  if (block == nullptr) throw std::bad_alloc();
  const bool measured = !AllocationFaults::suspended();
  *static_cast<Header*>(block) = Header{bytes, measured};
  if (measured) AllocationFaults::Allocated(bytes);
  return static_cast<unsigned char*>(block) + kHeader;
}

void Free(void* pointer) noexcept {
  if (pointer == nullptr) return;
  void* block = static_cast<unsigned char*>(pointer) - kHeader;
  const Header header = *static_cast<Header*>(block);
  if (header.measured) AllocationFaults::Freed(header.bytes);
  std::free(block);
}

}  // namespace

void* operator new(std::size_t bytes) { return Allocate(bytes); }
void* operator new[](std::size_t bytes) { return Allocate(bytes); }
void operator delete(void* pointer) noexcept { Free(pointer); }
void operator delete[](void* pointer) noexcept { Free(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { Free(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { Free(pointer); }
