#pragma once

// Counts the bytes the process holds on the heap, and the highest count since
// the last reset, by wrapping the C allocator. Off in sanitizer builds.
namespace allocations {
bool available();
long long current();
long long peak();
void resetPeak();
} // namespace allocations
