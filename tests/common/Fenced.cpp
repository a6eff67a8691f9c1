#include "Fenced.h"

#include <cstdlib>
#include <map>

#include "platform/win32.h"

#ifndef _WIN32
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace kwtest {

namespace {

struct Pages {
  std::map<void*, std::size_t> live;  // address -> size in bytes (whole pages)
  std::map<void*, std::size_t> dead;
};

Pages& Book() {
  static Pages pages;
  return pages;
}

std::size_t PageSize() {
#ifdef _WIN32
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return info.dwPageSize;
#else
  return static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
#endif
}

}  // namespace

void* FencedAlloc(std::size_t size) {
  const std::size_t page = PageSize();
  const std::size_t bytes = (size + page - 1) / page * page;
#ifdef _WIN32
  void* p = VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
#else
  void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) p = nullptr;
#endif
  if (p == nullptr) std::abort();
  Book().live[p] = bytes;
  return p;
}

void FencedFree(void* p) {
  if (p == nullptr) return;
  auto& book = Book();
  auto it = book.live.find(p);
  if (it == book.live.end()) std::abort();  // not one of ours: a double delete
  const std::size_t bytes = it->second;
  book.live.erase(it);
  book.dead[p] = bytes;
#ifdef _WIN32
  DWORD old = 0;
  VirtualProtect(p, bytes, PAGE_NOACCESS, &old);
#else
  mprotect(p, bytes, PROT_NONE);
#endif
}

void ReleaseFences() {
  for (auto& [p, bytes] : Book().dead) {
#ifdef _WIN32
    (void)bytes;
    VirtualFree(p, 0, MEM_RELEASE);
#else
    munmap(p, bytes);
#endif
  }
  Book().dead.clear();
}

int FencedDeaths() { return static_cast<int>(Book().dead.size()); }

}  // namespace kwtest
