#include "songlist/core/name_order.h"

#include <gtest/gtest.h>

#include <vector>

// Each row lists names as a file manager shows them: every name comes strictly before each
// later one in its row.
TEST(NameOrder, RowsArePairwiseInOrder) {
    const std::vector<std::vector<std::string_view>> rows = {
        {"01", "02", "2", "3", "12", "Track 7"},  // digit runs by value, then bytes
        {"Track 2", "track 7", "Track 10"},
        {"A", "a", "a.wav", "B.wav", "b.wav"},  // case counts only when all else is alike
        {"a2b", "a02c"},                        // ... and so do leading zeros
        {"a99999999999999999999999.wav", "a0100000000000000000000000.wav",
         "a100000000000000000000000.wav"},
        {"z.wav", "\xC3\xA9t\xC3\xA9.wav", "\xFE", "\xFF"},  // other bytes by value, UTF-8 or not
    };
    for (const auto& row : rows)
        for (std::size_t i = 0; i < row.size(); ++i)
            for (std::size_t j = 0; j < row.size(); ++j)
                EXPECT_EQ(nameLess(row[i], row[j]), i < j) << row[i] << " | " << row[j];
}
