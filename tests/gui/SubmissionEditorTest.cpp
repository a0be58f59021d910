// The Submission editor through its real widgets, and the flags it keeps on works and publishers.

#include <QButtonGroup>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "gui/editors/SubmissionEditor.h"
#include "support/EditorTestKit.h"
#include "support/TestEnv.h"

namespace {
const QString kNotADate = QStringLiteral("The Returned date \"31/02/2000\" is not a date (dd/mm/yyyy).");
}

class SubmissionEditorTest : public QuillaryTest {
protected:
    void SetUp() override
    {
        QuillaryTest::SetUp();
        createDatabase();
        // Name order (letter case aside): alpha, Middle, Zebra / Atlantic, Quarterly.
        zebra = addWork(QStringLiteral("Zebra"));
        alpha = addWork(QStringLiteral("alpha"));
        middle = addWork(QStringLiteral("Middle"));
        exec(QStringLiteral("INSERT INTO Publisher (Name) VALUES ('Quarterly'), ('Atlantic')"));
        atlantic = queryInt(QStringLiteral("SELECT max(ID) FROM Publisher"));
        quarterly = atlantic - 1;
    }

    int addWork(const QString& name)
    {
        exec(QStringLiteral("INSERT INTO Work (Name, Genre_ID, Year_Written, \"Submit?\", \"Submitted?\", \"Accepted?\", "
                            "\"Published?\") VALUES ('%1', 1, '1990', 0, 0, 0, 0)").arg(name));
        return queryInt(QStringLiteral("SELECT max(ID) FROM Work"));
    }
    int addSubmission(int work, int publisher, int status)
    {
        exec(QStringLiteral("INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status, "
                            "Outcome, Notes) VALUES (%1, %2, '2001-03-05', 0, %3, NULL, 'first try')")
                 .arg(work).arg(publisher).arg(status));
        return queryInt(QStringLiteral("SELECT max(ID) FROM Submission"));
    }
    QString workFlags(int work)
    {
        return queryText(QStringLiteral("SELECT \"Submit?\" || \"Submitted?\" || \"Accepted?\" || \"Published?\" "
                                        "FROM Work WHERE ID = %1").arg(work));
    }
    QString publisherFlags(int publisher)
    {
        return queryText(QStringLiteral("SELECT \"Submit_To?\" || \"Submitted_To?\" FROM Publisher WHERE ID = %1")
                             .arg(publisher));
    }
    QString stored(int submission, const QString& columns)
    { return queryText(QStringLiteral("SELECT %1 FROM Submission WHERE ID = %2").arg(columns).arg(submission)); }
    int submissions() { return queryInt(QStringLiteral("SELECT Count(*) FROM Submission")); }
    std::unique_ptr<SubmissionEditor> open(const QString& action, int id = 0)
    { return openEditor<SubmissionEditor>(session(), desktop(), action, id); }
    void amendTo(int submission, int status)
    {
        auto editor = open(QStringLiteral("Amend"), submission);
        click(child<QButtonGroup>(editor, "statusGroup")->button(status));
        click(child<QPushButton>(editor, "okButton"));
        EXPECT_FALSE(editor->isVisible());
    }

    int zebra = 0, alpha = 0, middle = 0, quarterly = 0, atlantic = 0;
};

TEST_F(SubmissionEditorTest, NewStartsWithDefaultsAndRaisesTheSubmittedFlags)
{
    auto editor = open(QStringLiteral("New"));
    ASSERT_TRUE(editor);
    EXPECT_EQ(child<QLineEdit>(editor, "submittedEdit")->text() + '|' + child<QLineEdit>(editor, "returnedEdit")->text(), QStringLiteral("06/12/2026|"));
    EXPECT_EQ(EditorWindow::optionIndex(child<QButtonGroup>(editor, "statusGroup")), SubmissionEditor::kUnreturned);
    EXPECT_EQ(selectedIds(child<QListWidget>(editor, "workList")), QList<int>{alpha});
    EXPECT_EQ(selectedIds(child<QListWidget>(editor, "publisherList")), QList<int>{atlantic});
    click(child<QPushButton>(editor, "okButton"));
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(submissions(), 0);
    EXPECT_EQ(workFlags(alpha) + publisherFlags(atlantic), QStringLiteral("000000"));
    EXPECT_FALSE(editor->result().dataChanged);

    // Saved as Accepted, a new submission raises Submit? and Accepted?; the work is not out.
    editor = open(QStringLiteral("New"));
    clickItem(child<QListWidget>(editor, "workList"), 1);      // Middle
    clickItem(child<QListWidget>(editor, "publisherList"), 1); // Quarterly
    click(child<QButtonGroup>(editor, "statusGroup")->button(SubmissionEditor::kAccepted));
    click(child<QPushButton>(editor, "okButton"));
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(editor->result().selectId, queryInt(QStringLiteral("SELECT max(ID) FROM Submission")));
    EXPECT_EQ(queryText(QStringLiteral("SELECT group_concat(Work_ID || '/' || Publisher_ID || '/' || Status) FROM Submission")),
              QStringLiteral("%1/%2/2").arg(middle).arg(quarterly));
    EXPECT_EQ(workFlags(middle) + publisherFlags(quarterly), QStringLiteral("101011"));
    EXPECT_EQ(workFlags(alpha) + publisherFlags(atlantic), QStringLiteral("000000"));
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(SubmissionEditorTest, SubmittedFollowsAnAmendAndAMove)
{
    const int returned = addSubmission(zebra, atlantic, SubmissionEditor::kRejected);
    const int moving = addSubmission(alpha, atlantic, SubmissionEditor::kUnreturned);
    exec(QStringLiteral("UPDATE Work SET \"Submit?\" = 1, \"Submitted?\" = 1 WHERE ID = %1").arg(alpha));

    // Back to unreturned: the work is out again.
    amendTo(returned, SubmissionEditor::kUnreturned);
    EXPECT_EQ(workFlags(zebra), QStringLiteral("0100"));

    // Moved from alpha (its only unreturned one) to Zebra: alpha is no longer out.
    auto editor = open(QStringLiteral("Amend"), moving);
    clickItem(child<QListWidget>(editor, "workList"), 2);
    click(child<QPushButton>(editor, "okButton"));
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(stored(moving, QStringLiteral("Work_ID")).toInt(), zebra);
    EXPECT_EQ(workFlags(alpha) + workFlags(zebra), QStringLiteral("1000") + QStringLiteral("0100"));
    EXPECT_EQ(prompts.texts().filter(QStringLiteral("could not")), QStringList());
}

TEST_F(SubmissionEditorTest, AmendWithoutAReturnDateAndEmptyDatesStoredAsZero)
{
    const int id = addSubmission(middle, quarterly, SubmissionEditor::kRejected);
    auto editor = open(QStringLiteral("Amend"), id);
    ASSERT_TRUE(editor);
    EXPECT_EQ(child<QLineEdit>(editor, "submittedEdit")->text() + '|' + child<QLineEdit>(editor, "returnedEdit")->text(), QStringLiteral("05/03/2001|"));
    EXPECT_EQ(EditorWindow::optionIndex(child<QButtonGroup>(editor, "statusGroup")), SubmissionEditor::kRejected);
    EXPECT_EQ(selectedIds(child<QListWidget>(editor, "workList")), QList<int>{middle});
    EXPECT_EQ(selectedIds(child<QListWidget>(editor, "publisherList")), QList<int>{quarterly});

    child<QLineEdit>(editor, "submittedEdit")->setFocus();
    child<QLineEdit>(editor, "submittedEdit")->selectAll();
    QTest::keyClick(child<QLineEdit>(editor, "submittedEdit"), Qt::Key_Backspace);
    click(child<QPushButton>(editor, "okButton"));
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(stored(id, QStringLiteral("typeof(Date_Submitted) || Date_Submitted || ' ' || typeof(Date_Returned) || "
                                        "Date_Returned || ' ' || typeof(Outcome)")),
              QStringLiteral("integer0 integer0 text"));
    EXPECT_EQ(editor->result().selectId, id);
    editor = open(QStringLiteral("Amend"), id);
    EXPECT_EQ(child<QLineEdit>(editor, "submittedEdit")->text() + '|' + child<QLineEdit>(editor, "returnedEdit")->text(), QStringLiteral("|"));
}

TEST_F(SubmissionEditorTest, DateFieldsDropNonDatesOnLeavingAndEnterSaves)
{
    auto editor = open(QStringLiteral("New"));
    ASSERT_TRUE(editor);
    typeInto(child<QLineEdit>(editor, "returnedEdit"), QStringLiteral("3a1/-0x2/ b2000."));
    EXPECT_EQ(child<QLineEdit>(editor, "returnedEdit")->text(), QStringLiteral("31/02/2000"));
    QTest::keyClick(child<QLineEdit>(editor, "returnedEdit"), Qt::Key_Tab);
    EXPECT_EQ(child<QLineEdit>(editor, "returnedEdit")->text(), QString());
    // A real date is kept exactly as typed.
    typeInto(child<QLineEdit>(editor, "returnedEdit"), QStringLiteral("5/3/2001"));
    child<QLineEdit>(editor, "submittedEdit")->clear();
    typeInto(child<QLineEdit>(editor, "submittedEdit"), QStringLiteral("1/2/03"));
    EXPECT_EQ(child<QLineEdit>(editor, "returnedEdit")->text(), QStringLiteral("5/3/2001"));
    QTest::keyClick(child<QLineEdit>(editor, "submittedEdit"), Qt::Key_Return);
    EXPECT_FALSE(editor->isVisible());
    const int id = queryInt(QStringLiteral("SELECT max(ID) FROM Submission"));
    EXPECT_EQ(stored(id, QStringLiteral("Date_Submitted || ' ' || Date_Returned")), QStringLiteral("2003-02-01 2001-03-05"));

    // Not checked by leaving the field: refused by name at the save, the editor stays as typed.
    editor = open(QStringLiteral("Amend"), id);
    child<QLineEdit>(editor, "returnedEdit")->clear();
    typeInto(child<QLineEdit>(editor, "returnedEdit"), QStringLiteral("31/02/2000"));
    QTest::keyClick(child<QLineEdit>(editor, "returnedEdit"), Qt::Key_Return);
    ASSERT_EQ(prompts.texts(), QStringList{kNotADate});
    EXPECT_TRUE(editor->isVisible());
    // Esc and Yes reach the same check.
    prompts.answers = {Prompts::Answer::Yes};
    QTest::keyClick(child<QLineEdit>(editor, "returnedEdit"), Qt::Key_Escape);
    EXPECT_EQ(prompts.texts().last(), kNotADate);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(child<QLineEdit>(editor, "returnedEdit")->text(), QStringLiteral("31/02/2000"));
    EXPECT_EQ(stored(id, QStringLiteral("Date_Returned")), QStringLiteral("2001-03-05"));
    EXPECT_FALSE(editor->result().dataChanged);
}

TEST_F(SubmissionEditorTest, ASaveWithoutAWorkIsRefused)
{
    // The work was deleted: nothing to select, and the save asks for one.
    const int orphan = addSubmission(middle, quarterly, SubmissionEditor::kUnreturned);
    exec(QStringLiteral("DELETE FROM Work WHERE ID = %1").arg(middle));
    auto editor = open(QStringLiteral("Amend"), orphan);
    ASSERT_TRUE(editor);
    click(child<QButtonGroup>(editor, "statusGroup")->button(SubmissionEditor::kRejected));
    click(child<QPushButton>(editor, "okButton"));
    ASSERT_EQ(prompts.texts(), QStringList{QStringLiteral("Choose a Work for this Submission before saving.")});
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(stored(orphan, QStringLiteral("Status")), QStringLiteral("0"));
    clickItem(child<QListWidget>(editor, "workList"), 0);
    click(child<QPushButton>(editor, "okButton"));
    EXPECT_EQ(stored(orphan, QStringLiteral("Work_ID")).toInt(), alpha);
}
