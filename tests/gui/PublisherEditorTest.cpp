// The Publisher editor through its real widgets. A new database lists its genres and types by ID.

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
    std::unique_ptr<PublisherEditor> open(const QString& action, int id = 0)
    {
        auto editor = openEditor<PublisherEditor>(session(), desktop(), action, id);
        genreList = child<QListWidget>(editor, "genreList");
        return editor;
    }
    QString row(int id, const QString& columns)
    { return queryText(QStringLiteral("SELECT %1 FROM Publisher WHERE ID = %2").arg(columns).arg(id)); }

    QListWidget* genreList = nullptr;  // that of the editor opened last
};

TEST_F(PublisherEditorTest, NewAndAmendedPublishersAreStoredWithTheirLinks)
{
    exec("INSERT INTO Publisher (Name, Type_ID) VALUES ('Alpha', 999);"  // a type not listed
         "INSERT INTO Publisher_Genre VALUES (1, 1), (1, 3);");
    auto editor = open("New");
    ASSERT_TRUE(editor);
    EXPECT_EQ(EditorWindow::optionIndex(child<QButtonGroup>(editor, "submitGroup")) * 10
                  + EditorWindow::optionIndex(child<QButtonGroup>(editor, "submittedGroup")), 1);  // Yes, No
    EXPECT_EQ(selectedIds(child<QListWidget>(editor, "typeList")) + selectedIds(genreList), (QList<int>{1, 1}));
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
    EXPECT_EQ(editor->result().selectId, 2);
    EXPECT_EQ(row(2, "Name || '|' || Type_ID || '|' || Address || '|' || \"Submit_To?\" || \"Submitted_To?\""),
              "The \"Quarterly\"|3|To: Dear Sir|11");
    EXPECT_EQ(linksOf(2), "1,4");

    // The first amended: its links shown, a range chosen and stored.
    editor = open("Amend", 1);
    EXPECT_EQ(selectedIds(genreList), (QList<int>{1, 3}));
    clickItem(genreList, 1);
    clickItem(genreList, 3, Qt::ShiftModifier);
    typeInto(child<QLineEdit>(editor, "answerWithinEdit"), "6x0");  // digits only
    press(editor, "okButton");
    EXPECT_EQ(linksOf(1) + ' ' + linksOf(2), "2,3,4 1,4");
    // The type, untouched and not in the list, is kept.
    EXPECT_EQ(row(1, "Type_ID || '|' || Answer_Within_Days"), "999|60");

    // No links and no days: none stored.
    editor = open("Amend", 1);
    child<QLineEdit>(editor, "answerWithinEdit")->clear();
    genreList->clearSelection();
    press(editor, "okButton");
    EXPECT_EQ(linksOf(1) + row(1, "Coalesce(Answer_Within_Days, 'none')"), "none");

    // Addresses open on a double click, which is no edit.
    editor = open("Amend", 1);
    QTest::mouseDClick(child<QLineEdit>(editor, "webEdit"), Qt::LeftButton);
    EXPECT_FALSE(editor->hasChanges());
    const std::pair<const char*, const char*> typed[]{
        {"emailEdit", "a@b"}, {"emailEdit", "nobody"}, {"webEdit", "HTTP://x"}, {"webEdit", " www.x.org "}};
    for (auto [field, text] : typed) {
        child<QLineEdit>(editor, field)->setText(text);
        QTest::mouseDClick(child<QLineEdit>(editor, field), Qt::LeftButton);
    }
    // An address with its own scheme opens as it is; an empty one opens nothing.
    EXPECT_EQ(links.opened.join(' '), "mailto:a@b HTTP://x http://www.x.org");
}
