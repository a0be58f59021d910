// The Publisher editor driven through its real widgets: fields, type and genre lists, the
// genre links written with the publisher, address links and the hot-key target.

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

#include "app/modQuillary.h"
#include "editors/frmPublisher.h"
#include "platform/Twips.h"
#include "support/EditorTestKit.h"
#include "support/TestEnv.h"

namespace {

void clickItem(QListWidget* list, int row, Qt::KeyboardModifiers modifiers = {})
{
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, list->visualItemRect(list->item(row)).center());
}

QList<int> selectedIds(const QListWidget* list)
{
    QList<int> ids;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->isSelected())
            ids << list->item(i)->data(Qt::UserRole).toInt();
    }
    return ids;
}

int topRow(const QListWidget* list)
{
    return list->row(list->itemAt(2, 2));
}

} // namespace

class PublisherEditorTest : public QuillaryTest {
protected:
    void SetUp() override
    {
        QuillaryTest::SetUp();
        createDatabase();
        setHotKeys({{QStringLiteral("F2"), 113, QStringLiteral("Dear Sir")}});
        genres = ids(QStringLiteral("Genre"));
        types = ids(QStringLiteral("Publisher_Type"));
        ASSERT_GE(genres.size(), 4);
        ASSERT_GE(types.size(), 3);
    }

    QList<int> ids(const QString& table)
    {
        QList<int> list;
        SQLite::Statement query(database(), QStringLiteral("SELECT ID FROM %1").arg(table).toStdString());
        while (query.executeStep())
            list << query.getColumn(0).getInt();
        return list;
    }

    QList<int> linksOf(int publisher)
    {
        QList<int> list;
        SQLite::Statement query(database(), "SELECT Genre_ID FROM Publisher_Genre WHERE Publisher_ID = ? ORDER BY Genre_ID");
        query.bind(1, publisher);
        while (query.executeStep())
            list << query.getColumn(0).getInt();
        return list;
    }

    int addPublisher(const QString& name, int type, const QList<int>& linked = {})
    {
        exec(QStringLiteral("INSERT INTO Publisher (Name, Type_ID, Guidelines, Comments, Address, \"Submit_To?\", "
                            "\"Submitted_To?\", \"E-Mail_Address\", Web_Address) VALUES ('%1', %2, 'g', 'c', 'a', 1, 1, "
                            "'e@x', 'w')")
                 .arg(name).arg(type));
        const int id = queryInt(QStringLiteral("SELECT max(ID) FROM Publisher"));
        for (int genre : linked)
            exec(QStringLiteral("INSERT INTO Publisher_Genre VALUES (%1, %2)").arg(id).arg(genre));
        return id;
    }

    // Loads and shows an editor the way the main window would, without a modal loop.
    // prepare runs on the new window before it loads.
    std::unique_ptr<frmPublisher> open(const QString& action, int id = 0,
                                       const std::function<void(frmPublisher&)>& prepare = {})
    {
        return openEditor<frmPublisher>(action, id, prepare);
    }

    int publishers() { return queryInt(QStringLiteral("SELECT Count(*) FROM Publisher")); }

    QList<int> genres;
    QList<int> types;
};

TEST_F(PublisherEditorTest, NewOpensWithDefaultsInItsLayout)
{
    auto editor = open(QStringLiteral("New"));
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("New Publisher"));
    EXPECT_EQ(editor->size(), QSize(twipsToPixels(11595, editor.get()), twipsToPixels(8040, editor.get())));
    for (QLineEdit* line : {editor->txtName, editor->txtEmail, editor->txtWeb})
        EXPECT_TRUE(line->text().isEmpty()) << line->objectName().toStdString();
    for (QPlainTextEdit* area : {editor->txtAddress, editor->txtGuidelines, editor->txtComments})
        EXPECT_TRUE(area->toPlainText().isEmpty()) << area->objectName().toStdString();
    EXPECT_EQ(EditorBase::optionIndex(editor->optSubmit), 0);
    EXPECT_EQ(EditorBase::optionIndex(editor->optSubmitted), 1);
    EXPECT_EQ(editor->lstType->count(), types.size());
    EXPECT_EQ(selectedIds(editor->lstType), QList<int>{types[0]});
    EXPECT_EQ(editor->lstType->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(editor->lstGenre->count(), genres.size());
    EXPECT_EQ(selectedIds(editor->lstGenre), QList<int>{genres[0]});
    EXPECT_EQ(editor->lstGenre->item(0)->text(),
              queryText(QStringLiteral("SELECT Description_Plural FROM Genre WHERE ID = %1").arg(genres[0])));
    EXPECT_FALSE(editor->mChanged);
    EXPECT_EQ(QApplication::focusWidget(), editor->txtName);
    EXPECT_EQ(editor->mLastField, frmPublisher::kName);

    // Captions lead to their fields.
    EXPECT_EQ(editor->lblName->buddy(), editor->txtName);
    EXPECT_EQ(editor->lblGenre->buddy(), editor->lstGenre);
    EXPECT_EQ(editor->lblComments->text(), QStringLiteral("Reviews and Notes :"));
    EXPECT_EQ(editor->lblComments->buddy(), editor->txtComments);
    EXPECT_EQ(editor->frmSubmitted->title(), QStringLiteral("Submitted To?"));

    // The addresses look like links and say what a double click does.
    const QColor highlight = QApplication::palette().color(QPalette::Highlight);
    for (QLineEdit* link : {editor->txtEmail, editor->txtWeb}) {
        EXPECT_EQ(link->palette().color(QPalette::Text), highlight);
        EXPECT_TRUE(link->font().underline());
        EXPECT_FALSE(link->toolTip().isEmpty());
    }
    EXPECT_FALSE(editor->txtName->font().underline());

    // Tab order through the fields, then the button bar.
    const QList<QWidget*> expected = {editor->txtName, editor->lstType, editor->lstGenre,
                                      editor->optSubmit->button(0), editor->optSubmit->button(1),
                                      editor->optSubmitted->button(0), editor->optSubmitted->button(1),
                                      editor->txtAddress, editor->txtEmail, editor->txtWeb,
                                      editor->txtGuidelines, editor->txtComments, editor->cmdOK,
                                      editor->cmdCancel, editor->cmdHotKey[0]};
    QList<QWidget*> chain;
    QWidget* w = editor->txtName;
    do {
        if (expected.contains(w) && !chain.contains(w))
            chain << w;
        w = w->nextInFocusChain();
    } while (w != editor->txtName);
    EXPECT_EQ(chain, expected);

    // Nothing edited: OK writes nothing.
    click(editor->cmdOK);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(publishers(), 0);
    EXPECT_FALSE(gDataChanged);
}

TEST_F(PublisherEditorTest, NewPublisherIsStoredWithItsOwnIdAndLinks)
{
    auto editor = open(QStringLiteral("New"));
    ASSERT_TRUE(editor);
    QTest::keyClicks(editor->txtName, QStringLiteral("The \"Quarterly\""));
    clickItem(editor->lstType, 2);
    clickItem(editor->lstGenre, 1, Qt::ControlModifier);
    clickItem(editor->lstGenre, 3, Qt::ControlModifier);
    click(editor->optSubmit->button(1));
    click(editor->optSubmitted->button(0));
    editor->txtAddress->setFocus();
    QTest::keyClicks(editor->txtAddress, QStringLiteral("1 High St"));
    QTest::keyClick(editor->txtAddress, Qt::Key_Return);
    QTest::keyClicks(editor->txtAddress, QStringLiteral("Town"));
    editor->txtEmail->setFocus();
    QTest::keyClicks(editor->txtEmail, QStringLiteral("ed@q.org"));
    editor->txtWeb->setFocus();
    QTest::keyClicks(editor->txtWeb, QStringLiteral("q.org"));
    editor->txtGuidelines->setFocus();
    QTest::keyClicks(editor->txtGuidelines, QStringLiteral("Short"));
    editor->txtComments->setFocus();
    QTest::keyClicks(editor->txtComments, QStringLiteral("Kind"));
    click(editor->cmdOK);

    EXPECT_FALSE(editor->isVisible());
    ASSERT_EQ(publishers(), 1);
    const int id = queryInt(QStringLiteral("SELECT ID FROM Publisher"));
    EXPECT_EQ(gRecordID, id);
    EXPECT_EQ(gSelectID, id);
    EXPECT_TRUE(gDataChanged);
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name || '|' || Type_ID || '|' || Guidelines || '|' || Comments || '|' || "
                                       "Address || '|' || \"Submit_To?\" || \"Submitted_To?\" || '|' || "
                                       "\"E-Mail_Address\" || '|' || Web_Address FROM Publisher")),
              QStringLiteral("The \"Quarterly\"|%1|Short|Kind|1 High St\nTown|01|ed@q.org|q.org").arg(types[2]));
    EXPECT_EQ(linksOf(id), (QList<int>{genres[0], genres[1], genres[3]}));
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(PublisherEditorTest, SavingReplacesTheGenreLinks)
{
    const int id = addPublisher(QStringLiteral("Ink"), types[0], {genres[0], genres[2]});
    const int other = addPublisher(QStringLiteral("Other"), types[0], {genres[0], genres[1]});

    // Amend shows every linked genre; three chosen leave exactly those three.
    auto three = open(QStringLiteral("Amend"), id);
    ASSERT_TRUE(three);
    EXPECT_EQ(selectedIds(three->lstGenre), (QList<int>{genres[0], genres[2]}));
    EXPECT_FALSE(three->mChanged);
    clickItem(three->lstGenre, 1);
    clickItem(three->lstGenre, 3, Qt::ShiftModifier);
    EXPECT_TRUE(three->mChanged);
    click(three->cmdOK);
    EXPECT_EQ(linksOf(id), (QList<int>{genres[1], genres[2], genres[3]}));

    auto one = open(QStringLiteral("Amend"), id);
    ASSERT_TRUE(one);
    EXPECT_EQ(selectedIds(one->lstGenre), (QList<int>{genres[1], genres[2], genres[3]}));
    clickItem(one->lstGenre, 0);
    click(one->cmdOK);
    EXPECT_EQ(linksOf(id), QList<int>{genres[0]});

    auto none = open(QStringLiteral("Amend"), id);
    ASSERT_TRUE(none);
    none->lstGenre->clearSelection();
    click(none->cmdOK);
    EXPECT_TRUE(linksOf(id).isEmpty());
    EXPECT_EQ(gSelectID, id);
    EXPECT_TRUE(prompts.shown.isEmpty());

    // Another publisher's links are never touched.
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
    EXPECT_EQ(editor->txtName->text(), QStringLiteral("Bare"));
    for (QLineEdit* line : {editor->txtEmail, editor->txtWeb})
        EXPECT_TRUE(line->text().isEmpty());
    for (QPlainTextEdit* area : {editor->txtAddress, editor->txtGuidelines, editor->txtComments})
        EXPECT_TRUE(area->toPlainText().isEmpty());
    EXPECT_EQ(EditorBase::optionIndex(editor->optSubmit), 1);
    EXPECT_EQ(EditorBase::optionIndex(editor->optSubmitted), 0);
    EXPECT_EQ(selectedIds(editor->lstType), QList<int>{types[1]});
    EXPECT_TRUE(selectedIds(editor->lstGenre).isEmpty());
    EXPECT_FALSE(editor->mChanged);

    QTest::keyClicks(editor->txtName, QStringLiteral("Dressed"));
    click(editor->cmdOK);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(queryInt(QStringLiteral("SELECT Count(*) FROM Publisher WHERE Name = 'Dressed' AND Guidelines = '' AND "
                                      "Comments = '' AND Address = '' AND \"E-Mail_Address\" = '' AND Web_Address = '' "
                                      "AND \"Submit_To?\" = 0 AND \"Submitted_To?\" = 1 AND Type_ID = %1")
                           .arg(types[1])),
              1);
}

TEST_F(PublisherEditorTest, TheTypeSavedIsTheOneShown)
{
    // Untouched: the stored type is kept.
    const int id = addPublisher(QStringLiteral("Typed"), types[2]);
    auto untouched = open(QStringLiteral("Amend"), id);
    ASSERT_TRUE(untouched);
    EXPECT_EQ(selectedIds(untouched->lstType), QList<int>{types[2]});
    EXPECT_EQ(untouched->lstType->currentRow(), 2);
    QTest::keyClicks(untouched->txtName, QStringLiteral("Retyped"));
    click(untouched->cmdOK);
    EXPECT_EQ(queryInt(QStringLiteral("SELECT Type_ID FROM Publisher WHERE ID = %1").arg(id)), types[2]);

    // One type at a time, and the one clicked is stored.
    auto chosen = open(QStringLiteral("Amend"), id);
    ASSERT_TRUE(chosen);
    clickItem(chosen->lstType, 1, Qt::ControlModifier);
    EXPECT_EQ(selectedIds(chosen->lstType), QList<int>{types[1]});
    click(chosen->cmdOK);
    EXPECT_EQ(queryInt(QStringLiteral("SELECT Type_ID FROM Publisher WHERE ID = %1").arg(id)), types[1]);

    // A type that is not listed stays as stored until the user picks one.
    const int lost = addPublisher(QStringLiteral("Lost"), 999);
    auto unlisted = open(QStringLiteral("Amend"), lost);
    ASSERT_TRUE(unlisted);
    EXPECT_TRUE(selectedIds(unlisted->lstType).isEmpty());
    QTest::keyClicks(unlisted->txtName, QStringLiteral("Found"));
    click(unlisted->cmdOK);
    EXPECT_FALSE(unlisted->isVisible());
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name || Type_ID FROM Publisher WHERE ID = %1").arg(lost)),
              QStringLiteral("Found999"));

    // No types at all: a new publisher cannot be given one and is refused; no genres
    // just means no links.
    exec(QStringLiteral("DELETE FROM Publisher_Type"));
    exec(QStringLiteral("DELETE FROM Genre"));
    auto empty = open(QStringLiteral("New"));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->lstType->count(), 0);
    EXPECT_EQ(empty->lstGenre->count(), 0);
    QTest::keyClicks(empty->txtName, QStringLiteral("Typeless"));
    click(empty->cmdOK);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("type")));
    EXPECT_TRUE(empty->isVisible());
    EXPECT_EQ(empty->txtName->text(), QStringLiteral("Typeless"));
    EXPECT_EQ(publishers(), 2);

    // An existing publisher still saves, keeping its type, with no links.
    exec(QStringLiteral("INSERT INTO Publisher_Genre VALUES (%1, %2)").arg(id).arg(genres[0]));
    auto noGenres = open(QStringLiteral("Amend"), id);
    ASSERT_TRUE(noGenres);
    QTest::keyClicks(noGenres->txtName, QStringLiteral("Plain"));
    click(noGenres->cmdOK);
    EXPECT_FALSE(noGenres->isVisible());
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name || Type_ID FROM Publisher WHERE ID = %1").arg(id)),
              QStringLiteral("Plain%1").arg(types[1]));
    EXPECT_TRUE(linksOf(id).isEmpty());
}

TEST_F(PublisherEditorTest, DuplicateNameQuestionAndSameNamedPublishersKeepTheirLinks)
{
    const int existing = addPublisher(QStringLiteral("Alpha"), types[0], {genres[0]});

    prompts.answers = {Prompts::Answer::No};
    auto declined = open(QStringLiteral("New"));
    ASSERT_TRUE(declined);
    QTest::keyClicks(declined->txtName, QStringLiteral("alpha"));
    click(declined->cmdOK);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, QStringLiteral("A Publisher with this name already exists in the system - continue?"));
    EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Critical);
    EXPECT_EQ(prompts.shown[0].buttons, Prompts::Buttons::YesNo);
    EXPECT_FALSE(declined->isVisible());
    EXPECT_EQ(publishers(), 1);
    EXPECT_FALSE(gDataChanged);

    prompts.answers = {Prompts::Answer::Yes};
    auto accepted = open(QStringLiteral("New"));
    ASSERT_TRUE(accepted);
    QTest::keyClicks(accepted->txtName, QStringLiteral("Alpha"));
    clickItem(accepted->lstGenre, 1);
    clickItem(accepted->lstGenre, 2, Qt::ControlModifier);
    click(accepted->cmdOK);
    EXPECT_EQ(prompts.shown.size(), 2);
    EXPECT_FALSE(accepted->isVisible());
    ASSERT_EQ(publishers(), 2);
    const int second = queryInt(QStringLiteral("SELECT max(ID) FROM Publisher"));
    EXPECT_NE(second, existing);
    EXPECT_EQ(gRecordID, second);
    EXPECT_EQ(gSelectID, second);
    EXPECT_EQ(linksOf(second), (QList<int>{genres[1], genres[2]}));
    EXPECT_EQ(linksOf(existing), QList<int>{genres[0]});

    // The first of the two is amended under its own ID, not found by its name.
    auto first = open(QStringLiteral("Amend"), existing);
    ASSERT_TRUE(first);
    EXPECT_EQ(selectedIds(first->lstGenre), QList<int>{genres[0]});
    clickItem(first->lstGenre, 3);
    click(first->cmdOK);
    EXPECT_EQ(linksOf(existing), QList<int>{genres[3]});
    EXPECT_EQ(linksOf(second), (QList<int>{genres[1], genres[2]}));

    // Renaming to another's name asks nothing.
    const int beta = addPublisher(QStringLiteral("Beta"), types[0]);
    auto rename = open(QStringLiteral("Amend"), beta);
    ASSERT_TRUE(rename);
    QTest::keyClicks(rename->txtName, QStringLiteral("Alpha"));
    click(rename->cmdOK);
    EXPECT_EQ(prompts.shown.size(), 2);
    EXPECT_EQ(queryInt(QStringLiteral("SELECT Count(*) FROM Publisher WHERE Name = 'Alpha'")), 3);
}

TEST_F(PublisherEditorTest, ListsScrollToTheFirstSelectedEntry)
{
    EXPECT_EQ(frmPublisher::listTopIndex(-1, 20), -1);

    exec(QStringLiteral("DELETE FROM Genre"));
    for (int i = 0; i < 20; ++i)
        exec(QStringLiteral("INSERT INTO Genre (Description_Singular, Description_Plural) VALUES ('G%1', 'Gs%1')").arg(i));
    genres = ids(QStringLiteral("Genre"));
    ASSERT_EQ(genres.size(), 20);

    // A list two entries high can show any entry at its top, so the rule itself is seen.
    auto twoHigh = [](frmPublisher& editor) {
        for (QListWidget* list : {editor.lstGenre, editor.lstType}) {
            list->addItem(QStringLiteral("x"));
            const int row = list->sizeHintForRow(0);
            list->clear();
            list->setFixedHeight(2 * row + 2 * list->frameWidth());
        }
    };
    const int late = addPublisher(QStringLiteral("Late"), types.last(), {genres[18], genres[19]});
    auto editor = open(QStringLiteral("Amend"), late, twoHigh);
    ASSERT_TRUE(editor);
    EXPECT_EQ(topRow(editor->lstGenre), 17);
    EXPECT_EQ(topRow(editor->lstType), types.size() - 3);
    EXPECT_FALSE(editor->mChanged);
    editor->close();

    const int early = addPublisher(QStringLiteral("Early"), types[1], {genres[4], genres[10]});
    editor = open(QStringLiteral("Amend"), early, twoHigh);
    ASSERT_TRUE(editor);
    EXPECT_EQ(topRow(editor->lstGenre), 4);
    EXPECT_EQ(topRow(editor->lstType), 1);
    editor->close();

    // No linked genre: the list stays at its top.
    const int unlinked = addPublisher(QStringLiteral("None"), types[0]);
    editor = open(QStringLiteral("Amend"), unlinked, twoHigh);
    ASSERT_TRUE(editor);
    EXPECT_EQ(topRow(editor->lstGenre), 0);
    editor->close();

    // In the list as laid out, the last entries are shown.
    editor = open(QStringLiteral("Amend"), late);
    ASSERT_TRUE(editor);
    EXPECT_GT(topRow(editor->lstGenre), 0);
    EXPECT_EQ(editor->lstGenre->verticalScrollBar()->value(), editor->lstGenre->verticalScrollBar()->maximum());
    editor->close();

    // Fewer entries than fit: the first entry stays at the top.
    exec(QStringLiteral("DELETE FROM Genre WHERE ID > %1").arg(genres[1]));
    exec(QStringLiteral("INSERT INTO Publisher_Genre VALUES (%1, %2)").arg(unlinked).arg(genres[1]));
    editor = open(QStringLiteral("Amend"), unlinked, twoHigh);
    ASSERT_TRUE(editor);
    EXPECT_EQ(selectedIds(editor->lstGenre), QList<int>{genres[1]});
    EXPECT_EQ(topRow(editor->lstGenre), 0);
}

TEST_F(PublisherEditorTest, DoubleClickOpensTheAddresses)
{
    const int id = addPublisher(QStringLiteral("Web"), types[0]);
    auto editor = open(QStringLiteral("Amend"), id);
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
    EXPECT_EQ(links.opened, (QStringList{QStringLiteral("mailto:a@b"), QStringLiteral("http://x"),
                                         QStringLiteral("http://HTTP://x"), QStringLiteral("http://https://x"),
                                         QStringLiteral("http://")}));
    // Opening is not editing.
    EXPECT_FALSE(editor->mChanged);
    EXPECT_TRUE(editor->isVisible());
    // A double click elsewhere opens nothing.
    QTest::mouseDClick(editor->txtName, Qt::LeftButton);
    EXPECT_EQ(links.opened.size(), 5);
}

TEST_F(PublisherEditorTest, HotKeyTargetSurvivesListsAndOptionsButNotNavigation)
{
    auto editor = open(QStringLiteral("New"));
    ASSERT_TRUE(editor);
    editor->txtAddress->setFocus();
    EXPECT_EQ(editor->mLastField, frmPublisher::kAddress);
    QTest::keyClicks(editor->txtAddress, QStringLiteral("To: "));
    clickItem(editor->lstGenre, 2);
    EXPECT_EQ(QApplication::focusWidget(), editor->lstGenre);
    click(editor->optSubmitted->button(0));
    editor->lstType->setFocus();
    editor->cmdOK->setFocus();
    editor->cmdCancel->setFocus();
    EXPECT_EQ(editor->mLastField, frmPublisher::kAddress);
    click(editor->cmdHotKey[0]);
    settle();
    EXPECT_EQ(QApplication::focusWidget(), editor->txtAddress);
    EXPECT_EQ(editor->txtAddress->toPlainText(), QStringLiteral("To: Dear Sir"));
    EXPECT_TRUE(editor->txtName->text().isEmpty());

    // Each text field is a target under its own code.
    const QList<QPair<QWidget*, int>> codes = {{editor->txtName, 1}, {editor->txtGuidelines, 2},
                                               {editor->txtComments, 4}, {editor->txtAddress, 5},
                                               {editor->txtEmail, 6}, {editor->txtWeb, 7}};
    for (const auto& [field, code] : codes) {
        field->setFocus();
        EXPECT_EQ(editor->mLastField, code) << field->objectName().toStdString();
    }

    // Previous and Next both clear it, and a hot-key button then types nothing.
    editor->cmdNext->setFocus();
    EXPECT_EQ(editor->mLastField, 0);
    editor->txtWeb->setFocus();
    editor->cmdPrevious->setFocus();
    EXPECT_EQ(editor->mLastField, 0);
    click(editor->cmdHotKey[0]);
    settle();
    EXPECT_TRUE(editor->txtWeb->text().isEmpty());
    EXPECT_EQ(editor->txtAddress->toPlainText(), QStringLiteral("To: Dear Sir"));
}

TEST_F(PublisherEditorTest, AFailureWhileWritingLinksStoresNothing)
{
    const int id = addPublisher(QStringLiteral("Sound"), types[0], {genres[0], genres[1]});
    exec(QStringLiteral("CREATE TRIGGER fail BEFORE INSERT ON Publisher_Genre BEGIN SELECT RAISE(ABORT, 'disk full'); END"));

    auto editor = open(QStringLiteral("Amend"), id);
    ASSERT_TRUE(editor);
    QTest::keyClicks(editor->txtName, QStringLiteral("Broken"));
    clickItem(editor->lstGenre, 3);
    click(editor->cmdOK);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("disk full")));
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name FROM Publisher WHERE ID = %1").arg(id)), QStringLiteral("Sound"));
    EXPECT_EQ(linksOf(id), (QList<int>{genres[0], genres[1]}));
    EXPECT_FALSE(gDataChanged);

    exec(QStringLiteral("DROP TRIGGER fail"));
    click(editor->cmdOK);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(queryText(QStringLiteral("SELECT Name FROM Publisher WHERE ID = %1").arg(id)), QStringLiteral("Broken"));
    EXPECT_EQ(linksOf(id), QList<int>{genres[3]});
    EXPECT_TRUE(gDataChanged);

    // A new publisher is not left behind without its links either.
    gDataChanged = false;
    prompts.shown.clear();
    exec(QStringLiteral("CREATE TRIGGER fail BEFORE INSERT ON Publisher_Genre BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
    auto fresh = open(QStringLiteral("New"));
    ASSERT_TRUE(fresh);
    QTest::keyClicks(fresh->txtName, QStringLiteral("Fresh"));
    click(fresh->cmdOK);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("disk full")));
    EXPECT_TRUE(fresh->isVisible());
    EXPECT_EQ(publishers(), 1);
    EXPECT_EQ(gRecordID, 0);
    EXPECT_FALSE(gDataChanged);

    exec(QStringLiteral("DROP TRIGGER fail"));
    click(fresh->cmdOK);
    EXPECT_FALSE(fresh->isVisible());
    ASSERT_EQ(publishers(), 2);
    const int freshId = queryInt(QStringLiteral("SELECT ID FROM Publisher WHERE Name = 'Fresh'"));
    EXPECT_EQ(gRecordID, freshId);
    EXPECT_EQ(gSelectID, freshId);
    EXPECT_EQ(linksOf(freshId), QList<int>{genres[0]});
}
