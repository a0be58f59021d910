// The Work editor and the editor frame it shares; a new database's genres are in ID order.

#include <QApplication>
#include <QClipboard>

#include "gui/editors/WorkEditor.h"
#include "support/EditorTestKit.h"

class WorkEditorTest : public QuillaryTest {
protected:
    void SetUp() override
    {
        QuillaryTest::SetUp();
        createDatabase();
        clock.date = QDate(1997, 3, 4);
        setHotKeys({{"F2", 113, "Dear Sir{F2}"}});
    }
    std::unique_ptr<WorkEditor> open(const QString& action, int id = 0)
    {
        auto editor = openEditor<WorkEditor>(session(), desktop(), action, id);
        name = editor ? child<QLineEdit>(editor, "nameEdit") : nullptr;
        return editor;
    }
    int works() { return queryInt("SELECT Count(*) FROM Work"); }
    QString stored(const QString& columns) { return queryText("SELECT " + columns + " FROM Work"); }

    QLineEdit* name = nullptr;  // the name field of the editor opened last
};

TEST_F(WorkEditorTest, NewTakesDefaultsDuplicateQuestionYearDigitsAndHotKeys)
{
    auto editor = open("New");
    ASSERT_TRUE(editor);
    EXPECT_EQ(child<QLineEdit>(editor, "yearWrittenEdit")->text(), "1997");
    EXPECT_EQ(selectedIds(child<QListWidget>(editor, "genreList")), QList<int>{1});
    press(editor, "okButton");
    EXPECT_EQ(works(), 0);  // nothing edited, nothing written

    editor = open("New");
    QTest::keyClicks(name, "Say \"when\"");
    clickItem(child<QListWidget>(editor, "genreList"), 1);
    typeInto(child<QLineEdit>(editor, "yearAmendedEdit"), "2001");
    click(child<QButtonGroup>(editor, "publishedGroup")->button(0));
    press(editor, "okButton");
    EXPECT_EQ(editor->result().selectId, queryInt("SELECT ID FROM Work"));
    // Only the chosen Yes counts; groups left empty store false.
    EXPECT_EQ(stored("Name || '/' || Genre_ID || '/' || Year_Written || '/' || Year_Last_Amended || '/' || \"Submit?\" "
                     "|| \"Submitted?\" || \"Accepted?\" || \"Published?\""),
              "Say \"when\"/2/1997/2001/1001");
    EXPECT_TRUE(prompts.shown.isEmpty());

    for (Prompts::Answer answer : {Prompts::Answer::No, Prompts::Answer::Yes}) {
        prompts.answers = {answer};
        editor = open("New");
        QTest::keyClicks(name, "Say \"when\"");
        press(editor, "okButton");
        EXPECT_EQ(works(), answer == Prompts::Answer::No ? 1 : 2);
    }
    EXPECT_EQ(prompts.texts(), QStringList(2, "A Work with this name already exists in the system - continue?"));

    // Year fields take digits only.
    editor = open("New");
    QLineEdit* amended = child<QLineEdit>(editor, "yearAmendedEdit");
    typeInto(amended, "19a957");
    EXPECT_EQ(amended->text(), "1995");
    // Pasted: still digits only.
    QLineEdit* written = child<QLineEdit>(editor, "yearWrittenEdit");
    written->clear();
    written->setFocus();
    QGuiApplication::clipboard()->setText("19x9");
    QTest::keyClick(written, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(written->text(), "");
    QGuiApplication::clipboard()->setText("2024");
    written->paste();
    EXPECT_EQ(written->text(), "2024");

    // A hot key's button types into the field that had the focus; its own key, sent back, does not fire again.
    typeInto(name, "Hello ");
    click(child<QPushButton>(editor, "hotKeyButton0"));
    EXPECT_TRUE(settle());
    EXPECT_EQ(QApplication::focusWidget(), name);
    EXPECT_EQ(name->text(), "Hello Dear Sir");
}

TEST_F(WorkEditorTest, LeavingAsksAndRefusedSavesKeepTheEditorOpenAndWriteNothing)
{
    // A work whose genre matches nothing must get one before it can be saved.
    exec("INSERT INTO Work (Name, Genre_ID, \"Submitted?\") VALUES ('Orphan', 999, 1)");
    auto editor = open("Amend", 1);
    QTest::keyClicks(name, "Adopted");
    press(editor, "okButton");
    EXPECT_TRUE(prompts.texts().value(0).contains("genre"));
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(stored("Name"), "Orphan");
    child<QListWidget>(editor, "genreList")->item(1)->setSelected(true);
    press(editor, "okButton");
    EXPECT_EQ(stored("Name || Genre_ID"), "Adopted2");

    // Amends, types, leaves by Cancel or the close box answering `answer`: the questions asked.
    auto leave = [&](const QString& typed, bool closeBox, Prompts::Answer answer) {
        prompts.shown.clear();
        prompts.answers = {answer};
        auto left = open("Amend", 1);
        QTest::keyClicks(name, typed);
        closeBox ? (void)left->close() : press(left, "cancelButton");
        EXPECT_FALSE(left->isVisible());
        EXPECT_EQ(left->result().step, Step::None);
        EXPECT_EQ(left->result().dataChanged, answer == Prompts::Answer::Yes && !typed.isEmpty()) << typed.toStdString();
        return prompts.texts().join('|');
    };
    const QString question = "Changes have been made; shall I save them?";
    EXPECT_EQ(leave("", false, Prompts::Answer::Yes), "");
    EXPECT_EQ(leave("Lost", false, Prompts::Answer::No), question);
    EXPECT_EQ(stored("Name"), "Adopted");
    // The name is selected on arrival: typing replaces it.
    EXPECT_EQ(leave("Kept", false, Prompts::Answer::Yes), question);
    EXPECT_EQ(stored("Name || '/' || Genre_ID || '/' || \"Submitted?\""), "Kept/2/1");
    EXPECT_EQ(leave("Gone", true, Prompts::Answer::No), question);

    // Refused by the database on Next: the step is cancelled, the typing kept.
    exec("CREATE TRIGGER t BEFORE UPDATE ON Work BEGIN SELECT RAISE(ABORT, 'refused'); END");
    prompts.answers = {Prompts::Answer::Yes};
    editor = open("Amend", 1);
    QTest::keyClicks(name, "Blocked");
    press(editor, "nextButton");
    EXPECT_EQ(editor->result().step, Step::None);
    EXPECT_FALSE(editor->result().dataChanged);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(name->text(), "Blocked");
    EXPECT_TRUE(prompts.texts().last().contains("refused"));
    EXPECT_EQ(stored("Name"), "Kept");

    // Deleted while the editor was open: reported at the save, nothing written back.
    exec("DROP TRIGGER t");
    prompts.shown.clear();
    editor = open("Amend", 1);
    exec("DELETE FROM Work");
    QTest::keyClicks(name, "Back");
    press(editor, "okButton");
    EXPECT_EQ(prompts.texts(), QStringList{"This Work no longer exists."});
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(works(), 0);
}

