// An editor-like window with hot-key buttons, key preview and a status panel.

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "app/modQuillary.h"
#include "hotkeys/HotKeyBar.h"
#include "hotkeys/SendKeys.h"
#include "platform/StatusPanel.h"
#include "support/EditorTestKit.h"
#include "support/TestEnv.h"

namespace {

// Counts the key presses of one key that reach a widget, typed and sent apart.
struct KeyCounter : QObject {
    explicit KeyCounter(int key) : key(key) {}
    int key;
    int typed = 0;
    int sent = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == key)
            ++(IsSentKey(static_cast<QKeyEvent*>(e)) ? sent : typed);
        return false;
    }
};

} // namespace

class HotKeyBarTest : public QuillaryTest {
protected:
    void SetUp() override
    {
        QuillaryTest::SetUp();
        setHotKeys({{QStringLiteral("F2"), 113, QStringLiteral("Dear Sir")},
                    {QStringLiteral("A"), 65, QStringLiteral("{(}ref{)}")}});

        auto* layout = new QVBoxLayout(&window);
        auto* bar = new QHBoxLayout;
        layout->addLayout(bar);
        buttons = HotKeyBar::createButtons(&window, bar);
        field = new QLineEdit(&window);
        other = new QLineEdit(&window);
        panel = new StatusPanel(&window);
        layout->addWidget(field);
        layout->addWidget(other);
        layout->addWidget(panel);
        createMessageTimer(&window, panel);
        hotKeys = new HotKeyBar(&window, buttons, panel);
        hotKeys->load();
        hotKeys->installKeyPreview();

        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        field->setFocus();
    }

    QWidget window;
    QList<QPushButton*> buttons;
    QLineEdit* field = nullptr;
    QLineEdit* other = nullptr;
    StatusPanel* panel = nullptr;
    HotKeyBar* hotKeys = nullptr;
};

TEST_F(HotKeyBarTest, ButtonsShowLoadedHotKeys)
{
    ASSERT_EQ(buttons.size(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(buttons[i]->objectName(), QStringLiteral("cmdHotKey%1").arg(i));
        EXPECT_EQ(buttons[i]->isVisible(), i < 2) << i;
    }
    EXPECT_EQ(buttons[0]->text(), QStringLiteral("F2"));
    EXPECT_EQ(buttons[0]->toolTip(), QStringLiteral("Insert Text \"Dear Sir\""));
    EXPECT_EQ(buttons[1]->text(), QStringLiteral("A"));
    EXPECT_EQ(buttons[1]->toolTip(), QStringLiteral("Insert Text \"(ref)\""));
    EXPECT_EQ(buttons[1]->width(), buttons[1]->height());

    // The editor decides where a click types: the bar only reports it.
    int clickedIndex = -1;
    QObject::connect(hotKeys, &HotKeyBar::clicked, &window, [&](int i) {
        clickedIndex = i;
        other->setFocus();
        hotKeys->send(i);
    });
    QTest::mouseClick(buttons[1], Qt::LeftButton);
    EXPECT_EQ(clickedIndex, 1);
    ASSERT_TRUE(settle());
    EXPECT_EQ(other->text(), QStringLiteral("(ref)"));
    EXPECT_EQ(field->text(), QString());
}

TEST_F(HotKeyBarTest, HotKeyTypesAndKeyStillReachesField)
{
    KeyCounter f2(Qt::Key_F2);
    field->installEventFilter(&f2);
    QTest::keyClick(field, Qt::Key_F2);
    ASSERT_TRUE(settle());
    EXPECT_EQ(field->text(), QStringLiteral("Dear Sir"));
    EXPECT_EQ(f2.typed, 1);

    // A letter code fires with and without Shift; the letter is typed as well.
    field->clear();
    QTest::keyClick(field, Qt::Key_A);
    ASSERT_TRUE(settle());
    EXPECT_EQ(field->text(), QStringLiteral("a(ref)"));
    field->clear();
    QTest::keyClick(field, 'A', Qt::ShiftModifier);
    ASSERT_TRUE(settle());
    EXPECT_EQ(field->text(), QStringLiteral("A(ref)"));

    // Keys outside the window are not hot keys.
    QWidget elsewhere;
    auto* outside = new QLineEdit(&elsewhere);
    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    outside->setFocus();
    QTest::keyClick(outside, Qt::Key_F2);
    ASSERT_TRUE(settle());
    EXPECT_EQ(outside->text(), QString());
    field->removeEventFilter(&f2);
}

TEST_F(HotKeyBarTest, TextHoldingItsOwnKeyDoesNotLoop)
{
    gHotKeyTexts[0] = QStringLiteral("x{F2}y");
    gHotKeyTexts[1] = QStringLiteral("{a 2}");
    KeyCounter f2(Qt::Key_F2);
    field->installEventFilter(&f2);
    QTest::keyClick(field, Qt::Key_F2);
    ASSERT_TRUE(settle());
    EXPECT_EQ(field->text(), QStringLiteral("xy"));
    EXPECT_EQ(f2.typed, 1);
    EXPECT_EQ(f2.sent, 1);

    field->clear();
    QTest::keyClick(field, Qt::Key_A);
    ASSERT_TRUE(settle());
    EXPECT_EQ(field->text(), QStringLiteral("aaa"));
    field->removeEventFilter(&f2);
}

TEST_F(HotKeyBarTest, InvalidTextTypesNothingAndSaysWhy)
{
    gHotKeyTexts[0] = QStringLiteral("Dear {FOO}");
    QTest::keyClick(field, Qt::Key_F2);
    ASSERT_TRUE(settle());
    EXPECT_EQ(field->text(), QString());
    EXPECT_TRUE(panel->caption().contains(QStringLiteral("Unknown key name \"FOO\"")))
        << panel->caption().toStdString();

    panel->setCaption(QString());
    hotKeys->send(0);
    EXPECT_TRUE(panel->caption().contains(QStringLiteral("FOO")));
    // Indexes beyond the loaded hot keys do nothing.
    hotKeys->send(3);
    hotKeys->send(-1);
    ASSERT_TRUE(settle());
    EXPECT_EQ(field->text(), QString());
}
