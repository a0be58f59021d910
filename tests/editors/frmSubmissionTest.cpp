// The Submission editor through its real widgets, and the flags it keeps on works and publishers.

#include <QApplication>
#include <QButtonGroup>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "app/modQuillary.h"
#include "editors/frmSubmission.h"
#include "support/EditorTestKit.h"
#include "support/TestEnv.h"

namespace {
const QString kSavePrompt = QStringLiteral("Changes have been made; shall I save them?");
const QString kNotADate = QStringLiteral("The Returned date \"31/02/2000\" is not a date (dd/mm/yyyy).");
}

class SubmissionEditorTest : public QuillaryTest {
protected:
    void SetUp() override
    {
        QuillaryTest::SetUp();
        createDatabase();
        // Name order (letter case aside): alpha, Middle, Zebra / Atlantic, Quarterly.
        for (int* id : {&zebra, &alpha, &middle}) {
            exec(QStringLiteral("INSERT INTO Work (Name, Genre_ID, Year_Written, \"Submit?\", \"Submitted?\", \"Accepted?\", "
                                "\"Published?\") VALUES ('%1', 1, '1990', 0, 0, 0, 0)")
                     .arg(QLatin1String(id == &zebra ? "Zebra" : id == &alpha ? "alpha" : "Middle")));
            *id = queryInt(QStringLiteral("SELECT max(ID) FROM Work"));
        }
        exec(QStringLiteral("INSERT INTO Publisher (Name) VALUES ('Quarterly'), ('Atlantic')"));
        atlantic = queryInt(QStringLiteral("SELECT max(ID) FROM Publisher"));
        quarterly = atlantic - 1;
    }

    int addSubmission(int work, int publisher, int status)
    {
        exec(QStringLiteral("INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status, "
                            "Outcome, Notes) VALUES (%1, %2, '2001-03-05', 0, %3, NULL, 'first try')")
                 .arg(work).arg(publisher).arg(status));
        return queryInt(QStringLiteral("SELECT max(ID) FROM Submission"));
    }
    // Submit?, Submitted?, Accepted?, Published? as "0101".
    QString workFlags(int work)
    {
        return queryText(QStringLiteral("SELECT \"Submit?\" || \"Submitted?\" || \"Accepted?\" || \"Published?\" "
                                        "FROM Work WHERE ID = %1").arg(work));
    }
    // Submit_To?, Submitted_To?.
    QString publisherFlags(int publisher)
    {
        return queryText(QStringLiteral("SELECT \"Submit_To?\" || \"Submitted_To?\" FROM Publisher WHERE ID = %1")
                             .arg(publisher));
    }
    QString stored(int submission, const QString& column)
    {
        return queryText(QStringLiteral("SELECT typeof(%1) || ':' || %1 FROM Submission WHERE ID = %2")
                             .arg(column).arg(submission));
    }
    int submissions() { return queryInt(QStringLiteral("SELECT Count(*) FROM Submission")); }
    std::unique_ptr<frmSubmission> open(const QString& action, int id = 0)
    {
        return openEditor<frmSubmission>(action, id);
    }
    // Amends a submission to the given status and saves it with OK.
    void amendTo(int submission, int status)
    {
        auto editor = open(QStringLiteral("Amend"), submission);
        click(editor->optStatus->button(status));
        click(editor->cmdOK);
        EXPECT_FALSE(editor->isVisible());
    }

    int zebra = 0, alpha = 0, middle = 0, quarterly = 0, atlantic = 0;
};

TEST_F(SubmissionEditorTest, NewStartsWithDefaultsAndOkWithoutEditsWritesNothing)
{
    auto editor = open(QStringLiteral("New"));
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("New Submission"));
    EXPECT_EQ(editor->txtSubmitted->text() + '|' + editor->txtReturned->text(), QStringLiteral("06/12/2026|"));
    EXPECT_TRUE(editor->cmdSubmittedToday->isVisible());
    EXPECT_FALSE(editor->cmdReturnedToday->isVisible());
    EXPECT_EQ(EditorBase::optionIndex(editor->optStatus), frmSubmission::kUnreturned);
    EXPECT_EQ(editor->lstWork->item(2)->data(Qt::UserRole).toInt(), zebra);
    EXPECT_EQ(selectedIds(editor->lstWork), QList<int>{alpha});
    EXPECT_EQ(selectedIds(editor->lstPublisher), QList<int>{atlantic});
    EXPECT_EQ(QApplication::focusWidget(), editor->lstWork);
    // Lists and status buttons leave the hot-key target alone; Previous clears it.
    editor->txtNotes->setFocus();
    editor->lstPublisher->setFocus();
    editor->optStatus->button(1)->setFocus();
    EXPECT_EQ(editor->mLastField, frmSubmission::kNotes);
    editor->cmdPrevious->setFocus();
    EXPECT_EQ(editor->mLastField, 0);
    EXPECT_FALSE(editor->mChanged);

    click(editor->cmdOK);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(submissions(), 0);
    EXPECT_EQ(workFlags(alpha), QStringLiteral("0000"));
    EXPECT_EQ(publisherFlags(atlantic), QStringLiteral("00"));
    EXPECT_FALSE(gDataChanged);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(SubmissionEditorTest, AmendShowsTheRowAndEmptyDatesAreStoredAsZero)
{
    const int id = addSubmission(middle, quarterly, frmSubmission::kRejected);
    auto editor = open(QStringLiteral("Amend"), id);
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("Amend Submission"));
    EXPECT_EQ(editor->txtSubmitted->text() + '|' + editor->txtReturned->text(), QStringLiteral("05/03/2001|"));
    EXPECT_FALSE(editor->cmdSubmittedToday->isVisible());
    EXPECT_TRUE(editor->cmdReturnedToday->isVisible());
    EXPECT_EQ(EditorBase::optionIndex(editor->optStatus), frmSubmission::kRejected);
    EXPECT_EQ(selectedIds(editor->lstWork), QList<int>{middle});
    EXPECT_EQ(selectedIds(editor->lstPublisher), QList<int>{quarterly});
    EXPECT_EQ(editor->txtNotes->toPlainText(), QStringLiteral("first try"));
    EXPECT_FALSE(editor->mChanged);

    // Today: the date goes in, selected, in a field that has the focus.
    click(editor->cmdReturnedToday);
    EXPECT_EQ(QApplication::focusWidget(), editor->txtReturned);
    EXPECT_EQ(editor->txtReturned->selectedText(), QStringLiteral("06/12/2026"));
    // Both dates emptied: stored as the number 0, shown empty again.
    QTest::keyClick(editor->txtReturned, Qt::Key_Backspace);
    editor->txtSubmitted->setFocus();
    QTest::keyClick(editor->txtSubmitted, Qt::Key_Backspace);
    click(editor->cmdOK);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(stored(id, QStringLiteral("Date_Submitted")) + ' ' + stored(id, QStringLiteral("Date_Returned")) + ' ' +
                  stored(id, QStringLiteral("Outcome")),
              QStringLiteral("integer:0 integer:0 text:"));
    EXPECT_EQ(gSelectID, id);
    EXPECT_TRUE(gDataChanged);
    editor = open(QStringLiteral("Amend"), id);
    EXPECT_EQ(editor->txtSubmitted->text() + '|' + editor->txtReturned->text(), QStringLiteral("|"));
}

TEST_F(SubmissionEditorTest, DateFieldsDropNonDatesOnLeavingAndEnterSaves)
{
    auto editor = open(QStringLiteral("New"));
    ASSERT_TRUE(editor);
    typeInto(editor->txtReturned, QStringLiteral("3a1/-0x2/ b2000."));
    EXPECT_EQ(editor->txtReturned->text(), QStringLiteral("31/02/2000"));
    QTest::keyClick(editor->txtReturned, Qt::Key_Tab);
    EXPECT_EQ(editor->txtReturned->text(), QString());
    // A real date is kept exactly as typed; ten characters at most.
    typeInto(editor->txtReturned, QStringLiteral("5/3/20019"));
    QTest::keyClick(editor->txtReturned, Qt::Key_Backspace);
    editor->txtSubmitted->setFocus();
    editor->txtSubmitted->clear();
    QTest::keyClicks(editor->txtSubmitted, QStringLiteral("123456789012"));
    EXPECT_EQ(editor->txtSubmitted->text(), QStringLiteral("1234567890"));
    editor->txtSubmitted->setText(QStringLiteral("1/2/03"));
    EXPECT_EQ(editor->txtReturned->text(), QStringLiteral("5/3/2001"));
    EXPECT_TRUE(prompts.shown.isEmpty());
    QTest::keyClick(editor->txtSubmitted, Qt::Key_Return);
    EXPECT_FALSE(editor->isVisible());
    ASSERT_EQ(submissions(), 1);
    const int id = queryInt(QStringLiteral("SELECT ID FROM Submission"));
    EXPECT_EQ(stored(id, QStringLiteral("Date_Submitted")) + ' ' + stored(id, QStringLiteral("Date_Returned")),
              QStringLiteral("text:2003-02-01 text:2001-03-05"));

    // Not checked by leaving the field: refused by name at the save, the editor stays as typed.
    gDataChanged = false;
    auto amend = open(QStringLiteral("Amend"), id);
    amend->txtReturned->setFocus();
    amend->txtReturned->clear();
    QTest::keyClicks(amend->txtReturned, QStringLiteral("31/02/2000"));
    QTest::keyClick(amend->txtReturned, Qt::Key_Return);
    ASSERT_EQ(prompts.texts(), QStringList{kNotADate});
    EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Warning);
    EXPECT_TRUE(amend->isVisible());
    EXPECT_EQ(amend->txtReturned->text(), QStringLiteral("31/02/2000"));
    // Esc and Yes reach the same check.
    prompts.answers = {Prompts::Answer::Yes};
    QTest::keyClick(amend->txtReturned, Qt::Key_Escape);
    EXPECT_EQ(prompts.texts(), (QStringList{kNotADate, kSavePrompt, kNotADate}));
    EXPECT_TRUE(amend->isVisible());
    EXPECT_EQ(stored(id, QStringLiteral("Date_Returned")), QStringLiteral("text:2001-03-05"));
    EXPECT_FALSE(gDataChanged);
}

TEST_F(SubmissionEditorTest, NewSubmissionRaisesTheSubmittedFlagsWhateverItsStatus)
{
    auto editor = open(QStringLiteral("New"));
    ASSERT_TRUE(editor);
    clickItem(editor->lstWork, 1);      // Middle
    clickItem(editor->lstPublisher, 1); // Quarterly
    click(editor->optStatus->button(frmSubmission::kAccepted));
    typeInto(editor->txtOutcome, QStringLiteral("Yes, \"gladly\""));
    click(editor->cmdOK);
    EXPECT_FALSE(editor->isVisible());
    ASSERT_EQ(submissions(), 1);
    EXPECT_EQ(gSelectID, queryInt(QStringLiteral("SELECT ID FROM Submission")));
    EXPECT_EQ(queryText(QStringLiteral("SELECT Work_ID || '/' || Publisher_ID || '/' || Status || '/' || Outcome "
                                       "|| '/' || Notes FROM Submission")),
              QStringLiteral("%1/%2/2/Yes, \"gladly\"/").arg(middle).arg(quarterly));
    // Submit? and Submitted? only: acceptance is for amending.
    EXPECT_EQ(workFlags(middle) + publisherFlags(quarterly), QStringLiteral("110011"));
    EXPECT_EQ(workFlags(alpha) + publisherFlags(atlantic), QStringLiteral("000000"));
}

TEST_F(SubmissionEditorTest, RejectionKeepsTheWorkSubmittedExactlyWhileAnotherIsOutstanding)
{
    exec(QStringLiteral("UPDATE Work SET \"Submit?\" = 1, \"Submitted?\" = 1"));
    const int first = addSubmission(zebra, atlantic, frmSubmission::kUnreturned);
    const int second = addSubmission(zebra, quarterly, frmSubmission::kUnreturned);
    // Outstanding submissions of other works do not count.
    addSubmission(alpha, quarterly, frmSubmission::kUnreturned);

    amendTo(first, frmSubmission::kRejected);
    EXPECT_EQ(workFlags(zebra), QStringLiteral("1100"));
    amendTo(second, frmSubmission::kRejected);
    EXPECT_EQ(workFlags(zebra), QStringLiteral("1000"));
    EXPECT_EQ(workFlags(alpha), QStringLiteral("1100"));
    EXPECT_EQ(stored(second, QStringLiteral("Status")), QStringLiteral("integer:1"));
    // Amending never touches the publisher's flags.
    EXPECT_EQ(publisherFlags(atlantic), QStringLiteral("00"));
}

TEST_F(SubmissionEditorTest, AcceptedAndPublishedRaiseTheirFlagOnly)
{
    exec(QStringLiteral("UPDATE Work SET \"Submit?\" = 1, \"Submitted?\" = 1 WHERE ID = %1").arg(middle));
    const int outstanding = addSubmission(middle, atlantic, frmSubmission::kUnreturned);
    const int other = addSubmission(alpha, atlantic, frmSubmission::kRejected);
    amendTo(outstanding, frmSubmission::kAccepted);
    EXPECT_EQ(workFlags(middle), QStringLiteral("1110"));
    amendTo(other, frmSubmission::kAccepted);
    EXPECT_EQ(workFlags(alpha), QStringLiteral("0010"));
    amendTo(other, frmSubmission::kPublished);
    EXPECT_EQ(workFlags(alpha), QStringLiteral("0011"));
    // Back to Unreturned changes no flag, and none is ever cleared but by a rejection.
    amendTo(other, frmSubmission::kUnreturned);
    EXPECT_EQ(workFlags(alpha), QStringLiteral("0011"));
    EXPECT_EQ(publisherFlags(atlantic), QStringLiteral("00"));
}

TEST_F(SubmissionEditorTest, AFailureWhileTheFlagsAreWrittenStoresNothing)
{
    exec(QStringLiteral("CREATE TRIGGER fail BEFORE UPDATE ON Publisher BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
    auto editor = open(QStringLiteral("New"));
    ASSERT_TRUE(editor);
    typeInto(editor->txtNotes, QStringLiteral("keep me"));
    click(editor->cmdOK);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("disk full")));
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->txtNotes->toPlainText(), QStringLiteral("keep me"));
    EXPECT_EQ(submissions(), 0);
    EXPECT_EQ(workFlags(alpha) + publisherFlags(atlantic), QStringLiteral("000000"));
    EXPECT_FALSE(gDataChanged);

    exec(QStringLiteral("DROP TRIGGER fail"));
    click(editor->cmdOK);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(submissions(), 1);
    EXPECT_EQ(workFlags(alpha) + publisherFlags(atlantic), QStringLiteral("110011"));
    EXPECT_TRUE(gDataChanged);
}

TEST_F(SubmissionEditorTest, SavesWithoutAWorkOrPublisherAreRefused)
{
    // The work was deleted: nothing to select, and the save asks for one.
    const int orphan = addSubmission(middle, quarterly, frmSubmission::kUnreturned);
    exec(QStringLiteral("DELETE FROM Work WHERE ID = %1").arg(middle));
    auto editor = open(QStringLiteral("Amend"), orphan);
    ASSERT_TRUE(editor);
    EXPECT_TRUE(editor->lstWork->selectedItems().isEmpty());
    click(editor->optStatus->button(frmSubmission::kRejected));
    click(editor->cmdOK);
    ASSERT_EQ(prompts.texts(), QStringList{QStringLiteral("Choose a Work for this Submission before saving.")});
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(stored(orphan, QStringLiteral("Status")), QStringLiteral("integer:0"));
    clickItem(editor->lstWork, 0);
    click(editor->cmdOK);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(queryInt(QStringLiteral("SELECT Work_ID FROM Submission WHERE ID = %1").arg(orphan)), alpha);

    // Deleted while the editor was open: refused inside the save, nothing written.
    prompts.shown.clear();
    auto gone = open(QStringLiteral("New"));
    exec(QStringLiteral("DELETE FROM Publisher WHERE ID = %1").arg(atlantic));
    click(gone->optStatus->button(frmSubmission::kAccepted));
    click(gone->cmdOK);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("\"Atlantic\" no longer exists")));
    EXPECT_TRUE(gone->isVisible());
    EXPECT_EQ(submissions(), 1);
    EXPECT_EQ(workFlags(alpha), QStringLiteral("0000"));
}
