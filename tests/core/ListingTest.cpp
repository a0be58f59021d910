// Saved selections: reading them, filling their placeholders, and what a fill may run.

#include <SQLiteCpp/Database.h>

#include "core/Listing.h"
#include "support/CoreTestEnv.h"

using SelectionsTest = CoreTest;

TEST_F(SelectionsTest, EntriesUpToTheFirstGapWithTheirDefault)
{
    writeIni("[Work-SQL]\n1=All Works,\n2=By Name,Name LIKE '?\?', and, more\n4=Never,x\nDefault=2\n"
             "[Publisher-SQL]\n1=First,\n2=no comma here\n3=Third,[Submit?] = TRUE\n4=Fourth,\nDefault=2.5\n"
             "[Submission-SQL]\n1=One,\n2=Two,\nDefault=7\n");
    const SelectionSection work = readSelectionSection(session().settings(), View::Work);
    ASSERT_EQ(work.selections.size(), 2);
    EXPECT_EQ(work.selections[0].caption + '|' + work.selections[0].condition, QStringLiteral("All Works|"));
    // Only the first comma separates caption and condition.
    EXPECT_EQ(work.selections[1].condition, QStringLiteral("Name LIKE '?\?', and, more"));
    EXPECT_TRUE(work.defaultIndex == 1 && work.warnings.isEmpty());

    // An entry without a comma is skipped and reported; 2.5 - 1 = 1.5 rounds to the even 2.
    const SelectionSection publisher = readSelectionSection(session().settings(), View::Publisher);
    ASSERT_EQ(publisher.selections.size(), 3);
    EXPECT_EQ(publisher.selections[1].caption, QStringLiteral("Third"));
    ASSERT_EQ(publisher.warnings.size(), 1);
    EXPECT_TRUE(publisher.warnings[0].contains(QStringLiteral("\"2\"")));
    EXPECT_EQ(publisher.defaultIndex, 2);

    // A Default beyond the list chooses nothing and says so.
    const SelectionSection submission = readSelectionSection(session().settings(), View::Submission);
    EXPECT_TRUE(submission.defaultIndex == -1 && submission.warnings.size() == 1);
}

TEST(Placeholders, TypedValuesAreDataNeverSql)
{
    // Asked left to right, searched from the start each time: "a?\?b" brings its own
    // placeholder back (inside the text it became), asked for next.
    QStringList answers{QStringLiteral("Smith"), QStringLiteral("a?\?b"), QStringLiteral("x"), QStringLiteral("1999")};
    int asked = 0;
    EXPECT_EQ(resolvePlaceholders(QStringLiteral("Name LIKE '?\?' AND Year_Written = ?\?"), [&] { return answers.value(asked++); }),
              QStringLiteral("Name LIKE 'Smith' AND Year_Written = 'axb'"));
    EXPECT_EQ(asked, 3);

    const std::tuple<const char*, const char*, const char*> cases[] = {
        // One row per rule; the fuzz target tries any value against the quoting. Quotes inside
        // a text are doubled, a doubled quote earlier does not end it; a cancelled box gives
        // the empty text.
        {"Name = '?\?'", "O'Brien", "Name = 'O''Brien'"},
        {"Name = 'It''s ?\?'", "Joe's", "Name = 'It''s Joe''s'"},
        {"Name LIKE '?\?*'", "", "Name LIKE '*'"},
        // Outside a text a number stays a number (a signed one cannot join a minus into a
        // comment), and so do TRUE and FALSE; anything else is one quoted text.
        {"ID = ?\?", "12", "ID = 12"},
        {"ID-?\?", "-1", "ID-(-1)"},
        {"[Submit?] = ?\?", "true", "[Submit?] = true"},
        {"ID = ?\?", "0 OR 1=1", "ID = '0 OR 1=1'"},
        // Quotes inside a comment open no text, so they cannot turn the rule around.
        {"ID = ?\? -- it's\n", "0 OR 1=1", "ID = '0 OR 1=1' -- it's\n"},
        // Nor can a value end a comment, or a bracketed name, it was typed into.
        {"ID = 1 -- ?\?\nAND Status = 0", "x\nOR 1=1", "ID = 1 -- x OR 1=1\nAND Status = 0"},
        {"[?\?] = 1", "ID] OR [ID", "[ID OR [ID] = 1"},
    };
    for (const auto& [condition, value, filled] : cases) {
        const char* typed = value;  // clang 14 cannot capture a structured binding
        EXPECT_EQ(resolvePlaceholders(QString::fromUtf8(condition), [typed] { return QString::fromUtf8(typed); }),
                  QString::fromUtf8(filled))
            << condition << " with " << value;
    }
}

TEST_F(SelectionsTest, AFillRunsOneStatementThatOnlyReads)
{
    createDatabase();
    QString error;
    EXPECT_EQ(fillStatement(View::Publisher, QStringLiteral("  ")),
              QStringLiteral("SELECT * FROM Expanded_Publisher ORDER BY Name;"));

    EXPECT_TRUE(checkReadOnlyStatement(database(), fillStatement(View::Work, QStringLiteral("[Submit?] = TRUE")), &error));
    for (const auto& [statement, says] :
         {std::pair{fillStatement(View::Work, QStringLiteral("1; DELETE FROM Work")), "more than one statement"},
          {QStringLiteral("DELETE FROM Work;"), "change the database"},
          {fillStatement(View::Work, QStringLiteral("Nonsense =")), "syntax error"}}) {
        EXPECT_FALSE(checkReadOnlyStatement(database(), statement, &error));
        EXPECT_TRUE(error.contains(QLatin1String(says))) << error.toStdString();
    }
}
