#pragma once

#include <cstddef>
#include <new>

namespace fondaris::core {

namespace platform {
// See core/platform/platform.h.
void* allocateBlock(std::size_t size);
void releaseBlock(void* block, std::size_t size);
}  // namespace platform

// An allocator that takes a large buffer from the system as one block, its pages made at once:
// a fresh page costs a fault of its own otherwise, which for the product data's 455 KiB takes
// longer than reading the file. Small buffers come from the heap as usual.
template <class T>
struct BlockAllocator {
  using value_type = T;
  static constexpr std::size_t kBlockFrom = 64 * 1024;

  BlockAllocator() = default;
  template <class U>
  BlockAllocator(const BlockAllocator<U>&) {}

  T* allocate(std::size_t n) {
    const std::size_t bytes = n * sizeof(T);
    return static_cast<T*>(bytes >= kBlockFrom ? platform::allocateBlock(bytes)
                                               : ::operator new(bytes));
  }
  void deallocate(T* p, std::size_t n) {
    const std::size_t bytes = n * sizeof(T);
    if (bytes >= kBlockFrom)
      platform::releaseBlock(p, bytes);
    else
      ::operator delete(p);
  }
  friend bool operator==(const BlockAllocator&, const BlockAllocator&) { return true; }
};

}  // namespace fondaris::core
