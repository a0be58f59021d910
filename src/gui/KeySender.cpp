#include "gui/KeySender.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace {

// Marks the events we post; with no native scan code, Qt's shortcut matching also keeps to
// the key and modifiers given.
constexpr quint32 kSentKeyMarker = 0x53454E44;

} // namespace

QString KeySender::send(const QString& keysText)
{
    const ParsedKeys parsed = parseSendKeys(keysText);
    if (!parsed.ok())
        return parsed.error;
    for (const KeyStroke& s : parsed.strokes)
        mPending.enqueue(s);
    if (!mBusy) {
        mBusy = true;
        scheduleNext();
    }
    return QString();
}

bool KeySender::isSentKey(const QKeyEvent* event)
{
    return event && event->nativeModifiers() == kSentKeyMarker && event->nativeScanCode() == 0;
}

void KeySender::scheduleNext()
{
    QMetaObject::invokeMethod(this, [this] { deliverNext(); }, Qt::QueuedConnection);
}

void KeySender::deliverNext()
{
    // One more turn after the last keystroke, so that busy() stays true until its press and
    // release have been delivered.
    if (mPending.isEmpty()) {
        mBusy = false;
        return;
    }
    const KeyStroke s = mPending.dequeue();
    if (QWidget* target = QApplication::focusWidget()) {
        QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, s.key, s.modifiers, 0, 0,
                                                          kSentKeyMarker, s.text));
        QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, s.key, s.modifiers, 0, 0,
                                                          kSentKeyMarker, s.text));
    }
    scheduleNext();
}
