#pragma once
// The import wizard's page for what each column of the file holds: one field choice per
// column, found from the header, or as it was the last time a file had this header.

#include <QList>
#include <QStringList>
#include <QWizardPage>

#include "core/CsvImport.h"

class QComboBox;
class QGridLayout;
class QLabel;
class Settings;

class ImportMappingPage : public QWizardPage {
    Q_OBJECT
public:
    explicit ImportMappingPage(const Settings& settings, QWidget* parent = nullptr);

    // Offers the fields of kind for each column of header.
    void fill(ImportKind kind, const QStringList& header);
    // The field chosen for each column, in the file's order.
    QList<ImportField> chosenColumns() const;
    // Remembers the choices in the settings file for the next file with this header.
    void rememberMapping() const;

    // Complete once every required field has a column.
    bool isComplete() const override;

private:
    void onFieldChosen(int column);
    QString missingFields() const;

    const Settings& mSettings;
    ImportKind mKind = ImportKind::Submissions;
    QStringList mHeader;
    QGridLayout* mGrid = nullptr;
    QList<QComboBox*> mFieldCombos;
    QLabel* mNote = nullptr;
};

// Where a header's mapping is remembered in the settings file: the section, and the key
// for the kind and the header (its column names, letter case and blanks aside).
inline constexpr const char* kImportMappingSection = "Import-Mappings";
QString importMappingKey(ImportKind kind, const QStringList& header);
