#pragma once
// The Work editor: one row of the Work table with its genre, years and four yes/no flags.

#include "editors/EditorBase.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;

class frmWork : public EditorBase {
    Q_OBJECT
public:
    frmWork(Session& session, Desktop desktop, QWidget* parent = nullptr);

    // Field codes of the hot-key target.
    enum Field { kName = 1, kYearWritten = 2, kYearAmended = 3 };

    QLabel* lblName = nullptr;
    QLineEdit* txtName = nullptr;
    QLabel* lblGenre = nullptr;
    QListWidget* lstGenre = nullptr;   // item data (Qt::UserRole): the genre's ID
    QLabel* lblYearWritten = nullptr;
    QLineEdit* txtYearWritten = nullptr;
    QLabel* lblYearAmended = nullptr;
    QLineEdit* txtYearAmended = nullptr;
    // Each group: button 0 "Yes", button 1 "No".
    QGroupBox* frmSubmit = nullptr;
    QGroupBox* frmSubmitted = nullptr;
    QGroupBox* frmAccepted = nullptr;
    QGroupBox* frmPublished = nullptr;
    QButtonGroup* optSubmit = nullptr;
    QButtonGroup* optSubmitted = nullptr;
    QButtonGroup* optAccepted = nullptr;
    QButtonGroup* optPublished = nullptr;

protected:
    QWidget* firstField() const override;
    void loadDefaults() override;
    bool loadRecord(RecordStore& store, int id) override;
    void fillLists(RecordStore& store) override;
    SaveResult beforeSave() override;
    int writeRecord(RecordStore& store, int id) override;

private:
    int mStoredGenre = 0;   // Genre_ID as loaded ("Amend"); 0 for "New" or none
};
