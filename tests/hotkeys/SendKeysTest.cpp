// The send-keys notation, keystrokes typed into real widgets, and virtual-key codes.

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "hotkeys/HotKeys.h"
#include "hotkeys/KeyCodes.h"
#include "hotkeys/SendKeys.h"

namespace {

QString typed(const QString& keys)
{
    QString text;
    for (const KeyStroke& s : ParseSendKeys(keys).strokes)
        text += s.text;
    return text;
}

QString errorOf(const QString& keys)
{
    return ParseSendKeys(keys).error;
}

bool waitForSentKeys()
{
    QElapsedTimer clock;
    clock.start();
    while (SendKeysPending() && clock.elapsed() < 5000)
        QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    return !SendKeysPending();
}

} // namespace

TEST(SendKeysNotation, ValidTexts)
{
    EXPECT_EQ(typed(QStringLiteral("Dear Sir")), QStringLiteral("Dear Sir"));
    EXPECT_EQ(typed(QStringLiteral("{(}{)}{{}{}}{+}{^}{%}{~}{[}{]}")), QStringLiteral("(){}+^%~[]"));
    EXPECT_EQ(typed(QStringLiteral("+a+1")), QStringLiteral("A!"));
    EXPECT_EQ(typed(QStringLiteral("+(ec)d")), QStringLiteral("ECd"));
    EXPECT_EQ(typed(QStringLiteral("+ec")), QStringLiteral("Ec"));
    EXPECT_EQ(typed(QStringLiteral("{x 10}")), QStringLiteral("xxxxxxxxxx"));
    EXPECT_EQ(typed(QStringLiteral("{} 2}{+ 0}")), QStringLiteral("}}"));
    EXPECT_EQ(typed(QStringLiteral("[a]")), QStringLiteral("[a]"));

    ParsedKeys p = ParseSendKeys(QStringLiteral("A~{left 3}{F16}"));
    ASSERT_TRUE(p.ok()) << p.error.toStdString();
    ASSERT_EQ(p.strokes.size(), 6);
    EXPECT_EQ(p.strokes[0].key, Qt::Key_A);
    EXPECT_EQ(p.strokes[0].modifiers, Qt::ShiftModifier);
    EXPECT_EQ(p.strokes[1].key, Qt::Key_Return);
    for (int i = 2; i < 5; ++i)
        EXPECT_EQ(p.strokes[i], (KeyStroke{Qt::Key_Left, Qt::NoModifier, QString()}));
    EXPECT_EQ(p.strokes[5].key, Qt::Key_F16);

    p = ParseSendKeys(QStringLiteral("^a%{F4}+{TAB}{ADD}{Bksp}"));
    ASSERT_TRUE(p.ok());
    ASSERT_EQ(p.strokes.size(), 5);
    EXPECT_EQ(p.strokes[0], (KeyStroke{Qt::Key_A, Qt::ControlModifier, QString()}));
    EXPECT_EQ(p.strokes[1].key, Qt::Key_F4);
    EXPECT_EQ(p.strokes[1].modifiers, Qt::AltModifier);
    EXPECT_EQ(p.strokes[2].key, Qt::Key_Backtab);
    EXPECT_EQ(p.strokes[3].modifiers, Qt::KeypadModifier);
    EXPECT_EQ(p.strokes[3].text, QStringLiteral("+"));
    EXPECT_EQ(p.strokes[4].key, Qt::Key_Backspace);

    EXPECT_TRUE(ParseSendKeys(QString()).ok());
    EXPECT_TRUE(ParseSendKeys(QString()).strokes.isEmpty());
}

TEST(SendKeysNotation, InvalidTextsSayWhy)
{
    EXPECT_EQ(errorOf(QStringLiteral("{FOO}")), QStringLiteral("Unknown key name \"FOO\""));
    EXPECT_FALSE(errorOf(QStringLiteral("a}b")).isEmpty());
    EXPECT_FALSE(errorOf(QStringLiteral("ab{LEFT")).isEmpty());
    EXPECT_FALSE(errorOf(QStringLiteral("{}")).isEmpty());
    EXPECT_FALSE(errorOf(QStringLiteral("x{}y")).isEmpty());
    EXPECT_TRUE(errorOf(QStringLiteral("{LEFT x}")).contains(QStringLiteral("not a number")));
    EXPECT_FALSE(errorOf(QStringLiteral("{LEFT -1}")).isEmpty());
    EXPECT_FALSE(errorOf(QStringLiteral("{x 99999999999}")).isEmpty());
    EXPECT_FALSE(errorOf(QStringLiteral("(ab")).isEmpty());
    EXPECT_FALSE(errorOf(QStringLiteral("ab)")).isEmpty());
    EXPECT_FALSE(errorOf(QStringLiteral("+(a(b)")).isEmpty());
    EXPECT_FALSE(errorOf(QStringLiteral("abc+")).isEmpty());
    EXPECT_FALSE(errorOf(QStringLiteral("^%")).isEmpty());
    EXPECT_FALSE(errorOf(QStringLiteral("(a+)")).isEmpty());
    // An invalid text yields no keystrokes at all, not the part before the fault.
    EXPECT_TRUE(ParseSendKeys(QStringLiteral("Dear Sir}")).strokes.isEmpty());
}

class SendKeysTyping : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto* layout = new QVBoxLayout(&window);
        first = new QLineEdit(&window);
        second = new QLineEdit(&window);
        notes = new QTextEdit(&window);
        layout->addWidget(first);
        layout->addWidget(second);
        layout->addWidget(notes);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        first->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), first);
    }

    void send(const QString& keys)
    {
        EXPECT_EQ(SendKeys(keys), QString()) << keys.toStdString();
        ASSERT_TRUE(waitForSentKeys());
    }

    QWidget window;
    QLineEdit* first = nullptr;
    QLineEdit* second = nullptr;
    QTextEdit* notes = nullptr;
};

TEST_F(SendKeysTyping, TextLandsInFocusedField)
{
    const QString keys = TextToKeys(QStringLiteral("Dear Sir (see note) "));
    EXPECT_EQ(SendKeys(keys), QString());
    // Queued, not typed yet.
    EXPECT_EQ(first->text(), QString());
    ASSERT_TRUE(waitForSentKeys());
    EXPECT_EQ(first->text(), QStringLiteral("Dear Sir (see note) "));

    first->clear();
    send(QStringLiteral("+a+1{+}{x 3}"));
    EXPECT_EQ(first->text(), QStringLiteral("A!+xxx"));

    first->clear();
    send(QStringLiteral("abcdef{LEFT 3}X{END}{BS}"));
    EXPECT_EQ(first->text(), QStringLiteral("abcXde"));

    notes->setFocus();
    send(QStringLiteral("one~two"));
    EXPECT_EQ(notes->toPlainText(), QStringLiteral("one\ntwo"));
}

TEST_F(SendKeysTyping, TabMovesFocusAndLaterKeysFollow)
{
    send(QStringLiteral("ab{TAB}cd{TAB}ef"));
    EXPECT_EQ(first->text(), QStringLiteral("ab"));
    EXPECT_EQ(second->text(), QStringLiteral("cd"));
    EXPECT_EQ(notes->toPlainText(), QStringLiteral("ef"));
    EXPECT_EQ(QApplication::focusWidget(), notes);

    // Shift+Tab goes back; arriving by the keyboard selects the field, so x replaces it.
    second->setFocus();
    send(QStringLiteral("+{TAB}x"));
    EXPECT_EQ(QApplication::focusWidget(), first);
    EXPECT_EQ(first->text(), QStringLiteral("x"));
    EXPECT_EQ(second->text(), QStringLiteral("cd"));
}

TEST_F(SendKeysTyping, EnterAndInvalidTexts)
{
    QSignalSpy returned(first, &QLineEdit::returnPressed);
    send(QStringLiteral("ok~"));
    EXPECT_EQ(returned.count(), 1);
    EXPECT_EQ(first->text(), QStringLiteral("ok"));

    first->clear();
    for (const char* bad : {"Dear Sir}", "ab{FOO}", "x{", "(ab", "ab+"}) {
        EXPECT_FALSE(SendKeys(QLatin1String(bad)).isEmpty()) << bad;
        EXPECT_FALSE(SendKeysPending());
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(first->text(), QString());
}

TEST_F(SendKeysTyping, SentEventsAreMarkedAndFiltered)
{
    struct Counter : QObject {
        int sent = 0;
        int typed = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::KeyPress)
                ++(IsSentKey(static_cast<QKeyEvent*>(e)) ? sent : typed);
            return false;
        }
    } counter;
    first->installEventFilter(&counter);
    send(QStringLiteral("abc"));
    QTest::keyClick(first, Qt::Key_D);
    EXPECT_EQ(counter.sent, 3);
    EXPECT_EQ(counter.typed, 1);
    EXPECT_EQ(first->text(), QStringLiteral("abcd"));
    first->removeEventFilter(&counter);
}

TEST(KeyCodes, VirtualKeyCodes)
{
    auto code = [](int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = QString()) {
        QKeyEvent e(QEvent::KeyPress, key, mods, text);
        return VirtualKeyCode(&e);
    };
    EXPECT_EQ(code(Qt::Key_F2), 113);
    EXPECT_EQ(code(Qt::Key_F1), 112);
    EXPECT_EQ(code(Qt::Key_F24), 135);
    EXPECT_EQ(code(Qt::Key_A, Qt::NoModifier, QStringLiteral("a")), 65);
    EXPECT_EQ(code(Qt::Key_A, Qt::ShiftModifier, QStringLiteral("A")), 65);
    EXPECT_EQ(code(Qt::Key_Z, Qt::ControlModifier), 90);
    EXPECT_EQ(code(Qt::Key_1), 49);
    EXPECT_EQ(code(Qt::Key_Exclam, Qt::ShiftModifier), 49);
    EXPECT_EQ(code(Qt::Key_ParenRight, Qt::ShiftModifier), 48);
    EXPECT_EQ(code(Qt::Key_5, Qt::KeypadModifier), 101);
    EXPECT_EQ(code(Qt::Key_Asterisk, Qt::KeypadModifier), 106);
    EXPECT_EQ(code(Qt::Key_Asterisk, Qt::ShiftModifier), 56);
    EXPECT_EQ(code(Qt::Key_Minus), 189);
    EXPECT_EQ(code(Qt::Key_Minus, Qt::KeypadModifier), 109);
    EXPECT_EQ(code(Qt::Key_Backtab, Qt::ShiftModifier), 9);
    EXPECT_EQ(code(Qt::Key_Return), 13);
    EXPECT_EQ(code(Qt::Key_Enter, Qt::KeypadModifier), 13);
    EXPECT_EQ(code(Qt::Key_Delete), 46);
    EXPECT_EQ(code(Qt::Key_Colon, Qt::ShiftModifier), 186);
    EXPECT_EQ(code(Qt::Key_QuoteDbl, Qt::ShiftModifier), 222);
    EXPECT_EQ(code(Qt::Key_Eacute), 0);
    EXPECT_EQ(VirtualKeyCode(nullptr), 0);
}
