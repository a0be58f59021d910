// The hot-key bar and the key sender that types its texts, in a window of their own.

#include <QApplication>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTextEdit>
#include <QVBoxLayout>

#include "core/HotKeyText.h"
#include "gui/HotKeyBar.h"
#include "gui/KeySender.h"
#include "gui/StatusMessage.h"
#include "gui/StatusPanel.h"
#include "support/EditorTestKit.h"

namespace {

// Counts the F2 presses that reach a widget, typed and sent apart.
struct F2Counter : QObject {
    int typed = 0, sent = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_F2)
            ++(KeySender::isSentKey(static_cast<QKeyEvent*>(e)) ? sent : typed);
        return false;
    }
};

class HotKeyBarTest : public QuillaryTest {
protected:
    void SetUp() override
    {
        QuillaryTest::SetUp();
        setHotKeys({{"F2", 113, "Dear Sir"}, {"A", 65, "{(}ref{)}"}});
        auto* layout = new QVBoxLayout(&window);
        buttons = HotKeyBar::createButtons(&window, layout);
        layout->addWidget(field = new QLineEdit(&window));
        layout->addWidget(notes = new QTextEdit(&window));
        layout->addWidget(panel = new StatusPanel(&window));
        createMessageTimer(&window, panel);
        hotKeys = new HotKeyBar(&window, buttons, panel);
        hotKeys->load(session().settings().hotKeys());
        hotKeys->installKeyPreview();
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        field->setFocus();
        field->installEventFilter(&f2);
    }
    // The field's text after typing the key, or sending the keys, into it emptied.
    template <class Key>
    QString fire(Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        field->clear();
        QTest::keyClick(field, key, mods);
        EXPECT_TRUE(settle());
        return field->text();
    }
    QString send(const QString& keys)
    {
        field->clear();
        EXPECT_EQ(sender.send(keys), "") << keys.toStdString();
        EXPECT_TRUE(settle(&sender));
        return field->text();
    }

    F2Counter f2;
    QWidget window;
    KeySender sender;
    QList<QPushButton*> buttons;
    QLineEdit* field;
    QTextEdit* notes;
    StatusPanel* panel;
    HotKeyBar* hotKeys;
};

TEST_F(HotKeyBarTest, KeysTypeTheLoadedTextsWithoutLooping)
{
    ASSERT_EQ(buttons.size(), 5);
    EXPECT_FALSE(buttons[2]->isVisible());
    EXPECT_EQ(buttons[1]->toolTip(), "Insert Text \"(ref)\"");
    EXPECT_EQ(fire(Qt::Key_F2), "Dear Sir");
    EXPECT_EQ(f2.typed, 1);
    // A letter code fires with and without Shift; the letter is typed as well.
    EXPECT_EQ(fire(Qt::Key_A), "a(ref)");
    EXPECT_EQ(fire('A', Qt::ShiftModifier), "A(ref)");

    // A sent F2 reaches the field but does not fire the hot key again.
    hotKeys->load({{"F2", 113, "x{F2}y"}});
    EXPECT_EQ(fire(Qt::Key_F2), "xy");
    EXPECT_EQ(f2.typed, 2);
    EXPECT_EQ(f2.sent, 1);

    hotKeys->load({{"F2", 113, "Dear {FOO}"}});
    EXPECT_EQ(fire(Qt::Key_F2), "");
    EXPECT_TRUE(panel->caption().contains("Unknown key name \"FOO\"")) << panel->caption().toStdString();
}

TEST_F(HotKeyBarTest, TheSenderTypesIntoTheFocusedFieldAndInvalidTextsTypeNothing)
{
    hotKeys->load({});  // no hot key among the letters sent
    EXPECT_EQ(sender.send(TextToKeys("Dear Sir (see note) ")), "");
    EXPECT_EQ(field->text(), "");  // queued, not typed yet
    ASSERT_TRUE(settle(&sender));
    EXPECT_EQ(field->text(), "Dear Sir (see note) ");
    EXPECT_EQ(send("+a+1{+}abcdef{LEFT 3}X{END}{BS}"), "A!+abcXde");
    QSignalSpy returned(field, &QLineEdit::returnPressed);
    send("~");
    EXPECT_EQ(returned.count(), 1);

    EXPECT_EQ(send("ab{TAB}cd"), "ab");
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

} // namespace
