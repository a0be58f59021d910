#pragma once
// Controls the record editors build the same way. They are placed by layouts; sizes are
// asked for in lines and characters of the control's own font, so they follow the font and
// the screen's DPI.

// Callers go on to use what they get, so the widget headers come along.
#include <QBoxLayout>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QString>
#include <QStringList>

// A caption for buddy.
QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, QWidget* buddy);

// A one-line field; maxLength 0 leaves the length open.
QLineEdit* makeLineEdit(QWidget* parent, const QString& name, int maxLength = 0);
// Makes a short field (a year, a date) exactly as wide as widest needs, with room for the caret.
void fitFieldTo(QLineEdit* field, const QString& widest);
// A field of several lines, lines high when the window is at its first size and never less
// than two lines. Tab moves on to the next field, as everywhere else in the window.
QPlainTextEdit* makeTextArea(QWidget* parent, const QString& name, int lines);

// A list that keeps the order it is filled in, rows entries high at first and at least three.
// It is as wide as its widest entry (up to a third of the screen, beyond which it scrolls),
// following what it is filled with.
QListWidget* makeList(QWidget* parent, const QString& name, QAbstractItemView::SelectionMode mode, int rows);

// An exclusive group of option buttons in a titled frame, one above the other: the frame
// "<name>Frame", the group "<name>Group", buttons "<name>Option0", "<name>Option1", ... with
// IDs 0, 1, ... from the top.
QButtonGroup* makeOptionGroup(QWidget* parent, QGroupBox** frame, const QString& name, const QString& title,
                              const QStringList& captions);
// Button 0 "Yes", button 1 "No", each named for screen readers with the frame's title.
QButtonGroup* makeYesNoGroup(QWidget* parent, QGroupBox** frame, const QString& name, const QString& title);

// A caption above its field; the field takes the height the layout gives.
QVBoxLayout* captionAbove(QLabel* caption, QWidget* field);

// Gives every item of column that has a stretch a stretch equal to its first height, so that
// all of them grow in proportion when the window does (and not the smaller ones first).
void stretchByHeight(QBoxLayout* column);

// The ID (Qt::UserRole) of the first selected entry; 0 when nothing is selected.
int selectedItemId(const QListWidget* list);
