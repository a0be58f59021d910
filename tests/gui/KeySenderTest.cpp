// The key sender that types hot-key texts, in a window of its own.

#include <QApplication>
#include <QSignalSpy>
#include <QTextEdit>
#include <QVBoxLayout>

#include "core/HotKeyText.h"
#include "gui/KeySender.h"
#include "support/EditorTestKit.h"

class KeySenderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(field = new QLineEdit(&window));
        layout->addWidget(notes = new QTextEdit(&window));
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        field->setFocus();
    }
    // The field's text after sending the keys into it, emptied.
    QString send(const QString& keys)
    {
        field->clear();
        EXPECT_EQ(sender.send(keys), "") << keys.toStdString();
        EXPECT_TRUE(settle(&sender));
        return field->text();
    }

    KeySender sender;
    QWidget window;
    QLineEdit* field;
    QTextEdit* notes;
};

TEST_F(KeySenderTest, TypesIntoTheFocusedFieldAndInvalidTextsTypeNothing)
{
    EXPECT_EQ(send(textToKeys("Dear Sir (see note) ")), "Dear Sir (see note) ");
    EXPECT_EQ(send("+a+1{+}abcdef{LEFT 3}X{END}{BS}"), "A!+abcXde");
    QSignalSpy returned(field, &QLineEdit::returnPressed);
    send("~");
    EXPECT_EQ(returned.count(), 1);

    EXPECT_EQ(send("ab{TAB}cd"), "ab");
    EXPECT_EQ(notes->toPlainText(), "cd");
    EXPECT_EQ(QApplication::focusWidget(), notes);
    // An invalid text types nothing at all, not the part before the fault.
    for (const char* bad : {"Dear Sir}", "(ab"}) {
        EXPECT_FALSE(sender.send(bad).isEmpty()) << bad;
        EXPECT_FALSE(sender.busy());
    }
    ASSERT_TRUE(settle(&sender));
    EXPECT_EQ(notes->toPlainText(), "cd");
}
