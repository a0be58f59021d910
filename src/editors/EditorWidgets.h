#pragma once
// Controls the record editors build the same way. Places are given in twips.

// Callers go on to use what they get, so the widget headers come along.
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRect>
#include <QString>
#include <QStringList>

// A caption for buddy, sized to its text, its top-left corner at (left, top).
QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, QWidget* buddy, int left, int top);

// A one-line field; maxLength 0 leaves the length open.
QLineEdit* makeLineEdit(QWidget* parent, const QString& name, const QRect& place, int maxLength = 0);
// A field of several lines. Tab moves on to the next field, as everywhere else in the window.
QPlainTextEdit* makeTextArea(QWidget* parent, const QString& name, const QRect& place);

// A list that keeps the order it is filled in.
QListWidget* makeList(QWidget* parent, const QString& name, QAbstractItemView::SelectionMode mode,
                      const QRect& place);

// An exclusive group of option buttons in a titled frame: the frame "frm<name>" at frameTwips,
// the group "opt<name>", buttons "opt<name>0", "opt<name>1", ... with IDs 0, 1, ... from the
// top, 240 twips apart, at buttonLeft, at least buttonWidth wide.
QButtonGroup* makeOptionGroup(QWidget* parent, QGroupBox** frame, const QString& name, const QString& title,
                              const QRect& frameTwips, int buttonLeft, int buttonWidth, const QStringList& captions);
// Button 0 "Yes", button 1 "No", each named for screen readers with the frame's title.
QButtonGroup* makeYesNoGroup(QWidget* parent, QGroupBox** frame, const QString& name, const QString& title,
                             const QRect& frameTwips, int buttonLeft);

// The ID (Qt::UserRole) of the first selected entry; 0 when nothing is selected.
int selectedItemId(const QListWidget* list);
