#include "support/LayoutCheck.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// A tool button that shows its action's picture alone: the text is never drawn.
bool isPictureOnly(const QAbstractButton* button)
{
    const auto* tool = qobject_cast<const QToolButton*>(button);
    return tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly;
}

// A control of the window's own, not a part inside a list, text area or combo box.
bool isControl(const QWidget* widget, const QWidget* window)
{
    for (const QWidget* up = widget->parentWidget(); up && up != window; up = up->parentWidget()) {
        if (qobject_cast<const QAbstractScrollArea*>(up) || qobject_cast<const QComboBox*>(up))
            return false;
    }
    return qobject_cast<const QLabel*>(widget) || qobject_cast<const QAbstractButton*>(widget)
        || qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractScrollArea*>(widget)
        || qobject_cast<const QComboBox*>(widget) || qobject_cast<const QGroupBox*>(widget)
        || widget->objectName() == QLatin1String("statusPanel") || widget->objectName() == QLatin1String("buttonBar");
}

QString shownText(QString text)
{
    // "&&" shows one "&"; a single "&" marks the access key and is not drawn.
    text.replace(QLatin1String("&&"), QString(QChar(0x1)));
    text.remove(QLatin1Char('&'));
    text.replace(QChar(0x1), QLatin1Char('&'));
    return text;
}

} // namespace

void expectLaidOutWhole(QWidget* window)
{
    QList<QWidget*> controls;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->isVisibleTo(window) && isControl(widget, window))
            controls << widget;
    }
    ASSERT_FALSE(controls.isEmpty());
    for (QWidget* control : controls) {
        const std::string name = control->objectName().toStdString();
        const QRect place(control->mapTo(window, QPoint(0, 0)), control->size());
        EXPECT_TRUE(window->rect().contains(place)) << name;
        if (control->objectName() == QLatin1String("statusPanel")) {
            EXPECT_GE(control->height(), control->fontMetrics().height()) << name;
        } else if (auto* label = qobject_cast<QLabel*>(control); label && label->pixmap().isNull()) {
            EXPECT_GE(label->width(), label->sizeHint().width()) << name;
            EXPECT_GE(label->height(), label->sizeHint().height()) << name;
        } else if (auto* button = qobject_cast<QAbstractButton*>(control); button && !button->text().isEmpty()
                   && !isPictureOnly(button)) {
            EXPECT_GT(button->width(), button->fontMetrics().horizontalAdvance(shownText(button->text()))) << name;
            EXPECT_GE(button->height(), button->fontMetrics().height()) << name;
        }
        for (QWidget* other : controls) {
            if (other != control && other->parentWidget() == control->parentWidget())
                EXPECT_FALSE(control->geometry().intersects(other->geometry()))
                    << name << " overlaps " << other->objectName().toStdString();
        }
    }
}

LargeFont::LargeFont(double factor) : mOld(QApplication::font())
{
    QFont large = mOld;
    if (large.pointSizeF() > 0)
        large.setPointSizeF(large.pointSizeF() * factor);
    else
        large.setPixelSize(qRound(large.pixelSize() * factor));
    QApplication::setFont(large);
}

LargeFont::~LargeFont()
{
    QApplication::setFont(mOld);
}
