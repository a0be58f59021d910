#pragma once
// The hot keys of an editor window: the five hot-key buttons, the keys that fire a hot key,
// and the typing of its text into the focused field.
//
// The editor creates its buttons (createButtons puts five hidden square buttons, wider for a
// long caption, named hotKeyButton0 to hotKeyButton4 into a layout) and hands them over with its
// status panel. A button click only emits clicked(i): the editor moves the focus to its target
// field and calls send(i).
// installKeyFilter() lets the bar see every key press of the window before the focused control,
// through an application event filter that takes the presses delivered to the window's focus
// widget; the keys themselves still reach the control.

#include <QList>
#include <QVector>

#include "core/HotKeyText.h"
#include <QObject>

class QBoxLayout;
class QKeyEvent;
class QPushButton;
class QWidget;
class StatusPanel;

class KeySender;

class HotKeyBar : public QObject {
    Q_OBJECT
public:
    // buttons: index i belongs to hot key i; fewer than five are allowed.
    HotKeyBar(QWidget* window, const QList<QPushButton*>& buttons, StatusPanel* panel);
    ~HotKeyBar() override;

    // Five square buttons, hotKeyButton0 to hotKeyButton4, hidden, appended to the layout in order.
    static QList<QPushButton*> createButtons(QWidget* parent, QBoxLayout* layout);

    // Shows a button with caption and tooltip for each hot key, hides the rest; the keys
    // and texts that keyDown and send use from now on.
    void load(const QVector<HotKeyEntry>& hotKeys);
    // The window's key-down: sends the text of the first hot key whose code is the key's.
    // Keys a KeySender typed are not looked at, so a text holding its own key cannot loop.
    // Always false: the key is not consumed.
    bool keyDown(QKeyEvent* event);
    // Types hot key i's text into the focused widget; an invalid text types nothing and
    // the reason goes to the status panel.
    void send(int index);

    // Calls keyDown for every key press in the window before its focused control sees it.
    void installKeyFilter();
    void removeKeyFilter();

    QPushButton* button(int index) const;

signals:
    void clicked(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showReason(const QString& reason);

    QWidget* mWindow;
    QVector<HotKeyEntry> mEntries;
    QList<QPushButton*> mButtons;
    StatusPanel* mPanel;
    KeySender* mSender;
    bool mPreview = false;
};
