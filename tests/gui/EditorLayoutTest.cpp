// The editors, the Find dialog and the About box laid out at a large font, and as the user sizes them.

#include "gui/AboutDialog.h"
#include "gui/FindDialog.h"
#include "gui/editors/PublisherEditor.h"
#include "gui/editors/SubmissionEditor.h"
#include "gui/editors/WorkEditor.h"
#include "support/EditorTestKit.h"
#include "support/LayoutCheck.h"

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
    // Whole at first; then the widgets named grow both ways with the window.
    static void expectWholeAndGrowing(EditorWindow& editor, const QStringList& growing)
    {
        expectLaidOutWhole(&editor);
        QList<QSize> before;
        for (const QString& name : growing)
            before << child<QWidget>(editor, name)->size();
        editor.resize(editor.size() + QSize(300, 240));
        QCoreApplication::processEvents();
        for (int i = 0; i < growing.size(); ++i) {
            const QSize now = child<QWidget>(editor, growing[i])->size();
            EXPECT_TRUE(now.width() > before[i].width() && now.height() > before[i].height()) << growing[i].toStdString();
        }
    }
    // Room in a field for the text given, or for its own.
    static void expectRoomFor(QLineEdit* field, const QString& text = {})
    {
        EXPECT_GT(field->width(), field->fontMetrics().horizontalAdvance(text.isEmpty() ? field->text() : text))
            << field->objectName().toStdString();
    }
};

TEST_F(EditorLayoutTest, EditorsAndDialogsShowEverythingWholeAtALargeFontAndEditorsGrow)
{
    LargeFont font;
    auto work = openEditor<WorkEditor>(session(), desktop(), "Amend", 1);
    ASSERT_TRUE(work);
    ASSERT_TRUE(child<QWidget>(work, "hotKeyButton1")->isVisible());
    expectRoomFor(child<QLineEdit>(work, "yearWrittenEdit"), "0000");
    expectWholeAndGrowing(*work, {"genreList"});

    auto publisher = openEditor<PublisherEditor>(session(), desktop(), "Amend", 1);
    ASSERT_TRUE(publisher);
    expectWholeAndGrowing(*publisher, {"genreList", "guidelinesEdit", "commentsEdit"});

    auto submission = openEditor<SubmissionEditor>(session(), desktop(), "Amend", 1);
    ASSERT_TRUE(submission);
    expectRoomFor(child<QLineEdit>(submission, "submittedEdit"));
    expectRoomFor(child<QLineEdit>(submission, "returnedEdit"));
    expectRoomFor(child<QLineEdit>(submission, "paymentEdit"), "1,000,000.00");
    expectWholeAndGrowing(*submission, {"workList", "publisherList", "outcomeEdit", "notesEdit"});

    FindDialog find;
    AboutDialog about(links);
    for (QWidget* dialog : {static_cast<QWidget*>(&find), static_cast<QWidget*>(&about)}) {
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
        expectLaidOutWhole(dialog);
    }
}
