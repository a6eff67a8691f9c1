// Objects whose memory cannot be touched once they are deleted, on every build: Fenced<T> is a
// T allocated on pages of its own, which its deletion makes inaccessible instead of handing them
// back. Whatever reads or writes such an object afterwards faults at once (natively and under
// Wine alike, with or without AddressSanitizer), so a test of a control freed from inside its
// own processing fails where the control touches itself again, not by chance later.
// ReleaseFences() hands the dead pages back (WindowTest::TearDown calls it).
#pragma once

#include <cstddef>

namespace kwtest {

void* FencedAlloc(std::size_t size);
void FencedFree(void* p);
void ReleaseFences();
// Fenced objects deleted since the last ReleaseFences().
int FencedDeaths();

template <class T>
class Fenced : public T {
 public:
  using T::T;
  static void* operator new(std::size_t size) { return FencedAlloc(size); }
  static void operator delete(void* p) { FencedFree(p); }
};

}  // namespace kwtest
