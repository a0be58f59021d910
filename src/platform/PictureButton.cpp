#include "platform/PictureButton.h"

#include <QIcon>
#include <QPushButton>
#include <QToolButton>

void InitQuillaryResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(quillary);
        return true;
    }();
    (void)done;
}

QIcon programIcon()
{
    InitQuillaryResources();
    return QIcon(QStringLiteral(":/icons/quillary.svg"));
}

QToolButton* makePictureButton(QWidget* parent, const QString& objectName, const QString& iconName,
                               const QString& toolTip)
{
    InitQuillaryResources();
    auto* button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(iconName)));
    button->setAutoRaise(false);
    button->setFocusPolicy(Qt::TabFocus);
    setButtonToolTip(button, toolTip);
    return button;
}

QPushButton* makePicturePushButton(QWidget* parent, const QString& objectName, const QString& iconName,
                                   const QString& toolTip)
{
    InitQuillaryResources();
    auto* button = new QPushButton(parent);
    button->setObjectName(objectName);
    button->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(iconName)));
    setButtonToolTip(button, toolTip);
    return button;
}

void setButtonToolTip(QAbstractButton* button, const QString& toolTip)
{
    button->setToolTip(toolTip);
    button->setAccessibleName(toolTip);
}
