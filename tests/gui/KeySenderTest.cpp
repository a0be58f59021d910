#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "core/HotKeyText.h"
#include "gui/KeySender.h"
#include "support/EditorTestKit.h"

class SendKeysTyping : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(first = new QLineEdit(&window));
        layout->addWidget(notes = new QTextEdit(&window));
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        first->setFocus();
    }

    void send(const QString& keys)
    {
        EXPECT_EQ(sender.send(keys), "") << keys.toStdString();
        ASSERT_TRUE(settle(&sender));
    }

    KeySender sender;
    QWidget window;
    QLineEdit* first = nullptr;
    QTextEdit* notes = nullptr;
};

TEST_F(SendKeysTyping, TypesIntoTheFocusedFieldAndInvalidTextsTypeNothing)
{
    EXPECT_EQ(sender.send(TextToKeys("Dear Sir (see note) ")), "");
    EXPECT_EQ(first->text(), ""); // queued, not typed yet
    ASSERT_TRUE(settle(&sender));
    EXPECT_EQ(first->text(), "Dear Sir (see note) ");

    first->clear();
    send("+a+1{+}abcdef{LEFT 3}X{END}{BS}");
    EXPECT_EQ(first->text(), "A!+abcXde");

    QSignalSpy returned(first, &QLineEdit::returnPressed);
    send("~");
    EXPECT_EQ(returned.count(), 1);

    first->clear();
    send("ab{TAB}cd");
    EXPECT_EQ(first->text(), "ab");
    EXPECT_EQ(notes->toPlainText(), "cd");
    EXPECT_EQ(QApplication::focusWidget(), notes);
    // An invalid text types nothing at all, not the part before the fault.
    for (const char* bad : {"Dear Sir}", "x{", "(ab", "ab+"}) {
        EXPECT_FALSE(sender.send(bad).isEmpty()) << bad;
        EXPECT_FALSE(sender.busy());
    }
    ASSERT_TRUE(settle(&sender));
    EXPECT_EQ(notes->toPlainText(), "cd");
}

