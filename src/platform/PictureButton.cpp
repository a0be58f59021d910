#include "platform/PictureButton.h"

#include <QFrame>
#include <QIcon>
#include <QPushButton>
#include <QToolButton>

#include "platform/Twips.h"

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

DialogButtonBar makeDialogButtonBar(QWidget* dialog, int widthTwips, bool withCancel)
{
    auto* frame = new QFrame(dialog);
    frame->setObjectName(QStringLiteral("fraButtons"));
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setGeometry(twipsRect(0, 0, widthTwips, 540, dialog));
    QPushButton* ok = makePicturePushButton(frame, QStringLiteral("cmdOK"), QStringLiteral("ok"), QStringLiteral("OK"));
    ok->setGeometry(twipsRect(120, 120, 405, 375, dialog));
    ok->setDefault(true);
    QPushButton* cancel = nullptr;
    if (withCancel) {
        cancel = makePicturePushButton(frame, QStringLiteral("cmdCancel"), QStringLiteral("cancel"), QStringLiteral("Cancel"));
        cancel->setGeometry(twipsRect(510, 120, 400, 380, dialog));
    }
    return {frame, ok, cancel};
}
