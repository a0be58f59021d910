// The question before sending a work again, asked by the real Submission editor; and the
// Publisher editor's "answers within" days.

#include <QButtonGroup>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "core/RecordStore.h"
#include "gui/editors/PublisherEditor.h"
#include "gui/editors/SubmissionEditor.h"
#include "support/EditorTestKit.h"
#include "support/TestEnv.h"

namespace {
const QString kRejected = QStringLiteral("Hidden Ticket was rejected by Brass Lantern on 3 Mar 2024. Send it again?");
}

class ResubmitWarningTest : public QuillaryTest {
protected:
    void SetUp() override
    {
        QuillaryTest::SetUp();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        createDatabase();
        // Lists by name: Hidden Ticket, Salt Road / Brass Lantern, Quarto.
        exec("INSERT INTO Work (Name, Genre_ID, Year_Written) VALUES ('Hidden Ticket', 1, '2020'), ('Salt Road', 1, '2021');");
        exec("INSERT INTO Publisher (Name, Type_ID) VALUES ('Brass Lantern', 1), ('Quarto', 1);");
        exec("INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status) "
             "VALUES (1, 1, '2024-01-10', '2024-03-03', 1), (2, 2, '2024-05-01', 0, 0);");
    }
    void TearDown() override
    {
        QLocale::setDefault(QLocale::system());
        QuillaryTest::TearDown();
    }
    int submissions() { return queryInt("SELECT Count(*) FROM Submission;"); }
    QStringList questions() const
    {
        QStringList asked;
        for (const FakePrompts::Shown& shown : prompts.shown) {
            if (shown.buttons == Prompts::Buttons::YesNo)
                asked << shown.text;
        }
        return asked;
    }
};

TEST_F(ResubmitWarningTest, NoKeepsTheEditorAndItsTypingYesSaves)
{
    auto editor = openEditor<SubmissionEditor>(session(), desktop(), QStringLiteral("New"));
    ASSERT_TRUE(editor);
    clickItem(child<QListWidget>(editor, "workList"), 0);       // Hidden Ticket
    clickItem(child<QListWidget>(editor, "publisherList"), 0);  // Brass Lantern
    typeInto(child<QPlainTextEdit>(editor, "notesEdit"), QStringLiteral("second go"));
    prompts.answers = {Prompts::Answer::No};
    click(child<QPushButton>(editor, "okButton"));
    EXPECT_EQ(questions(), QStringList{kRejected});
    EXPECT_EQ(prompts.shown.last().defaultButton, Prompts::Answer::No);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(submissions(), 2);
    EXPECT_EQ(child<QPlainTextEdit>(editor, "notesEdit")->toPlainText(), "second go");
    EXPECT_EQ(child<QListWidget>(editor, "publisherList")->currentItem()->text(), "Brass Lantern");
    EXPECT_TRUE(editor->hasChanges());

    prompts.answers = {Prompts::Answer::Yes};
    click(child<QPushButton>(editor, "okButton"));
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(submissions(), 3);
    EXPECT_EQ(queryText("SELECT Notes FROM Submission ORDER BY ID DESC LIMIT 1;"), "second go");
}

TEST_F(ResubmitWarningTest, AnAmendmentIsAskedAboutOnlyWhenItChangesWorkOrPublisher)
{
    prompts.answers.clear();
    {
        // Salt Road is still out with Quarto; amending its notes asks nothing.
        auto editor = openEditor<SubmissionEditor>(session(), desktop(), QStringLiteral("Amend"), 2);
        ASSERT_TRUE(editor);
        typeInto(child<QPlainTextEdit>(editor, "notesEdit"), QStringLiteral("chased"));
        click(child<QPushButton>(editor, "okButton"));
        EXPECT_FALSE(editor->isVisible());
        EXPECT_TRUE(questions().isEmpty()) << questions().join('|').toStdString();
    }
    {
        // Moved to Hidden Ticket at Brass Lantern, which rejected it: asked.
        auto editor = openEditor<SubmissionEditor>(session(), desktop(), QStringLiteral("Amend"), 2);
        clickItem(child<QListWidget>(editor, "workList"), 0);
        clickItem(child<QListWidget>(editor, "publisherList"), 0);
        prompts.answers = {Prompts::Answer::No};
        click(child<QPushButton>(editor, "okButton"));
        EXPECT_EQ(questions(), QStringList{kRejected});
        EXPECT_TRUE(editor->isVisible());
        EXPECT_EQ(queryText("SELECT Work_ID || '/' || Publisher_ID FROM Submission WHERE ID = 2;"), "2/2");
        click(child<QPushButton>(editor, "okButton"));  // Yes this time
        EXPECT_EQ(queryText("SELECT Work_ID || '/' || Publisher_ID FROM Submission WHERE ID = 2;"), "1/1");
    }
    {
        // A new one for Hidden Ticket at Brass Lantern now: the one still out is named.
        prompts.shown.clear();
        auto editor = openEditor<SubmissionEditor>(session(), desktop(), QStringLiteral("New"));
        clickItem(child<QListWidget>(editor, "workList"), 0);
        clickItem(child<QListWidget>(editor, "publisherList"), 0);
        prompts.answers = {Prompts::Answer::No};
        click(child<QPushButton>(editor, "okButton"));
        ASSERT_EQ(questions().size(), 1);
        EXPECT_TRUE(questions()[0].startsWith("Hidden Ticket is still out with Brass Lantern, sent on 1 May 2024"))
            << questions()[0].toStdString();
        // Salt Road at Quarto has nothing before it: saved without a word.
        prompts.shown.clear();
        clickItem(child<QListWidget>(editor, "workList"), 1);
        clickItem(child<QListWidget>(editor, "publisherList"), 1);
        click(child<QPushButton>(editor, "okButton"));
        EXPECT_TRUE(questions().isEmpty());
        EXPECT_FALSE(editor->isVisible());
    }
}

TEST_F(ResubmitWarningTest, ThePublisherEditorKeepsItsAnswerWithinDays)
{
    {
        auto editor = openEditor<PublisherEditor>(session(), desktop(), QStringLiteral("Amend"), 1);
        ASSERT_TRUE(editor);
        EXPECT_EQ(child<QLineEdit>(editor, "answerWithinEdit")->text(), QString());
        typeInto(child<QLineEdit>(editor, "answerWithinEdit"), QStringLiteral("6x0"));  // digits only
        EXPECT_EQ(child<QLineEdit>(editor, "answerWithinEdit")->text(), "60");
        click(child<QPushButton>(editor, "okButton"));
        EXPECT_FALSE(editor->isVisible());
    }
    EXPECT_EQ(RecordStore(database()).publisher(1)->answerWithinDays, 60);
    {
        auto editor = openEditor<PublisherEditor>(session(), desktop(), QStringLiteral("Amend"), 1);
        EXPECT_EQ(child<QLineEdit>(editor, "answerWithinEdit")->text(), "60");
        child<QLineEdit>(editor, "answerWithinEdit")->clear();
        click(child<QPushButton>(editor, "okButton"));
    }
    EXPECT_EQ(queryText("SELECT Coalesce(Answer_Within_Days, 'none') FROM Publisher WHERE ID = 1;"), "none");
}
