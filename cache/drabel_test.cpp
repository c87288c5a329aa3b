#include "cache/drabel.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

// Keeps a copy of every entry handed to on_free, in call order.
class Recorder final : public Drabel {
  public:
    using Drabel::Drabel;
    std::int32_t on_free(CacheEntry* entry) override {
        freed.push_back(*entry);
        return 0;
    }
    std::vector<CacheEntry> freed;
};

int comparisons = 0;
int counting_compare(const void* a, const void* b) {
    ++comparisons;
    return compare_entry_keys(a, b);
}

std::vector<std::int32_t> keys(const Drabel& d) {
    std::vector<std::int32_t> out;
    for (std::int32_t i = 0; i < d.count; ++i)
        out.push_back(d.entries[i].key);
    return out;
}

std::vector<std::int32_t> scores(const Drabel& d) {
    std::vector<std::int32_t> out;
    for (std::int32_t i = 0; i < d.count; ++i)
        out.push_back(d.entries[i].score);
    return out;
}

// A full cache of capacity 4 holding 10, 20, 30, 40 with score 0.
void fill(Drabel& d) {
    for (std::int32_t k : {30, 10, 40, 20})
        ASSERT_EQ(d.add(k), 1);
}

} // namespace

TEST(DrabelConstruction, CapacityAndEmptyState) {
    Drabel big;
    EXPECT_EQ(big.capacity, 256);
    EXPECT_EQ(big.count, 0);
    EXPECT_EQ(big.compare, &compare_entry_keys);
    ASSERT_NE(big.entries, nullptr);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(big.entries[i].key | big.entries[i].score | big.entries[i].data[0], 0);

    // A cache without slots refuses everything instead of writing outside its block.
    for (std::int32_t cap : {0, -5}) {
        Recorder none(cap);
        EXPECT_EQ(none.capacity, 0);
        EXPECT_EQ(none.add(1), 0);
        EXPECT_FALSE(none.contains(1));
        EXPECT_EQ(none.get(1, 0), 0);
        EXPECT_TRUE(none.freed.empty());
    }
}

TEST(DrabelOrder, KeysStaySortedAndFindableWhateverTheInsertionOrder) {
    Recorder d(8);
    for (std::int32_t k : {50, -3, 7, 1000, 0, -900, 12})
        ASSERT_EQ(d.add(k), 1);
    EXPECT_EQ(keys(d), (std::vector<std::int32_t>{-900, -3, 0, 7, 12, 50, 1000}));
    for (std::int32_t k : {50, -3, 7, 1000, 0, -900, 12})
        EXPECT_TRUE(d.contains(k)) << k;
    for (std::int32_t k : {-901, 1, 13, 1001})
        EXPECT_FALSE(d.contains(k)) << k;
}

TEST(DrabelOrder, KeysFarApartDoNotOverflowTheComparison) {
    CacheEntry lo{INT_MIN, 0, {0, 0}}, one{1, 0, {0, 0}}, hi{INT_MAX, 0, {0, 0}};
    EXPECT_LT(compare_entry_keys(&lo, &one), 0);
    EXPECT_GT(compare_entry_keys(&one, &lo), 0);
    EXPECT_LT(compare_entry_keys(&lo, &hi), 0);
    EXPECT_GT(compare_entry_keys(&hi, &lo), 0);
    EXPECT_EQ(compare_entry_keys(&hi, &hi), 0);

    Recorder d(4);
    for (std::int32_t k : {1, INT_MAX, INT_MIN, -1})
        ASSERT_EQ(d.add(k), 1);
    EXPECT_EQ(keys(d), (std::vector<std::int32_t>{INT_MIN, -1, 1, INT_MAX}));
    for (std::int32_t k : {1, INT_MAX, INT_MIN, -1})
        EXPECT_TRUE(d.contains(k)) << k;
    EXPECT_EQ(d.add(INT_MIN), 0);
}

TEST(DrabelScores, EachAccessRaisesTheEntryByTheCapacityAndLowersAllByOne) {
    Recorder d(4);
    fill(d);
    EXPECT_EQ(scores(d), (std::vector<std::int32_t>{0, 0, 0, 0}));
    d.get(30, 0);
    EXPECT_EQ(scores(d), (std::vector<std::int32_t>{-1, -1, 4, -1}));
    d.get(30, 1);
    EXPECT_EQ(scores(d), (std::vector<std::int32_t>{-2, -2, 8, -2}));
    d.set(10, 0, 77);
    EXPECT_EQ(scores(d), (std::vector<std::int32_t>{2, -3, 7, -3}));
}

TEST(DrabelScores, FailedAccessesChangeNothing) {
    Recorder d(4);
    EXPECT_EQ(d.get(5, 0), 0); // empty cache

    comparisons = 0;
    d.compare = counting_compare;
    EXPECT_EQ(d.get(5, 0), 0);
    EXPECT_EQ(d.set(5, 0, 1), 0);
    EXPECT_EQ(comparisons, 0) << "an empty cache searched anyway";

    fill(d);
    d.set(20, 1, 9);
    std::vector<std::int32_t> before = scores(d);
    EXPECT_EQ(d.add(20), 0);    // already there
    EXPECT_EQ(d.get(25, 0), 0); // absent
    EXPECT_EQ(d.set(25, 0, 3), 0);
    EXPECT_EQ(d.get(20, 2), 0); // bad slots
    EXPECT_EQ(d.get(20, -1), 0);
    EXPECT_EQ(d.set(20, 2, 3), 0);
    EXPECT_EQ(scores(d), before);
    EXPECT_EQ(d.entries[1].data[1], 9);
    EXPECT_EQ(d.count, 4);
}

TEST(DrabelScores, GetAndSetReadAndWriteTheTwoDataSlots) {
    Recorder d(4);
    fill(d);
    EXPECT_EQ(d.set(40, 0, 11), 0);
    EXPECT_EQ(d.set(40, 1, -22), 0);
    EXPECT_EQ(d.set(40, 0, 33), 11);
    EXPECT_EQ(d.get(40, 0), 33);
    EXPECT_EQ(d.get(40, 1), -22);
    EXPECT_EQ(d.get(30, 0), 0);
}

TEST(DrabelScores, ScoresSaturateInsteadOfWrapping) {
    Recorder d(4);
    fill(d);
    d.entries[0].score = INT_MIN; // key 10, never used for ages
    d.entries[1].score = INT_MAX - 2;
    d.get(20, 0);
    EXPECT_EQ(d.entries[0].score, INT_MIN);
    EXPECT_EQ(d.entries[1].score, INT_MAX - 1);
    // The stale entry is still the one evicted.
    d.add(50);
    ASSERT_EQ(d.freed.size(), 1u);
    EXPECT_EQ(d.freed[0].key, 10);
}

TEST(DrabelEviction, AFullCacheEvictsTheLowestScore) {
    Recorder d(4);
    fill(d);
    d.get(10, 0);             // 4, -1, -1, -1
    d.get(40, 0);             // 3, -2, -2, 3
    d.get(30, 0);             // 2, -3, 2, 2
    d.set(20, 0, 5);          // 1, 1, 1, 1
    d.entries[1].score = -50; // 20 is the clear loser
    EXPECT_EQ(d.add(25), 1);
    ASSERT_EQ(d.freed.size(), 1u);
    EXPECT_EQ(d.freed[0].key, 20);
    EXPECT_EQ(d.freed[0].data[0], 5);
    EXPECT_EQ(keys(d), (std::vector<std::int32_t>{10, 25, 30, 40}));
    EXPECT_EQ(scores(d), (std::vector<std::int32_t>{0, 4, 0, 0}));
    EXPECT_EQ(d.get(25, 0), 0); // the new entry's data starts at zero
    EXPECT_EQ(d.count, 4);
}

TEST(DrabelEviction, ScoresFarApartDoNotOverflowTheScoreSort) {
    Recorder d(4);
    fill(d);
    d.entries[0].score = INT_MAX - 1; // 10
    d.entries[1].score = INT_MIN + 1; // 20: the lowest
    d.entries[2].score = 5;           // 30
    d.entries[3].score = -100;        // 40
    d.add(35);
    ASSERT_EQ(d.freed.size(), 1u);
    EXPECT_EQ(d.freed[0].key, 20);
    EXPECT_EQ(keys(d), (std::vector<std::int32_t>{10, 30, 35, 40}));
}

TEST(DrabelEviction, TheAddedEntryEndsAtTheCapacity) {
    Recorder d(4);
    fill(d);
    d.add(5);
    EXPECT_EQ(d.entries[0].key, 5);
    EXPECT_EQ(d.entries[0].score, 4);
    EXPECT_EQ(d.freed.size(), 1u);
}

TEST(DrabelClear, ClearFreesInKeyOrderAndReusedSlotsStartClean) {
    Recorder d(4);
    fill(d);
    d.set(30, 0, 99);
    d.set(30, 1, 98);
    d.get(10, 0);
    EXPECT_EQ(d.clear(), 0);
    ASSERT_EQ(d.freed.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(d.freed[i].key, static_cast<std::int32_t>(10 * (i + 1)));
    EXPECT_EQ(d.count, 0);
    EXPECT_FALSE(d.contains(30));

    // Refilled, the cache behaves like a fresh one.
    Recorder fresh(4);
    for (std::int32_t k : {7, 3, 9}) {
        d.add(k);
        fresh.add(k);
    }
    EXPECT_EQ(keys(d), keys(fresh));
    EXPECT_EQ(scores(d), (std::vector<std::int32_t>{0, 0, 0}));
    for (std::int32_t k : {7, 3, 9}) {
        EXPECT_EQ(d.get(k, 0), 0);
        EXPECT_EQ(d.get(k, 1), 0);
    }
}

TEST(DrabelClear, DumpPrintsLiveEntriesOnly) {
    Recorder d(4);
    d.add(8);
    d.add(-2);
    d.set(8, 0, 42);
    testing::internal::CaptureStdout();
    d.dump();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "0> -2 [-1]: 0\n1> 8 [4]: 42\n");
    d.clear();
    testing::internal::CaptureStdout();
    d.dump();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}
