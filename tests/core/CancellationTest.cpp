// Stopping a fill that never ends, and the cap on a single value.

#include "core/Cancellation.h"
#include "core/Listing.h"
#include "core/ListingColumns.h"
#include "support/CoreTestEnv.h"

class CancellationTest : public CoreTest {
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        createDatabase();
        exec("INSERT INTO Work (Name, Genre_ID) VALUES ('Alpha', 1), ('Beta', 2);");
    }
    FillResult fill(const QString& condition)
    {
        return readFillRows(database(), View::Work, fillStatement(View::Work, condition));
    }
};

TEST_F(CancellationTest, ARunawaySelectionIsCancelledAndAValueTooBigIsRefused)
{
    int polls = 0;
    Cancellation cancellation([&polls] { return ++polls == 3; }, std::chrono::milliseconds(0));
    {
        QueryGuard guard(database(), cancellation);
        const FillResult stopped = fill(QStringLiteral(
            "(WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x+1 FROM c) SELECT count(*) FROM c) > 0"));
        EXPECT_TRUE(stopped.cancelled);
        EXPECT_FALSE(stopped.ok);
        EXPECT_TRUE(stopped.ids.empty() && stopped.cells.cells.empty());
        EXPECT_EQ(polls, 3);  // asked as it ran, and not again once told to stop
    }
    const FillResult after = fill(QString());
    ASSERT_TRUE(after.ok) << after.error.toStdString();
    EXPECT_EQ(after.ids.size(), size_t(2));

    const FillResult huge = fill(QStringLiteral("length(randomblob(900000000)) > 0"));
    EXPECT_FALSE(huge.ok || huge.cancelled);
    EXPECT_TRUE(huge.error.contains(QStringLiteral("too big"))) << huge.error.toStdString();
    EXPECT_EQ(queryInt("SELECT length(randomblob(1000000));"), 1000000);
}
