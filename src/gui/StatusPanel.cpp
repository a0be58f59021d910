#include "gui/StatusPanel.h"

#include <QAccessible>
#include <QPainter>
#include <QStyleOptionFrame>
#include <QTimer>
#include <QToolButton>

StatusPanel::StatusPanel(QWidget* parent) : QWidget(parent), mCancel(new QToolButton(this))
{
    setObjectName(QStringLiteral("statusPanel"));
    setAccessibleName(QString());
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    // One line high in any layout: a window made small must not squeeze the caption away.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    mCancel->setObjectName(QStringLiteral("cancelButton"));
    mCancel->setText(tr("Cancel"));
    mCancel->setToolTip(tr("Stop listing (Esc)"));
    mCancel->setAutoRaise(true);
    mCancel->setFocusPolicy(Qt::NoFocus);
    mCancel->hide();
    connect(mCancel, &QToolButton::clicked, this, &StatusPanel::cancelClicked);
}

void StatusPanel::setCancelVisible(bool visible)
{
    mCancel->setVisible(visible);
}

bool StatusPanel::cancelVisible() const
{
    return mCancel->isVisibleTo(this);
}

void StatusPanel::resizeEvent(QResizeEvent*)
{
    // Inside the frame at the right end, never taller than the panel.
    const int width = mCancel->sizeHint().width();
    mCancel->setGeometry(this->width() - width - 1, 1, width, height() - 2);
}

void StatusPanel::setCaption(const QString& caption)
{
    if (caption == mCaption)
        return;
    mCaption = caption;
    // Screen readers read the panel by its name: keep it equal to the caption.
    setAccessibleName(caption.trimmed());
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
    update();
}

void StatusPanel::setFillMode(bool on)
{
    mFillMode = on;
    if (!on)
        mFillPercent = 0;
    update();
}

void StatusPanel::setFillPercent(int percent)
{
    mFillPercent = qBound(0, percent, 100);
    update();
}

void StatusPanel::setTextColor(const QColor& colour)
{
    mTextColor = colour;
    update();
}

QSize StatusPanel::sizeHint() const
{
    return QSize(200, fontMetrics().height() + 6);
}

void StatusPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect frame = rect();
    painter.fillRect(frame, palette().window());
    if (mFillMode && mFillPercent > 0) {
        QRect bar = frame.adjusted(1, 1, -1, -1);
        bar.setWidth(bar.width() * mFillPercent / 100);
        painter.fillRect(bar, palette().highlight());
    }
    painter.setPen(palette().mid().color());
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    painter.setPen(mTextColor);
    painter.drawText(frame.adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, mCaption);
}

QTimer* createMessageTimer(QWidget* window, StatusPanel* panel)
{
    auto* timer = new QTimer(window);
    timer->setObjectName(QStringLiteral("messageTimer"));
    QObject::connect(timer, &QTimer::timeout, panel, [panel] { panel->setCaption(QString()); });
    return timer;
}
