// Money through the editors' real fields, and the questions around an acceptance.

#include "gui/editors/PublisherEditor.h"
#include "gui/editors/SubmissionEditor.h"
#include "support/EditorTestKit.h"

class MoneyEditorsTest : public QuillaryTest {
protected:
    void SetUp() override
    {
        QuillaryTest::SetUp();
        createDatabase();
        session().settings().setCurrencyCode(QStringLiteral("GBP"));
        // Lists by name: Hidden Ticket, Salt Road / Brass Lantern, Quarto.
        exec("INSERT INTO Work (Name, Genre_ID) VALUES ('Hidden Ticket', 1), ('Salt Road', 1)");
        exec("INSERT INTO Publisher (Name, Type_ID, Usual_Fee, Simultaneous) VALUES ('Brass Lantern', 1, 350, NULL), "
             "('Quarto', 1, NULL, 0)");
        exec("INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status) "
             "VALUES (1, 2, '2024-05-01', 0, 0)");
    }
    UkLocale locale;
};

TEST_F(MoneyEditorsTest, PublisherKeepsItsUsualFeeAndRule)
{
    auto editor = openEditor<PublisherEditor>(session(), desktop(), "Amend", 1);
    ASSERT_TRUE(editor);
    auto* fee = child<QLineEdit>(editor, "usualFeeEdit");
    auto* rule = child<QButtonGroup>(editor, "simultaneousGroup");
    EXPECT_EQ(fee->text(), "3.50");
    EXPECT_EQ(EditorWindow::optionIndex(rule), 2);  // not known
    fee->clear();
    typeInto(fee, "£1,200.5");
    click(rule->button(1));
    press(editor, "okButton");
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(queryText("SELECT Usual_Fee || '/' || Simultaneous FROM Publisher WHERE ID = 1"), "120050/0");
}

TEST_F(MoneyEditorsTest, SubmissionFeeFollowsThePublisherAndAcceptanceOffersTheWithdrawal)
{
    auto editor = openEditor<SubmissionEditor>(session(), desktop(), "New");
    ASSERT_TRUE(editor);
    auto* fee = child<QLineEdit>(editor, "feeEdit");
    auto* payment = child<QLineEdit>(editor, "paymentEdit");
    auto* paid = child<QLineEdit>(editor, "paidEdit");
    auto* publishers = child<QListWidget>(editor, "publisherList");
    EXPECT_EQ(fee->text(), "3.50");  // Brass Lantern's
    clickItem(publishers, 1);
    EXPECT_EQ(fee->text(), "");      // Quarto has none
    clickItem(publishers, 0);
    typeInto(payment, "25");
    typeInto(paid, "02/06/2024");
    payment->clear();
    EXPECT_EQ(paid->text(), "");     // no payment, no date

    // Hidden Ticket is out with Quarto, which takes none: asked, and No keeps everything.
    prompts.answers = {Prompts::Answer::No};
    typeInto(payment, "1,000.05");
    typeInto(paid, "02/06/2024");
    press(editor, "okButton");
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(queryInt("SELECT Count(*) FROM Submission"), 1);
    EXPECT_EQ(fee->text() + '|' + payment->text() + '|' + paid->text(), "3.50|1,000.05|02/06/2024");

    // An acceptance is not a sending: nothing asked; the one still out is offered for withdrawal.
    click(child<QButtonGroup>(editor, "statusGroup")->button(int(SubmissionStatus::Accepted)));
    prompts.answers = {Prompts::Answer::Yes};
    const int before = prompts.shown.size();
    press(editor, "okButton");
    EXPECT_FALSE(editor->isVisible());
    ASSERT_EQ(prompts.shown.size(), before + 1);
    EXPECT_TRUE(prompts.texts().last().contains("Quarto, sent on 1 May 2024")) << prompts.texts().last().toStdString();
    EXPECT_EQ(queryText("SELECT group_concat(ifnull(Fee, '-') || '/' || ifnull(Payment, '-') || '/' || Date_Paid || '/' || "
                        "Status || '/' || Outcome, ' ') FROM (SELECT * FROM Submission ORDER BY ID)"),
              "-/-/0/1/Withdrawn 350/100005/2024-06-02/2/");
}
