#pragma once
// A small button that shows a picture; its tooltip is its only text, so the tooltip is
// also its accessible name.

#include <QString>

class QAbstractButton;
class QFrame;
class QIcon;
class QPushButton;
class QToolButton;
class QWidget;

// Makes the program's icons available (they live in the library's resources).
void InitQuillaryResources();
QIcon programIcon();

QToolButton* makePictureButton(QWidget* parent, const QString& objectName, const QString& iconName,
                               const QString& toolTip);
// The same as a push button, for dialogs, where it can be the default or cancel button.
QPushButton* makePicturePushButton(QWidget* parent, const QString& objectName, const QString& iconName,
                                   const QString& toolTip);
void setButtonToolTip(QAbstractButton* button, const QString& toolTip);

// The button bar across the top of a dialog ("fraButtons", 540 twips high) with its OK
// picture button (the default button) and, when asked, Cancel beside it.
struct DialogButtonBar {
    QFrame* frame;
    QPushButton* ok;
    QPushButton* cancel;  // null without Cancel
};
DialogButtonBar makeDialogButtonBar(QWidget* dialog, int widthTwips, bool withCancel);
