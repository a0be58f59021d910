// The Submission editor through its real widgets: choices, date fields, the question before sending again.

#include "gui/editors/SubmissionEditor.h"
#include "support/EditorTestKit.h"
#include "support/HostileDates.h"

class SubmissionEditorTest : public QuillaryTest {
protected:
    void SetUp() override
    {
        QuillaryTest::SetUp();
        createDatabase();
        // Lists by name: Hidden Ticket, Salt Road, Zebra / Brass Lantern, Quarto.
        exec("INSERT INTO Work (Name, Genre_ID) VALUES ('Hidden Ticket', 1), ('Salt Road', 1), ('Zebra', 1)");
        exec("INSERT INTO Publisher (Name, Type_ID) VALUES ('Brass Lantern', 1), ('Quarto', 1)");
        exec("INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status) "
             "VALUES (1, 1, '2024-01-10', '2024-03-03', 1), (2, 2, '2024-05-01', 0, 0)");
    }
    QString stored(int id, const QString& columns)
    { return queryText(QStringLiteral("SELECT %1 FROM Submission WHERE ID = %2").arg(columns).arg(id)); }
    int submissions() { return queryInt("SELECT Count(*) FROM Submission"); }
    std::unique_ptr<SubmissionEditor> open(const QString& action, int id = 0)
    {
        auto editor = openEditor<SubmissionEditor>(session(), desktop(), action, id);
        works = child<QListWidget>(editor, "workList");
        submitted = child<QLineEdit>(editor, "submittedEdit");
        returned = child<QLineEdit>(editor, "returnedEdit");
        return editor;
    }

    UkLocale locale;
    // The controls of the editor opened last.
    QListWidget* works = nullptr;
    QLineEdit *submitted = nullptr, *returned = nullptr;
};

TEST_F(SubmissionEditorTest, DatesEmptyStoredAsZeroNonDatesDroppedOrRefusedAndAWorkNeeded)
{
    auto editor = open("Amend", 1);
    ASSERT_TRUE(editor);
    EXPECT_EQ(submitted->text() + '|' + returned->text(), "10/01/2024|03/03/2024");
    EXPECT_EQ(EditorWindow::optionIndex(child<QButtonGroup>(editor, "statusGroup")), int(SubmissionStatus::Rejected));
    returned->clear();
    submitted->setFocus();
    submitted->selectAll();
    QTest::keyClick(submitted, Qt::Key_Backspace);
    press(editor, "okButton");
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(stored(1, "Date_Submitted || '/' || Date_Returned"), "0/0");

    // Date fields drop what is no date on leaving; Enter saves what is typed.
    editor = open("New");
    clickItem(works, 2);
    typeInto(returned, "3a1/-0x2/ b2000.");
    EXPECT_EQ(returned->text(), "31/02/2000");
    QTest::keyClick(returned, Qt::Key_Tab);
    EXPECT_EQ(returned->text(), "");
    typeInto(returned, "5/3/2001");
    QTest::keyClick(returned, Qt::Key_Return);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(stored(3, "Date_Returned"), "2001-03-05");

    // Not checked by leaving the field: refused by name at the save, the editor stays as typed.
    editor = open("Amend", 3);
    returned->clear();
    typeInto(returned, "31/02/2000");
    QTest::keyClick(returned, Qt::Key_Return);
    EXPECT_EQ(prompts.texts(), QStringList{"The Returned date \"31/02/2000\" is not a date (dd/mm/yyyy)."});
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(returned->text(), "31/02/2000");
    EXPECT_EQ(stored(3, "Date_Returned"), "2001-03-05");

    // Its work deleted: nothing selected, and the save asks for one.
    prompts.shown.clear();
    exec("DELETE FROM Work WHERE ID = 2");
    editor = open("Amend", 2);
    click(child<QButtonGroup>(editor, "statusGroup")->button(int(SubmissionStatus::Rejected)));
    press(editor, "okButton");
    ASSERT_EQ(prompts.texts(), QStringList{"Choose a Work for this Submission before saving."});
    EXPECT_TRUE(editor->isVisible());
    clickItem(works, 0);
    press(editor, "okButton");
    EXPECT_EQ(stored(2, "Work_ID"), "1");
}

TEST_F(SubmissionEditorTest, StoredDatesShowAsTheGridShowsThemAPositiveDayNumberOrAnIsoDate)
{
    // Both dates hold each value, so the fields are checked against each other too.
    int id = 2;
    for (const HostileDate& d : hostileDates()) {
        exec(QStringLiteral("INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status) "
                            "VALUES (1, 1, %1, %1, 1)").arg(QLatin1String(d.sql)));
        auto editor = open("Amend", ++id);
        ASSERT_TRUE(editor);
        const QString shown = d.positiveOnly.isValid() ? d.positiveOnly.toString("dd/MM/yyyy") : QString();
        EXPECT_EQ(submitted->text() + '|' + returned->text(), shown + '|' + shown) << d.sql;
    }
}

TEST_F(SubmissionEditorTest, NewStartsTodayAndSendingAWorkAgainAsksWithNoKeepingTheEditorAsTyped)
{
    // Hidden Ticket at Brass Lantern, chosen already, was rejected there (the wording is the store's).
    auto editor = open("New");
    EXPECT_EQ(submitted->text() + '|' + returned->text(), "06/12/2026|");
    typeInto(child<QPlainTextEdit>(editor, "notesEdit"), "second go");
    prompts.answers = {Prompts::Answer::No};
    press(editor, "okButton");
    ASSERT_EQ(prompts.texts(), QStringList{"Hidden Ticket was rejected by Brass Lantern on 3 Mar 2024. Send it again?"});
    EXPECT_EQ(prompts.shown.last().defaultButton, Prompts::Answer::No);
    EXPECT_TRUE(editor->isVisible() && submissions() == 2);
    EXPECT_EQ(child<QPlainTextEdit>(editor, "notesEdit")->toPlainText(), "second go");
    prompts.answers = {Prompts::Answer::Yes};
    press(editor, "okButton");
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(stored(3, "Notes"), "second go");
}
