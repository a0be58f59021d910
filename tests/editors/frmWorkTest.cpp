// The Work editor and the editor frame it shares, driven through its real widgets.

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>
#include <memory>

#include "app/modQuillary.h"
#include "editors/frmWork.h"
#include "support/EditorTestKit.h"
#include "support/TestEnv.h"

class WorkEditorTest : public QuillaryTest {
protected:
    void SetUp() override
    {
        QuillaryTest::SetUp();
        createDatabase();
        clock.date = QDate(1997, 3, 4);
        setHotKeys({{QStringLiteral("F2"), 113, QStringLiteral("Dear Sir")},
                    {QStringLiteral("Yr"), 114, QStringLiteral("2001")}});
        firstGenre = queryInt(QStringLiteral("SELECT ID FROM Genre ORDER BY ID"));
        secondGenre = queryInt(QStringLiteral("SELECT ID FROM Genre ORDER BY ID LIMIT 1 OFFSET 1"));
        ASSERT_GT(secondGenre, firstGenre);
    }

    int addWork(const QString& name, int genre, const QString& amended = QStringLiteral("NULL"))
    {
        exec(QStringLiteral("INSERT INTO Work (Name, Genre_ID, Year_Written, Year_Last_Amended, \"Submit?\", "
                            "\"Submitted?\", \"Accepted?\", \"Published?\") VALUES ('%1', %2, '1990', %3, 0, 1, 0, 1)")
                 .arg(name).arg(genre).arg(amended));
        return queryInt(QStringLiteral("SELECT max(ID) FROM Work"));
    }

    // Loads and shows an editor the way the main window would, but without a modal loop.
    std::unique_ptr<frmWork> open(const QString& action, int id = 0)
    {
        return openEditor<frmWork>(action, id);
    }

    int works() { return queryInt(QStringLiteral("SELECT Count(*) FROM Work")); }

    int firstGenre = 0;
    int secondGenre = 0;
};

TEST_F(WorkEditorTest, NewStartsWithDefaultsAndOkWithoutEditsWritesNothing)
{
    auto editor = open(QStringLiteral("New"));
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("New Work"));
    EXPECT_EQ(editor->txtName->text(), QString());
    EXPECT_EQ(editor->txtYearWritten->text(), QStringLiteral("1997"));
    EXPECT_EQ(editor->txtYearAmended->text(), QString());
    EXPECT_EQ(EditorBase::optionIndex(editor->optSubmit), 0);
    EXPECT_EQ(EditorBase::optionIndex(editor->optSubmitted), -1);
    EXPECT_EQ(EditorBase::optionIndex(editor->optAccepted), -1);
    EXPECT_EQ(EditorBase::optionIndex(editor->optPublished), -1);
    ASSERT_EQ(editor->lstGenre->selectedItems().size(), 1);
    EXPECT_EQ(editor->lstGenre->selectedItems().first()->data(Qt::UserRole).toInt(), firstGenre);
    EXPECT_EQ(editor->lstGenre->count(), queryInt(QStringLiteral("SELECT Count(*) FROM Genre")));
    EXPECT_FALSE(editor->mChanged);
    // The name has the focus, and both navigation buttons are usable for a new record.
    EXPECT_EQ(QApplication::focusWidget(), editor->txtName);
    EXPECT_EQ(editor->mLastField, frmWork::kName);
    EXPECT_TRUE(editor->cmdPrevious->isEnabled());
    EXPECT_TRUE(editor->cmdNext->isEnabled());
    // Two hot keys: two buttons with caption and tooltip, the rest hidden.
    EXPECT_TRUE(editor->cmdHotKey[0]->isVisible());
    EXPECT_EQ(editor->cmdHotKey[0]->text(), QStringLiteral("F2"));
    EXPECT_EQ(editor->cmdHotKey[0]->toolTip(), QStringLiteral("Insert Text \"Dear Sir\""));
    EXPECT_TRUE(editor->cmdHotKey[1]->isVisible());
    EXPECT_FALSE(editor->cmdHotKey[2]->isVisible());

    click(editor->cmdOK);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(works(), 0);
    EXPECT_FALSE(gDataChanged);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(WorkEditorTest, NewWorkIsStoredAsShown)
{
    auto editor = open(QStringLiteral("New"));
    ASSERT_TRUE(editor);
    QTest::keyClicks(editor->txtName, QStringLiteral("Say \"when\""));
    editor->lstGenre->setFocus();
    QTest::mouseClick(editor->lstGenre->viewport(), Qt::LeftButton, {},
                      editor->lstGenre->visualItemRect(editor->lstGenre->item(1)).center());
    editor->txtYearAmended->setFocus();
    QTest::keyClicks(editor->txtYearAmended, QStringLiteral("2001"));
    click(editor->optPublished->button(0));
    EXPECT_TRUE(editor->mChanged);
    click(editor->cmdOK);

    EXPECT_FALSE(editor->isVisible());
    ASSERT_EQ(works(), 1);
    const int id = queryInt(QStringLiteral("SELECT ID FROM Work"));
    EXPECT_EQ(gSelectID, id);
    EXPECT_TRUE(gDataChanged);
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name FROM Work")), QStringLiteral("Say \"when\""));
    EXPECT_EQ(queryInt(QStringLiteral("SELECT Genre_ID FROM Work")), secondGenre);
    EXPECT_EQ(queryText(QStringLiteral("SELECT Year_Written FROM Work")), QStringLiteral("1997"));
    EXPECT_EQ(queryText(QStringLiteral("SELECT Year_Last_Amended FROM Work")), QStringLiteral("2001"));
    // Only the chosen Yes counts; groups left empty store false.
    EXPECT_EQ(queryText(QStringLiteral("SELECT \"Submit?\" || \"Submitted?\" || \"Accepted?\" || \"Published?\" FROM Work")),
              QStringLiteral("1001"));
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(WorkEditorTest, DuplicateNameQuestionOnNewOnly)
{
    const int existing = addWork(QStringLiteral("Alpha"), firstGenre);

    prompts.answers = {Prompts::Answer::No};
    auto declined = open(QStringLiteral("New"));
    ASSERT_TRUE(declined);
    QTest::keyClicks(declined->txtName, QStringLiteral("Alpha"));
    click(declined->cmdOK);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, QStringLiteral("A Work with this name already exists in the system - continue?"));
    EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Critical);
    EXPECT_EQ(prompts.shown[0].buttons, Prompts::Buttons::YesNo);
    EXPECT_FALSE(declined->isVisible());
    EXPECT_EQ(works(), 1);
    EXPECT_FALSE(gDataChanged);

    prompts.answers = {Prompts::Answer::Yes};
    auto accepted = open(QStringLiteral("New"));
    ASSERT_TRUE(accepted);
    QTest::keyClicks(accepted->txtName, QStringLiteral("Alpha"));
    click(accepted->cmdOK);
    EXPECT_EQ(prompts.shown.size(), 2);
    EXPECT_EQ(queryInt(QStringLiteral("SELECT Count(*) FROM Work WHERE Name = 'Alpha'")), 2);
    EXPECT_GT(gSelectID, existing);

    // Renaming an existing work to another's name asks nothing.
    const int beta = addWork(QStringLiteral("Beta"), firstGenre);
    auto amend = open(QStringLiteral("Amend"), beta);
    ASSERT_TRUE(amend);
    QTest::keyClicks(amend->txtName, QStringLiteral("Alpha"));
    click(amend->cmdOK);
    EXPECT_EQ(prompts.shown.size(), 2);
    EXPECT_EQ(queryInt(QStringLiteral("SELECT Count(*) FROM Work WHERE Name = 'Alpha'")), 3);
    EXPECT_EQ(gSelectID, beta);
}

TEST_F(WorkEditorTest, YearFieldsTakeFourDigitsOnly)
{
    auto editor = open(QStringLiteral("New"));
    ASSERT_TRUE(editor);
    QTest::keyClick(editor->txtName, Qt::Key_Tab);   // to the genre list
    QTest::keyClick(editor->lstGenre, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), editor->txtYearWritten);
    // The year is selected on arrival, so typing replaces it.
    QTest::keyClicks(editor->txtYearWritten, QStringLiteral("19a9"));
    EXPECT_EQ(editor->txtYearWritten->text(), QStringLiteral("199"));
    QTest::keyClicks(editor->txtYearWritten, QStringLiteral("5 -7"));
    EXPECT_EQ(editor->txtYearWritten->text(), QStringLiteral("1995"));
    QTest::keyClick(editor->txtYearWritten, Qt::Key_Backspace);
    EXPECT_EQ(editor->txtYearWritten->text(), QStringLiteral("199"));
    QTest::keyClick(editor->txtYearWritten, Qt::Key_Left);
    QTest::keyClick(editor->txtYearWritten, Qt::Key_Delete);
    EXPECT_EQ(editor->txtYearWritten->text(), QStringLiteral("19"));
    QTest::keyClick(editor->txtYearWritten, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), editor->txtYearAmended);
    EXPECT_EQ(editor->mLastField, frmWork::kYearAmended);
}

TEST_F(WorkEditorTest, AmendShowsTheRowAndSavesEdits)
{
    const int id = addWork(QStringLiteral("Ode"), secondGenre);
    auto editor = open(QStringLiteral("Amend"), id);
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("Amend Work"));
    EXPECT_EQ(editor->txtName->text(), QStringLiteral("Ode"));
    EXPECT_EQ(editor->txtYearWritten->text(), QStringLiteral("1990"));
    EXPECT_EQ(editor->txtYearAmended->text(), QString());
    EXPECT_EQ(EditorBase::optionIndex(editor->optSubmit), 1);
    EXPECT_EQ(EditorBase::optionIndex(editor->optSubmitted), 0);
    EXPECT_EQ(EditorBase::optionIndex(editor->optAccepted), 1);
    EXPECT_EQ(EditorBase::optionIndex(editor->optPublished), 0);
    ASSERT_EQ(editor->lstGenre->selectedItems().size(), 1);
    EXPECT_EQ(editor->lstGenre->selectedItems().first()->data(Qt::UserRole).toInt(), secondGenre);
    EXPECT_FALSE(editor->mChanged);

    // The name is selected on arrival: typing replaces it.
    QTest::keyClicks(editor->txtName, QStringLiteral("Elegy"));
    click(editor->optSubmit->button(0));
    click(editor->optPublished->button(1));
    editor->txtYearAmended->setFocus();
    QTest::keyClicks(editor->txtYearAmended, QStringLiteral("2004"));
    click(editor->cmdOK);
    EXPECT_EQ(works(), 1);
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name || '/' || Year_Last_Amended || '/' || \"Submit?\" || \"Published?\" "
                                       "|| '/' || Genre_ID FROM Work")),
              QStringLiteral("Elegy/2004/10/%1").arg(secondGenre));
    EXPECT_EQ(gSelectID, id);
    EXPECT_TRUE(gDataChanged);
}

TEST_F(WorkEditorTest, CancelAndCloseBoxAskBeforeLosingChanges)
{
    const int id = addWork(QStringLiteral("Ode"), firstGenre);

    // Unchanged: closes at once.
    auto plain = open(QStringLiteral("Amend"), id);
    click(plain->cmdCancel);
    EXPECT_FALSE(plain->isVisible());
    EXPECT_TRUE(prompts.shown.isEmpty());

    // Changed, No: discarded.
    prompts.answers = {Prompts::Answer::No};
    auto discard = open(QStringLiteral("Amend"), id);
    QTest::keyClicks(discard->txtName, QStringLiteral("Lost"));
    QTest::keyClick(discard->txtName, Qt::Key_Escape);
    ASSERT_EQ(prompts.texts(), QStringList{QStringLiteral("Changes have been made; shall I save them?")});
    EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Question);
    EXPECT_FALSE(discard->isVisible());
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name FROM Work")), QStringLiteral("Ode"));
    EXPECT_FALSE(gDataChanged);

    // Changed, Yes: saved.
    prompts.answers = {Prompts::Answer::Yes};
    auto keep = open(QStringLiteral("Amend"), id);
    QTest::keyClicks(keep->txtName, QStringLiteral("Kept"));
    click(keep->cmdCancel);
    EXPECT_FALSE(keep->isVisible());
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name FROM Work")), QStringLiteral("Kept"));
    EXPECT_TRUE(gDataChanged);

    // The close box asks the same question and never steps on.
    gDataChanged = false;
    prompts.shown.clear();
    prompts.answers = {Prompts::Answer::No};
    auto boxNo = open(QStringLiteral("Amend"), id);
    QTest::keyClicks(boxNo->txtName, QStringLiteral("Gone"));
    boxNo->close();
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("Changes have been made; shall I save them?")});
    EXPECT_FALSE(boxNo->isVisible());
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name FROM Work")), QStringLiteral("Kept"));

    prompts.answers = {Prompts::Answer::Yes};
    auto boxYes = open(QStringLiteral("Amend"), id);
    QTest::keyClicks(boxYes->txtName, QStringLiteral("Boxed"));
    boxYes->close();
    EXPECT_FALSE(boxYes->isVisible());
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name FROM Work")), QStringLiteral("Boxed"));
    EXPECT_EQ(gNavigate, 0);

    prompts.shown.clear();
    auto boxPlain = open(QStringLiteral("Amend"), id);
    boxPlain->close();
    EXPECT_FALSE(boxPlain->isVisible());
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(WorkEditorTest, PreviousAndNextAskThenLeaveTheStep)
{
    const int id = addWork(QStringLiteral("Ode"), firstGenre);

    gAtFirstRow = true;
    gAtLastRow = false;
    auto first = open(QStringLiteral("Amend"), id);
    EXPECT_FALSE(first->cmdPrevious->isEnabled());
    EXPECT_TRUE(first->cmdNext->isEnabled());
    click(first->cmdNext);
    EXPECT_EQ(gNavigate, 2);
    EXPECT_FALSE(first->isVisible());
    EXPECT_TRUE(prompts.shown.isEmpty());

    // Edited, answered No: nothing saved, but the step still happens.
    gNavigate = 0;
    gAtFirstRow = false;
    gAtLastRow = true;
    prompts.answers = {Prompts::Answer::No};
    auto last = open(QStringLiteral("Amend"), id);
    EXPECT_TRUE(last->cmdPrevious->isEnabled());
    EXPECT_FALSE(last->cmdNext->isEnabled());
    QTest::keyClicks(last->txtName, QStringLiteral("Changed"));
    click(last->cmdPrevious);
    EXPECT_EQ(gNavigate, 1);
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("Changes have been made; shall I save them?")});
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name FROM Work")), QStringLiteral("Ode"));
    EXPECT_FALSE(last->isVisible());

    // A save that is refused keeps the editor open and cancels the step.
    gNavigate = 0;
    gAtFirstRow = gAtLastRow = false;
    prompts.answers = {Prompts::Answer::Yes};
    exec(QStringLiteral("CREATE TRIGGER t BEFORE UPDATE ON Work BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    auto refused = open(QStringLiteral("Amend"), id);
    QTest::keyClicks(refused->txtName, QStringLiteral("Blocked"));
    click(refused->cmdNext);
    EXPECT_EQ(gNavigate, 0);
    EXPECT_TRUE(refused->isVisible());
    EXPECT_EQ(refused->txtName->text(), QStringLiteral("Blocked"));
}

TEST_F(WorkEditorTest, HotKeyButtonsTypeIntoTheLastTextField)
{
    auto editor = open(QStringLiteral("New"));
    ASSERT_TRUE(editor);
    QTest::keyClicks(editor->txtName, QStringLiteral("Hello "));
    click(editor->cmdHotKey[0]);
    settle();
    // Back in the name, at its caret: nothing selected, the text added.
    EXPECT_EQ(QApplication::focusWidget(), editor->txtName);
    EXPECT_EQ(editor->txtName->text(), QStringLiteral("Hello Dear Sir"));
    EXPECT_FALSE(editor->mHotKeyFocus);

    // A year field selects its year first, so the digits replace it; the flag stays set.
    editor->txtYearAmended->setFocus();
    QTest::keyClicks(editor->txtYearAmended, QStringLiteral("1990"));
    click(editor->cmdHotKey[1]);
    settle();
    EXPECT_EQ(editor->txtYearAmended->text(), QStringLiteral("2001"));
    EXPECT_TRUE(editor->mHotKeyFocus);
    // Text a year field cannot take is dropped there too, and the year stays.
    click(editor->cmdHotKey[0]);
    settle();
    EXPECT_EQ(editor->txtYearAmended->text(), QStringLiteral("2001"));

    // The next arrival in the name keeps its caret once, the one after selects all.
    QTest::keyClick(editor->txtYearAmended, Qt::Key_Tab, Qt::ShiftModifier);
    QTest::keyClick(editor->txtYearWritten, Qt::Key_Tab, Qt::ShiftModifier);
    QTest::keyClick(editor->lstGenre, Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), editor->txtName);
    EXPECT_FALSE(editor->txtName->hasSelectedText());
    EXPECT_FALSE(editor->mHotKeyFocus);
    QTest::keyClick(editor->txtName, Qt::Key_Tab);
    QTest::keyClick(editor->lstGenre, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(editor->txtName->selectedText(), editor->txtName->text());

    // After the focus moved to the genre list there is no target.
    QTest::keyClick(editor->txtName, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), editor->lstGenre);
    EXPECT_EQ(editor->mLastField, 0);
    const QString before = editor->txtName->text();
    click(editor->cmdHotKey[0]);
    settle();
    EXPECT_EQ(editor->txtName->text(), before);
    EXPECT_EQ(editor->txtYearWritten->text(), QStringLiteral("1997"));
    EXPECT_EQ(editor->txtYearAmended->text(), QStringLiteral("2001"));
}

TEST_F(WorkEditorTest, HotKeyKeyTypesIntoTheFocusedField)
{
    auto editor = open(QStringLiteral("New"));
    ASSERT_TRUE(editor);
    editor->txtYearAmended->setFocus();
    QTest::keyClick(editor->txtYearAmended, Qt::Key_F3);   // code 114: "2001"
    settle();
    EXPECT_EQ(editor->txtYearAmended->text(), QStringLiteral("2001"));
    EXPECT_EQ(editor->txtName->text(), QString());

    editor->txtName->setFocus();
    QTest::keyClick(editor->txtName, Qt::Key_F2, Qt::ShiftModifier);   // modifiers are not looked at
    settle();
    EXPECT_EQ(editor->txtName->text(), QStringLiteral("Dear Sir"));
    EXPECT_TRUE(editor->mChanged);
}

TEST_F(WorkEditorTest, RefusedSavesWriteNothingAndKeepTheEditorOpen)
{
    // The engine refuses: the message names the problem, the typing stays.
    exec(QStringLiteral("CREATE TRIGGER t BEFORE INSERT ON Work BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    auto editor = open(QStringLiteral("New"));
    ASSERT_TRUE(editor);
    QTest::keyClicks(editor->txtName, QStringLiteral("Doomed"));
    click(editor->cmdOK);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("refused")));
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->txtName->text(), QStringLiteral("Doomed"));
    EXPECT_EQ(works(), 0);
    EXPECT_FALSE(gDataChanged);
    exec(QStringLiteral("DROP TRIGGER t"));
    click(editor->cmdOK);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(works(), 1);

    // A work whose genre matches nothing must get one before it can be saved.
    const int id = addWork(QStringLiteral("Orphan"), 999);
    prompts.shown.clear();
    auto orphan = open(QStringLiteral("Amend"), id);
    ASSERT_TRUE(orphan);
    EXPECT_TRUE(orphan->lstGenre->selectedItems().isEmpty());
    QTest::keyClicks(orphan->txtName, QStringLiteral("Adopted"));
    click(orphan->cmdOK);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("genre")));
    EXPECT_TRUE(orphan->isVisible());
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name FROM Work WHERE ID = %1").arg(id)), QStringLiteral("Orphan"));
    orphan->lstGenre->item(0)->setSelected(true);
    click(orphan->cmdOK);
    EXPECT_FALSE(orphan->isVisible());
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name || Genre_ID FROM Work WHERE ID = %1").arg(id)),
              QStringLiteral("Adopted%1").arg(firstGenre));

    // No genres at all: New has nothing to choose and refuses.
    exec(QStringLiteral("DELETE FROM Genre"));
    prompts.shown.clear();
    auto empty = open(QStringLiteral("New"));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->lstGenre->count(), 0);
    QTest::keyClicks(empty->txtName, QStringLiteral("Nowhere"));
    click(empty->cmdOK);
    EXPECT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(empty->isVisible());
    EXPECT_EQ(works(), 2);
}

TEST_F(WorkEditorTest, AWorkThatNoLongerExistsIsReported)
{
    gEditAction = QStringLiteral("Amend");
    gRecordID = 4242;
    frmWork missing;
    EXPECT_FALSE(missing.Load());
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("This Work no longer exists.")});
    EXPECT_TRUE(gDataChanged);

    // Deleted while the editor was open: reported at the save, nothing is written back.
    gDataChanged = false;
    prompts.shown.clear();
    const int id = addWork(QStringLiteral("Brief"), firstGenre);
    auto editor = open(QStringLiteral("Amend"), id);
    ASSERT_TRUE(editor);
    exec(QStringLiteral("DELETE FROM Work WHERE ID = %1").arg(id));
    QTest::keyClicks(editor->txtName, QStringLiteral("Back"));
    click(editor->cmdOK);
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("This Work no longer exists.")});
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(works(), 0);
    EXPECT_TRUE(gDataChanged);
}
