#include "gui/editors/FieldFocus.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

void selectAllText(QWidget* field)
{
    if (auto* line = qobject_cast<QLineEdit*>(field))
        line->selectAll();
    else if (auto* text = qobject_cast<QTextEdit*>(field))
        text->selectAll();
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(field))
        plain->selectAll();
}

} // namespace

void FieldFocus::addTextField(QWidget* field, int code, bool honoursHotKeyFocus)
{
    mTextFields.insert(field, TextField{code, honoursHotKeyFocus});
    field->installEventFilter(this);
}

void FieldFocus::setFocusCode(QWidget* control, int code)
{
    mFocusCodes.insert(control, code);
    control->installEventFilter(this);
}

void FieldFocus::reset()
{
    mTarget = 0;
    mForHotKey = false;
}

QWidget* FieldFocus::focusTargetForHotKey()
{
    if (mTarget == 0)
        return nullptr;
    QWidget* field = nullptr;
    for (auto it = mTextFields.cbegin(); it != mTextFields.cend(); ++it) {
        if (it->code == mTarget) {
            field = it.key();
            break;
        }
    }
    if (!field)
        return nullptr;
    mForHotKey = true;
    field->setFocus(Qt::OtherFocusReason);
    restoreSelection(field);
    return field;
}

void FieldFocus::restoreSelection(QWidget* field)
{
    // The keys act as if typed with the field's selection intact (a field that selects
    // all for a hot key keeps that).
    auto* line = qobject_cast<QLineEdit*>(field);
    if (!line || mSaved.field != field || !mTextFields.value(field).honoursHotKeyFocus)
        return;
    if (mSaved.start < 0) {
        line->setCursorPosition(mSaved.cursor);
        return;
    }
    // Selecting from the far end leaves the cursor where the user had it.
    const int start = mSaved.start;
    if (mSaved.cursor == start)
        line->setSelection(start + mSaved.length, -mSaved.length);
    else
        line->setSelection(start, mSaved.length);
}

bool FieldFocus::onFocusIn(QWidget* widget, QFocusEvent* event)
{
    // Coming back to the window (from another window, a menu or a message box) is not the
    // focus arriving in a field; only the activation that follows showing the window is.
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::PopupFocusReason)
        return false;
    if (reason == Qt::ActiveWindowFocusReason && !mActivationPending)
        return false;
    mActivationPending = false;

    const auto code = mFocusCodes.constFind(widget);
    if (code != mFocusCodes.cend()) {
        mTarget = *code;
        return false;
    }
    const auto field = mTextFields.constFind(widget);
    if (field == mTextFields.cend())
        return false;
    mTarget = field->code;
    if (!field->honoursHotKeyFocus || !mForHotKey) {
        selectAllText(widget);
        return false;
    }
    mForHotKey = false;
    // Keep the selection as it is. A line edit entered by Tab would select all by itself,
    // so it is told the focus came from elsewhere.
    if (qobject_cast<QLineEdit*>(widget)
        && (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason)) {
        QFocusEvent plain(QEvent::FocusIn, Qt::OtherFocusReason);
        mRedelivering = true;
        QCoreApplication::sendEvent(widget, &plain);
        mRedelivering = false;
        return true;
    }
    return false;
}

bool FieldFocus::eventFilter(QObject* watched, QEvent* event)
{
    if (mRedelivering || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (event->type() == QEvent::FocusIn)
        return onFocusIn(widget, static_cast<QFocusEvent*>(event));
    if (event->type() == QEvent::FocusOut) {
        // Seen before the field itself drops its selection.
        if (auto* line = qobject_cast<QLineEdit*>(widget); line && mTextFields.contains(widget))
            mSaved = {widget, line->selectionStart(), static_cast<int>(line->selectedText().size()),
                      line->cursorPosition()};
    }
    return false;
}
