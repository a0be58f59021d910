#pragma once
// The Work editor: one row of the Work table with its genre, years and four yes/no flags.

#include "gui/editors/EditorWindow.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;

class WorkEditor : public EditorWindow {
    Q_OBJECT
public:
    WorkEditor(Session& session, Desktop desktop, QWidget* parent = nullptr);

    // Field codes of the hot-key target.
    enum Field { kName = 1, kYearWritten = 2, kYearAmended = 3 };

    // Each group: button 0 "Yes", button 1 "No".

protected:
    QWidget* firstField() const override;
    void loadDefaults() override;
    bool loadRecord(RecordStore& store, int id) override;
    void fillLists(RecordStore& store) override;
    SaveResult beforeSave() override;
    int writeRecord(RecordStore& store, int id) override;

private:
    // Controls; tests find them by their object names.
    QLabel* nameLabel = nullptr;
    QLineEdit* nameEdit = nullptr;
    QLabel* genreLabel = nullptr;
    QListWidget* genreList = nullptr;   // item data (Qt::UserRole): the genre's ID
    QLabel* yearWrittenLabel = nullptr;
    QLineEdit* yearWrittenEdit = nullptr;
    QLabel* yearAmendedLabel = nullptr;
    QLineEdit* yearAmendedEdit = nullptr;
    QGroupBox* submitFrame = nullptr;
    QGroupBox* submittedFrame = nullptr;
    QGroupBox* acceptedFrame = nullptr;
    QGroupBox* publishedFrame = nullptr;
    QButtonGroup* submitGroup = nullptr;
    QButtonGroup* submittedGroup = nullptr;
    QButtonGroup* acceptedGroup = nullptr;
    QButtonGroup* publishedGroup = nullptr;

    int mStoredGenre = 0;   // Genre_ID as loaded ("Amend"); 0 for "New" or none
};
