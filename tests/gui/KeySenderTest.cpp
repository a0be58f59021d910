#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "core/HotKeyText.h"
#include "core/KeyCodes.h"
#include "gui/KeySender.h"
#include "support/EditorTestKit.h"

namespace {

QString typed(const QString& keys)
{
    QString text;
    for (const KeyStroke& s : ParseSendKeys(keys).strokes)
        text += s.text;
    return text;
}

} // namespace

TEST(SendKeysNotation, ValidAndInvalidTexts)
{
    EXPECT_EQ(typed("{(}{)}{{}{}}{+}{^}{%}{~}{[}{]}"), "(){}+^%~[]");
    EXPECT_EQ(typed("+(ec)d+ec+1"), "ECdEc!");
    EXPECT_EQ(typed("{x 3}{} 2}{+ 0}"), "xxx}}");

    ParsedKeys p = ParseSendKeys("^a%{F4}+{TAB}");
    ASSERT_EQ(p.strokes.size(), 3);
    EXPECT_EQ(p.strokes[0], (KeyStroke{Qt::Key_A, Qt::ControlModifier, QString()}));
    EXPECT_EQ(p.strokes[2].key, Qt::Key_Backtab);

    EXPECT_EQ(ParseSendKeys("{FOO}").error, "Unknown key name \"FOO\"");
    for (const char* bad : {"a}b", "ab{LEFT", "x{}y", "{LEFT -1}", "{x 99999999999}", "(ab", "ab)",
                            "+(a(b)", "abc+", "^%", "(a+)"})
        EXPECT_FALSE(ParseSendKeys(bad).ok()) << bad;
}

TEST(SendKeysNotation, DeeplyNestedGroupsAreRefusedInsteadOfOverflowingTheStack)
{
    const ParsedKeys refused = ParseSendKeys(QString(300000, u'(') + u'a' + QString(300000, u')'));
    EXPECT_FALSE(refused.ok());
    EXPECT_TRUE(refused.error.contains(QStringLiteral("nested"))) << refused.error.toStdString();
    EXPECT_TRUE(refused.strokes.isEmpty());
    // Ordinary nesting still works, Shift held through every level.
    EXPECT_EQ(typed("+(((a)b)c)d"), "ABCd");
    EXPECT_TRUE(ParseSendKeys(QString(100, u'(') + u'x' + QString(100, u')')).ok());
}

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

TEST(KeyCodes, VirtualKeyCodes)
{
    auto code = [](int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& = {}) {
        return VirtualKeyCode(key, mods);
    };
    EXPECT_EQ(code(Qt::Key_F2), 113);
    EXPECT_EQ(code(Qt::Key_A, Qt::NoModifier, "a"), 65);
    EXPECT_EQ(code(Qt::Key_A, Qt::ShiftModifier, "A"), 65);
    EXPECT_EQ(code(Qt::Key_Exclam, Qt::ShiftModifier), 49);
    EXPECT_EQ(code(Qt::Key_5, Qt::KeypadModifier), 101);
    EXPECT_EQ(code(Qt::Key_Eacute), 0);
}
