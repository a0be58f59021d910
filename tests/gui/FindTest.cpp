// Finding in a long listing can be stopped part way.

#include <gtest/gtest.h>

#include "core/Cancellation.h"
#include "gui/Find.h"
#include "gui/ListingModel.h"

TEST(Find, ALongSearchStopsWhenCancelled)
{
    const int kRows = 50000;
    CellTable cells;
    std::vector<int> ids;
    for (int r = 0; r < kRows; ++r) {
        cells.cells.push_back(cells.add(r == kRows - 1 ? QStringLiteral("needle") : QStringLiteral("hay")));
        ids.push_back(r + 1);
    }
    ListingModel grid;
    grid.setCols(1);
    grid.replaceRows(std::move(cells), std::move(ids));

    int polls = 0;
    Cancellation stopAtOnce([&polls] { return ++polls == 2; }, std::chrono::milliseconds(0));
    const FindHit stopped = FindCell(grid, true, 0, 0, QStringLiteral("needle"), {}, &stopAtOnce);
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_FALSE(stopped.found);
    EXPECT_EQ(polls, 2);

    Cancellation goOn([] { return false; }, std::chrono::milliseconds(0));
    const FindHit hit = FindCell(grid, true, 0, 0, QStringLiteral("needle"), {}, &goOn);
    EXPECT_TRUE(hit.found);
    EXPECT_FALSE(hit.cancelled);
    EXPECT_EQ(hit.row, kRows);
}
