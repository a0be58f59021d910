// The Work editor and the editor frame it shares, driven through its real widgets.

#include <QApplication>
#include <QButtonGroup>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "app/modQuillary.h"
#include "editors/frmWork.h"
#include "support/EditorTestKit.h"
#include "support/TestEnv.h"

namespace {
const QString kSavePrompt = QStringLiteral("Changes have been made; shall I save them?");
}

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
    }

    int addWork(const QString& name, int genre)
    {
        exec(QStringLiteral("INSERT INTO Work (Name, Genre_ID, Year_Written, \"Submit?\", \"Submitted?\", \"Accepted?\", "
                            "\"Published?\") VALUES ('%1', %2, '1990', 0, 1, 0, 1)").arg(name).arg(genre));
        return queryInt(QStringLiteral("SELECT max(ID) FROM Work"));
    }
    std::unique_ptr<frmWork> open(const QString& action, int id = 0) { return openEditor<frmWork>(action, id); }
    int works() { return queryInt(QStringLiteral("SELECT Count(*) FROM Work")); }
    QString name(int id) { return queryText(QStringLiteral("SELECT Name FROM Work WHERE ID = %1").arg(id)); }
    static QList<int> options(const frmWork& e)
    {
        return {EditorBase::optionIndex(e.optSubmit), EditorBase::optionIndex(e.optSubmitted),
                EditorBase::optionIndex(e.optAccepted), EditorBase::optionIndex(e.optPublished)};
    }

    int firstGenre = 0, secondGenre = 0;
};

TEST_F(WorkEditorTest, NewStartsWithDefaultsAndStoresWhatIsShown)
{
    auto editor = open(QStringLiteral("New"));
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("New Work"));
    EXPECT_EQ(editor->txtName->text() + '|' + editor->txtYearWritten->text() + '|' + editor->txtYearAmended->text(),
              QStringLiteral("|1997|"));
    EXPECT_EQ(options(*editor), (QList<int>{0, -1, -1, -1}));
    EXPECT_EQ(selectedIds(editor->lstGenre), QList<int>{firstGenre});
    EXPECT_FALSE(editor->mChanged);
    EXPECT_EQ(QApplication::focusWidget(), editor->txtName);
    EXPECT_TRUE(editor->cmdPrevious->isEnabled() && editor->cmdNext->isEnabled());
    // Nothing edited: OK writes nothing.
    click(editor->cmdOK);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(works(), 0);
    EXPECT_FALSE(gDataChanged);

    editor = open(QStringLiteral("New"));
    QTest::keyClicks(editor->txtName, QStringLiteral("Say \"when\""));
    clickItem(editor->lstGenre, 1);
    typeInto(editor->txtYearAmended, QStringLiteral("2001"));
    click(editor->optPublished->button(0));
    click(editor->cmdOK);
    EXPECT_FALSE(editor->isVisible());
    ASSERT_EQ(works(), 1);
    EXPECT_EQ(gSelectID, queryInt(QStringLiteral("SELECT ID FROM Work")));
    EXPECT_TRUE(gDataChanged);
    // Only the chosen Yes counts; groups left empty store false.
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name || '/' || Genre_ID || '/' || Year_Written || '/' || Year_Last_Amended "
                                       "|| '/' || \"Submit?\" || \"Submitted?\" || \"Accepted?\" || \"Published?\" FROM Work")),
              QStringLiteral("Say \"when\"/%1/1997/2001/1001").arg(secondGenre));
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(WorkEditorTest, DuplicateNameQuestionOnNewOnly)
{
    addWork(QStringLiteral("Alpha"), firstGenre);
    for (Prompts::Answer answer : {Prompts::Answer::No, Prompts::Answer::Yes}) {
        prompts.answers = {answer};
        auto editor = open(QStringLiteral("New"));
        QTest::keyClicks(editor->txtName, QStringLiteral("Alpha"));
        click(editor->cmdOK);
        EXPECT_FALSE(editor->isVisible());
        EXPECT_EQ(works(), answer == Prompts::Answer::No ? 1 : 2);
    }
    EXPECT_EQ(prompts.texts(), QStringList(2, QStringLiteral("A Work with this name already exists in the system - continue?")));
    EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Critical);
    EXPECT_EQ(prompts.shown[0].buttons, Prompts::Buttons::YesNo);
}

TEST_F(WorkEditorTest, YearFieldsTakeFourDigitsOnly)
{
    auto editor = open(QStringLiteral("New"));
    ASSERT_TRUE(editor);
    QTest::keyClick(editor->txtName, Qt::Key_Tab);
    QTest::keyClick(editor->lstGenre, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), editor->txtYearWritten);
    // The year is selected on arrival, so typing replaces it.
    QTest::keyClicks(editor->txtYearWritten, QStringLiteral("19a9"));
    EXPECT_EQ(editor->txtYearWritten->text(), QStringLiteral("199"));
    QTest::keyClicks(editor->txtYearWritten, QStringLiteral("5 -7"));
    EXPECT_EQ(editor->txtYearWritten->text(), QStringLiteral("1995"));
}

TEST_F(WorkEditorTest, AmendShowsTheRowAndSavesEdits)
{
    const int id = addWork(QStringLiteral("Ode"), secondGenre);
    auto editor = open(QStringLiteral("Amend"), id);
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("Amend Work"));
    EXPECT_EQ(editor->txtName->text() + '|' + editor->txtYearWritten->text() + '|' + editor->txtYearAmended->text(),
              QStringLiteral("Ode|1990|"));
    EXPECT_EQ(options(*editor), (QList<int>{1, 0, 1, 0}));
    EXPECT_EQ(selectedIds(editor->lstGenre), QList<int>{secondGenre});
    EXPECT_FALSE(editor->mChanged);

    // The name is selected on arrival: typing replaces it. Another's name asks nothing on Amend.
    addWork(QStringLiteral("Elegy"), firstGenre);
    QTest::keyClicks(editor->txtName, QStringLiteral("Elegy"));
    click(editor->optSubmit->button(0));
    click(editor->optPublished->button(1));
    typeInto(editor->txtYearAmended, QStringLiteral("2004"));
    click(editor->cmdOK);
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name || '/' || Year_Last_Amended || '/' || \"Submit?\" || \"Published?\" "
                                       "|| '/' || Genre_ID FROM Work WHERE ID = %1").arg(id)),
              QStringLiteral("Elegy/2004/10/%1").arg(secondGenre));
    EXPECT_EQ(gSelectID, id);
    EXPECT_TRUE(gDataChanged);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(WorkEditorTest, CancelEscAndCloseBoxAskBeforeLosingChanges)
{
    const int id = addWork(QStringLiteral("Ode"), firstGenre);
    enum Way { Cancel, Escape, CloseBox };
    // Opens, types (if any), leaves one way answering `answer`; the questions asked.
    auto leave = [&](const QString& typed, Way way, Prompts::Answer answer = Prompts::Answer::No) {
        prompts.shown.clear();
        prompts.answers = {answer};
        gDataChanged = false;
        auto editor = open(QStringLiteral("Amend"), id);
        QTest::keyClicks(editor->txtName, typed);
        if (way == Cancel)
            click(editor->cmdCancel);
        else if (way == Escape)
            QTest::keyClick(editor->txtName, Qt::Key_Escape);
        else
            editor->close();
        EXPECT_FALSE(editor->isVisible());
        return prompts.texts();
    };
    EXPECT_TRUE(leave(QString(), Cancel).isEmpty());
    EXPECT_TRUE(leave(QString(), CloseBox).isEmpty());
    EXPECT_EQ(leave(QStringLiteral("Lost"), Escape), QStringList{kSavePrompt});
    EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Question);
    EXPECT_EQ(name(id), QStringLiteral("Ode"));
    EXPECT_FALSE(gDataChanged);
    EXPECT_EQ(leave(QStringLiteral("Kept"), Cancel, Prompts::Answer::Yes), QStringList{kSavePrompt});
    EXPECT_EQ(name(id), QStringLiteral("Kept"));
    EXPECT_TRUE(gDataChanged);
    // The close box asks the same question and never steps on.
    EXPECT_EQ(leave(QStringLiteral("Gone"), CloseBox), QStringList{kSavePrompt});
    EXPECT_EQ(name(id), QStringLiteral("Kept"));
    EXPECT_EQ(leave(QStringLiteral("Boxed"), CloseBox, Prompts::Answer::Yes), QStringList{kSavePrompt});
    EXPECT_EQ(name(id), QStringLiteral("Boxed"));
    EXPECT_EQ(gNavigate, 0);
}

TEST_F(WorkEditorTest, PreviousAndNextAskThenStepUnlessTheSaveIsRefused)
{
    const int id = addWork(QStringLiteral("Ode"), firstGenre);
    gAtFirstRow = false;
    gAtLastRow = true;
    prompts.answers = {Prompts::Answer::No, Prompts::Answer::Yes};
    auto last = open(QStringLiteral("Amend"), id);
    EXPECT_TRUE(last->cmdPrevious->isEnabled());
    EXPECT_FALSE(last->cmdNext->isEnabled());
    QTest::keyClicks(last->txtName, QStringLiteral("Changed"));
    click(last->cmdPrevious);
    // Answered No: nothing saved, but the step still happens.
    EXPECT_EQ(gNavigate, 1);
    EXPECT_EQ(prompts.texts(), QStringList{kSavePrompt});
    EXPECT_EQ(name(id), QStringLiteral("Ode"));
    EXPECT_FALSE(last->isVisible());

    // Answered Yes, but the save is refused: the editor stays open and the step is cancelled.
    gNavigate = 0;
    gAtLastRow = false;
    exec(QStringLiteral("CREATE TRIGGER t BEFORE UPDATE ON Work BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    auto refused = open(QStringLiteral("Amend"), id);
    QTest::keyClicks(refused->txtName, QStringLiteral("Blocked"));
    click(refused->cmdNext);
    EXPECT_EQ(gNavigate, 0);
    EXPECT_TRUE(refused->isVisible());
    EXPECT_EQ(refused->txtName->text(), QStringLiteral("Blocked"));
    EXPECT_TRUE(prompts.texts().last().contains(QStringLiteral("refused")));
    EXPECT_EQ(name(id), QStringLiteral("Ode"));
    EXPECT_FALSE(gDataChanged);
}

TEST_F(WorkEditorTest, HotKeysTypeIntoTheRightField)
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

    // A year field selects its year first, so the digits replace it; text it cannot take is dropped.
    typeInto(editor->txtYearAmended, QStringLiteral("1990"));
    click(editor->cmdHotKey[1]);
    settle();
    EXPECT_EQ(editor->txtYearAmended->text(), QStringLiteral("2001"));
    EXPECT_TRUE(editor->mHotKeyFocus);
    click(editor->cmdHotKey[0]);
    settle();
    EXPECT_EQ(editor->txtYearAmended->text(), QStringLiteral("2001"));

    // The next arrival in the name keeps its caret once, the one after selects all.
    QTest::keyClick(editor->txtYearAmended, Qt::Key_Tab, Qt::ShiftModifier);
    QTest::keyClick(editor->txtYearWritten, Qt::Key_Tab, Qt::ShiftModifier);
    QTest::keyClick(editor->lstGenre, Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), editor->txtName);
    EXPECT_FALSE(editor->txtName->hasSelectedText());
    QTest::keyClick(editor->txtName, Qt::Key_Tab);
    QTest::keyClick(editor->lstGenre, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(editor->txtName->selectedText(), editor->txtName->text());

    // After the focus moved to the genre list there is no target.
    QTest::keyClick(editor->txtName, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), editor->lstGenre);
    click(editor->cmdHotKey[0]);
    settle();
    EXPECT_EQ(editor->txtName->text() + '|' + editor->txtYearWritten->text() + '|' + editor->txtYearAmended->text(),
              QStringLiteral("Hello Dear Sir|1997|2001"));

    // The hot key itself types into the focused field.
    editor->txtYearWritten->setFocus();
    editor->txtYearWritten->clear();
    QTest::keyClick(editor->txtYearWritten, Qt::Key_F3);
    settle();
    EXPECT_EQ(editor->txtName->text() + '|' + editor->txtYearWritten->text(), QStringLiteral("Hello Dear Sir|2001"));
}

TEST_F(WorkEditorTest, AWorkWithoutAGenreIsRefusedUntilOneIsChosen)
{
    // A work whose genre matches nothing must get one before it can be saved.
    const int id = addWork(QStringLiteral("Orphan"), 999);
    auto orphan = open(QStringLiteral("Amend"), id);
    EXPECT_TRUE(orphan->lstGenre->selectedItems().isEmpty());
    QTest::keyClicks(orphan->txtName, QStringLiteral("Adopted"));
    click(orphan->cmdOK);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("genre")));
    EXPECT_TRUE(orphan->isVisible());
    EXPECT_EQ(name(id), QStringLiteral("Orphan"));
    orphan->lstGenre->item(0)->setSelected(true);
    click(orphan->cmdOK);
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name || Genre_ID FROM Work WHERE ID = %1").arg(id)),
              QStringLiteral("Adopted%1").arg(firstGenre));
}

TEST_F(WorkEditorTest, AWorkDeletedWhileOpenIsReportedAtTheSave)
{
    const int id = addWork(QStringLiteral("Brief"), firstGenre);
    auto editor = open(QStringLiteral("Amend"), id);
    exec(QStringLiteral("DELETE FROM Work WHERE ID = %1").arg(id));
    QTest::keyClicks(editor->txtName, QStringLiteral("Back"));
    click(editor->cmdOK);
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("This Work no longer exists.")});
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(works(), 0);
    EXPECT_TRUE(gDataChanged);
}
