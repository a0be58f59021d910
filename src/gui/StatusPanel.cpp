#include "gui/StatusPanel.h"

#include <QAccessible>
#include <QPainter>
#include <QStyleOptionFrame>
#include <QTimer>

StatusPanel::StatusPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("statusPanel"));
    setAccessibleName(QString());
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    // One line high in any layout: a window made small must not squeeze the caption away.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
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
