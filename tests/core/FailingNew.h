// The control tests' own global operator new, which can be told to fail one allocation: the
// Nth from now throws std::bad_alloc (the nothrow forms answer nullptr), as a process out of
// memory would. It reaches every allocation made through operator new in this executable; on
// the simulated platform, whose libraries resolve operator new to this one, theirs too.
#pragma once

namespace kwtest {

// Fails the nth allocation from now (1: the next one); 0 fails none.
void FailAllocation(long nth);
// Whether the allocation asked for has been failed since FailAllocation; disarms what is left.
bool AllocationFailed();

}  // namespace kwtest
