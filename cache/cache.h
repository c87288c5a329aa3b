#pragma once
// The cache of the console program: capacity 4, a line for each freed entry, a dot for each key comparison.
#include "cache/drabel.h"

// Key order that prints "." and then answers like compare_entry_keys.
int compare_entry_keys_with_dot(const void* first, const void* second);

class cache final : public Drabel {
  public:
    // Capacity 4, key comparisons print dots.
    cache();

    // Prints "Free <key>" and returns 0.
    std::int32_t on_free(CacheEntry* entry) override;
};
