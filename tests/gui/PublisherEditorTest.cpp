// The Publisher editor through its real widgets, with the genre links written with the publisher.
// A new database's genres and types are listed in ID order from 1.

#include <QApplication>

#include "gui/editors/PublisherEditor.h"
#include "support/EditorTestKit.h"

class PublisherEditorTest : public QuillaryTest {
protected:
    void SetUp() override
    {
        QuillaryTest::SetUp();
        createDatabase();
        setHotKeys({{"F2", 113, "Dear Sir"}});
    }
    // The genre IDs linked to a publisher, as "1,4".
    QString linksOf(int id)
    {
        return queryText(QStringLiteral("SELECT Coalesce(group_concat(Genre_ID), '') FROM (SELECT Genre_ID FROM "
                                        "Publisher_Genre WHERE Publisher_ID = %1 ORDER BY Genre_ID)").arg(id));
    }
    int addPublisher(const QString& name, int type, const QList<int>& linked)
    {
        exec(QStringLiteral("INSERT INTO Publisher (Name, Type_ID) VALUES ('%1', %2)").arg(name).arg(type));
        const int id = queryInt("SELECT max(ID) FROM Publisher");
        for (int genre : linked)
            exec(QStringLiteral("INSERT INTO Publisher_Genre VALUES (%1, %2)").arg(id).arg(genre));
        return id;
    }
    std::unique_ptr<PublisherEditor> open(const QString& action, int id = 0)
    {
        auto editor = openEditor<PublisherEditor>(session(), desktop(), action, id);
        genreList = child<QListWidget>(editor, "genreList");
        return editor;
    }
    QString row(int id, const QString& columns)
    { return queryText(QStringLiteral("SELECT %1 FROM Publisher WHERE ID = %2").arg(columns).arg(id)); }
    int publishers() { return queryInt("SELECT Count(*) FROM Publisher"); }

    QListWidget* genreList = nullptr;  // that of the editor opened last
};

TEST_F(PublisherEditorTest, NewStartsWithDefaultsAndIsStoredWithItsLinks)
{
    auto editor = open("New");
    ASSERT_TRUE(editor);
    EXPECT_EQ(EditorWindow::optionIndex(child<QButtonGroup>(editor, "submitGroup")) * 10
                  + EditorWindow::optionIndex(child<QButtonGroup>(editor, "submittedGroup")), 1);  // Yes, No
    EXPECT_EQ(selectedIds(child<QListWidget>(editor, "typeList")) + selectedIds(genreList), (QList<int>{1, 1}));
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
    EXPECT_EQ(editor->result().selectId, 1);
    EXPECT_EQ(row(1, "Name || '|' || Type_ID || '|' || Address || '|' || \"Submit_To?\" || \"Submitted_To?\""),
              "The \"Quarterly\"|3|To: Dear Sir|11");
    EXPECT_EQ(linksOf(1), "1,4");
}

TEST_F(PublisherEditorTest, DuplicateNameQuestionAndAmendedLinksAndAnswerDays)
{
    const int id = addPublisher("Alpha", 999, {1, 3});  // a type not listed
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

    // The first, amended under its own ID: the links shown, a range then chosen, the links stored.
    auto editor = open("Amend", id);
    EXPECT_EQ(selectedIds(genreList), (QList<int>{1, 3}));
    clickItem(genreList, 1);
    clickItem(genreList, 3, Qt::ShiftModifier);
    typeInto(child<QLineEdit>(editor, "answerWithinEdit"), "6x0");  // digits only
    press(editor, "okButton");
    EXPECT_EQ(linksOf(id) + ' ' + linksOf(id + 1), "2,3,4 2");
    // The type, untouched and not in the list, is kept.
    EXPECT_EQ(row(id, "Type_ID || '|' || Answer_Within_Days"), "999|60");

    // No links and no days: none stored.
    editor = open("Amend", id);
    EXPECT_EQ(child<QLineEdit>(editor, "answerWithinEdit")->text(), "60");
    child<QLineEdit>(editor, "answerWithinEdit")->clear();
    genreList->clearSelection();
    press(editor, "okButton");
    EXPECT_EQ(linksOf(id) + row(id, "Coalesce(Answer_Within_Days, 'none')"), "none");
    EXPECT_EQ(prompts.shown.size(), 2);
}

TEST_F(PublisherEditorTest, DoubleClickOpensTheAddresses)
{
    addPublisher("Web", 1, {});
    // Typed addresses are opened on a double click; stored ones too, which is no edit.
    exec("UPDATE Publisher SET \"E-Mail_Address\" = 'a@b' WHERE ID = 1");
    auto editor = open("Amend", 1);
    QLineEdit* email = child<QLineEdit>(editor, "emailEdit");
    QLineEdit* web = child<QLineEdit>(editor, "webEdit");
    QTest::mouseDClick(email, Qt::LeftButton);
    EXPECT_FALSE(editor->hasChanges());
    email->setText("nobody");  // no address, nothing opened
    QTest::mouseDClick(email, Qt::LeftButton);
    for (const char* typed : {"http://x", "HTTP://x", "https://x", ""}) {
        web->setText(typed);
        QTest::mouseDClick(web, Qt::LeftButton);
    }
    EXPECT_EQ(links.opened.join(' '), "mailto:a@b http://x http://HTTP://x http://https://x http://");
}
