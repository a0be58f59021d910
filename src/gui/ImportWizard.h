#pragma once
// File > Import...: a wizard that takes a CSV file of works, publishers or submissions
// through a preview, the mapping of its columns, the meaning of its status words and a dry
// run, before the import itself. Edit > Undo Last Import asks, then removes what the last
// import added.

#include <QByteArray>
#include <QList>
#include <QWizard>

#include "core/CsvImport.h"

class ImportMappingPage;
class Prompts;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;
class QWizardPage;
class Session;

class ImportWizard : public QWizard {
    Q_OBJECT
public:
    enum Page { FilePage, PreviewPage, MappingPage, StatusPage, SummaryPage };

    // The session's database must be open.
    ImportWizard(Session& session, Prompts& prompts, QWidget* parent = nullptr);

    // True once the import has been written.
    bool imported() const { return mImported; }
    const ImportReport& report() const { return mReport; }

    int nextId() const override;
    bool validateCurrentPage() override;

protected:
    void initializePage(int id) override;

private:
    QWizardPage* buildFilePage();
    QWizardPage* buildPreviewPage();
    QWizardPage* buildStatusPage();
    QWizardPage* buildSummaryPage();

    ImportKind kind() const;
    bool readChosenFile();
    void reread();
    void fillPreview();
    void fillStatusWords();
    QHash<QString, SubmissionStatus> chosenStatusWords() const;
    bool allWordsChosen() const;
    ImportOptions options(bool dryRun) const;
    void fillSummary();
    void saveReport();

    Session& mSession;
    Prompts& mPrompts;

    QLineEdit* mPathEdit = nullptr;
    QComboBox* mKindCombo = nullptr;
    QComboBox* mEncodingCombo = nullptr;
    QComboBox* mSeparatorCombo = nullptr;
    QComboBox* mDateOrderCombo = nullptr;
    QTableWidget* mPreview = nullptr;
    QLabel* mPreviewNote = nullptr;
    ImportMappingPage* mMappingPage = nullptr;
    QTableWidget* mStatusTable = nullptr;
    QLabel* mSummaryText = nullptr;
    QTableWidget* mRefusedTable = nullptr;

    QString mPath;
    QByteArray mBytes;
    CsvImportTable mDetected;     // as the file reads with nothing chosen
    CsvImportTable mTable;        // as it reads with the choices made
    DateOrder mDetectedOrder = DateOrder::DayMonthYear;
    bool mOrderFromLocale = false;
    ImportReport mReport;         // the dry run, then the import
    bool mImported = false;
};

// Runs the wizard over parent. True when it imported something (the listing is stale).
bool runImportWizard(QWidget* parent, Session& session, Prompts& prompts);

// Edit > Undo Last Import: says what the last import added and asks; removes it when the
// user agrees. True when the database changed.
bool runUndoLastImport(QWidget* parent, Session& session, Prompts& prompts);
