#include <gtest/gtest.h>

#include <cstring>

#include "base/TDynaArray.h"

using zb::TDynaArray;

namespace {
struct Rec {
    int32_t a;
    char tag[12];
};

std::vector<int> Contents(TDynaArray<Rec>& arr) {
    std::vector<int> out;
    for (uint32_t i = 0; i < arr.Count; ++i) out.push_back(arr[i].a);
    return out;
}

void Fill(TDynaArray<Rec>& arr, std::initializer_list<int> values) {
    for (int v : values) arr.Add()->a = v;
}
} // namespace

TEST(TDynaArray, EmptyArrayIteratesNothingAndLeavesOwnerVariable) {
    Rec sentinel{};
    Rec* cursor = &sentinel;
    TDynaArray<Rec> arr(&cursor);
    EXPECT_EQ(arr.Count, 0u);
    EXPECT_EQ(arr.Position, -1);
    EXPECT_EQ(arr.Data, nullptr);
    arr.First();
    EXPECT_FALSE(arr.Next());
    EXPECT_EQ(cursor, &sentinel);
}

TEST(TDynaArray, AddZeroFillsGrowsExactlyAndUpdatesOwnerVariable) {
    Rec* cursor = nullptr;
    TDynaArray<Rec> arr(&cursor);
    Rec* r = arr.Add();
    EXPECT_EQ(arr.Count, 1u);
    EXPECT_EQ(arr.Position, 0);
    EXPECT_EQ(cursor, r);
    EXPECT_EQ(arr.Capacity, int32_t(sizeof(Rec)));
    const Rec zero{};
    EXPECT_EQ(std::memcmp(r, &zero, sizeof(Rec)), 0);
    r->a = 7;
    std::strcpy(r->tag, "x");
    Rec* r2 = arr.Add();
    EXPECT_EQ(arr.Capacity, int32_t(2 * sizeof(Rec)));
    EXPECT_EQ(cursor, r2);
    EXPECT_EQ(arr[0].a, 7); // survives the reallocation
    EXPECT_EQ(r2->a, 0);
}

TEST(TDynaArray, DeleteMovesDownShrinksAndClearsCursor) {
    Rec* cursor = nullptr;
    TDynaArray<Rec> arr(&cursor);
    Fill(arr, {1, 2, 3});
    arr.Delete(3);
    arr.Delete(-1);
    EXPECT_EQ(Contents(arr), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(arr.Position, 2); // out-of-range deletes leave the cursor alone
    EXPECT_NE(cursor, nullptr);
    arr.Delete(0);
    EXPECT_EQ(Contents(arr), (std::vector<int>{2, 3}));
    EXPECT_EQ(arr.Capacity, int32_t(2 * sizeof(Rec)));
    EXPECT_EQ(cursor, nullptr);
    EXPECT_EQ(arr.Position, -1);
    arr.Delete(1);
    arr.Delete(0);
    EXPECT_EQ(arr.Count, 0u);
    EXPECT_EQ(arr.Data, nullptr);
    EXPECT_EQ(arr.Capacity, 0);
    EXPECT_FALSE(arr.Next());
}

TEST(TDynaArray, ExchangeSwapsAndPutsCursorOnSecondIndex) {
    Rec* cursor = nullptr;
    TDynaArray<Rec> arr(&cursor);
    Fill(arr, {10, 20, 30});
    arr.Exchange(0, 1);
    EXPECT_EQ(Contents(arr), (std::vector<int>{20, 10, 30}));
    EXPECT_EQ(arr.Position, 1);
    EXPECT_EQ(cursor->a, 10);
    arr.Exchange(0, 0);
    EXPECT_EQ(Contents(arr), (std::vector<int>{20, 10, 30}));
    EXPECT_EQ(cursor, &arr[0]);
    arr.Exchange(0, 3); // out of range: nothing, cursor included
    EXPECT_EQ(cursor, &arr[0]);
    EXPECT_EQ(Contents(arr), (std::vector<int>{20, 10, 30}));
}

TEST(TDynaArray, IterationKeepsPositionOneAheadAndStopsOnLast) {
    Rec* cursor = nullptr;
    TDynaArray<Rec> arr(&cursor);
    Fill(arr, {1, 2, 3});
    arr.First();
    std::vector<int> seen, positions;
    while (arr.Next()) {
        seen.push_back(cursor->a);
        positions.push_back(arr.Position);
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(positions, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(cursor, &arr[2]);
    EXPECT_EQ(arr.Position, 3);
    EXPECT_FALSE(arr.Next());
    EXPECT_EQ(cursor, &arr[2]);
}

TEST(TDynaArray, ClearEmptiesAndNullsOwnerVariable) {
    Rec* cursor = nullptr;
    TDynaArray<Rec> arr(&cursor);
    Fill(arr, {1, 2});
    arr.Clear();
    EXPECT_EQ(arr.Count, 0u);
    EXPECT_EQ(arr.Data, nullptr);
    EXPECT_EQ(cursor, nullptr);

}
