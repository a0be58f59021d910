// The Work editor and the editor frame it shares, driven through its real widgets.

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "gui/editors/WorkEditor.h"
#include "support/EditorTestKit.h"
#include "support/TestEnv.h"

class WorkEditorTest : public QuillaryTest {
protected:
    void SetUp() override
    {
        QuillaryTest::SetUp();
        createDatabase();
        clock.date = QDate(1997, 3, 4);
        setHotKeys({{"F2", 113, "Dear Sir"}, {"Yr", 114, "2001"}});
        firstGenre = queryInt("SELECT min(ID) FROM Genre");
        secondGenre = queryInt("SELECT ID FROM Genre ORDER BY ID LIMIT 1 OFFSET 1");
    }
    int addWork(const QString& name, int genre)
    {
        exec(QStringLiteral("INSERT INTO Work (Name, Genre_ID, Year_Written, \"Submit?\", \"Submitted?\", \"Accepted?\", "
                            "\"Published?\") VALUES ('%1', %2, '1990', 0, 1, 0, 1)").arg(name).arg(genre));
        return queryInt("SELECT max(ID) FROM Work");
    }
    std::unique_ptr<WorkEditor> open(const QString& action, int id = 0)
    {
        auto editor = openEditor<WorkEditor>(session(), desktop(), action, id);
        name = editor ? child<QLineEdit>(editor, "nameEdit") : nullptr;
        return editor;
    }
    int works() { return queryInt("SELECT Count(*) FROM Work"); }
    QString nameOf(int id) { return queryText(QStringLiteral("SELECT Name FROM Work WHERE ID = %1").arg(id)); }

    int firstGenre = 0, secondGenre = 0;
    QLineEdit* name = nullptr;  // the name field of the editor opened last
};

TEST_F(WorkEditorTest, NewStartsWithDefaultsAndAsksBeforeADuplicateName)
{
    auto editor = open("New");
    ASSERT_TRUE(editor);
    EXPECT_EQ(child<QLineEdit>(editor, "yearWrittenEdit")->text(), "1997");
    EXPECT_EQ(EditorWindow::optionIndex(child<QButtonGroup>(editor, "submitGroup")), 0);
    EXPECT_EQ(EditorWindow::optionIndex(child<QButtonGroup>(editor, "publishedGroup")), -1);
    EXPECT_EQ(selectedIds(child<QListWidget>(editor, "genreList")), QList<int>{firstGenre});
    // Nothing edited: OK writes nothing.
    click(child<QPushButton>(editor, "okButton"));
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(works(), 0);
    EXPECT_FALSE(editor->result().dataChanged);

    editor = open("New");
    QTest::keyClicks(name, "Say \"when\"");
    clickItem(child<QListWidget>(editor, "genreList"), 1);
    typeInto(child<QLineEdit>(editor, "yearAmendedEdit"), "2001");
    click(child<QButtonGroup>(editor, "publishedGroup")->button(0));
    click(child<QPushButton>(editor, "okButton"));
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(editor->result().selectId, queryInt("SELECT ID FROM Work"));
    EXPECT_TRUE(editor->result().dataChanged);
    // Only the chosen Yes counts; groups left empty store false.
    EXPECT_EQ(queryText("SELECT Name || '/' || Genre_ID || '/' || Year_Written || '/' || Year_Last_Amended || '/' || "
                        "\"Submit?\" || \"Submitted?\" || \"Accepted?\" || \"Published?\" FROM Work"),
              QStringLiteral("Say \"when\"/%1/1997/2001/1001").arg(secondGenre));
    EXPECT_TRUE(prompts.shown.isEmpty());

    for (Prompts::Answer answer : {Prompts::Answer::No, Prompts::Answer::Yes}) {
        prompts.answers = {answer};
        editor = open("New");
        QTest::keyClicks(name, "Say \"when\"");
        click(child<QPushButton>(editor, "okButton"));
        EXPECT_FALSE(editor->isVisible());
        EXPECT_EQ(works(), answer == Prompts::Answer::No ? 1 : 2);
    }
    EXPECT_EQ(prompts.texts(), QStringList(2, "A Work with this name already exists in the system - continue?"));
    EXPECT_EQ(prompts.shown[0].buttons, Prompts::Buttons::YesNo);
}

TEST_F(WorkEditorTest, CancelAndTheCloseBoxAskBeforeLosingChanges)
{
    const QString savePrompt = "Changes have been made; shall I save them?";
    const int id = addWork("Ode", secondGenre);
    // Opens, types, leaves by Cancel or the close box answering `answer`; the questions asked.
    EditResult last;
    auto leave = [&](const QString& typed, bool closeBox, Prompts::Answer answer = Prompts::Answer::No) {
        prompts.shown.clear();
        prompts.answers = {answer};
        auto editor = open("Amend", id);
        QTest::keyClicks(name, typed);
        if (closeBox)
            editor->close();
        else
            click(child<QPushButton>(editor, "cancelButton"));
        EXPECT_FALSE(editor->isVisible());
        last = editor->result();
        return prompts.texts();
    };
    EXPECT_TRUE(leave("", false).isEmpty());
    EXPECT_EQ(leave("Lost", false), QStringList{savePrompt});
    EXPECT_EQ(nameOf(id), "Ode");
    EXPECT_FALSE(last.dataChanged);
    // The name is selected on arrival: typing replaces it.
    EXPECT_EQ(leave("Kept", false, Prompts::Answer::Yes), QStringList{savePrompt});
    EXPECT_EQ(queryText("SELECT Name || '/' || Genre_ID || '/' || \"Submitted?\" FROM Work"),
              QStringLiteral("Kept/%1/1").arg(secondGenre));
    EXPECT_TRUE(last.dataChanged);
    // The close box asks the same question and never steps on.
    EXPECT_EQ(leave("Gone", true), QStringList{savePrompt});
    EXPECT_EQ(nameOf(id), "Kept");
    EXPECT_EQ(last.step, Step::None);
}

TEST_F(WorkEditorTest, RefusedSavesKeepTheEditorOpenAndWriteNothing)
{
    // A work whose genre matches nothing must get one before it can be saved.
    const int id = addWork("Orphan", 999);
    auto editor = open("Amend", id);
    EXPECT_TRUE(child<QListWidget>(editor, "genreList")->selectedItems().isEmpty());
    QTest::keyClicks(name, "Adopted");
    click(child<QPushButton>(editor, "okButton"));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains("genre"));
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(nameOf(id), "Orphan");
    child<QListWidget>(editor, "genreList")->item(0)->setSelected(true);
    click(child<QPushButton>(editor, "okButton"));
    EXPECT_EQ(queryText("SELECT Name || Genre_ID FROM Work"), QStringLiteral("Adopted%1").arg(firstGenre));

    // Refused by the database on Next: the step is cancelled, the typing kept.
    exec("CREATE TRIGGER t BEFORE UPDATE ON Work BEGIN SELECT RAISE(ABORT, 'refused'); END");
    prompts.answers = {Prompts::Answer::Yes};
    editor = open("Amend", id);
    QTest::keyClicks(name, "Blocked");
    click(child<QPushButton>(editor, "nextButton"));
    EXPECT_EQ(editor->result().step, Step::None);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(name->text(), "Blocked");
    EXPECT_TRUE(prompts.texts().last().contains("refused"));
    EXPECT_EQ(nameOf(id), "Adopted");
    EXPECT_FALSE(editor->result().dataChanged);

    // Deleted while the editor was open: reported at the save, nothing written back.
    exec("DROP TRIGGER t");
    prompts.shown.clear();
    editor = open("Amend", id);
    exec(QStringLiteral("DELETE FROM Work WHERE ID = %1").arg(id));
    QTest::keyClicks(name, "Back");
    click(child<QPushButton>(editor, "okButton"));
    EXPECT_EQ(prompts.texts(), QStringList{"This Work no longer exists."});
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(works(), 0);
}

TEST_F(WorkEditorTest, YearFieldsTakeDigitsOnlyAndHotKeysTypeIntoTheLastTextField)
{
    auto editor = open("New");
    ASSERT_TRUE(editor);
    QLineEdit* amended = child<QLineEdit>(editor, "yearAmendedEdit");
    typeInto(amended, "19a9");
    EXPECT_EQ(amended->text(), "199");
    QTest::keyClicks(amended, "57");
    EXPECT_EQ(amended->text(), "1995");

    // Pasted by either key or by the context menu: still digits only.
    QLineEdit* year = child<QLineEdit>(editor, "yearWrittenEdit");
    year->clear();
    year->setFocus();
    QGuiApplication::clipboard()->setText("19x9");
    QTest::keyClick(year, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(year, Qt::Key_Insert, Qt::ShiftModifier);
    year->paste();
    EXPECT_EQ(year->text(), "");
    QGuiApplication::clipboard()->setText("2024");
    QTest::keyClick(year, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(year->text(), "2024");

    typeInto(name, "Hello ");
    auto hotKey = [&](int i) {
        click(child<QPushButton>(editor, QStringLiteral("hotKeyButton%1").arg(i)));
        EXPECT_TRUE(settle());
    };
    hotKey(0);
    EXPECT_EQ(QApplication::focusWidget(), name);
    EXPECT_EQ(name->text(), "Hello Dear Sir");

    // The part selected when the button took the focus is replaced, either way round.
    name->setSelection(6, 4);
    hotKey(0);
    EXPECT_EQ(name->text(), "Hello Dear Sir Sir");
    name->setSelection(name->text().size(), -8);
    hotKey(0);
    EXPECT_EQ(name->text(), "Hello DearDear Sir");

    // A year field selects its year first, so the digits replace it; text it cannot take is dropped.
    amended->setFocus();
    hotKey(1);
    EXPECT_EQ(amended->text(), "2001");
    hotKey(0);
    EXPECT_EQ(amended->text(), "2001");
    EXPECT_EQ(name->text(), "Hello DearDear Sir");
}
