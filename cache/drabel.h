#pragma once
// Fixed-capacity cache of integer keys with usage scores and eviction of the least used entry.
#include "cache/cache_entry.h"

#include <cstdint>

// Orders two entries (both point to a CacheEntry); negative, zero or positive like strcmp.
using EntryCompare = int (*)(const void* first, const void* second);

// Key order of two entries, by `key` only. Never overflows, whatever the keys.
int compare_entry_keys(const void* first, const void* second);

// Entries sorted by key for binary search. Every access raises the accessed entry's score by the
// capacity and lowers all scores by one; when full, `add` evicts the entry with the lowest score.
class Drabel {
  public:
    // Capacity 256.
    Drabel();
    // A capacity below 1 (or a failed allocation) gives a cache that holds nothing.
    explicit Drabel(std::int32_t capacity);
    // Frees the entry block without calling on_free. Not virtual: destroy through the most derived type.
    ~Drabel();

    Drabel(const Drabel&) = delete;
    Drabel& operator=(const Drabel&) = delete;

    // Called for each entry leaving the cache (evicted by add, dropped by clear); the result is unused.
    virtual std::int32_t on_free(CacheEntry* entry);

    // True if the key is in the cache. Scores are unchanged.
    bool contains(std::int32_t key);
    // 1 if the key was added (evicting the lowest-scored entry when full), 0 if it was already there
    // (nothing changes then).
    std::int32_t add(std::int32_t key);
    // The entry's data value in `slot` (0 or 1) and a score update; 0 and no change if the key is absent
    // or the slot is bad.
    std::int32_t get(std::int32_t key, std::int32_t slot);
    // Stores `value` in `slot` (0 or 1) and updates the scores; returns the previous value, or 0 and no
    // change if the key is absent or the slot is bad.
    std::int32_t set(std::int32_t key, std::int32_t slot, std::int32_t value);
    // Calls on_free for each live entry in key order and empties the cache. Returns 0.
    std::int32_t clear();
    // Prints "i> key [score]: data0" for each live entry to standard output.
    void dump();

    std::int32_t capacity; // number of entry slots, fixed at construction
    std::int32_t count;    // number of live entries, 0 to capacity
    EntryCompare compare;  // key order used for sorting and searching
    CacheEntry* entries;   // capacity zero-filled slots; 0 to count - 1 live and sorted

  private:
    CacheEntry* find(std::int32_t key);
    void touch(CacheEntry* entry);
};
