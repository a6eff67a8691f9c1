// The benchmark binary's own operator new counts every heap allocation of the process.
#pragma once

namespace kwbench {

// Allocations made so far.
long long Allocations();
// Leaves count allocations out of the count (work done outside a measurement).
void Forget(long long count);

}  // namespace kwbench
