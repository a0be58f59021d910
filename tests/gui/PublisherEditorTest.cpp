// The Publisher editor through its real widgets, with the genre links written with the publisher.

#include <QApplication>
#include <QButtonGroup>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <SQLiteCpp/Database.h>

#include "gui/editors/PublisherEditor.h"
#include "support/EditorTestKit.h"
#include "support/TestEnv.h"

class PublisherEditorTest : public QuillaryTest {
protected:
    void SetUp() override
    {
        QuillaryTest::SetUp();
        createDatabase();
        setHotKeys({{QStringLiteral("F2"), 113, QStringLiteral("Dear Sir")}});
        genres = ids(QStringLiteral("SELECT ID FROM Genre"));
        types = ids(QStringLiteral("SELECT ID FROM Publisher_Type"));
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
        return ids(QStringLiteral("SELECT Genre_ID FROM Publisher_Genre WHERE Publisher_ID = %1 ORDER BY Genre_ID")
                       .arg(publisher));
    }
    int addPublisher(const QString& name, int type, const QList<int>& linked = {})
    {
        exec(QStringLiteral("INSERT INTO Publisher (Name, Type_ID, \"Submit_To?\", \"Submitted_To?\") "
                            "VALUES ('%1', %2, 1, 1)").arg(name).arg(type));
        const int id = queryInt(QStringLiteral("SELECT max(ID) FROM Publisher"));
        for (int genre : linked)
            exec(QStringLiteral("INSERT INTO Publisher_Genre VALUES (%1, %2)").arg(id).arg(genre));
        return id;
    }
    std::unique_ptr<PublisherEditor> open(const QString& action, int id = 0,
                                       const std::function<void(PublisherEditor&)>& prepare = {})
    { return openEditor<PublisherEditor>(session(), desktop(), action, id, prepare); }
    QString row(int id, const QString& columns)
    { return queryText(QStringLiteral("SELECT %1 FROM Publisher WHERE ID = %2").arg(columns).arg(id)); }
    int publishers() { return queryInt(QStringLiteral("SELECT Count(*) FROM Publisher")); }

    QList<int> genres, types;
};

TEST_F(PublisherEditorTest, NewStartsWithDefaultsAndIsStoredWithItsLinks)
{
    auto editor = open(QStringLiteral("New"));
    ASSERT_TRUE(editor);
    EXPECT_EQ(EditorWindow::optionIndex(child<QButtonGroup>(editor, "submitGroup")), 0);
    EXPECT_EQ(EditorWindow::optionIndex(child<QButtonGroup>(editor, "submittedGroup")), 1);
    EXPECT_EQ(selectedIds(child<QListWidget>(editor, "typeList")), QList<int>{types[0]});
    EXPECT_EQ(selectedIds(child<QListWidget>(editor, "genreList")), QList<int>{genres[0]});
    // Nothing edited: OK writes nothing.
    click(child<QPushButton>(editor, "okButton"));
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(publishers(), 0);
    EXPECT_FALSE(editor->result().dataChanged);

    editor = open(QStringLiteral("New"));
    QTest::keyClicks(child<QLineEdit>(editor, "nameEdit"), QStringLiteral("The \"Quarterly\""));
    typeInto(child<QPlainTextEdit>(editor, "addressEdit"), QStringLiteral("To: "));
    clickItem(child<QListWidget>(editor, "typeList"), 2, Qt::ControlModifier);   // one type at a time
    clickItem(child<QListWidget>(editor, "genreList"), 3, Qt::ControlModifier);
    click(child<QButtonGroup>(editor, "submittedGroup")->button(0));
    // The hot-key target is still the text field used before the list and option clicks.
    click(child<QPushButton>(editor, "hotKeyButton0"));
    settle();
    EXPECT_EQ(QApplication::focusWidget(), child<QPlainTextEdit>(editor, "addressEdit"));
    click(child<QPushButton>(editor, "okButton"));
    EXPECT_FALSE(editor->isVisible());
    const int id = queryInt(QStringLiteral("SELECT max(ID) FROM Publisher"));
    EXPECT_EQ(editor->result().selectId, id);
    EXPECT_EQ(row(id, QStringLiteral("Name || '|' || Type_ID || '|' || Address || '|' || \"Submit_To?\" || "
                                     "\"Submitted_To?\"")),
              QStringLiteral("The \"Quarterly\"|%1|To: Dear Sir|11").arg(types[2]));
    EXPECT_EQ(linksOf(id), (QList<int>{genres[0], genres[3]}));
}

TEST_F(PublisherEditorTest, DuplicateNameQuestionAndEachPublisherKeepsItsOwnLinksAndType)
{
    const int id = addPublisher(QStringLiteral("Alpha"), 999, {genres[0], genres[2]});  // a type not listed
    for (Prompts::Answer answer : {Prompts::Answer::No, Prompts::Answer::Yes}) {
        prompts.answers = {answer};
        auto editor = open(QStringLiteral("New"));
        QTest::keyClicks(child<QLineEdit>(editor, "nameEdit"), QStringLiteral("alpha"));
        clickItem(child<QListWidget>(editor, "genreList"), 1);
        click(child<QPushButton>(editor, "okButton"));
        EXPECT_FALSE(editor->isVisible());
        EXPECT_EQ(publishers(), answer == Prompts::Answer::No ? 1 : 2);
    }
    EXPECT_EQ(prompts.texts(),
              QStringList(2, QStringLiteral("A Publisher with this name already exists in the system - continue?")));
    const int second = queryInt(QStringLiteral("SELECT max(ID) FROM Publisher"));

    // The first of the two, amended under its own ID: the links shown, the entries then chosen, the links stored.
    auto save = [&](const QList<int>& shown, const std::function<void(QListWidget*)>& choose) {
        auto editor = open(QStringLiteral("Amend"), id);
        EXPECT_EQ(selectedIds(child<QListWidget>(editor, "genreList")), shown);
        choose(child<QListWidget>(editor, "genreList"));
        click(child<QPushButton>(editor, "okButton"));
        EXPECT_FALSE(editor->isVisible());
        return linksOf(id);
    };
    EXPECT_EQ(save({genres[0], genres[2]}, [](QListWidget* l) { clickItem(l, 1); clickItem(l, 3, Qt::ShiftModifier); }),
              (QList<int>{genres[1], genres[2], genres[3]}));
    EXPECT_EQ(save({genres[1], genres[2], genres[3]}, [](QListWidget* l) { clickItem(l, 0); }), QList<int>{genres[0]});
    EXPECT_TRUE(save({genres[0]}, [](QListWidget* l) { l->clearSelection(); }).isEmpty());
    EXPECT_EQ(linksOf(second), QList<int>{genres[1]});
    // The type, untouched and not in the list, is kept.
    EXPECT_EQ(row(id, QStringLiteral("Type_ID")).toInt(), 999);
    EXPECT_EQ(prompts.shown.size(), 2);
}

TEST_F(PublisherEditorTest, NullFieldsShowEmptyAndSaveAsEmptyTexts)
{
    // A database written elsewhere may hold Null in any optional column, flags included.
    exec(QStringLiteral("DROP VIEW Expanded_Submission"));
    exec(QStringLiteral("DROP VIEW Expanded_Publisher"));
    exec(QStringLiteral("DROP TABLE Publisher"));
    exec(QStringLiteral("CREATE TABLE Publisher (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT NOT NULL, Type_ID "
                        "INTEGER, Guidelines TEXT, Comments TEXT, Address TEXT, \"Submit_To?\" INTEGER, "
                        "\"Submitted_To?\" INTEGER, \"E-Mail_Address\" TEXT, Web_Address TEXT, Answer_Within_Days INTEGER)"));
    exec(QStringLiteral("INSERT INTO Publisher (Name, Type_ID, \"Submitted_To?\") VALUES ('Bare', %1, 1)").arg(types[1]));
    const int id = queryInt(QStringLiteral("SELECT ID FROM Publisher"));

    auto editor = open(QStringLiteral("Amend"), id);
    ASSERT_TRUE(editor);
    EXPECT_EQ(QStringList({child<QLineEdit>(editor, "nameEdit")->text(), child<QPlainTextEdit>(editor, "addressEdit")->toPlainText(), child<QLineEdit>(editor, "emailEdit")->text(),
                           child<QLineEdit>(editor, "webEdit")->text(), child<QPlainTextEdit>(editor, "guidelinesEdit")->toPlainText(),
                           child<QPlainTextEdit>(editor, "commentsEdit")->toPlainText()}).join('|'),
              QStringLiteral("Bare|||||"));
    EXPECT_EQ(EditorWindow::optionIndex(child<QButtonGroup>(editor, "submitGroup")), 1);
    EXPECT_EQ(EditorWindow::optionIndex(child<QButtonGroup>(editor, "submittedGroup")), 0);
    EXPECT_TRUE(selectedIds(child<QListWidget>(editor, "genreList")).isEmpty());
    QTest::keyClicks(child<QLineEdit>(editor, "nameEdit"), QStringLiteral("Dressed"));
    click(child<QPushButton>(editor, "okButton"));
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(row(id, QStringLiteral("quote(Name) || quote(Guidelines) || quote(Comments) || quote(Address) || "
                                     "quote(\"E-Mail_Address\") || quote(Web_Address) || \"Submit_To?\" || "
                                     "\"Submitted_To?\" || '|' || Type_ID")),
              QStringLiteral("'Dressed'''''''''''01|%1").arg(types[1]));
}

TEST_F(PublisherEditorTest, ListsScrollToTheFirstSelectedEntry)
{
    exec(QStringLiteral("DELETE FROM Genre"));
    for (int i = 0; i < 20; ++i)
        exec(QStringLiteral("INSERT INTO Genre (Description_Singular, Description_Plural) VALUES ('G%1', 'Gs%1')").arg(i));
    genres = ids(QStringLiteral("SELECT ID FROM Genre"));
    // A list two entries high can show any entry at its top, so the rule itself is seen.
    auto twoHigh = [](PublisherEditor& editor) {
        child<QListWidget>(editor, "genreList")->addItem(QStringLiteral("x"));
        const int height = child<QListWidget>(editor, "genreList")->sizeHintForRow(0);
        child<QListWidget>(editor, "genreList")->clear();
        child<QListWidget>(editor, "genreList")->setFixedHeight(2 * height + 2 * child<QListWidget>(editor, "genreList")->frameWidth());
    };
    auto top = [&](int id) {
        auto editor = open(QStringLiteral("Amend"), id, twoHigh);
        return child<QListWidget>(editor, "genreList")->row(child<QListWidget>(editor, "genreList")->itemAt(2, 2));
    };
    EXPECT_EQ(top(addPublisher(QStringLiteral("Late"), types[0], {genres[18], genres[19]})), 17);
    EXPECT_EQ(top(addPublisher(QStringLiteral("Early"), types[0], {genres[4], genres[10]})), 4);
}

TEST_F(PublisherEditorTest, DoubleClickOpensTheAddresses)
{
    const int id = addPublisher(QStringLiteral("Web"), types[0]);
    auto editor = open(QStringLiteral("Amend"), id);
    const QList<std::pair<QLineEdit*, QString>> typed{
        {child<QLineEdit>(editor, "emailEdit"), "a@b"}, {child<QLineEdit>(editor, "emailEdit"), "nobody"}, {child<QLineEdit>(editor, "webEdit"), "http://x"},
        {child<QLineEdit>(editor, "webEdit"), "HTTP://x"}, {child<QLineEdit>(editor, "webEdit"), "https://x"}, {child<QLineEdit>(editor, "webEdit"), ""}};
    for (const auto& [field, text] : typed) {
        field->setText(text);
        QTest::mouseDClick(field, Qt::LeftButton);
    }
    EXPECT_EQ(links.opened.join(' '), QStringLiteral("mailto:a@b http://x http://HTTP://x http://https://x http://"));
    // Opening an address is not editing the publisher.
    editor.reset();
    auto fresh = open(QStringLiteral("Amend"), id);
    QTest::mouseDClick(child<QLineEdit>(fresh, "webEdit"), Qt::LeftButton);
    EXPECT_FALSE(fresh->hasChanges());
}
