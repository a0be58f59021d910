// The Publisher editor driven through its real widgets: fields, type and genre lists, the
// genre links written with the publisher, address links and the hot-key target.

#include <QApplication>
#include <QButtonGroup>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

#include "app/modQuillary.h"
#include "editors/frmPublisher.h"
#include "support/EditorTestKit.h"
#include "support/TestEnv.h"

namespace {
int topRow(const QListWidget* list) { return list->row(list->itemAt(2, 2)); }
}

class PublisherEditorTest : public QuillaryTest {
protected:
    void SetUp() override
    {
        QuillaryTest::SetUp();
        createDatabase();
        setHotKeys({{QStringLiteral("F2"), 113, QStringLiteral("Dear Sir")}});
        genres = ids(QStringLiteral("SELECT ID FROM Genre"));
        types = ids(QStringLiteral("SELECT ID FROM Publisher_Type"));
        ASSERT_GE(genres.size(), 4);
        ASSERT_GE(types.size(), 3);
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
        exec(QStringLiteral("INSERT INTO Publisher (Name, Type_ID, Guidelines, Comments, Address, \"Submit_To?\", "
                            "\"Submitted_To?\", \"E-Mail_Address\", Web_Address) VALUES ('%1', %2, 'g', 'c', 'a', 1, 1, "
                            "'e@x', 'w')").arg(name).arg(type));
        const int id = queryInt(QStringLiteral("SELECT max(ID) FROM Publisher"));
        for (int genre : linked)
            exec(QStringLiteral("INSERT INTO Publisher_Genre VALUES (%1, %2)").arg(id).arg(genre));
        return id;
    }
    std::unique_ptr<frmPublisher> open(const QString& action, int id = 0,
                                       const std::function<void(frmPublisher&)>& prepare = {})
    { return openEditor<frmPublisher>(action, id, prepare); }
    QString row(int id, const QString& columns)
    { return queryText(QStringLiteral("SELECT %1 FROM Publisher WHERE ID = %2").arg(columns).arg(id)); }
    int publishers() { return queryInt(QStringLiteral("SELECT Count(*) FROM Publisher")); }
    static QString texts(const frmPublisher& e)
    {
        return QStringList{e.txtName->text(), e.txtAddress->toPlainText(), e.txtEmail->text(), e.txtWeb->text(),
                           e.txtGuidelines->toPlainText(), e.txtComments->toPlainText()}.join('|');
    }

    QList<int> genres, types;
};

TEST_F(PublisherEditorTest, NewStartsWithDefaultsAndIsStoredWithItsLinks)
{
    auto editor = open(QStringLiteral("New"));
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("New Publisher"));
    EXPECT_EQ(texts(*editor), QStringLiteral("|||||"));
    EXPECT_EQ(EditorBase::optionIndex(editor->optSubmit), 0);
    EXPECT_EQ(EditorBase::optionIndex(editor->optSubmitted), 1);
    EXPECT_EQ(selectedIds(editor->lstType), QList<int>{types[0]});
    EXPECT_EQ(selectedIds(editor->lstGenre), QList<int>{genres[0]});
    EXPECT_EQ(QApplication::focusWidget(), editor->txtName);
    EXPECT_FALSE(editor->mChanged);
    // Nothing edited: OK writes nothing.
    click(editor->cmdOK);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(publishers(), 0);
    EXPECT_FALSE(gDataChanged);

    editor = open(QStringLiteral("New"));
    QTest::keyClicks(editor->txtName, QStringLiteral("The \"Quarterly\""));
    clickItem(editor->lstType, 2, Qt::ControlModifier);   // one type at a time
    clickItem(editor->lstGenre, 1, Qt::ControlModifier);
    clickItem(editor->lstGenre, 3, Qt::ControlModifier);
    click(editor->optSubmit->button(1));
    click(editor->optSubmitted->button(0));
    typeInto(editor->txtAddress, QStringLiteral("1 High St"));
    QTest::keyClick(editor->txtAddress, Qt::Key_Return);
    QTest::keyClicks(editor->txtAddress, QStringLiteral("Town"));
    typeInto(editor->txtEmail, QStringLiteral("ed@q.org"));
    typeInto(editor->txtWeb, QStringLiteral("q.org"));
    typeInto(editor->txtGuidelines, QStringLiteral("Short"));
    typeInto(editor->txtComments, QStringLiteral("Kind"));
    click(editor->cmdOK);
    EXPECT_FALSE(editor->isVisible());
    ASSERT_EQ(publishers(), 1);
    const int id = queryInt(QStringLiteral("SELECT ID FROM Publisher"));
    EXPECT_EQ(gSelectID, id);
    EXPECT_TRUE(gDataChanged);
    EXPECT_EQ(row(id, QStringLiteral("Name || '|' || Type_ID || '|' || Guidelines || '|' || Comments || '|' || Address "
                                     "|| '|' || \"Submit_To?\" || \"Submitted_To?\" || '|' || \"E-Mail_Address\" || '|' "
                                     "|| Web_Address")),
              QStringLiteral("The \"Quarterly\"|%1|Short|Kind|1 High St\nTown|01|ed@q.org|q.org").arg(types[2]));
    EXPECT_EQ(linksOf(id), (QList<int>{genres[0], genres[1], genres[3]}));
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(PublisherEditorTest, SavingLeavesExactlyTheChosenGenreLinks)
{
    const int id = addPublisher(QStringLiteral("Ink"), types[0], {genres[0], genres[2]});
    const int other = addPublisher(QStringLiteral("Other"), types[0], {genres[0], genres[1]});
    // Each pass: the links shown, the entries then chosen, the links stored.
    auto save = [&](const QList<int>& shown, const std::function<void(QListWidget*)>& choose) {
        auto editor = open(QStringLiteral("Amend"), id);
        EXPECT_EQ(selectedIds(editor->lstGenre), shown);
        choose(editor->lstGenre);
        click(editor->cmdOK);
        EXPECT_FALSE(editor->isVisible());
        return linksOf(id);
    };
    EXPECT_EQ(save({genres[0], genres[2]}, [](QListWidget* l) { clickItem(l, 1); clickItem(l, 3, Qt::ShiftModifier); }),
              (QList<int>{genres[1], genres[2], genres[3]}));
    EXPECT_EQ(save({genres[1], genres[2], genres[3]}, [](QListWidget* l) { clickItem(l, 0); }), QList<int>{genres[0]});
    EXPECT_TRUE(save({genres[0]}, [](QListWidget* l) { l->clearSelection(); }).isEmpty());
    EXPECT_EQ(gSelectID, id);
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(linksOf(other), (QList<int>{genres[0], genres[1]}));
}

TEST_F(PublisherEditorTest, NullFieldsShowEmptyAndSaveAsEmptyTexts)
{
    // A database written elsewhere may hold Null in any optional column, flags included.
    exec(QStringLiteral("DROP VIEW Expanded_Submission"));
    exec(QStringLiteral("DROP VIEW Expanded_Publisher"));
    exec(QStringLiteral("DROP TABLE Publisher"));
    exec(QStringLiteral("CREATE TABLE Publisher (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT NOT NULL, Type_ID "
                        "INTEGER, Guidelines TEXT, Comments TEXT, Address TEXT, \"Submit_To?\" INTEGER, "
                        "\"Submitted_To?\" INTEGER, \"E-Mail_Address\" TEXT, Web_Address TEXT)"));
    exec(QStringLiteral("INSERT INTO Publisher (Name, Type_ID, \"Submitted_To?\") VALUES ('Bare', %1, 1)").arg(types[1]));
    const int id = queryInt(QStringLiteral("SELECT ID FROM Publisher"));

    auto editor = open(QStringLiteral("Amend"), id);
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("Amend Publisher"));
    EXPECT_EQ(texts(*editor), QStringLiteral("Bare|||||"));
    EXPECT_EQ(EditorBase::optionIndex(editor->optSubmit), 1);
    EXPECT_EQ(EditorBase::optionIndex(editor->optSubmitted), 0);
    EXPECT_EQ(selectedIds(editor->lstType), QList<int>{types[1]});
    EXPECT_TRUE(selectedIds(editor->lstGenre).isEmpty());
    EXPECT_FALSE(editor->mChanged);

    QTest::keyClicks(editor->txtName, QStringLiteral("Dressed"));
    click(editor->cmdOK);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(row(id, QStringLiteral("quote(Name) || quote(Guidelines) || quote(Comments) || quote(Address) || "
                                     "quote(\"E-Mail_Address\") || quote(Web_Address) || \"Submit_To?\" || "
                                     "\"Submitted_To?\" || '|' || Type_ID")),
              QStringLiteral("'Dressed'''''''''''01|%1").arg(types[1]));
}

TEST_F(PublisherEditorTest, TheTypeSavedIsTheOneShown)
{
    // Untouched, the stored type is kept, even one that is not listed.
    const int id = addPublisher(QStringLiteral("Typed"), types[2]);
    const int lost = addPublisher(QStringLiteral("Lost"), 999);
    for (int publisher : {id, lost}) {
        auto editor = open(QStringLiteral("Amend"), publisher);
        EXPECT_EQ(selectedIds(editor->lstType), publisher == id ? QList<int>{types[2]} : QList<int>{});
        QTest::keyClicks(editor->txtName, QStringLiteral("Renamed"));
        click(editor->cmdOK);
        EXPECT_FALSE(editor->isVisible());
    }
    EXPECT_EQ(row(id, QStringLiteral("Type_ID")).toInt(), types[2]);
    EXPECT_EQ(row(lost, QStringLiteral("Type_ID")), QStringLiteral("999"));
    EXPECT_TRUE(prompts.shown.isEmpty());

    // No types at all: a new publisher cannot be given one and is refused.
    exec(QStringLiteral("DELETE FROM Publisher_Type"));
    auto empty = open(QStringLiteral("New"));
    QTest::keyClicks(empty->txtName, QStringLiteral("Typeless"));
    click(empty->cmdOK);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("type")));
    EXPECT_TRUE(empty->isVisible());
    EXPECT_EQ(publishers(), 2);
}

TEST_F(PublisherEditorTest, DuplicateNameQuestionAndSameNamedPublishersKeepTheirLinks)
{
    const int existing = addPublisher(QStringLiteral("Alpha"), types[0], {genres[0]});
    for (Prompts::Answer answer : {Prompts::Answer::No, Prompts::Answer::Yes}) {
        prompts.answers = {answer};
        auto editor = open(QStringLiteral("New"));
        QTest::keyClicks(editor->txtName, QStringLiteral("alpha"));
        clickItem(editor->lstGenre, 1);
        clickItem(editor->lstGenre, 2, Qt::ControlModifier);
        click(editor->cmdOK);
        EXPECT_FALSE(editor->isVisible());
        EXPECT_EQ(publishers(), answer == Prompts::Answer::No ? 1 : 2);
    }
    EXPECT_EQ(prompts.texts(),
              QStringList(2, QStringLiteral("A Publisher with this name already exists in the system - continue?")));
    EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Critical);
    EXPECT_EQ(prompts.shown[0].buttons, Prompts::Buttons::YesNo);
    const int second = queryInt(QStringLiteral("SELECT max(ID) FROM Publisher"));
    EXPECT_EQ(gSelectID, second);
    EXPECT_EQ(linksOf(second), (QList<int>{genres[1], genres[2]}));

    // The first of the two is amended under its own ID, not found by its name.
    auto first = open(QStringLiteral("Amend"), existing);
    EXPECT_EQ(selectedIds(first->lstGenre), QList<int>{genres[0]});
    clickItem(first->lstGenre, 3);
    click(first->cmdOK);
    EXPECT_EQ(linksOf(existing), QList<int>{genres[3]});
    EXPECT_EQ(linksOf(second), (QList<int>{genres[1], genres[2]}));
    EXPECT_EQ(prompts.shown.size(), 2);
}

TEST_F(PublisherEditorTest, ListsScrollToTheFirstSelectedEntry)
{
    exec(QStringLiteral("DELETE FROM Genre"));
    for (int i = 0; i < 20; ++i)
        exec(QStringLiteral("INSERT INTO Genre (Description_Singular, Description_Plural) VALUES ('G%1', 'Gs%1')").arg(i));
    genres = ids(QStringLiteral("SELECT ID FROM Genre"));
    // A list two entries high can show any entry at its top, so the rule itself is seen.
    auto twoHigh = [](frmPublisher& editor) {
        for (QListWidget* list : {editor.lstGenre, editor.lstType}) {
            list->addItem(QStringLiteral("x"));
            const int height = list->sizeHintForRow(0);
            list->clear();
            list->setFixedHeight(2 * height + 2 * list->frameWidth());
        }
    };
    const int late = addPublisher(QStringLiteral("Late"), types.last(), {genres[18], genres[19]});
    const int early = addPublisher(QStringLiteral("Early"), types[1], {genres[4], genres[10]});
    const int unlinked = addPublisher(QStringLiteral("None"), types[0]);
    auto tops = [&](int id) {
        auto editor = open(QStringLiteral("Amend"), id, twoHigh);
        EXPECT_FALSE(editor->mChanged);
        return QList<int>{topRow(editor->lstGenre), topRow(editor->lstType)};
    };
    EXPECT_EQ(tops(late), (QList<int>{17, int(types.size()) - 3}));
    EXPECT_EQ(tops(early), (QList<int>{4, 1}));
    EXPECT_EQ(tops(unlinked), (QList<int>{0, 0}));

    // In the list as laid out, the last entries are shown.
    auto editor = open(QStringLiteral("Amend"), late);
    EXPECT_GT(topRow(editor->lstGenre), 0);
    EXPECT_EQ(editor->lstGenre->verticalScrollBar()->value(), editor->lstGenre->verticalScrollBar()->maximum());
}

TEST_F(PublisherEditorTest, DoubleClickOpensTheAddresses)
{
    auto editor = open(QStringLiteral("Amend"), addPublisher(QStringLiteral("Web"), types[0]));
    ASSERT_TRUE(editor);
    auto doubleClick = [&](QLineEdit* field, const QString& text) {
        field->setText(text);
        editor->mChanged = false;
        QTest::mouseDClick(field, Qt::LeftButton);
    };
    doubleClick(editor->txtEmail, QStringLiteral("a@b"));
    doubleClick(editor->txtEmail, QStringLiteral("nobody"));
    doubleClick(editor->txtWeb, QStringLiteral("http://x"));
    doubleClick(editor->txtWeb, QStringLiteral("HTTP://x"));
    doubleClick(editor->txtWeb, QStringLiteral("https://x"));
    doubleClick(editor->txtWeb, QString());
    doubleClick(editor->txtName, QStringLiteral("a@b"));
    EXPECT_EQ(links.opened, (QStringList{QStringLiteral("mailto:a@b"), QStringLiteral("http://x"),
                                         QStringLiteral("http://HTTP://x"), QStringLiteral("http://https://x"),
                                         QStringLiteral("http://")}));
    // Opening is not editing.
    EXPECT_FALSE(editor->mChanged);
    EXPECT_TRUE(editor->isVisible());
}

TEST_F(PublisherEditorTest, HotKeyTargetSurvivesListsAndOptionsButNotNavigation)
{
    auto editor = open(QStringLiteral("New"));
    ASSERT_TRUE(editor);
    typeInto(editor->txtAddress, QStringLiteral("To: "));
    clickItem(editor->lstGenre, 2);
    EXPECT_EQ(QApplication::focusWidget(), editor->lstGenre);
    click(editor->optSubmitted->button(0));
    editor->lstType->setFocus();
    editor->cmdOK->setFocus();
    click(editor->cmdHotKey[0]);
    settle();
    EXPECT_EQ(QApplication::focusWidget(), editor->txtAddress);
    EXPECT_EQ(editor->txtAddress->toPlainText(), QStringLiteral("To: Dear Sir"));
    EXPECT_TRUE(editor->txtName->text().isEmpty());

    // Previous and Next clear it, and a hot-key button then types nothing.
    editor->txtWeb->setFocus();
    editor->cmdNext->setFocus();
    click(editor->cmdHotKey[0]);
    settle();
    EXPECT_EQ(texts(*editor), QStringLiteral("|To: Dear Sir||||"));
}

TEST_F(PublisherEditorTest, AFailureWhileWritingLinksStoresNothing)
{
    const int id = addPublisher(QStringLiteral("Sound"), types[0], {genres[0], genres[1]});
    const QString fail = QStringLiteral("CREATE TRIGGER fail BEFORE INSERT ON Publisher_Genre BEGIN "
                                        "SELECT RAISE(ABORT, 'disk full'); END");
    exec(fail);
    auto editor = open(QStringLiteral("Amend"), id);
    QTest::keyClicks(editor->txtName, QStringLiteral("Broken"));
    clickItem(editor->lstGenre, 3);
    click(editor->cmdOK);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("disk full")));
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(row(id, QStringLiteral("Name")), QStringLiteral("Sound"));
    EXPECT_EQ(linksOf(id), (QList<int>{genres[0], genres[1]}));
    EXPECT_FALSE(gDataChanged);
    exec(QStringLiteral("DROP TRIGGER fail"));
    click(editor->cmdOK);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(row(id, QStringLiteral("Name")), QStringLiteral("Broken"));
    EXPECT_EQ(linksOf(id), QList<int>{genres[3]});

    // A new publisher is not left behind without its links either.
    gDataChanged = false;
    exec(fail);
    auto fresh = open(QStringLiteral("New"));
    QTest::keyClicks(fresh->txtName, QStringLiteral("Fresh"));
    click(fresh->cmdOK);
    EXPECT_EQ(prompts.shown.size(), 2);
    EXPECT_TRUE(fresh->isVisible());
    EXPECT_EQ(publishers(), 1);
    EXPECT_EQ(gRecordID, 0);
    EXPECT_FALSE(gDataChanged);
}
