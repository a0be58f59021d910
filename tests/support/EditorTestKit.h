#pragma once
// Helpers for tests that drive the record editors and the hot-key bar through real widgets.

#include <QButtonGroup>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "core/Editing.h"
#include "core/Session.h"
#include "gui/Prompts.h"
#include "support/TestEnv.h"

class KeySender;

// Lets queued hot-key keystrokes arrive (5 s at most): those of sender, or of every sender
// in the application's windows. False when keys are still queued.
bool settle(const KeySender* sender = nullptr);

inline void click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }
// Clicks the push button of that object name in a window.
template <class W>
void press(const W& window, const char* button)
{
    click(child<QPushButton>(window, button));
}
// Clicks a list entry (scrolled into view first), as the user would.
void clickItem(QListWidget* list, int row, Qt::KeyboardModifiers modifiers = {});
// The IDs (Qt::UserRole) of the selected entries, in list order.
QList<int> selectedIds(const QListWidget* list);
inline void typeInto(QWidget* field, const QString& text)
{
    field->setFocus();
    QTest::keyClicks(field, text);
}

// Loads and shows an editor as the main window would, without a modal loop; null when it
// cannot be loaded. action: "New" or "Amend".
template <class Editor>
std::unique_ptr<Editor> openEditor(Session& session, Desktop desktop, const QString& action, int id = 0)
{
    const EditMode mode = action == QLatin1String("New") ? EditMode::New : EditMode::Amend;
    auto editor = std::make_unique<Editor>(session, desktop);
    if (!editor->load(EditRequest{View::Work, mode, id, false, false}))
        return nullptr;
    editor->show();
    editor->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    return editor;
}
