#include "cache/cache.h"

#include <cstdio>

int compare_entry_keys_with_dot(const void* first, const void* second) {
    std::fputs(".", stdout);
    return compare_entry_keys(first, second);
}

cache::cache() : Drabel(4) {
    compare = compare_entry_keys_with_dot;
}

std::int32_t cache::on_free(CacheEntry* entry) {
    std::printf("Free %d\n", entry->key);
    return 0;
}
