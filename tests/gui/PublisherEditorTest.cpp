// The Publisher editor through its real widgets, with the genre links written with the publisher.

#include <QApplication>
#include <SQLiteCpp/Database.h>

#include "gui/editors/PublisherEditor.h"
#include "support/EditorTestKit.h"

class PublisherEditorTest : public QuillaryTest {
protected:
    void SetUp() override
    {
        QuillaryTest::SetUp();
        createDatabase();
        setHotKeys({{"F2", 113, "Dear Sir"}});
        genres = ids("SELECT ID FROM Genre");
        types = ids("SELECT ID FROM Publisher_Type");
    }
    QList<int> ids(const QString& statement)
    {
        QList<int> list;
        SQLite::Statement query(database(), statement.toStdString());
        while (query.executeStep())
            list << query.getColumn(0).getInt();
        return list;
    }
    QList<int> linksOf(int publisher)
    {
        return ids(QStringLiteral("SELECT Genre_ID FROM Publisher_Genre WHERE Publisher_ID = %1 ORDER BY Genre_ID").arg(publisher));
    }
    int addPublisher(const QString& name, int type, const QList<int>& linked = {})
    {
        exec(QStringLiteral("INSERT INTO Publisher (Name, Type_ID, \"Submit_To?\", \"Submitted_To?\") VALUES ('%1', %2, 1, 1)")
                 .arg(name).arg(type));
        const int id = queryInt("SELECT max(ID) FROM Publisher");
        for (int genre : linked)
            exec(QStringLiteral("INSERT INTO Publisher_Genre VALUES (%1, %2)").arg(id).arg(genre));
        return id;
    }
    std::unique_ptr<PublisherEditor> open(const QString& action, int id = 0,
                                          const std::function<void(PublisherEditor&)>& prepare = {})
    {
        auto editor = openEditor<PublisherEditor>(session(), desktop(), action, id, prepare);
        genreList = editor ? child<QListWidget>(editor, "genreList") : nullptr;
        return editor;
    }
    QString row(int id, const QString& columns)
    {
        return queryText(QStringLiteral("SELECT %1 FROM Publisher WHERE ID = %2").arg(columns).arg(id));
    }
    int publishers() { return queryInt("SELECT Count(*) FROM Publisher"); }

    QList<int> genres, types;
    QListWidget* genreList = nullptr;  // that of the editor opened last
};

TEST_F(PublisherEditorTest, NewStartsWithDefaultsAndIsStoredWithItsLinks)
{
    auto editor = open("New");
    ASSERT_TRUE(editor);
    EXPECT_EQ(EditorWindow::optionIndex(child<QButtonGroup>(editor, "submitGroup")) * 10
                  + EditorWindow::optionIndex(child<QButtonGroup>(editor, "submittedGroup")), 1);  // Yes, No
    EXPECT_EQ(selectedIds(child<QListWidget>(editor, "typeList")), QList<int>{types[0]});
    EXPECT_EQ(selectedIds(genreList), QList<int>{genres[0]});
    press(editor, "okButton");
    EXPECT_EQ(publishers(), 0);  // nothing edited, nothing written

    editor = open("New");
    QTest::keyClicks(child<QLineEdit>(editor, "nameEdit"), "The \"Quarterly\"");
    typeInto(child<QPlainTextEdit>(editor, "addressEdit"), "To: ");
    clickItem(child<QListWidget>(editor, "typeList"), 2, Qt::ControlModifier);  // one type at a time
    clickItem(genreList, 3, Qt::ControlModifier);
    click(child<QButtonGroup>(editor, "submittedGroup")->button(0));
    // The hot-key target is still the text field used before the list and option clicks.
    press(editor, "hotKeyButton0");
    EXPECT_TRUE(settle());
    EXPECT_EQ(QApplication::focusWidget(), child<QPlainTextEdit>(editor, "addressEdit"));
    press(editor, "okButton");
    const int id = queryInt("SELECT max(ID) FROM Publisher");
    EXPECT_EQ(editor->result().selectId, id);
    EXPECT_EQ(row(id, "Name || '|' || Type_ID || '|' || Address || '|' || \"Submit_To?\" || \"Submitted_To?\""),
              QStringLiteral("The \"Quarterly\"|%1|To: Dear Sir|11").arg(types[2]));
    EXPECT_EQ(linksOf(id), (QList<int>{genres[0], genres[3]}));
}

TEST_F(PublisherEditorTest, DuplicateNameQuestionAndAmendedLinksAndAnswerDays)
{
    const int id = addPublisher("Alpha", 999, {genres[0], genres[2]});  // a type not listed
    for (Prompts::Answer answer : {Prompts::Answer::No, Prompts::Answer::Yes}) {
        prompts.answers = {answer};
        auto editor = open("New");
        QTest::keyClicks(child<QLineEdit>(editor, "nameEdit"), "alpha");
        clickItem(genreList, 1);
        press(editor, "okButton");
        EXPECT_FALSE(editor->isVisible());
        EXPECT_EQ(publishers(), answer == Prompts::Answer::No ? 1 : 2);
    }
    EXPECT_EQ(prompts.texts(), QStringList(2, "A Publisher with this name already exists in the system - continue?"));
    const int second = queryInt("SELECT max(ID) FROM Publisher");

    // The first, amended under its own ID: the links shown, a range then chosen, the links stored.
    auto editor = open("Amend", id);
    EXPECT_EQ(selectedIds(genreList), (QList<int>{genres[0], genres[2]}));
    clickItem(genreList, 1);
    clickItem(genreList, 3, Qt::ShiftModifier);
    typeInto(child<QLineEdit>(editor, "answerWithinEdit"), "6x0");  // digits only
    press(editor, "okButton");
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(linksOf(id), (QList<int>{genres[1], genres[2], genres[3]}));
    EXPECT_EQ(linksOf(second), QList<int>{genres[1]});
    // The type, untouched and not in the list, is kept.
    EXPECT_EQ(row(id, "Type_ID || '|' || Answer_Within_Days"), "999|60");

    // No links and no days: none stored.
    editor = open("Amend", id);
    EXPECT_EQ(child<QLineEdit>(editor, "answerWithinEdit")->text(), "60");
    child<QLineEdit>(editor, "answerWithinEdit")->clear();
    genreList->clearSelection();
    press(editor, "okButton");
    EXPECT_TRUE(linksOf(id).isEmpty());
    EXPECT_EQ(row(id, "Coalesce(Answer_Within_Days, 'none')"), "none");
    EXPECT_EQ(prompts.shown.size(), 2);
}

TEST_F(PublisherEditorTest, ListsScrollToTheFirstSelectedEntryAndDoubleClickOpensAddresses)
{
    exec("DELETE FROM Genre");
    for (int i = 0; i < 20; ++i)
        exec(QStringLiteral("INSERT INTO Genre (Description_Singular, Description_Plural) VALUES ('G%1', 'Gs%1')").arg(i));
    genres = ids("SELECT ID FROM Genre");
    // A list two entries high can show any entry at its top, so the rule itself is seen.
    auto twoHigh = [](PublisherEditor& editor) {
        auto* list = child<QListWidget>(editor, "genreList");
        list->addItem("x");
        list->setFixedHeight(2 * list->sizeHintForRow(0) + 2 * list->frameWidth());
        list->clear();
    };
    auto top = [&](int id) {
        auto editor = open("Amend", id, twoHigh);
        return genreList->row(genreList->itemAt(2, 2));
    };
    EXPECT_EQ(top(addPublisher("Late", types[0], {genres[18], genres[19]})), 17);
    EXPECT_EQ(top(addPublisher("Early", types[0], {genres[4], genres[10]})), 4);

    // Typed addresses are opened on a double click; stored ones too, which is no edit.
    exec("UPDATE Publisher SET \"E-Mail_Address\" = 'a@b' WHERE ID = 1");
    auto editor = open("Amend", 1);
    QTest::mouseDClick(child<QLineEdit>(editor, "emailEdit"), Qt::LeftButton);
    EXPECT_FALSE(editor->hasChanges());
    child<QLineEdit>(editor, "emailEdit")->setText("nobody");  // no address, nothing opened
    QTest::mouseDClick(child<QLineEdit>(editor, "emailEdit"), Qt::LeftButton);
    for (const char* typed : {"http://x", "HTTP://x", "https://x", ""}) {
        child<QLineEdit>(editor, "webEdit")->setText(typed);
        QTest::mouseDClick(child<QLineEdit>(editor, "webEdit"), Qt::LeftButton);
    }
    EXPECT_EQ(links.opened.join(' '), "mailto:a@b http://x http://HTTP://x http://https://x http://");
}
