#pragma once
// One slot of the cache: an integer key, its usage score and two user values.
#include <cstddef>
#include <cstdint>

struct CacheEntry {
    std::int32_t key;     // entries are kept in ascending key order
    std::int32_t score;   // usage score; may become negative
    std::int32_t data[2]; // user data, slot 0 and slot 1
};

static_assert(sizeof(CacheEntry) == 16);
static_assert(offsetof(CacheEntry, key) == 0);
static_assert(offsetof(CacheEntry, score) == 4);
static_assert(offsetof(CacheEntry, data) == 8);
