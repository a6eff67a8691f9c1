// A counting replacement of the global operator new, kept in a unit of its own so that the
// compiler never sees an allocation and its release through different functions.
#include "CountingNew.h"

#include <atomic>
#include <cstdlib>
#include <new>
#ifdef _WIN32
#include <malloc.h>
#define KW_BLOCK_SIZE(p) _msize(p)
#else
#include <malloc.h>
#define KW_BLOCK_SIZE(p) malloc_usable_size(p)
#endif

namespace {
std::atomic<long long> g_allocations{0};
std::atomic<long long> g_live{0};
std::atomic<long long> g_liveBytes{0};

void* Allocate(std::size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (p != nullptr) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    g_live.fetch_add(1, std::memory_order_relaxed);
    g_liveBytes.fetch_add(static_cast<long long>(KW_BLOCK_SIZE(p)), std::memory_order_relaxed);
  }
  return p;
}

void Release(void* p) {
  if (p == nullptr) return;
  g_live.fetch_sub(1, std::memory_order_relaxed);
  g_liveBytes.fetch_sub(static_cast<long long>(KW_BLOCK_SIZE(p)), std::memory_order_relaxed);
  std::free(p);
}
}  // namespace

namespace kwbench {
long long Allocations() { return g_allocations.load(std::memory_order_relaxed); }
void Forget(long long count) { g_allocations.fetch_sub(count, std::memory_order_relaxed); }
long long LiveAllocations() { return g_live.load(std::memory_order_relaxed); }
long long LiveBytes() { return g_liveBytes.load(std::memory_order_relaxed); }
}  // namespace kwbench

void* operator new(std::size_t size) {
  if (void* p = Allocate(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }
