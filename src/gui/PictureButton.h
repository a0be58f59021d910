#pragma once
// A small button that shows a picture; its tooltip is its only text, so the tooltip is
// also its accessible name.

#include <QString>

class QAbstractButton;
class QFrame;
class QVBoxLayout;
class QHBoxLayout;
class QIcon;
class QPushButton;
class QToolButton;
class QWidget;

// Makes the program's icons available (they live in the library's resources).
void initQuillaryResources();
QIcon programIcon();

QToolButton* makePictureButton(QWidget* parent, const QString& objectName, const QString& iconName,
                               const QString& toolTip);
// The same as a push button, for dialogs, where it can be the default or cancel button.
QPushButton* makePicturePushButton(QWidget* parent, const QString& objectName, const QString& iconName,
                                   const QString& toolTip);
void setButtonToolTip(QAbstractButton* button, const QString& toolTip);

// The side of a button's picture: the height of a line of the button's font, so the
// pictures grow with the font and the screen's DPI.
int pictureSide(const QWidget* button);

// The row of a button bar frame: small margins, buttons of one group side by side. The
// caller adds the buttons, spacing between groups and a stretch.
QHBoxLayout* makeButtonBarLayout(QFrame* frame);
// The space between two groups of buttons in a bar.
int buttonGroupGap(const QWidget* bar);

// The button bar across the top of a dialog ("buttonBar") with its OK picture button
// (the default button) and, when asked, Cancel beside it. The caller puts the frame at the
// top of the dialog's layout.
struct DialogButtonBar {
    QFrame* frame;
    QPushButton* ok;
    QPushButton* cancel;  // null without Cancel
};
DialogButtonBar makeDialogButtonBar(QWidget* dialog, bool withCancel);

// A dialog as large as its contents need at any font: a column with the button bar across
// the top, into which the dialog adds its body.
struct DialogFrame {
    QVBoxLayout* column;
    DialogButtonBar bar;
};
DialogFrame makeDialogFrame(QWidget* dialog, bool withCancel);
