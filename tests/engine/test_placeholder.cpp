#include <gtest/gtest.h>

#include "engine/schedule.h"

TEST(ResultTable, StartsWithTitlesAndEmptyRows) {
    velmora::MemoryCellStore store;
    EXPECT_EQ(store.RowCount(), 25);
    EXPECT_EQ(store.GetCellText(0, 0), "Year");
    EXPECT_EQ(store.GetCellText(11, 24), "");
}
