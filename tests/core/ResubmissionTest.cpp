// Which earlier submission the resubmission question names, and how it says it.

#include <QLocale>
#include <gtest/gtest.h>

#include "core/Resubmission.h"
#include "support/CoreTestEnv.h"

class ResubmissionTest : public CoreTest {
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        createDatabase();
        exec("INSERT INTO Work (Name) VALUES ('Hidden Ticket'), ('Salt Road');");
        exec("INSERT INTO Publisher (Name) VALUES ('Brass Lantern'), ('Quarto');");
    }
    void TearDown() override
    {
        QLocale::setDefault(QLocale::system());
        CoreTest::TearDown();
    }
    int add(int work, int publisher, const char* sent, const char* returned, int status)
    {
        exec(QStringLiteral("INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status) "
                            "VALUES (%1, %2, %3, %4, %5);")
                 .arg(work)
                 .arg(publisher)
                 .arg(QLatin1String(sent), QLatin1String(returned))
                 .arg(status));
        return queryInt("SELECT max(ID) FROM Submission;");
    }
};

TEST_F(ResubmissionTest, ARejectionIsNamedWithItsDateAndAnOutstandingOneComesFirst)
{
    EXPECT_FALSE(earlierSubmission(database(), 1, 1, 0));
    add(1, 1, "'2023-05-01'", "'2023-06-01'", 1);
    const int latest = add(1, 1, "'2024-01-10'", "'2024-03-03'", 1);
    add(1, 1, "'2024-02-01'", "0", 2);  // accepted: not a reason to ask
    add(2, 1, "'2024-02-01'", "0", 0);  // another work
    add(1, 2, "'2024-02-01'", "0", 0);  // another publisher

    std::optional<EarlierSubmission> earlier = earlierSubmission(database(), 1, 1, 0);
    ASSERT_TRUE(earlier);
    EXPECT_EQ(earlier->id, latest);
    EXPECT_EQ(resubmissionQuestion(*earlier),
              "Hidden Ticket was rejected by Brass Lantern on 3 Mar 2024. Send it again?");

    // Still out: that matters more than any rejection.
    const int out = add(1, 1, "'2024-04-05'", "0", 0);
    earlier = earlierSubmission(database(), 1, 1, 0);
    ASSERT_TRUE(earlier);
    EXPECT_EQ(earlier->id, out);
    EXPECT_EQ(resubmissionQuestion(*earlier),
              "Hidden Ticket is still out with Brass Lantern, sent on 5 Apr 2024 and not yet answered. Send it again?");
    // The submission being amended is not its own earlier one.
    EXPECT_EQ(earlierSubmission(database(), 1, 1, out)->id, latest);

    // Dates stored without a value are not invented.
    exec("DELETE FROM Submission;");
    add(2, 2, "0", "0", 1);
    EXPECT_EQ(resubmissionQuestion(*earlierSubmission(database(), 2, 2, 0)),
              "Salt Road was rejected by Quarto. Send it again?");
    add(2, 2, "0", "0", 0);
    EXPECT_EQ(resubmissionQuestion(*earlierSubmission(database(), 2, 2, 0)),
              "Salt Road is still out with Quarto and not yet answered. Send it again?");
}
