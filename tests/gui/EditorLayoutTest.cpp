// The editors, the Find dialog and the About box laid out at a large font, and as the user sizes them.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "gui/AboutDialog.h"
#include "gui/FindDialog.h"
#include "gui/editors/PublisherEditor.h"
#include "gui/editors/SubmissionEditor.h"
#include "gui/editors/WorkEditor.h"
#include "support/EditorTestKit.h"
#include "support/LayoutCheck.h"
#include "support/TestEnv.h"

class EditorLayoutTest : public QuillaryTest {
protected:
    void SetUp() override
    {
        QuillaryTest::SetUp();
        createDatabase();
        setHotKeys({{"F2", 113, "Dear Sir"}, {"Signature", 115, "Yours"}});
        exec("INSERT INTO Work (ID, Name, Genre_ID, Year_Written) VALUES (1, 'The Long Winter of Ninety-Six', 1, '1996');"
             "INSERT INTO Publisher (ID, Name, Type_ID) VALUES (1, 'The Quarterly Review of Letters', 1);"
             "INSERT INTO Submission (ID, Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status, Notes) VALUES "
             "(1, 1, 1, '2024-11-28', '2024-12-30', 1, 'Sent twice');");
    }
    // Whole, with the fields named between the button bar and the status panel, that at the foot.
    static void expectWhole(EditorWindow& editor, const QStringList& fields)
    {
        expectLaidOutWhole(&editor);
        const int top = place(editor, "buttonBar").bottom();
        const int bottom = place(editor, "statusPanel").top();
        EXPECT_EQ(place(editor, "statusPanel").bottom(), editor.rect().bottom());
        for (const QString& field : fields) {
            EXPECT_GT(place(editor, field).top(), top) << field.toStdString();
            EXPECT_LT(place(editor, field).bottom(), bottom) << field.toStdString();
        }
    }
    // The widgets named grow both ways with the window; the status panel stays at its foot.
    static void expectGrowing(EditorWindow& editor, const QStringList& growing)
    {
        QList<QSize> before;
        for (const QString& name : growing)
            before << child<QWidget>(editor, name)->size();
        editor.resize(editor.size() + QSize(300, 240));
        QCoreApplication::processEvents();
        for (int i = 0; i < growing.size(); ++i) {
            EXPECT_GT(child<QWidget>(editor, growing[i])->width(), before[i].width()) << growing[i].toStdString();
            EXPECT_GT(child<QWidget>(editor, growing[i])->height(), before[i].height()) << growing[i].toStdString();
        }
        EXPECT_EQ(place(editor, "statusPanel").bottom(), editor.rect().bottom());
    }
    // The named widget's place in the window's own coordinates.
    static QRect place(QWidget& window, const QString& name)
    {
        QWidget* widget = child<QWidget>(window, name);
        return QRect(widget->mapTo(&window, QPoint(0, 0)), widget->size());
    }
};

TEST_F(EditorLayoutTest, EditorsShowEverythingWholeAtALargeFontAndGrow)
{
    LargeFont font;
    auto work = openEditor<WorkEditor>(session(), desktop(), "Amend", 1);
    ASSERT_TRUE(work);
    EXPECT_TRUE(work->windowFlags() & Qt::WindowMaximizeButtonHint);
    ASSERT_TRUE(child<QWidget>(work, "hotKeyButton1")->isVisible());
    expectWhole(*work, {"nameEdit", "genreList", "publishedFrame"});
    // The years show four digits; the name keeps its caption at its left.
    auto* year = child<QLineEdit>(work, "yearWrittenEdit");
    EXPECT_GT(year->width(), year->fontMetrics().horizontalAdvance("0000"));
    EXPECT_LT(place(*work, "nameLabel").right(), place(*work, "nameEdit").x());
    expectGrowing(*work, {"genreList"});
    EXPECT_GT(child<QWidget>(work, "nameEdit")->width(), child<QWidget>(work, "nameEdit")->sizeHint().width());

    auto publisher = openEditor<PublisherEditor>(session(), desktop(), "Amend", 1);
    ASSERT_TRUE(publisher);
    expectWhole(*publisher, {"nameEdit", "typeList", "webEdit", "commentsEdit"});
    // The texts follow one another down the window, the notes last.
    EXPECT_LT(place(*publisher, "typeList").bottom(), place(*publisher, "guidelinesEdit").y());
    EXPECT_LT(place(*publisher, "guidelinesEdit").bottom(), place(*publisher, "commentsEdit").y());
    expectGrowing(*publisher, {"genreList", "guidelinesEdit", "commentsEdit"});

    auto submission = openEditor<SubmissionEditor>(session(), desktop(), "Amend", 1);
    ASSERT_TRUE(submission);
    expectWhole(*submission, {"workList", "statusFrame", "outcomeEdit", "notesEdit"});
    EXPECT_LT(place(*submission, "outcomeEdit").bottom(), place(*submission, "notesEdit").y());
    // A whole date shows in each date field.
    for (const char* name : {"submittedEdit", "returnedEdit"}) {
        auto* date = child<QLineEdit>(submission, name);
        EXPECT_GT(date->width(), date->fontMetrics().horizontalAdvance(date->text())) << name;
    }
    expectGrowing(*submission, {"workList", "publisherList", "outcomeEdit", "notesEdit"});
}

TEST_F(EditorLayoutTest, SubmissionListsAreWideEnoughForTheirNames)
{
    auto editor = openEditor<SubmissionEditor>(session(), desktop(), "New");
    ASSERT_TRUE(editor);
    for (const char* name : {"workList", "publisherList"}) {
        auto* list = child<QListWidget>(editor, name);
        ASSERT_GT(list->count(), 0);
        EXPECT_GT(list->viewport()->width(), list->fontMetrics().horizontalAdvance(list->item(0)->text())) << name;
    }
    // A longer name arriving with the next fill widens the list again.
    auto* works = child<QListWidget>(editor, "workList");
    const int before = works->width();
    works->addItem("A Much Longer Name For A Work, With More");
    QCoreApplication::processEvents();
    EXPECT_GT(works->width(), before);
}

TEST_F(EditorLayoutTest, FindAndAboutKeepTheirPartsInPlaceAtALargeFont)
{
    LargeFont font;
    FindDialog find;
    find.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&find));
    expectLaidOutWhole(&find);
    EXPECT_LT(place(find, "findLabel").right(), place(find, "findEdit").x());
    EXPECT_GT(place(find, "matchCaseCheck").y(), place(find, "findEdit").bottom());
    EXPECT_GT(place(find, "wholeCellCheck").y(), place(find, "matchCaseCheck").bottom());
    EXPECT_GE(place(find, "matchCaseCheck").x(), place(find, "findEdit").x());
    // Room for a good many characters of the text to find.
    auto* edit = child<QLineEdit>(find, "findEdit");
    EXPECT_GT(edit->width(), 30 * edit->fontMetrics().averageCharWidth());

    AboutDialog about(links);
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    expectLaidOutWhole(&about);
    EXPECT_LT(place(about, "iconLabel").right(), place(about, "titleLabel").x());
    EXPECT_LT(place(about, "titleLabel").bottom(), place(about, "versionLabel").y());
    EXPECT_LT(place(about, "versionLabel").bottom(), place(about, "webLabel").y());
    auto* web = child<QLabel>(about, "webLabel");
    EXPECT_GT(web->width(), web->fontMetrics().horizontalAdvance(kMakerWebAddress));
}
