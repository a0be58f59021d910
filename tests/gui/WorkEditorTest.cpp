// The Work editor and the editor frame it shares, driven through its real widgets.

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QButtonGroup>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "gui/StatusMessage.h"
#include "gui/editors/WorkEditor.h"
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
    std::unique_ptr<WorkEditor> open(const QString& action, int id = 0)
    {
        return openEditor<WorkEditor>(session(), desktop(), action, id);
    }
    int works() { return queryInt(QStringLiteral("SELECT Count(*) FROM Work")); }
    QString name(int id) { return queryText(QStringLiteral("SELECT Name FROM Work WHERE ID = %1").arg(id)); }

    int firstGenre = 0, secondGenre = 0;
};

TEST_F(WorkEditorTest, NewStartsWithDefaultsAndStoresWhatIsTyped)
{
    auto editor = open(QStringLiteral("New"));
    ASSERT_TRUE(editor);
    EXPECT_EQ(child<QLineEdit>(editor, "nameEdit")->text() + '|' + child<QLineEdit>(editor, "yearWrittenEdit")->text() + '|' + child<QLineEdit>(editor, "yearAmendedEdit")->text(),
              QStringLiteral("|1997|"));
    EXPECT_EQ(EditorWindow::optionIndex(child<QButtonGroup>(editor, "submitGroup")), 0);
    EXPECT_EQ(EditorWindow::optionIndex(child<QButtonGroup>(editor, "publishedGroup")), -1);
    EXPECT_EQ(selectedIds(child<QListWidget>(editor, "genreList")), QList<int>{firstGenre});
    // Nothing edited: OK writes nothing.
    click(child<QPushButton>(editor, "okButton"));
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(works(), 0);
    EXPECT_FALSE(editor->result().dataChanged);

    editor = open(QStringLiteral("New"));
    QTest::keyClicks(child<QLineEdit>(editor, "nameEdit"), QStringLiteral("Say \"when\""));
    clickItem(child<QListWidget>(editor, "genreList"), 1);
    typeInto(child<QLineEdit>(editor, "yearAmendedEdit"), QStringLiteral("2001"));
    click(child<QButtonGroup>(editor, "publishedGroup")->button(0));
    click(child<QPushButton>(editor, "okButton"));
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(editor->result().selectId, queryInt(QStringLiteral("SELECT ID FROM Work")));
    EXPECT_TRUE(editor->result().dataChanged);
    // Only the chosen Yes counts; groups left empty store false.
    EXPECT_EQ(queryText(QStringLiteral("SELECT group_concat(Name || '/' || Genre_ID || '/' || Year_Written || '/' || "
                                       "Year_Last_Amended || '/' || \"Submit?\" || \"Submitted?\" || \"Accepted?\" || "
                                       "\"Published?\") FROM Work")),
              QStringLiteral("Say \"when\"/%1/1997/2001/1001").arg(secondGenre));
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(WorkEditorTest, DuplicateNameAsksOnNewAndYearFieldsTakeFourDigits)
{
    addWork(QStringLiteral("Alpha"), firstGenre);
    for (Prompts::Answer answer : {Prompts::Answer::No, Prompts::Answer::Yes}) {
        prompts.answers = {answer};
        auto editor = open(QStringLiteral("New"));
        QTest::keyClicks(child<QLineEdit>(editor, "nameEdit"), QStringLiteral("Alpha"));
        click(child<QPushButton>(editor, "okButton"));
        EXPECT_FALSE(editor->isVisible());
        EXPECT_EQ(works(), answer == Prompts::Answer::No ? 1 : 2);
    }
    EXPECT_EQ(prompts.texts(), QStringList(2, QStringLiteral("A Work with this name already exists in the system - continue?")));
    EXPECT_EQ(prompts.shown[0].buttons, Prompts::Buttons::YesNo);

    auto editor = open(QStringLiteral("New"));
    typeInto(child<QLineEdit>(editor, "yearAmendedEdit"), QStringLiteral("19a9"));
    EXPECT_EQ(child<QLineEdit>(editor, "yearAmendedEdit")->text(), QStringLiteral("199"));
    QTest::keyClicks(child<QLineEdit>(editor, "yearAmendedEdit"), QStringLiteral("57"));
    EXPECT_EQ(child<QLineEdit>(editor, "yearAmendedEdit")->text(), QStringLiteral("1995"));

    // Pasted by key or by the context menu: still digits only, four at most.
    QLineEdit* year = child<QLineEdit>(editor, "yearWrittenEdit");
    year->clear();
    year->setFocus();
    QGuiApplication::clipboard()->setText(QStringLiteral("19x9"));
    QTest::keyClick(year, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(year, Qt::Key_Insert, Qt::ShiftModifier);
    year->paste();
    EXPECT_EQ(year->text(), QString());
    QGuiApplication::clipboard()->setText(QStringLiteral("2024"));
    QTest::keyClick(year, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(year->text(), QStringLiteral("2024"));
}

TEST_F(WorkEditorTest, CancelAndTheCloseBoxAskBeforeLosingChanges)
{
    const int id = addWork(QStringLiteral("Ode"), secondGenre);
    // Opens, types (if any), leaves by Cancel or the close box answering `answer`; the questions asked.
    EditResult last;
    auto leave = [&](const QString& typed, bool closeBox, Prompts::Answer answer = Prompts::Answer::No) {
        prompts.shown.clear();
        prompts.answers = {answer};
        auto editor = open(QStringLiteral("Amend"), id);
        QTest::keyClicks(child<QLineEdit>(editor, "nameEdit"), typed);
        if (closeBox)
            editor->close();
        else
            click(child<QPushButton>(editor, "cancelButton"));
        EXPECT_FALSE(editor->isVisible());
        last = editor->result();
        return prompts.texts();
    };
    EXPECT_TRUE(leave(QString(), false).isEmpty());
    EXPECT_EQ(leave(QStringLiteral("Lost"), false), QStringList{kSavePrompt});
    EXPECT_EQ(name(id), QStringLiteral("Ode"));
    EXPECT_FALSE(last.dataChanged);
    // The name is selected on arrival: typing replaces it.
    EXPECT_EQ(leave(QStringLiteral("Kept"), false, Prompts::Answer::Yes), QStringList{kSavePrompt});
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name || '/' || Genre_ID || '/' || \"Submitted?\" FROM Work")),
              QStringLiteral("Kept/%1/1").arg(secondGenre));
    EXPECT_TRUE(last.dataChanged);
    // The close box asks the same question and never steps on.
    EXPECT_EQ(leave(QStringLiteral("Gone"), true), QStringList{kSavePrompt});
    EXPECT_EQ(name(id), QStringLiteral("Kept"));
    EXPECT_EQ(last.step, Step::None);
}

TEST_F(WorkEditorTest, ARefusedSaveKeepsTheEditorOpenAndCancelsTheStep)
{
    const int id = addWork(QStringLiteral("Ode"), firstGenre);
    exec(QStringLiteral("CREATE TRIGGER t BEFORE UPDATE ON Work BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    prompts.answers = {Prompts::Answer::Yes};
    auto editor = open(QStringLiteral("Amend"), id);
    QTest::keyClicks(child<QLineEdit>(editor, "nameEdit"), QStringLiteral("Blocked"));
    click(child<QPushButton>(editor, "nextButton"));
    EXPECT_EQ(editor->result().step, Step::None);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(child<QLineEdit>(editor, "nameEdit")->text(), QStringLiteral("Blocked"));
    EXPECT_TRUE(prompts.texts().last().contains(QStringLiteral("refused")));
    EXPECT_EQ(name(id), QStringLiteral("Ode"));
    EXPECT_FALSE(editor->result().dataChanged);
}

TEST_F(WorkEditorTest, HotKeyButtonsTypeIntoTheLastTextField)
{
    auto editor = open(QStringLiteral("New"));
    ASSERT_TRUE(editor);
    QTest::keyClicks(child<QLineEdit>(editor, "nameEdit"), QStringLiteral("Hello "));
    click(child<QPushButton>(editor, "hotKeyButton0"));
    settle();
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>(editor, "nameEdit"));
    EXPECT_EQ(child<QLineEdit>(editor, "nameEdit")->text(), QStringLiteral("Hello Dear Sir"));

    // The part selected when the button took the focus is replaced, as typing would.
    child<QLineEdit>(editor, "nameEdit")->setFocus();
    child<QLineEdit>(editor, "nameEdit")->setSelection(6, 4);
    click(child<QPushButton>(editor, "hotKeyButton0"));
    settle();
    EXPECT_EQ(child<QLineEdit>(editor, "nameEdit")->text(), QStringLiteral("Hello Dear Sir Sir"));
    child<QLineEdit>(editor, "nameEdit")->setSelection(child<QLineEdit>(editor, "nameEdit")->text().size(), -8);
    click(child<QPushButton>(editor, "hotKeyButton0"));
    settle();
    EXPECT_EQ(child<QLineEdit>(editor, "nameEdit")->text(), QStringLiteral("Hello DearDear Sir"));
    child<QLineEdit>(editor, "nameEdit")->setText(QStringLiteral("Hello Dear Sir"));

    // A year field selects its year first, so the digits replace it; text it cannot take is dropped.
    typeInto(child<QLineEdit>(editor, "yearAmendedEdit"), QStringLiteral("1990"));
    click(child<QPushButton>(editor, "hotKeyButton1"));
    settle();
    EXPECT_EQ(child<QLineEdit>(editor, "yearAmendedEdit")->text(), QStringLiteral("2001"));
    click(child<QPushButton>(editor, "hotKeyButton0"));
    settle();
    EXPECT_EQ(child<QLineEdit>(editor, "nameEdit")->text() + '|' + child<QLineEdit>(editor, "yearAmendedEdit")->text(), QStringLiteral("Hello Dear Sir|2001"));
}

TEST_F(WorkEditorTest, AWorkWithoutAGenreOrDeletedMeanwhileIsNotSaved)
{
    // A work whose genre matches nothing must get one before it can be saved.
    const int orphan = addWork(QStringLiteral("Orphan"), 999);
    auto editor = open(QStringLiteral("Amend"), orphan);
    EXPECT_TRUE(child<QListWidget>(editor, "genreList")->selectedItems().isEmpty());
    QTest::keyClicks(child<QLineEdit>(editor, "nameEdit"), QStringLiteral("Adopted"));
    click(child<QPushButton>(editor, "okButton"));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("genre")));
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(name(orphan), QStringLiteral("Orphan"));
    child<QListWidget>(editor, "genreList")->item(0)->setSelected(true);
    click(child<QPushButton>(editor, "okButton"));
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name || Genre_ID FROM Work")), QStringLiteral("Adopted%1").arg(firstGenre));

    // Deleted while the editor was open: reported at the save, nothing written back.
    prompts.shown.clear();
    editor = open(QStringLiteral("Amend"), orphan);
    exec(QStringLiteral("DELETE FROM Work WHERE ID = %1").arg(orphan));
    QTest::keyClicks(child<QLineEdit>(editor, "nameEdit"), QStringLiteral("Back"));
    click(child<QPushButton>(editor, "okButton"));
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("This Work no longer exists.")});
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(works(), 0);
}
