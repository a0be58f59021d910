// The editors laid out at a large font, and as the user sizes them.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "gui/editors/PublisherEditor.h"
#include "gui/editors/SubmissionEditor.h"
#include "gui/editors/WorkEditor.h"
#include "gui/StatusPanel.h"
#include "support/EditorTestKit.h"
#include "support/LayoutCheck.h"
#include "support/TestEnv.h"

namespace {

// The widget's place in the window's own coordinates.
QRect placeIn(const QWidget* window, const QWidget* widget)
{
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

} // namespace

class EditorLayoutTest : public QuillaryTest {
protected:
    void SetUp() override
    {
        QuillaryTest::SetUp();
        createDatabase();
        setHotKeys({{"F2", 113, "Dear Sir"}, {"Signature", 115, "Yours"}});
        exec(QStringLiteral(
            "INSERT INTO Work (ID, Name, Genre_ID, Year_Written) VALUES (1, 'The Long Winter of Ninety-Six', 1, '1996');"
            "INSERT INTO Publisher (ID, Name, Type_ID) VALUES (1, 'The Quarterly Review of Letters', 1);"
            "INSERT INTO Submission (ID, Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status, Notes) VALUES "
            "(1, 1, 1, '2024-11-28', '2024-12-30', 1, 'Sent twice');"));
    }

    // Between the button bar and the status panel, and growing when the window does.
    void expectFieldsBetweenBarAndStatus(EditorWindow& editor, std::initializer_list<QWidget*> fields)
    {
        const int top = placeIn(&editor, child<QFrame>(editor, "buttonBar")).bottom();
        const int bottom = placeIn(&editor, child<StatusPanel>(editor, "statusPanel")).top();
        EXPECT_EQ(placeIn(&editor, child<StatusPanel>(editor, "statusPanel")).bottom(), editor.rect().bottom());
        for (QWidget* field : fields) {
            const QRect place = placeIn(&editor, field);
            EXPECT_GT(place.top(), top) << field->objectName().toStdString();
            EXPECT_LT(place.bottom(), bottom) << field->objectName().toStdString();
        }
    }
    void expectGrowsWithTheWindow(EditorWindow& editor, std::initializer_list<QWidget*> growing)
    {
        QList<QSize> before;
        for (QWidget* widget : growing)
            before << widget->size();
        editor.resize(editor.size() + QSize(300, 240));
        QCoreApplication::processEvents();

        int i = 0;
        for (QWidget* widget : growing) {
            EXPECT_GT(widget->width(), before[i].width()) << widget->objectName().toStdString();
            EXPECT_GT(widget->height(), before[i].height()) << widget->objectName().toStdString();
            ++i;
        }
        EXPECT_EQ(placeIn(&editor, child<StatusPanel>(editor, "statusPanel")).bottom(), editor.rect().bottom());
    }
};

TEST_F(EditorLayoutTest, WorkEditorShowsEverythingWholeAndGrows)
{
    LargeFont font;
    auto editor = openEditor<WorkEditor>(session(), desktop(), QStringLiteral("Amend"), 1);
    ASSERT_TRUE(editor);
    EXPECT_TRUE(editor->windowFlags() & Qt::WindowMaximizeButtonHint);
    ASSERT_TRUE(child<QPushButton>(editor, "hotKeyButton1")->isVisible());
    expectLaidOutWhole(editor.get());
    expectFieldsBetweenBarAndStatus(*editor, {child<QLineEdit>(editor, "nameEdit"), child<QListWidget>(editor, "genreList"), child<QGroupBox>(editor, "publishedFrame")});
    // The years show four digits; the name keeps its caption at its left.
    const QFontMetrics metrics = child<QLineEdit>(editor, "yearWrittenEdit")->fontMetrics();
    EXPECT_GT(child<QLineEdit>(editor, "yearWrittenEdit")->width(), metrics.horizontalAdvance(QStringLiteral("0000")));
    EXPECT_LT(child<QLabel>(editor, "nameLabel")->geometry().right(), child<QLineEdit>(editor, "nameEdit")->x());
    expectGrowsWithTheWindow(*editor, {child<QListWidget>(editor, "genreList")});
    EXPECT_GT(child<QLineEdit>(editor, "nameEdit")->width(), child<QLineEdit>(editor, "nameEdit")->sizeHint().width());
}

TEST_F(EditorLayoutTest, PublisherEditorShowsEverythingWholeAndGrows)
{
    LargeFont font;
    auto editor = openEditor<PublisherEditor>(session(), desktop(), QStringLiteral("Amend"), 1);
    ASSERT_TRUE(editor);
    expectLaidOutWhole(editor.get());
    expectFieldsBetweenBarAndStatus(*editor, {child<QLineEdit>(editor, "nameEdit"), child<QListWidget>(editor, "typeList"), child<QLineEdit>(editor, "webEdit"), child<QPlainTextEdit>(editor, "commentsEdit")});
    // The texts follow one another down the window, the notes last.
    EXPECT_LT(child<QListWidget>(editor, "typeList")->geometry().bottom(), child<QPlainTextEdit>(editor, "guidelinesEdit")->y());
    EXPECT_LT(child<QPlainTextEdit>(editor, "guidelinesEdit")->geometry().bottom(), child<QPlainTextEdit>(editor, "commentsEdit")->y());
    expectGrowsWithTheWindow(*editor, {child<QListWidget>(editor, "genreList"), child<QPlainTextEdit>(editor, "guidelinesEdit"), child<QPlainTextEdit>(editor, "commentsEdit")});
}

TEST_F(EditorLayoutTest, SubmissionEditorShowsEverythingWholeAndGrows)
{
    LargeFont font;
    auto editor = openEditor<SubmissionEditor>(session(), desktop(), QStringLiteral("Amend"), 1);
    ASSERT_TRUE(editor);
    expectLaidOutWhole(editor.get());
    expectFieldsBetweenBarAndStatus(*editor, {child<QListWidget>(editor, "workList"), child<QGroupBox>(editor, "statusFrame"), child<QPlainTextEdit>(editor, "outcomeEdit"), child<QPlainTextEdit>(editor, "notesEdit")});
    EXPECT_LT(child<QPlainTextEdit>(editor, "outcomeEdit")->geometry().bottom(), child<QPlainTextEdit>(editor, "notesEdit")->y());
    // A whole date shows in each date field.
    for (QLineEdit* date : {child<QLineEdit>(editor, "submittedEdit"), child<QLineEdit>(editor, "returnedEdit")})
        EXPECT_GT(date->width(), date->fontMetrics().horizontalAdvance(date->text())) << date->text().toStdString();
    expectGrowsWithTheWindow(*editor, {child<QListWidget>(editor, "workList"), child<QListWidget>(editor, "publisherList"), child<QPlainTextEdit>(editor, "outcomeEdit"), child<QPlainTextEdit>(editor, "notesEdit")});
}

TEST_F(EditorLayoutTest, SubmissionListsAreWideEnoughForTheirNames)
{
    auto editor = openEditor<SubmissionEditor>(session(), desktop(), QStringLiteral("New"));
    ASSERT_TRUE(editor);
    for (QListWidget* list : {child<QListWidget>(editor, "workList"), child<QListWidget>(editor, "publisherList")}) {
        ASSERT_GT(list->count(), 0);
        const int name = list->fontMetrics().horizontalAdvance(list->item(0)->text());
        EXPECT_GT(list->viewport()->width(), name) << list->objectName().toStdString();
    }
    // A longer name arriving with the next fill widens the list again.
    const int before = child<QListWidget>(editor, "workList")->width();
    child<QListWidget>(editor, "workList")->addItem(QStringLiteral("A Much Longer Name For A Work, With More"));
    QCoreApplication::processEvents();
    EXPECT_GT(child<QListWidget>(editor, "workList")->width(), before);
}
