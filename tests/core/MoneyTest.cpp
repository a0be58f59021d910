// Amounts, the withdrawal after an acceptance, the simultaneous rule, the money figures.

#include <QLocale>

#include "core/Money.h"
#include "core/OtherSubmissions.h"
#include "core/RecordStore.h"
#include "core/Statistics.h"
#include "core/SubmissionFacts.h"
#include "support/CoreTestEnv.h"

namespace {

const QLocale kBritish(QLocale::English, QLocale::UnitedKingdom);
const QLocale kGerman(QLocale::German, QLocale::Germany);

} // namespace

TEST(Money, AmountsAreTypedAndShownExactlyInTheirCurrency)
{
    const Currency pounds(QStringLiteral("GBP"), kBritish);
    const Currency yen(QStringLiteral("JPY"), kBritish);
    const Currency dinars(QStringLiteral("KWD"), kBritish);
    const Currency euros(QStringLiteral("EUR"), kGerman);
    // A locale's own currency, or plain numbers for one without (C).
    EXPECT_EQ(Currency(QString(), kGerman).code(), QStringLiteral("EUR"));
    EXPECT_EQ(Currency(QString(), QLocale::c()).format(1250), QStringLiteral("12.50"));

    struct Shown { const Currency& currency; qint64 minor; QString text; };
    const Shown shown[] = {
        {pounds, 123450, QStringLiteral("£1,234.50")},
        {pounds, -250, QStringLiteral("-£2.50")},
        {yen, 1500, QStringLiteral("¥1,500")},
        {dinars, 1005, QStringLiteral("KWD1.005")},
        {euros, 123450, QString::fromUtf8("1.234,50\u00a0€")},
    };
    for (const Shown& s : shown)
        EXPECT_EQ(s.currency.format(s.minor), s.text) << s.minor;

    struct Typed { const Currency& currency; QString text; std::optional<qint64> minor; bool ok; };
    const Typed typed[] = {
        {pounds, QStringLiteral(""), std::nullopt, true},
        {pounds, QStringLiteral(" 3.5 "), 350, true},
        {pounds, QStringLiteral("£1,234.56"), 123456, true},
        {pounds, QStringLiteral("1000000.01"), std::nullopt, false},
        {pounds, QStringLiteral("-3"), std::nullopt, false},
        {pounds, QStringLiteral("$3"), std::nullopt, false},
        {pounds, QStringLiteral("1,23"), std::nullopt, false},
        {yen, QStringLiteral("1500.5"), std::nullopt, false},
        {dinars, QStringLiteral("1.005"), 1005, true},
        // The locale's own format, or a decimal point.
        {euros, QStringLiteral("1.234,56 €"), 123456, true},
        {euros, QStringLiteral("2.50"), 250, true},
    };
    for (const Typed& t : typed) {
        const Currency::Parsed parsed = t.currency.parse(t.text);
        EXPECT_EQ(parsed.minor, t.minor) << t.text.toStdString();
        EXPECT_EQ(parsed.ok(), t.ok) << t.text.toStdString() << " " << parsed.error.toStdString();
    }
    // Whatever is shown reads back as the same amount.
    for (const qint64 minor : {1LL, 123456LL, 99999999LL})
        EXPECT_EQ(euros.parse(euros.format(minor)).minor, minor);
}

class MoneyStoreTest : public CoreTest {
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        createDatabase();
        // Publishers: 1 takes simultaneous submissions, 2 takes none, 3 not known.
        exec("INSERT INTO Work (Name, \"Submitted?\") VALUES ('Hidden Ticket', 1), ('Salt Road', 0);"
             "INSERT INTO Publisher (Name, Simultaneous) VALUES ('Brass Lantern', 1), ('Quarto', 0), ('Paper Owl', NULL);");
    }
    // work, publisher, sent, returned, status
    int add(const char* values)
    {
        exec(QStringLiteral("INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status) "
                            "VALUES (%1);").arg(QLatin1String(values)));
        return queryInt("SELECT max(ID) FROM Submission;");
    }
    QString conflict(int work, int publisher, int excluded = 0)
    {
        const auto found = simultaneousConflict(database(), work, publisher, excluded);
        return found ? simultaneousQuestion(*found) : QString();
    }
    UkLocale locale;
};

TEST_F(MoneyStoreTest, NoAmountIsStoredAsNullAndNoPaidDateAsZero)
{
    RecordStore store(database());
    PublisherRecord quarto = store.publisher(2).value();
    EXPECT_TRUE(quarto.simultaneous == false && !store.publisher(3)->simultaneous);
    quarto.simultaneous = std::nullopt;
    store.savePublisher(quarto);
    EXPECT_EQ(queryInt("SELECT Simultaneous IS NULL AND Usual_Fee IS NULL FROM Publisher WHERE ID = 2;"), 1);
    SubmissionRecord s{.workId = 2, .publisherId = 1, .dateSubmitted = QStringLiteral("2024-01-02"), .dateReturned = 0};
    s.id = store.saveSubmission(s);
    EXPECT_EQ(queryText("SELECT typeof(Fee) || typeof(Payment) || Date_Paid FROM Submission;"),
              QStringLiteral("nullnull0"));
    s.payment = 12345;
    s.datePaid = QStringLiteral("2024-03-04");
    store.saveSubmission(s);
    EXPECT_EQ(queryText("SELECT Payment || Date_Paid FROM Submission;"), QStringLiteral("123452024-03-04"));
}

TEST_F(MoneyStoreTest, AfterAnAcceptanceTheOthersAreListedAndWithdrawnTogether)
{
    const int quarto = add("1, 2, '2024-02-01', 0, 0");
    const int owl = add("1, 3, '2024-01-15', 0, 0");
    add("1, 1, '2023-05-01', '2023-06-01', 1");  // already answered
    add("2, 1, '2024-01-01', 0, 0");             // another work
    const int accepted = add("1, 1, '2024-03-01', '2024-04-01', 2");
    exec("UPDATE Submission SET Outcome = 'kept' WHERE Work_ID = 2;"
         "UPDATE Submission SET Outcome = 'queried in May' WHERE ID = " + QString::number(owl) + ";");

    const QList<OtherSubmission> others = otherUnreturned(database(), 1, accepted);
    ASSERT_EQ(others.size(), 2);
    EXPECT_TRUE(others[0].id == owl && others[1].id == quarto);
    EXPECT_EQ(otherSubmissionLine(others[0]), QStringLiteral("Paper Owl, sent on 15 Jan 2024"));

    // Withdrawn once: a second time finds nothing still out.
    RecordStore store(database());
    EXPECT_EQ(store.withdrawSubmissions({quarto, owl}, QDate(2024, 4, 2)), 2);
    EXPECT_EQ(store.withdrawSubmissions({quarto, owl}, QDate(2024, 4, 3)), 0);
    EXPECT_EQ(queryText("SELECT group_concat(Status || ' ' || Date_Returned || ' ' || Outcome, '; ') FROM Submission "
                        "WHERE ID IN (" + QString::number(quarto) + ", " + QString::number(owl) + ");"),
              QStringLiteral("1 2024-04-02 Withdrawn; 1 2024-04-02 Withdrawn; queried in May"));
    EXPECT_EQ(queryInt("SELECT \"Submitted?\" FROM Work WHERE ID = 1;"), 0);
    EXPECT_EQ(queryText("SELECT Outcome || Status FROM Submission WHERE Work_ID = 2;"), QStringLiteral("kept0"));
}

TEST_F(MoneyStoreTest, TheSimultaneousRuleAsksInBothDirectionsButNeverForNotKnown)
{
    // Not out anywhere: nothing to ask, whatever the publisher's rule.
    EXPECT_EQ(conflict(1, 2), QString());
    const int atBrass = add("1, 1, '2024-02-01', 0, 0");
    // Sending it to a publisher that takes none while it is out elsewhere.
    EXPECT_EQ(conflict(1, 2), QStringLiteral("Quarto takes no simultaneous submissions, and Hidden Ticket is still out "
                                             "with Brass Lantern, sent on 1 Feb 2024. Send it to Quarto anyway?"));
    // Not known and yes never ask; nor does the submission being amended count against itself.
    EXPECT_EQ(conflict(1, 3) + conflict(1, 1) + conflict(1, 2, atBrass), QString());

    // Out with a publisher that takes none: sending it anywhere else is asked.
    exec("UPDATE Submission SET Publisher_ID = 2 WHERE ID = " + QString::number(atBrass) + ";");
    EXPECT_EQ(conflict(1, 1), QStringLiteral("Hidden Ticket is out with Quarto, sent on 1 Feb 2024, and Quarto takes no "
                                             "simultaneous submissions. Send it to Brass Lantern anyway?"));
    // Returned submissions do not count.
    exec("UPDATE Submission SET Publisher_ID = 2, Status = 1 WHERE ID = " + QString::number(atBrass) + ";");
    EXPECT_EQ(conflict(1, 1), QString());
}

TEST_F(MoneyStoreTest, MoneyFiguresMatchTheHandWorkedOnes)
{
    // 2022: fees and no payment. 2023: a fee, an acceptance paid in 2024 (Paid On), a
    // payment without a Paid On (counted by its returned date). A deleted work and publisher.
    exec("INSERT INTO Publisher (Name) VALUES ('Gone');");
    exec("INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status, Fee, Payment, Date_Paid) "
         "VALUES (1, 1, '2022-03-01', '2022-04-01', 1, 300, NULL, 0),"
         "       (2, 2, '2022-09-01', 0, 0, 250, NULL, 0),"
         "       (1, 2, '2023-01-10', '2023-11-20', 2, 500, 5000, '2024-01-05'),"
         "       (2, 1, '2023-06-01', '2023-08-01', 3, NULL, 2550, 0),"
         "       (9, 4, '2024-02-01', '2024-03-01', 2, 100, 1001, '2024-03-09'),"
         "       (1, 3, '2024-05-01', 0, 0, NULL, NULL, 0);");
    exec("DELETE FROM Publisher WHERE ID = 4;");
    const MoneyFigures money = moneyFigures(loadSubmissionFacts(database()));

    QStringList years;
    for (const MoneyYear& y : money.years)
        years << QStringLiteral("%1 %2 %3 %4 %5").arg(y.year).arg(y.fees).arg(y.payments).arg(y.net()).arg(y.acceptances);
    EXPECT_EQ(years, QStringList({"2022 550 0 -550 0", "2023 500 2550 2050 2", "2024 100 6001 5901 1"}));
    EXPECT_EQ(QList<qint64>({money.fees, money.payments, money.net(), money.acceptances}), QList<qint64>({1150, 8551, 7401, 3}));

    QStringList publishers;
    for (const MoneyPublisher& p : money.publishers)
        publishers << QStringLiteral("%1 %2 %3 %4").arg(p.exists ? p.name : QStringLiteral("(deleted)"))
                          .arg(p.fees).arg(p.payments).arg(p.meanPayment() ? QString::number(*p.meanPayment()) : "-");
    EXPECT_EQ(publishers, QStringList({"Brass Lantern 300 2550 2550", "Quarto 750 5000 5000", "(deleted) 100 1001 1001"}));

    // The filter applies as on the other tabs: by sent date.
    StatisticsFilter from2023;
    from2023.from = QDate(2023, 1, 1);
    EXPECT_EQ(moneyFigures(applyFilter(loadSubmissionFacts(database()), from2023)).fees, 600);
}
