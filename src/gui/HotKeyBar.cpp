#include "gui/HotKeyBar.h"

#include <QApplication>
#include <QBoxLayout>
#include <QKeyEvent>
#include <QPushButton>

#include "gui/StatusMessage.h"
#include "core/HotKeyText.h"
#include "core/KeyCodes.h"
#include "gui/KeySender.h"
#include "gui/PictureButton.h"
#include "gui/StatusPanel.h"

namespace {
constexpr int kMessageSeconds = 4;

// As high as the picture buttons beside it and square, unless its caption needs more width:
// a plain push button would ask for the width of a dialog button.
class HotKeyButton : public QPushButton {
public:
    using QPushButton::QPushButton;

    QSize sizeHint() const override
    {
        ensurePolished();
        const QFontMetrics metrics = fontMetrics();
        const int side = pictureSide(this) + 2 * metrics.averageCharWidth();
        const int caption = metrics.horizontalAdvance(text()) + 2 * metrics.averageCharWidth();
        return QSize(qMax(side, caption), side);
    }
    QSize minimumSizeHint() const override { return sizeHint(); }
};
}

HotKeyBar::HotKeyBar(QWidget* window, const QList<QPushButton*>& buttons, StatusPanel* panel)
    : QObject(window), mWindow(window), mButtons(buttons), mPanel(panel), mSender(new KeySender(this))
{
    for (int i = 0; i < mButtons.size(); ++i) {
        if (mButtons[i])
            connect(mButtons[i], &QPushButton::clicked, this, [this, i] { emit clicked(i); });
    }
}

HotKeyBar::~HotKeyBar()
{
    removeKeyFilter();
}

QList<QPushButton*> HotKeyBar::createButtons(QWidget* parent, QBoxLayout* layout)
{
    QList<QPushButton*> buttons;
    for (int i = 0; i < kMaxHotKeys; ++i) {
        auto* button = new HotKeyButton(parent);
        button->setObjectName(QStringLiteral("hotKeyButton%1").arg(i));
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        button->hide();
        if (layout)
            layout->addWidget(button);
        buttons << button;
    }
    return buttons;
}

void HotKeyBar::load(const QVector<HotKeyEntry>& hotKeys)
{
    mEntries = hotKeys;
    for (int i = 0; i < mButtons.size(); ++i) {
        QPushButton* button = mButtons[i];
        if (!button)
            continue;
        if (i < mEntries.size()) {
            const QString tip = QStringLiteral("Insert Text \"") + keysToText(mEntries[i].text) + QLatin1Char('"');
            button->setText(mEntries[i].caption);
            button->setToolTip(tip);
            button->setAccessibleName(mEntries[i].caption);
            button->setAccessibleDescription(tip);
            button->show();
        } else {
            button->hide();
        }
    }
}

bool HotKeyBar::keyDown(QKeyEvent* event)
{
    if (!event || KeySender::isSentKey(event))
        return false;
    const int code = virtualKeyCode(event->key(), event->modifiers());
    if (code == 0)
        return false;
    for (int i = 0; i < mEntries.size(); ++i) {
        if (mEntries[i].code == code) {
            send(i);
            break;
        }
    }
    return false;
}

void HotKeyBar::send(int index)
{
    if (index < 0 || index >= mEntries.size())
        return;
    const QString reason = mSender->send(mEntries[index].text);
    if (!reason.isEmpty())
        showReason(reason);
}

void HotKeyBar::showReason(const QString& reason)
{
    // showStatusMessage finds the window's own panel and timer by name; a panel placed
    // elsewhere still gets the text.
    if (mPanel && mWindow->findChild<StatusPanel*>(QStringLiteral("statusPanel")) != mPanel)
        mPanel->setCaption(reason + QLatin1Char(' '));
    else
        showStatusMessage(mWindow, reason, kMessageSeconds);
}

void HotKeyBar::installKeyFilter()
{
    if (mPreview)
        return;
    qApp->installEventFilter(this);
    mPreview = true;
}

void HotKeyBar::removeKeyFilter()
{
    if (!mPreview)
        return;
    if (qApp)
        qApp->removeEventFilter(this);
    mPreview = false;
}

QPushButton* HotKeyBar::button(int index) const
{
    return index >= 0 && index < mButtons.size() ? mButtons[index] : nullptr;
}

bool HotKeyBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget != mWindow && !mWindow->isAncestorOf(widget))
        return false;
    // A key the focused control ignores travels on to its parents, passing this filter
    // again each time: only its first delivery counts.
    QWidget* focus = QApplication::focusWidget();
    const bool first = focus ? widget == focus : widget == mWindow;
    if (first)
        keyDown(static_cast<QKeyEvent*>(event));
    return false;
}
