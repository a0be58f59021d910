#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "gui/StatusMessage.h"
#include "gui/HotKeyBar.h"
#include "gui/KeySender.h"
#include "gui/StatusPanel.h"
#include "support/EditorTestKit.h"
#include "support/TestEnv.h"

namespace {

// Counts the F2 presses that reach a widget, typed and sent apart.
struct F2Counter : QObject {
    int typed = 0;
    int sent = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() == Qt::Key_F2)
            ++(KeySender::isSentKey(key) ? sent : typed);
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

    template <class Key>
    QString fire(Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        field->clear();
        QTest::keyClick(field, key, mods);
        EXPECT_TRUE(settle());
        return field->text();
    }

    F2Counter f2;
    QWidget window;
    QList<QPushButton*> buttons;
    QLineEdit* field = nullptr;
    StatusPanel* panel = nullptr;
    HotKeyBar* hotKeys = nullptr;
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

} // namespace
