// The benchmark binaries' own operator new counts every heap allocation made through it.
#pragma once

namespace kwbench {

// Allocations made so far.
long long Allocations();
// Leaves count allocations out of the count (work done outside a measurement).
void Forget(long long count);
// Blocks allocated and not yet freed, and the bytes they hold (as the allocator hands them out).
long long LiveAllocations();
long long LiveBytes();

}  // namespace kwbench
