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
        const int top = placeIn(&editor, editor.buttonBar).bottom();
        const int bottom = placeIn(&editor, editor.statusPanel).top();
        EXPECT_EQ(placeIn(&editor, editor.statusPanel).bottom(), editor.rect().bottom());
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
        EXPECT_EQ(placeIn(&editor, editor.statusPanel).bottom(), editor.rect().bottom());
    }
};

TEST_F(EditorLayoutTest, WorkEditorShowsEverythingWholeAndGrows)
{
    LargeFont font;
    auto editor = openEditor<WorkEditor>(session(), desktop(), QStringLiteral("Amend"), 1);
    ASSERT_TRUE(editor);
    EXPECT_TRUE(editor->windowFlags() & Qt::WindowMaximizeButtonHint);
    ASSERT_TRUE(editor->hotKeyButtons[1]->isVisible());
    expectLaidOutWhole(editor.get());
    expectFieldsBetweenBarAndStatus(*editor, {editor->nameEdit, editor->genreList, editor->publishedFrame});
    // The years show four digits; the name keeps its caption at its left.
    const QFontMetrics metrics = editor->yearWrittenEdit->fontMetrics();
    EXPECT_GT(editor->yearWrittenEdit->width(), metrics.horizontalAdvance(QStringLiteral("0000")));
    EXPECT_LT(editor->nameLabel->geometry().right(), editor->nameEdit->x());
    expectGrowsWithTheWindow(*editor, {editor->genreList});
    EXPECT_GT(editor->nameEdit->width(), editor->nameEdit->sizeHint().width());
}

TEST_F(EditorLayoutTest, PublisherEditorShowsEverythingWholeAndGrows)
{
    LargeFont font;
    auto editor = openEditor<PublisherEditor>(session(), desktop(), QStringLiteral("Amend"), 1);
    ASSERT_TRUE(editor);
    expectLaidOutWhole(editor.get());
    expectFieldsBetweenBarAndStatus(*editor, {editor->nameEdit, editor->typeList, editor->webEdit, editor->commentsEdit});
    // The texts follow one another down the window, the notes last.
    EXPECT_LT(editor->typeList->geometry().bottom(), editor->guidelinesEdit->y());
    EXPECT_LT(editor->guidelinesEdit->geometry().bottom(), editor->commentsEdit->y());
    expectGrowsWithTheWindow(*editor, {editor->genreList, editor->guidelinesEdit, editor->commentsEdit});
}

TEST_F(EditorLayoutTest, SubmissionEditorShowsEverythingWholeAndGrows)
{
    LargeFont font;
    auto editor = openEditor<SubmissionEditor>(session(), desktop(), QStringLiteral("Amend"), 1);
    ASSERT_TRUE(editor);
    expectLaidOutWhole(editor.get());
    expectFieldsBetweenBarAndStatus(*editor, {editor->workList, editor->statusFrame, editor->outcomeEdit, editor->notesEdit});
    EXPECT_LT(editor->outcomeEdit->geometry().bottom(), editor->notesEdit->y());
    // A whole date shows in each date field.
    for (QLineEdit* date : {editor->submittedEdit, editor->returnedEdit})
        EXPECT_GT(date->width(), date->fontMetrics().horizontalAdvance(date->text())) << date->text().toStdString();
    expectGrowsWithTheWindow(*editor, {editor->workList, editor->publisherList, editor->outcomeEdit, editor->notesEdit});
}

TEST_F(EditorLayoutTest, SubmissionListsAreWideEnoughForTheirNames)
{
    auto editor = openEditor<SubmissionEditor>(session(), desktop(), QStringLiteral("New"));
    ASSERT_TRUE(editor);
    for (QListWidget* list : {editor->workList, editor->publisherList}) {
        ASSERT_GT(list->count(), 0);
        const int name = list->fontMetrics().horizontalAdvance(list->item(0)->text());
        EXPECT_GT(list->viewport()->width(), name) << list->objectName().toStdString();
    }
    // A longer name arriving with the next fill widens the list again.
    const int before = editor->workList->width();
    editor->workList->addItem(QStringLiteral("A Much Longer Name For A Work, With More"));
    QCoreApplication::processEvents();
    EXPECT_GT(editor->workList->width(), before);
}
