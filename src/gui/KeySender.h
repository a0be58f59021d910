#pragma once
// Types a hot-key text: its keystrokes are queued and posted one at a time, each as a key
// press and release to the widget that has the focus when its turn comes, so "{TAB}" moves
// the focus and the keys after it land in the next field. The events pass through
// application and object event filters like typed keys.

#include <QObject>
#include <QQueue>
#include <QString>

#include "core/HotKeyText.h"

class QKeyEvent;

class KeySender : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Queues the keystrokes of the text and returns at once. A text that is not valid
    // notation types nothing; the result is the reason ("" when the keys were queued).
    QString send(const QString& keysText);
    // True while queued keystrokes have not all been delivered yet.
    bool busy() const { return mBusy; }

    // True for the key events a KeySender posts, so that hot-key matching can ignore them.
    static bool isSentKey(const QKeyEvent* event);

private:
    void scheduleNext();
    void deliverNext();

    QQueue<KeyStroke> mPending;
    bool mBusy = false;
};
