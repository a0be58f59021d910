#pragma once
// Helpers every window uses.

#include <QString>

class QWidget;

inline const QString kProgramTitle = QStringLiteral("Quillary");

// Shows text in the window's "statusPanel" and restarts its "messageTimer" to clear it after
// the given seconds; 0 keeps the message until the next one.
void showStatusMessage(QWidget* window, const QString& text, int seconds);
