#include "cache/drabel.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

// Scores saturate instead of wrapping: a long-unused entry must never jump to the top.
std::int32_t clamp_score(std::int64_t value) {
    constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value < lo ? lo : value > hi ? hi : value);
}

// Highest score first, so that the entry to evict ends up last.
int compare_scores_descending(const void* first, const void* second) {
    std::int32_t a = static_cast<const CacheEntry*>(first)->score;
    std::int32_t b = static_cast<const CacheEntry*>(second)->score;
    return (b > a) - (b < a);
}

} // namespace

int compare_entry_keys(const void* first, const void* second) {
    std::int32_t a = static_cast<const CacheEntry*>(first)->key;
    std::int32_t b = static_cast<const CacheEntry*>(second)->key;
    return (a > b) - (a < b);
}

Drabel::Drabel() : Drabel(256) {}

Drabel::Drabel(std::int32_t capacity_)
    : capacity(0), count(0), compare(compare_entry_keys), entries(nullptr) {
    if (capacity_ < 1) return;
    entries = static_cast<CacheEntry*>(std::calloc(static_cast<std::size_t>(capacity_), sizeof(CacheEntry)));
    if (entries != nullptr) capacity = capacity_;
}

Drabel::~Drabel() {
    std::free(entries);
}

std::int32_t Drabel::on_free(CacheEntry*) {
    return 0;
}

CacheEntry* Drabel::find(std::int32_t key) {
    if (count == 0) return nullptr;
    CacheEntry probe{key, 0, {0, 0}};
    return static_cast<CacheEntry*>(
        std::bsearch(&probe, entries, static_cast<std::size_t>(count), sizeof(CacheEntry), compare));
}

void Drabel::touch(CacheEntry* entry) {
    entry->score = clamp_score(std::int64_t{capacity} + entry->score + 1);
    for (std::int32_t i = 0; i < count; ++i)
        entries[i].score = clamp_score(std::int64_t{entries[i].score} - 1);
}

bool Drabel::contains(std::int32_t key) {
    return find(key) != nullptr;
}

std::int32_t Drabel::add(std::int32_t key) {
    if (capacity < 1 || contains(key)) return 0;
    const std::size_t n = static_cast<std::size_t>(capacity);

    if (count == capacity) {
        std::qsort(entries, n, sizeof(CacheEntry), compare_scores_descending);
        CacheEntry& last = entries[capacity - 1];
        on_free(&last);
        last = CacheEntry{key, clamp_score(std::int64_t{capacity} + 1), {0, 0}};
        for (std::int32_t i = 0; i < count; ++i)
            entries[i].score = clamp_score(std::int64_t{entries[i].score} - 1);
        std::qsort(entries, n, sizeof(CacheEntry), compare);
        return 1;
    }

    // A slot left behind by clear still holds its old score and data; a new entry starts clean.
    entries[count] = CacheEntry{key, 0, {0, 0}};
    ++count;
    if (count > 1) {
        const CacheEntry added = entries[count - 1];
        for (std::int32_t i = 0; i < count - 1; ++i) {
            if (compare(&entries[i], &added) >= 0) {
                std::memmove(&entries[i + 1], &entries[i],
                             static_cast<std::size_t>(count - 1 - i) * sizeof(CacheEntry));
                entries[i] = added;
                break;
            }
        }
    }
    return 1;
}

std::int32_t Drabel::get(std::int32_t key, std::int32_t slot) {
    if (count == 0 || slot < 0 || slot > 1) return 0;
    CacheEntry* entry = find(key);
    if (entry == nullptr) return 0;
    touch(entry);
    return entry->data[slot];
}

std::int32_t Drabel::set(std::int32_t key, std::int32_t slot, std::int32_t value) {
    if (count == 0 || slot < 0 || slot > 1) return 0;
    CacheEntry* entry = find(key);
    if (entry == nullptr) return 0;
    std::int32_t previous = entry->data[slot];
    entry->data[slot] = value;
    touch(entry);
    return previous;
}

std::int32_t Drabel::clear() {
    for (std::int32_t i = 0; i < count; ++i)
        on_free(&entries[i]);
    count = 0;
    return 0;
}

void Drabel::dump() {
    for (std::int32_t i = 0; i < count; ++i)
        std::printf("%d> %d [%d]: %d\n", i, entries[i].key, entries[i].score, entries[i].data[0]);
}
