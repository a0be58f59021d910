// Which earlier submission the resubmission question names, and how it says it.

#include "core/Resubmission.h"
#include "support/CoreTestEnv.h"

class ResubmissionTest : public CoreTest {
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        createDatabase();
        exec("INSERT INTO Work (Name) VALUES ('Hidden Ticket'), ('Salt Road');"
             "INSERT INTO Publisher (Name) VALUES ('Brass Lantern'), ('Quarto');");
    }
    // work, publisher, sent, returned, status
    int add(const char* values)
    {
        exec(QStringLiteral("INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status) "
                            "VALUES (%1);").arg(QLatin1String(values)));
        return queryInt("SELECT max(ID) FROM Submission;");
    }
    QString question(int work, int publisher, int amended = 0)
    {
        const std::optional<EarlierSubmission> earlier = earlierSubmission(database(), work, publisher, amended);
        return earlier ? QStringLiteral("%1: %2").arg(earlier->id).arg(resubmissionQuestion(*earlier)) : QString();
    }
    UkLocale locale;
};

TEST_F(ResubmissionTest, ARejectionIsNamedWithItsDateAndAnOutstandingOneComesFirst)
{
    EXPECT_EQ(question(1, 1), QString());
    add("1, 1, '2023-05-01', '2023-06-01', 1");
    const int latest = add("1, 1, '2024-01-10', '2024-03-03', 1");
    add("1, 1, '2024-02-01', 0, 2");  // accepted: not a reason to ask
    add("2, 1, '2024-02-01', 0, 0");  // another work
    add("1, 2, '2024-02-01', 0, 0");  // another publisher
    const QString rejected =
        QStringLiteral("%1: Hidden Ticket was rejected by Brass Lantern on 3 Mar 2024. Send it again?").arg(latest);
    EXPECT_EQ(question(1, 1), rejected);

    // Still out: that matters more than any rejection; but not the submission being amended.
    const int out = add("1, 1, '2024-04-05', 0, 0");
    EXPECT_EQ(question(1, 1), QStringLiteral("%1: Hidden Ticket is still out with Brass Lantern, sent on 5 Apr 2024 and "
                                             "not yet answered. Send it again?").arg(out));
    EXPECT_EQ(question(1, 1, out), rejected);

    // Dates stored without a value are not invented.
    exec("DELETE FROM Submission;");
    const int undated = add("2, 2, 0, 0, 1");
    EXPECT_EQ(question(2, 2), QStringLiteral("%1: Salt Road was rejected by Quarto. Send it again?").arg(undated));
    const int undatedOut = add("2, 2, 0, 0, 0");
    EXPECT_EQ(question(2, 2),
              QStringLiteral("%1: Salt Road is still out with Quarto and not yet answered. Send it again?").arg(undatedOut));
}
