// Saved selections: reading them, filling their placeholders, and what a fill may run.

#include <SQLiteCpp/Database.h>

#include "core/Listing.h"
#include "support/CoreTestEnv.h"

class SelectionsTest : public CoreTest {};

TEST_F(SelectionsTest, EntriesUpToTheFirstGapWithTheirDefault)
{
    writeIni("[Work-SQL]\n1=All Works,\n2=By Name,Name LIKE '??', and, more\n4=Never,x\nDefault=2\n"
             "[Publisher-SQL]\n1=Only,\nDefault=0\n[Submission-SQL]\n1=One,\n2=Two,\nDefault=7\n");
    SelectionSection work = ReadSelectionSection(session().settings(), View::Work);
    ASSERT_EQ(work.selections.size(), 2);
    EXPECT_EQ(work.selections[0].caption, QStringLiteral("All Works"));
    EXPECT_EQ(work.selections[0].condition, QString());
    // Only the first comma separates caption and condition.
    EXPECT_EQ(work.selections[1].condition, QStringLiteral("Name LIKE '??', and, more"));
    EXPECT_EQ(work.defaultIndex, 1);
    EXPECT_TRUE(work.warnings.isEmpty());

    EXPECT_EQ(ReadSelectionSection(session().settings(), View::Publisher).defaultIndex, -1);

    // A Default beyond the list chooses nothing and says so.
    SelectionSection submission = ReadSelectionSection(session().settings(), View::Submission);
    EXPECT_EQ(submission.defaultIndex, -1);
    EXPECT_EQ(submission.warnings.size(), 1);
}

TEST_F(SelectionsTest, AnEntryWithoutACommaIsSkippedAndReported)
{
    writeIni("[Work-SQL]\n1=First,\n2=no comma here\n3=Third,[Submit?] = TRUE\n4=Fourth,\nDefault=2.5\n");
    SelectionSection work = ReadSelectionSection(session().settings(), View::Work);
    ASSERT_EQ(work.selections.size(), 3);
    EXPECT_EQ(work.selections[1].caption, QStringLiteral("Third"));
    ASSERT_EQ(work.warnings.size(), 1);
    EXPECT_TRUE(work.warnings[0].contains(QStringLiteral("\"2\"")));
    // 2.5 - 1 = 1.5, which rounds to the even 2: the third listed selection.
    EXPECT_EQ(work.defaultIndex, 2);
}

TEST(Placeholders, AskedLeftToRightAndSearchedFromTheStartEachTime)
{
    QStringList answers{QStringLiteral("Smith"), QStringLiteral("a??b"), QStringLiteral("x"), QStringLiteral("1999")};
    int asked = 0;
    const QString result = ResolvePlaceholders(QStringLiteral("Name LIKE '??' AND Year_Written = ??"), [&] {
        return answers.value(asked++);
    });
    // "a??b" brings its own placeholder back (inside the text it became), asked for next.
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(result, QStringLiteral("Name LIKE 'Smith' AND Year_Written = 'axb'"));
}

TEST(Placeholders, QuotesInsideATextAreDoubled)
{
    auto fill = [](const QString& condition, const QString& value) {
        return ResolvePlaceholders(condition, [&] { return value; });
    };
    EXPECT_EQ(fill(QStringLiteral("Name = '??'"), QStringLiteral("O'Brien")), QStringLiteral("Name = 'O''Brien'"));
    EXPECT_EQ(fill(QStringLiteral("Name = \"??\""), QStringLiteral("say \"hi\"")),
              QStringLiteral("Name = \"say \"\"hi\"\"\""));
    // A doubled quote earlier in the text does not end it; a quote in a bracketed name starts none.
    EXPECT_EQ(fill(QStringLiteral("Name = 'It''s ??'"), QStringLiteral("Joe's")), QStringLiteral("Name = 'It''s Joe''s'"));
    EXPECT_EQ(fill(QStringLiteral("[a'b] = ??"), QStringLiteral("'x'")), QStringLiteral("[a'b] = '''x'''"));
    // A cancelled box gives the empty text.
    EXPECT_EQ(fill(QStringLiteral("Name LIKE '??*'"), QString()), QStringLiteral("Name LIKE '*'"));
}

TEST(Placeholders, ATypedValueOutsideAQuotedTextIsDataNeverSql)
{
    auto fill = [](const QString& condition, const QString& value) {
        return ResolvePlaceholders(condition, [&] { return value; });
    };
    // A number stays a number (a signed one cannot join a minus into a comment), and so do
    // TRUE and FALSE; anything else is one quoted text.
    EXPECT_EQ(fill(QStringLiteral("ID = ??"), QStringLiteral("12")), QStringLiteral("ID = 12"));
    EXPECT_EQ(fill(QStringLiteral("ID-??"), QStringLiteral("-1")), QStringLiteral("ID-(-1)"));
    EXPECT_EQ(fill(QStringLiteral("[Submit?] = ??"), QStringLiteral("true")), QStringLiteral("[Submit?] = true"));
    EXPECT_EQ(fill(QStringLiteral("ID = ??"), QStringLiteral("0 OR 1=1")), QStringLiteral("ID = '0 OR 1=1'"));
    EXPECT_EQ(fill(QStringLiteral("ID = ??"), QStringLiteral("1) OR ('x'='x")), QStringLiteral("ID = '1) OR (''x''=''x'"));
    // Quotes inside a comment open no text, so they cannot turn the rule around.
    EXPECT_EQ(fill(QStringLiteral("ID = ?? -- it's\n"), QStringLiteral("0 OR 1=1")),
              QStringLiteral("ID = '0 OR 1=1' -- it's\n"));
    EXPECT_EQ(fill(QStringLiteral("Name = 'a' -- it's\nOR ID = ??"), QStringLiteral("0 OR 1=1")),
              QStringLiteral("Name = 'a' -- it's\nOR ID = '0 OR 1=1'"));
    EXPECT_EQ(fill(QStringLiteral("/* it's */ ID = ??"), QStringLiteral("0 OR 1=1")),
              QStringLiteral("/* it's */ ID = '0 OR 1=1'"));
    // Nor can a value end a comment, or a bracketed name, it was typed into.
    EXPECT_EQ(fill(QStringLiteral("ID = 1 -- ??\nAND Status = 0"), QStringLiteral("x\nOR 1=1")),
              QStringLiteral("ID = 1 -- x OR 1=1\nAND Status = 0"));
    EXPECT_EQ(fill(QStringLiteral("ID = 1 /* ?? */"), QStringLiteral("*/ OR 1=1 /*")),
              QStringLiteral("ID = 1 /*    OR 1=1    */"));
    EXPECT_EQ(fill(QStringLiteral("[??] = 1"), QStringLiteral("ID] OR [ID")), QStringLiteral("[ID OR [ID] = 1"));
}

TEST_F(SelectionsTest, AFillRunsOneStatementThatOnlyReads)
{
    createDatabase();
    QString error;
    EXPECT_EQ(FillStatement(View::Work, QString()), QStringLiteral("SELECT DISTINCT * FROM Expanded_Work ORDER BY Name;"));
    EXPECT_EQ(FillStatement(View::Submission, QStringLiteral("Status = 0")),
              QStringLiteral("SELECT * FROM Expanded_Submission WHERE Status = 0 ORDER BY Work;"));
    EXPECT_EQ(FillStatement(View::Publisher, QStringLiteral("  ")),
              QStringLiteral("SELECT * FROM Expanded_Publisher ORDER BY Name;"));

    EXPECT_TRUE(CheckReadOnlyStatement(database(), FillStatement(View::Work, QStringLiteral("[Submit?] = TRUE")), &error));
    EXPECT_FALSE(CheckReadOnlyStatement(database(), FillStatement(View::Work, QStringLiteral("1; DELETE FROM Work")), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("more than one statement")));
    EXPECT_FALSE(CheckReadOnlyStatement(database(), QStringLiteral("DELETE FROM Work;"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("change the database")));
    EXPECT_FALSE(CheckReadOnlyStatement(database(), FillStatement(View::Work, QStringLiteral("Nonsense =")), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("syntax error")));
}
