// Kept in a unit of its own, so that the compiler never sees an allocation and its release
// through different functions.
#include "FailingNew.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long> g_countdown{0};  // allocations to let through, plus one; 0: none fails
std::atomic<bool> g_failed{false};

void* Allocate(std::size_t size) {
  long left = g_countdown.load(std::memory_order_relaxed);
  if (left > 0) {
    g_countdown.store(left - 1, std::memory_order_relaxed);
    if (left == 1) {
      g_failed.store(true, std::memory_order_relaxed);
      return nullptr;
    }
  }
  return std::malloc(size ? size : 1);
}

}  // namespace

namespace kwtest {

void FailAllocation(long nth) {
  g_failed.store(false);
  g_countdown.store(nth > 0 ? nth : 0);
}

bool AllocationFailed() {
  g_countdown.store(0);
  return g_failed.load();
}

}  // namespace kwtest

void* operator new(std::size_t size) {
  if (void* p = Allocate(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
