// Stopping a fill that would never end, and the cap on a single value, on the session's
// connection, which must go on working afterwards.

#include <SQLiteCpp/Database.h>

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
        return ReadFillRows(database(), View::Work, FillStatement(View::Work, condition));
    }
};

TEST_F(CancellationTest, RunawaySelectionIsCancelledAndTheConnectionStaysUsable)
{
    const QString runaway = QStringLiteral(
        "(WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x+1 FROM c) SELECT count(*) FROM c) > 0");
    int polls = 0;
    Cancellation cancellation([&polls] { return ++polls == 3; }, std::chrono::milliseconds(0));
    {
        QueryGuard guard(database(), cancellation);
        const FillResult stopped = fill(runaway);
        EXPECT_FALSE(stopped.ok);
        EXPECT_TRUE(stopped.cancelled);
        EXPECT_TRUE(stopped.ids.empty());
        EXPECT_TRUE(stopped.cells.cells.empty());
        EXPECT_EQ(polls, 3);  // asked as it ran, and not again once told to stop
        EXPECT_TRUE(cancellation.cancelled());
    }
    // The guard is gone and the connection is as before: the next fill runs whole.
    const FillResult after = fill(QString());
    ASSERT_TRUE(after.ok) << after.error.toStdString();
    EXPECT_EQ(after.ids.size(), size_t(2));

    // A guard whose poll never says stop leaves a fill as it is; cancel() called from the
    // poll stops it as well.
    Cancellation quiet([] { return false; }, std::chrono::milliseconds(0));
    {
        QueryGuard guard(database(), quiet);
        const FillResult whole = fill(QStringLiteral("Name <> ''"));
        ASSERT_TRUE(whole.ok) << whole.error.toStdString();
        EXPECT_EQ(whole.ids.size(), size_t(2));
    }
    Cancellation* self = nullptr;
    Cancellation byCall([&self] { self->cancel(); return false; }, std::chrono::milliseconds(0));
    self = &byCall;
    {
        QueryGuard guard(database(), byCall);
        EXPECT_TRUE(fill(runaway).cancelled);
    }
}

TEST_F(CancellationTest, OversizedValueIsRefusedByTheEngine)
{
    const FillResult huge = fill(QStringLiteral("length(randomblob(900000000)) > 0"));
    EXPECT_FALSE(huge.ok);
    EXPECT_FALSE(huge.cancelled);
    EXPECT_NE(huge.error.indexOf(QStringLiteral("too big")), -1) << huge.error.toStdString();
    // A value of a real note's size is still fine, and so is the next fill.
    EXPECT_EQ(queryInt("SELECT length(randomblob(1000000));"), 1000000);
    EXPECT_TRUE(fill(QString()).ok);
}
