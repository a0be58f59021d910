#include "gui/PictureButton.h"

#include <QBoxLayout>
#include <QFrame>
#include <QIcon>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

void initQuillaryResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(quillary);
        return true;
    }();
    (void)done;
}

QIcon programIcon()
{
    initQuillaryResources();
    return QIcon(QStringLiteral(":/icons/quillary.svg"));
}

QToolButton* makePictureButton(QWidget* parent, const QString& objectName, const QString& iconName,
                               const QString& toolTip)
{
    initQuillaryResources();
    auto* button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(iconName)));
    button->setIconSize(QSize(pictureSide(button), pictureSide(button)));
    button->setAutoRaise(false);
    button->setFocusPolicy(Qt::TabFocus);
    setButtonToolTip(button, toolTip);
    return button;
}

QPushButton* makePicturePushButton(QWidget* parent, const QString& objectName, const QString& iconName,
                                   const QString& toolTip)
{
    initQuillaryResources();
    auto* button = new QPushButton(parent);
    button->setObjectName(objectName);
    button->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(iconName)));
    button->setIconSize(QSize(pictureSide(button), pictureSide(button)));
    setButtonToolTip(button, toolTip);
    return button;
}

void setButtonToolTip(QAbstractButton* button, const QString& toolTip)
{
    button->setToolTip(toolTip);
    button->setAccessibleName(toolTip);
}

int pictureSide(const QWidget* button)
{
    return qMax(16, button->fontMetrics().height());
}

QHBoxLayout* makeButtonBarLayout(QFrame* frame)
{
    auto* row = new QHBoxLayout(frame);
    const int margin = qMax(2, frame->style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing) / 2 + frame->frameWidth());
    row->setContentsMargins(margin, margin, margin, margin);
    row->setSpacing(1);
    return row;
}

int buttonGroupGap(const QWidget* bar)
{
    return qMax(6, bar->fontMetrics().height() / 2);
}

DialogButtonBar makeDialogButtonBar(QWidget* dialog, bool withCancel)
{
    auto* frame = new QFrame(dialog);
    frame->setObjectName(QStringLiteral("buttonBar"));
    frame->setFrameShape(QFrame::StyledPanel);
    QHBoxLayout* row = makeButtonBarLayout(frame);
    QPushButton* ok = makePicturePushButton(frame, QStringLiteral("okButton"), QStringLiteral("ok"), QStringLiteral("OK"));
    ok->setDefault(true);
    row->addWidget(ok);
    QPushButton* cancel = nullptr;
    if (withCancel) {
        cancel = makePicturePushButton(frame, QStringLiteral("cancelButton"), QStringLiteral("cancel"), QStringLiteral("Cancel"));
        row->addWidget(cancel);
    }
    row->addStretch(1);
    return {frame, ok, cancel};
}

DialogFrame makeDialogFrame(QWidget* dialog, bool withCancel)
{
    auto* column = new QVBoxLayout(dialog);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSizeConstraint(QLayout::SetFixedSize);
    const DialogButtonBar bar = makeDialogButtonBar(dialog, withCancel);
    column->addWidget(bar.frame);
    return DialogFrame{column, bar};
}
