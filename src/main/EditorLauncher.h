#pragma once
// Opens the record editor of a view modally. The editors leave their results in the
// shared state (gNavigate, gDataChanged, gSelectID).

#include <QString>

class QWidget;

// False when the view has no editor.
bool ShowRecordEditor(const QString& viewMode, QWidget* parent);
