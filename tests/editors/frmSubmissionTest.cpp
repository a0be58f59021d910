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

void clickItem(QListWidget* list, int row)
{
    list->setFocus();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

int selectedId(const QListWidget* list)
{
    const auto selected = list->selectedItems();
    return selected.size() == 1 ? selected.first()->data(Qt::UserRole).toInt() : -1;
}

const QString kSavePrompt = QStringLiteral("Changes have been made; shall I save them?");

} // namespace

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
        quarterly = addPublisher(QStringLiteral("Quarterly"));
        atlantic = addPublisher(QStringLiteral("Atlantic"));
    }

    int addWork(const QString& name, const QString& flags = QStringLiteral("0, 0, 0, 0"))
    {
        exec(QStringLiteral("INSERT INTO Work (Name, Genre_ID, Year_Written, \"Submit?\", \"Submitted?\", "
                            "\"Accepted?\", \"Published?\") VALUES ('%1', 1, '1990', %2)").arg(name, flags));
        return queryInt(QStringLiteral("SELECT max(ID) FROM Work"));
    }

    int addPublisher(const QString& name)
    {
        exec(QStringLiteral("INSERT INTO Publisher (Name) VALUES ('%1')").arg(name));
        return queryInt(QStringLiteral("SELECT max(ID) FROM Publisher"));
    }

    // Dates as SQL literals: '2001-03-05' or 0.
    int addSubmission(int work, int publisher, int status, const QString& submitted = QStringLiteral("'2001-03-05'"),
                      const QString& returned = QStringLiteral("0"))
    {
        exec(QStringLiteral("INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status, "
                            "Outcome, Notes) VALUES (%1, %2, %3, %4, %5, NULL, 'first try')")
                 .arg(work).arg(publisher).arg(submitted, returned).arg(status));
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
        ASSERT_TRUE(editor);
        click(editor->optStatus->button(status));
        click(editor->cmdOK);
        ASSERT_FALSE(editor->isVisible());
    }

    int zebra = 0, alpha = 0, middle = 0, quarterly = 0, atlantic = 0;
};

TEST_F(SubmissionEditorTest, NewStartsWithDefaultsAndOkWithoutEditsWritesNothing)
{
    auto editor = open(QStringLiteral("New"));
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("New Submission"));
    EXPECT_EQ(editor->txtSubmitted->text(), QStringLiteral("06/12/2026"));
    EXPECT_EQ(editor->txtReturned->text(), QString());
    EXPECT_TRUE(editor->cmdSubmittedToday->isVisible());
    EXPECT_FALSE(editor->cmdReturnedToday->isVisible());
    EXPECT_EQ(EditorBase::optionIndex(editor->optStatus), frmSubmission::kUnreturned);
    EXPECT_EQ(editor->optStatus->button(0)->text(), QStringLiteral("&Unreturned"));
    EXPECT_EQ(editor->optStatus->button(3)->text(), QStringLiteral("&Published"));
    ASSERT_EQ(editor->lstWork->count(), 3);
    EXPECT_EQ(editor->lstWork->item(0)->text(), QStringLiteral("alpha"));
    EXPECT_EQ(editor->lstWork->item(2)->data(Qt::UserRole).toInt(), zebra);
    EXPECT_EQ(selectedId(editor->lstWork), alpha);
    EXPECT_EQ(selectedId(editor->lstPublisher), atlantic);
    EXPECT_EQ(QApplication::focusWidget(), editor->lstWork);
    EXPECT_FALSE(editor->mChanged);

    // Lists and status buttons leave the hot-key target alone; Previous clears it.
    editor->txtNotes->setFocus();
    EXPECT_EQ(editor->mLastField, frmSubmission::kNotes);
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
    EXPECT_EQ(editor->txtSubmitted->text(), QStringLiteral("05/03/2001"));
    EXPECT_EQ(editor->txtReturned->text(), QString());
    EXPECT_FALSE(editor->cmdSubmittedToday->isVisible());
    EXPECT_TRUE(editor->cmdReturnedToday->isVisible());
    EXPECT_EQ(EditorBase::optionIndex(editor->optStatus), frmSubmission::kRejected);
    EXPECT_EQ(selectedId(editor->lstWork), middle);
    EXPECT_EQ(selectedId(editor->lstPublisher), quarterly);
    EXPECT_EQ(editor->txtOutcome->toPlainText(), QString());
    EXPECT_EQ(editor->txtNotes->toPlainText(), QStringLiteral("first try"));
    EXPECT_FALSE(editor->mChanged);

    // Today: the date goes in and the field takes the focus with its text selected.
    click(editor->cmdReturnedToday);
    EXPECT_EQ(editor->txtReturned->text(), QStringLiteral("06/12/2026"));
    EXPECT_EQ(QApplication::focusWidget(), editor->txtReturned);
    EXPECT_EQ(editor->txtReturned->selectedText(), QStringLiteral("06/12/2026"));
    EXPECT_EQ(editor->mLastField, frmSubmission::kReturned);
    EXPECT_TRUE(editor->mChanged);

    // Both dates emptied: stored as the number 0, shown empty again.
    QTest::keyClick(editor->txtReturned, Qt::Key_Backspace);
    editor->txtSubmitted->setFocus();
    QTest::keyClick(editor->txtSubmitted, Qt::Key_Backspace);
    click(editor->cmdOK);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(stored(id, QStringLiteral("Date_Submitted")), QStringLiteral("integer:0"));
    EXPECT_EQ(stored(id, QStringLiteral("Date_Returned")), QStringLiteral("integer:0"));
    EXPECT_EQ(stored(id, QStringLiteral("Status")), QStringLiteral("integer:1"));
    EXPECT_EQ(stored(id, QStringLiteral("Outcome")), QStringLiteral("text:"));
    EXPECT_EQ(gSelectID, id);
    EXPECT_TRUE(gDataChanged);

    auto again = open(QStringLiteral("Amend"), id);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->txtSubmitted->text(), QString());
    EXPECT_EQ(again->txtReturned->text(), QString());
    click(again->cmdCancel);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(SubmissionEditorTest, DateFieldsTakeDigitsAndSlashesAndDropNonDatesOnLeaving)
{
    auto editor = open(QStringLiteral("New"));
    ASSERT_TRUE(editor);
    editor->txtReturned->setFocus();
    QTest::keyClicks(editor->txtReturned, QStringLiteral("3a1/-0x2/ b2000."));
    EXPECT_EQ(editor->txtReturned->text(), QStringLiteral("31/02/2000"));
    QTest::keyClick(editor->txtReturned, Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), editor->txtReturned);
    EXPECT_EQ(editor->txtReturned->text(), QString());
    EXPECT_TRUE(prompts.shown.isEmpty());

    // Ten characters at most; Backspace and the arrow keys still work.
    editor->txtReturned->setFocus();
    QTest::keyClicks(editor->txtReturned, QStringLiteral("123456789012"));
    EXPECT_EQ(editor->txtReturned->text(), QStringLiteral("1234567890"));
    editor->txtReturned->clear();
    QTest::keyClicks(editor->txtReturned, QStringLiteral("5/3/20019"));
    QTest::keyClick(editor->txtReturned, Qt::Key_Backspace);
    QTest::keyClick(editor->txtReturned, Qt::Key_Home);
    QTest::keyClick(editor->txtReturned, Qt::Key_Right);
    EXPECT_EQ(editor->txtReturned->cursorPosition(), 1);
    // A real date is kept exactly as typed.
    QTest::keyClick(editor->txtReturned, Qt::Key_Tab);
    EXPECT_EQ(editor->txtReturned->text(), QStringLiteral("5/3/2001"));

    click(editor->cmdOK);
    EXPECT_FALSE(editor->isVisible());
    ASSERT_EQ(submissions(), 1);
    const int id = queryInt(QStringLiteral("SELECT ID FROM Submission"));
    EXPECT_EQ(stored(id, QStringLiteral("Date_Returned")), QStringLiteral("text:2001-03-05"));
    EXPECT_EQ(stored(id, QStringLiteral("Date_Submitted")), QStringLiteral("text:2026-12-06"));
    EXPECT_EQ(stored(id, QStringLiteral("Status")), QStringLiteral("integer:0"));
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(SubmissionEditorTest, EnterInADateFieldSavesUnlessTheDateIsNotADate)
{
    auto editor = open(QStringLiteral("New"));
    ASSERT_TRUE(editor);
    editor->txtSubmitted->setFocus();
    QTest::keyClicks(editor->txtSubmitted, QStringLiteral("1/2/03"));
    QTest::keyClick(editor->txtSubmitted, Qt::Key_Return);
    EXPECT_FALSE(editor->isVisible());
    ASSERT_EQ(submissions(), 1);
    const int id = queryInt(QStringLiteral("SELECT ID FROM Submission"));
    EXPECT_EQ(stored(id, QStringLiteral("Date_Submitted")), QStringLiteral("text:2003-02-01"));
    EXPECT_EQ(gSelectID, id);

    // Before leaving the field has checked it: refused by name, the editor stays as typed.
    gDataChanged = false;
    auto amend = open(QStringLiteral("Amend"), id);
    ASSERT_TRUE(amend);
    amend->txtReturned->setFocus();
    QTest::keyClicks(amend->txtReturned, QStringLiteral("31/02/2000"));
    QTest::keyClick(amend->txtReturned, Qt::Key_Return);
    ASSERT_EQ(prompts.texts(),
              QStringList{QStringLiteral("The Returned date \"31/02/2000\" is not a date (dd/mm/yyyy).")});
    EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Warning);
    EXPECT_TRUE(amend->isVisible());
    EXPECT_EQ(amend->txtReturned->text(), QStringLiteral("31/02/2000"));
    EXPECT_EQ(stored(id, QStringLiteral("Date_Returned")), QStringLiteral("integer:0"));
    EXPECT_FALSE(gDataChanged);

    // Esc and Yes reach the same check.
    prompts.shown.clear();
    prompts.answers = {Prompts::Answer::Yes};
    QTest::keyClick(amend->txtReturned, Qt::Key_Escape);
    EXPECT_EQ(prompts.texts(),
              (QStringList{kSavePrompt, QStringLiteral("The Returned date \"31/02/2000\" is not a date (dd/mm/yyyy).")}));
    EXPECT_TRUE(amend->isVisible());
    EXPECT_EQ(stored(id, QStringLiteral("Date_Returned")), QStringLiteral("integer:0"));

    // Corrected, Enter saves.
    amend->txtReturned->selectAll();
    QTest::keyClicks(amend->txtReturned, QStringLiteral("28/02/2000"));
    QTest::keyClick(amend->txtReturned, Qt::Key_Enter);
    EXPECT_FALSE(amend->isVisible());
    EXPECT_EQ(stored(id, QStringLiteral("Date_Returned")), QStringLiteral("text:2000-02-28"));
    EXPECT_TRUE(gDataChanged);
}

TEST_F(SubmissionEditorTest, NewSubmissionRaisesTheFourSubmittedFlagsWhateverItsStatus)
{
    auto editor = open(QStringLiteral("New"));
    ASSERT_TRUE(editor);
    clickItem(editor->lstWork, 1);      // Middle
    clickItem(editor->lstPublisher, 1); // Quarterly
    click(editor->optStatus->button(frmSubmission::kAccepted));
    editor->txtOutcome->setFocus();
    QTest::keyClicks(editor->txtOutcome, QStringLiteral("Yes, \"gladly\""));
    EXPECT_TRUE(editor->mChanged);
    click(editor->cmdOK);
    EXPECT_FALSE(editor->isVisible());

    ASSERT_EQ(submissions(), 1);
    const int id = queryInt(QStringLiteral("SELECT ID FROM Submission"));
    EXPECT_EQ(gSelectID, id);
    EXPECT_TRUE(gDataChanged);
    EXPECT_EQ(queryText(QStringLiteral("SELECT Work_ID || '/' || Publisher_ID || '/' || Status || '/' || Outcome "
                                       "|| '/' || Notes FROM Submission")),
              QStringLiteral("%1/%2/2/Yes, \"gladly\"/").arg(middle).arg(quarterly));
    // Submit? and Submitted? only: acceptance is for amending.
    EXPECT_EQ(workFlags(middle), QStringLiteral("1100"));
    EXPECT_EQ(publisherFlags(quarterly), QStringLiteral("11"));
    EXPECT_EQ(workFlags(alpha), QStringLiteral("0000"));
    EXPECT_EQ(publisherFlags(atlantic), QStringLiteral("00"));
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

    // An already rejected submission saved again while one other is out: still submitted.
    const int third = addSubmission(zebra, atlantic, frmSubmission::kUnreturned);
    exec(QStringLiteral("UPDATE Work SET \"Submitted?\" = 1 WHERE ID = %1").arg(zebra));
    auto editor = open(QStringLiteral("Amend"), first);
    ASSERT_TRUE(editor);
    EXPECT_EQ(EditorBase::optionIndex(editor->optStatus), frmSubmission::kRejected);
    editor->txtNotes->setFocus();
    QTest::keyClicks(editor->txtNotes, QStringLiteral("sent back"));
    click(editor->cmdOK);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(workFlags(zebra), QStringLiteral("1100"));
    EXPECT_EQ(queryText(QStringLiteral("SELECT Notes FROM Submission WHERE ID = %1").arg(first)),
              QStringLiteral("sent back"));

    // The last outstanding one rejected: no longer submitted.
    amendTo(third, frmSubmission::kRejected);
    EXPECT_EQ(workFlags(zebra), QStringLiteral("1000"));
    // Amending never touches the publisher's flags.
    EXPECT_EQ(publisherFlags(atlantic), QStringLiteral("00"));
}

TEST_F(SubmissionEditorTest, AcceptedAndPublishedRaiseTheirFlagOnly)
{
    exec(QStringLiteral("UPDATE Work SET \"Submit?\" = 1, \"Submitted?\" = 1 WHERE ID = %1").arg(middle));
    exec(QStringLiteral("UPDATE Work SET \"Submit?\" = 0, \"Submitted?\" = 0 WHERE ID = %1").arg(alpha));
    const int outstanding = addSubmission(middle, atlantic, frmSubmission::kUnreturned);
    const int other = addSubmission(alpha, atlantic, frmSubmission::kRejected);

    amendTo(outstanding, frmSubmission::kAccepted);
    EXPECT_EQ(workFlags(middle), QStringLiteral("1110"));
    amendTo(other, frmSubmission::kAccepted);
    EXPECT_EQ(workFlags(alpha), QStringLiteral("0010"));
    amendTo(other, frmSubmission::kPublished);
    EXPECT_EQ(workFlags(alpha), QStringLiteral("0011"));
    EXPECT_EQ(stored(other, QStringLiteral("Status")), QStringLiteral("integer:3"));
    // Back to Unreturned changes no flag, and none is ever cleared but by a rejection.
    amendTo(other, frmSubmission::kUnreturned);
    EXPECT_EQ(workFlags(alpha), QStringLiteral("0011"));
    EXPECT_EQ(publisherFlags(atlantic), QStringLiteral("00"));

    // A stored status with no button: nothing selected, and the save leaves it as it was.
    exec(QStringLiteral("UPDATE Submission SET Status = 7 WHERE ID = %1").arg(other));
    auto editor = open(QStringLiteral("Amend"), other);
    ASSERT_TRUE(editor);
    EXPECT_EQ(EditorBase::optionIndex(editor->optStatus), -1);
    editor->txtNotes->setFocus();
    QTest::keyClicks(editor->txtNotes, QStringLiteral("odd"));
    click(editor->cmdOK);
    EXPECT_EQ(stored(other, QStringLiteral("Status")), QStringLiteral("integer:7"));
    EXPECT_EQ(workFlags(alpha), QStringLiteral("0011"));
}

TEST_F(SubmissionEditorTest, AFailureWhileTheFlagsAreWrittenStoresNothing)
{
    exec(QStringLiteral("CREATE TRIGGER fail BEFORE UPDATE ON Publisher BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
    auto editor = open(QStringLiteral("New"));
    ASSERT_TRUE(editor);
    editor->txtNotes->setFocus();
    QTest::keyClicks(editor->txtNotes, QStringLiteral("keep me"));
    click(editor->cmdOK);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("disk full")));
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->txtNotes->toPlainText(), QStringLiteral("keep me"));
    EXPECT_EQ(submissions(), 0);
    EXPECT_EQ(workFlags(alpha), QStringLiteral("0000"));
    EXPECT_EQ(publisherFlags(atlantic), QStringLiteral("00"));
    EXPECT_FALSE(gDataChanged);

    exec(QStringLiteral("DROP TRIGGER fail"));
    click(editor->cmdOK);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(submissions(), 1);
    EXPECT_EQ(workFlags(alpha), QStringLiteral("1100"));
    EXPECT_EQ(publisherFlags(atlantic), QStringLiteral("11"));
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
    EXPECT_EQ(selectedId(editor->lstPublisher), quarterly);
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
    ASSERT_TRUE(gone);
    exec(QStringLiteral("DELETE FROM Publisher WHERE ID = %1").arg(atlantic));
    click(gone->optStatus->button(frmSubmission::kAccepted));
    click(gone->cmdOK);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("\"Atlantic\" no longer exists")));
    EXPECT_TRUE(gone->isVisible());
    EXPECT_EQ(submissions(), 1);
    EXPECT_EQ(workFlags(alpha), QStringLiteral("0000"));

    // No publishers at all: OK closes without saving or asking ...
    exec(QStringLiteral("DELETE FROM Publisher"));
    prompts.shown.clear();
    gDataChanged = false;
    auto empty = open(QStringLiteral("New"));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->lstPublisher->count(), 0);
    empty->txtNotes->setFocus();
    QTest::keyClicks(empty->txtNotes, QStringLiteral("nowhere"));
    EXPECT_TRUE(empty->mChanged);
    click(empty->cmdOK);
    EXPECT_FALSE(empty->isVisible());
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(submissions(), 1);
    EXPECT_FALSE(gDataChanged);

    // ... while Cancel and Yes says why it cannot save.
    prompts.answers = {Prompts::Answer::Yes};
    auto cancelled = open(QStringLiteral("New"));
    ASSERT_TRUE(cancelled);
    cancelled->txtNotes->setFocus();
    QTest::keyClicks(cancelled->txtNotes, QStringLiteral("nowhere"));
    click(cancelled->cmdCancel);
    EXPECT_EQ(prompts.texts(),
              (QStringList{kSavePrompt, QStringLiteral("Choose a Publisher for this Submission before saving.")}));
    EXPECT_TRUE(cancelled->isVisible());
    EXPECT_EQ(submissions(), 1);
}
