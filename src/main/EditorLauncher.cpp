#include "main/EditorLauncher.h"

bool ShowRecordEditor(const QString& viewMode, QWidget* parent)
{
    (void)viewMode;
    (void)parent;
    return false;
}
