// Finding in a long listing can be stopped part way.

#include <gtest/gtest.h>

#include "core/Cancellation.h"
#include "gui/Find.h"
#include "gui/ListingModel.h"

TEST(Find, ALongSearchStopsWhenCancelled)
{
    const int kRows = 50000;
    CellTable cells;
    for (int r = 0; r < kRows; ++r)
        cells.cells.push_back(cells.add(r == kRows - 1 ? QStringLiteral("needle") : QStringLiteral("hay")));
    ListingModel grid;
    grid.setListing({QStringLiteral("Name")}, std::move(cells), std::vector<int>(kRows, 1));

    int polls = 0;
    Cancellation cancellation([&polls] { return ++polls == 2; }, std::chrono::milliseconds(0));
    const FindHit stopped = findCell(grid, true, 0, 0, QStringLiteral("needle"), {}, &cancellation);
    EXPECT_TRUE(stopped.cancelled && !stopped.found);
    EXPECT_EQ(polls, 2);
    EXPECT_EQ(findCell(grid, true, 0, 0, QStringLiteral("needle"), {}).row, kRows - 1);
}
