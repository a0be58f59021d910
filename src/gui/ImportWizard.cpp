#include "gui/ImportWizard.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringDecoder>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWizardPage>
#include <functional>

#include "core/Clock.h"
#include "core/Csv.h"
#include "core/OutputGuard.h"
#include "core/RecordStore.h"
#include "core/Session.h"
#include "gui/ImportMappingPage.h"
#include "gui/Prompts.h"
#include "gui/TableExport.h"

namespace {

constexpr int kPreviewRows = 20;

// A page whose Next (or Import) button waits for complete().
class CheckedPage : public QWizardPage {
public:
    std::function<bool()> complete;
    bool isComplete() const override { return complete ? complete() : true; }
    void recheck() { emit completeChanged(); }
};

// The bytes as UTF-8 with a byte-order mark, decoded as the user chose.
QByteArray recoded(const QByteArray& bytes, const QString& encoding)
{
    QByteArrayView data(bytes);
    QString text;
    if (encoding == QLatin1String("Windows-1252")) {
        QStringDecoder windows("windows-1252");
        text = windows.isValid() ? windows.decode(data) : QString::fromLatin1(bytes);
    } else {
        const QStringDecoder::Encoding chosen = encoding == QLatin1String("UTF-16LE") ? QStringDecoder::Utf16LE
                                              : encoding == QLatin1String("UTF-16BE") ? QStringDecoder::Utf16BE
                                                                                      : QStringDecoder::Utf8;
        QStringDecoder decoder(chosen);  // drops a byte-order mark
        text = decoder.decode(data);
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QTableWidgetItem* cellItem(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

QString countsText(const QString& what, const ImportCounts& counts)
{
    return QCoreApplication::translate("ImportWizard", "%1: %2 to add, %3 already there, %4 refused")
        .arg(what).arg(counts.added).arg(counts.alreadyThere).arg(counts.refused);
}

} // namespace

ImportWizard::ImportWizard(Session& session, Prompts& prompts, QWidget* parent)
    : QWizard(parent), mSession(session), mPrompts(prompts)
{
    setObjectName(QStringLiteral("importWizard"));
    setWindowTitle(tr("Import"));
    setWizardStyle(QWizard::ClassicStyle);
    setOption(QWizard::NoBackButtonOnLastPage, false);
    setButtonText(QWizard::FinishButton, tr("&Import"));
    setPage(FilePage, buildFilePage());
    setPage(PreviewPage, buildPreviewPage());
    mMappingPage = new ImportMappingPage(mSession.settings());
    setPage(MappingPage, mMappingPage);
    setPage(StatusPage, buildStatusPage());
    setPage(SummaryPage, buildSummaryPage());
    resize(760, 540);
}

QWizardPage* ImportWizard::buildFilePage()
{
    auto* page = new CheckedPage;
    page->setTitle(tr("The file to import"));
    page->setSubTitle(tr("A CSV file with a header row: a spreadsheet's or another tracker's."));
    mPathEdit = new QLineEdit;
    mPathEdit->setObjectName(QStringLiteral("importFile"));
    auto* browse = new QPushButton(tr("&Browse..."));
    browse->setObjectName(QStringLiteral("browseButton"));
    mKindCombo = new QComboBox;
    mKindCombo->setObjectName(QStringLiteral("importKind"));
    mKindCombo->addItem(tr("Submissions"), int(ImportKind::Submissions));
    mKindCombo->addItem(tr("Works"), int(ImportKind::Works));
    mKindCombo->addItem(tr("Publishers"), int(ImportKind::Publishers));
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(mPathEdit, 1);
    fileRow->addWidget(browse);
    auto* form = new QFormLayout(page);
    form->addRow(tr("&File:"), fileRow);
    form->addRow(tr("The rows are &of:"), mKindCombo);
    page->complete = [this] { return QFileInfo(mPathEdit->text().trimmed()).isFile(); };
    connect(mPathEdit, &QLineEdit::textChanged, page, [page] { page->recheck(); });
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString chosen = mPrompts.openFileName(this, tr("Import"), tr("CSV files (*.csv *.txt);;All files (*)"));
        if (!chosen.isEmpty())
            mPathEdit->setText(chosen);
    });
    return page;
}

QWizardPage* ImportWizard::buildPreviewPage()
{
    auto* page = new CheckedPage;
    page->setTitle(tr("How the file reads"));
    page->setSubTitle(tr("The first rows as read. Change what was detected if they do not look right."));
    mEncodingCombo = new QComboBox;
    mEncodingCombo->setObjectName(QStringLiteral("encoding"));
    mSeparatorCombo = new QComboBox;
    mSeparatorCombo->setObjectName(QStringLiteral("separator"));
    mDateOrderCombo = new QComboBox;
    mDateOrderCombo->setObjectName(QStringLiteral("dateOrder"));
    mPreview = new QTableWidget;
    mPreview->setObjectName(QStringLiteral("preview"));
    mPreviewNote = new QLabel;
    mPreviewNote->setWordWrap(true);
    auto* choices = new QFormLayout;
    choices->addRow(tr("&Encoding:"), mEncodingCombo);
    choices->addRow(tr("&Separator:"), mSeparatorCombo);
    choices->addRow(tr("&Dates:"), mDateOrderCombo);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(choices);
    layout->addWidget(mPreview, 1);
    layout->addWidget(mPreviewNote);
    page->complete = [this] { return mTable.ok; };
    for (QComboBox* combo : {mEncodingCombo, mSeparatorCombo})
        connect(combo, &QComboBox::activated, this, [this, page] {
            reread();
            page->recheck();
        });
    connect(mDateOrderCombo, &QComboBox::activated, this, [this] { fillPreview(); });
    return page;
}

QWizardPage* ImportWizard::buildStatusPage()
{
    auto* page = new CheckedPage;
    page->setTitle(tr("What the status words mean"));
    page->setSubTitle(tr("Each word the file uses, with the status it is stored as. Choose one for each word "
                         "that is not known."));
    mStatusTable = new QTableWidget(0, 3);
    mStatusTable->setObjectName(QStringLiteral("statusWords"));
    mStatusTable->setHorizontalHeaderLabels({tr("Word"), tr("Rows"), tr("Status")});
    mStatusTable->horizontalHeader()->setStretchLastSection(true);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(mStatusTable);
    page->complete = [this] { return allWordsChosen(); };
    return page;
}

QWizardPage* ImportWizard::buildSummaryPage()
{
    auto* page = new CheckedPage;
    page->setTitle(tr("What the import will do"));
    page->setSubTitle(tr("Nothing has been written yet. Import makes a copy of the database first."));
    mSummaryText = new QLabel;
    mSummaryText->setObjectName(QStringLiteral("summary"));
    mSummaryText->setWordWrap(true);
    mSummaryText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    mRefusedTable = new QTableWidget(0, 2);
    mRefusedTable->setObjectName(QStringLiteral("refusedRows"));
    mRefusedTable->setHorizontalHeaderLabels({tr("Line"), tr("Why it is refused")});
    mRefusedTable->horizontalHeader()->setStretchLastSection(true);
    auto* save = new QPushButton(tr("&Save Report..."));
    save->setObjectName(QStringLiteral("saveReportButton"));
    connect(save, &QPushButton::clicked, this, [this] { saveReport(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(save);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(mSummaryText);
    layout->addWidget(mRefusedTable, 1);
    layout->addLayout(buttons);
    page->complete = [this] { return mReport.ok; };
    page->setFinalPage(true);
    return page;
}

ImportKind ImportWizard::kind() const
{
    return static_cast<ImportKind>(mKindCombo->currentData().toInt());
}

int ImportWizard::nextId() const
{
    switch (currentId()) {
    case FilePage:
        return PreviewPage;
    case PreviewPage:
        return MappingPage;
    case MappingPage:
        return kind() == ImportKind::Submissions ? StatusPage : SummaryPage;
    case StatusPage:
        return SummaryPage;
    default:
        return -1;
    }
}

bool ImportWizard::validateCurrentPage()
{
    switch (currentId()) {
    case FilePage:
        return readChosenFile();
    case MappingPage:
        mMappingPage->rememberMapping();
        return true;
    case SummaryPage: {
        if (mImported)
            return true;
        mReport = mSession.store().importCsv(mTable, options(false));
        if (!mReport.ok) {
            mPrompts.message(this, tr("Nothing was imported: %1").arg(mReport.error), Prompts::Buttons::Ok,
                             Prompts::Icon::Critical);
            fillSummary();
            return false;
        }
        mImported = mReport.written;
        return true;
    }
    default:
        return true;
    }
}

void ImportWizard::initializePage(int id)
{
    switch (id) {
    case PreviewPage:
        fillPreview();
        break;
    case MappingPage:
        mMappingPage->fill(kind(), mTable.header);
        break;
    case StatusPage:
        fillStatusWords();
        break;
    case SummaryPage:
        mReport = mSession.store().importCsv(mTable, options(true));
        fillSummary();
        break;
    default:
        break;
    }
    QWizard::initializePage(id);
}

bool ImportWizard::readChosenFile()
{
    const QString path = mPathEdit->text().trimmed();
    mDetected = readCsvImportFile(path);
    if (!mDetected.ok) {
        mPrompts.message(this, tr("%1 cannot be imported: %2").arg(path, mDetected.error), Prompts::Buttons::Ok,
                         Prompts::Icon::Warning);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    mPath = path;
    mBytes = file.read(kMaxImportFileBytes);

    mEncodingCombo->clear();
    mEncodingCombo->addItem(tr("%1 (detected)").arg(mDetected.encoding), QString());
    for (const char* name : {"UTF-8", "Windows-1252", "UTF-16LE", "UTF-16BE"})
        mEncodingCombo->addItem(QString::fromLatin1(name), QString::fromLatin1(name));
    mSeparatorCombo->clear();
    mSeparatorCombo->addItem(tr("%1 (detected)").arg(separatorName(mDetected.separator)), QString());
    for (const QChar separator : {QLatin1Char(','), QLatin1Char(';'), QLatin1Char('\t')})
        mSeparatorCombo->addItem(separatorName(separator), QString(separator));
    mTable = mDetected;

    // The order the file's dates decide, found from the columns the header names.
    const QList<ImportField> columns = mapColumns(kind(), mTable.header);
    QList<DatedText> dates;
    for (int c = 0; c < columns.size(); ++c) {
        if (columns[c] != ImportField::DateSent && columns[c] != ImportField::DateReturned)
            continue;
        for (const CsvImportRow& row : mTable.rows)
            dates.append({row.line, row.fields.at(c)});
    }
    const DateOrderFinding finding = detectDateOrder(dates, QLocale());
    mDetectedOrder = finding.order;
    mOrderFromLocale = finding.fromLocale;
    mDateOrderCombo->clear();
    mDateOrderCombo->addItem(finding.ok ? tr("%1 (%2)").arg(dateOrderName(finding.order),
                                                            finding.fromLocale ? tr("the locale's") : tr("detected"))
                                        : tr("undecided: %1").arg(finding.error),
                             -1);
    for (const DateOrder order : {DateOrder::DayMonthYear, DateOrder::MonthDayYear, DateOrder::YearMonthDay})
        mDateOrderCombo->addItem(dateOrderName(order), int(order));
    mDateOrderCombo->setEnabled(kind() == ImportKind::Submissions);
    return true;
}

void ImportWizard::reread()
{
    const QString encoding = mEncodingCombo->currentData().toString();
    const QString separator = mSeparatorCombo->currentData().toString();
    const QChar chosen = separator.isEmpty() ? QChar() : separator.front();
    if (encoding.isEmpty()) {
        mTable = readCsvImport(mBytes, chosen);
    } else {
        mTable = readCsvImport(recoded(mBytes, encoding), chosen);
        mTable.encoding = encoding;
    }
    fillPreview();
}

void ImportWizard::fillPreview()
{
    mPreview->clear();
    if (!mTable.ok) {
        mPreview->setRowCount(0);
        mPreview->setColumnCount(0);
        mPreviewNote->setText(tr("The file cannot be read this way: %1").arg(mTable.error));
        return;
    }
    // Date columns show the day each date is read as, so that the order can be checked.
    const QList<ImportField> columns = mapColumns(kind(), mTable.header);
    const int chosenOrder = mDateOrderCombo->currentData().toInt();
    const ImportDateParser dates(chosenOrder < 0 ? mDetectedOrder : static_cast<DateOrder>(chosenOrder), QLocale());
    const int rows = static_cast<int>(std::min<qsizetype>(kPreviewRows, mTable.rows.size()));
    mPreview->setColumnCount(static_cast<int>(mTable.header.size()));
    mPreview->setRowCount(rows);
    mPreview->setHorizontalHeaderLabels(mTable.header);
    for (int r = 0; r < rows; ++r) {
        const CsvImportRow& row = mTable.rows[r];
        for (int c = 0; c < row.fields.size(); ++c) {
            QString text = row.fields[c];
            if (kind() == ImportKind::Submissions
                && (columns.value(c) == ImportField::DateSent || columns.value(c) == ImportField::DateReturned)) {
                const ImportDateParser::Result date = dates.parse(text);
                if (!date.empty)
                    text += date.date.isValid() ? tr("  \u2192 %1").arg(QLocale().toString(date.date, QLocale::LongFormat))
                                                : tr("  \u2192 %1").arg(date.error);
            }
            mPreview->setItem(r, c, cellItem(text));
        }
    }
    mPreviewNote->setText(tr("%n row(s) in the file.", nullptr, static_cast<int>(mTable.rows.size())));
}

void ImportWizard::fillStatusWords()
{
    // A dry run with every word left as the file has it lists each distinct word.
    ImportOptions words = options(true);
    words.statusWords.clear();
    const ImportReport found = mSession.store().importCsv(mTable, words);
    mStatusTable->setRowCount(static_cast<int>(found.statusWords.size()));
    for (int r = 0; r < found.statusWords.size(); ++r) {
        const StatusWordUse& use = found.statusWords[r];
        mStatusTable->setItem(r, 0, cellItem(use.word.isEmpty() ? tr("(empty)") : use.word));
        mStatusTable->item(r, 0)->setData(Qt::UserRole, use.word);
        mStatusTable->setItem(r, 1, cellItem(QString::number(use.rows)));
        auto* combo = new QComboBox;
        combo->setObjectName(QStringLiteral("status%1").arg(r));
        combo->addItem(tr("(choose)"), -1);
        for (const SubmissionStatus status : kSubmissionStatuses)
            combo->addItem(statusCaption(status), static_cast<int>(status));
        if (use.status)
            combo->setCurrentIndex(combo->findData(static_cast<int>(*use.status)));
        connect(combo, &QComboBox::activated, this,
                [this] { static_cast<CheckedPage*>(page(StatusPage))->recheck(); });
        mStatusTable->setCellWidget(r, 2, combo);
    }
    mStatusTable->resizeColumnsToContents();
}

QHash<QString, SubmissionStatus> ImportWizard::chosenStatusWords() const
{
    QHash<QString, SubmissionStatus> words;
    for (int r = 0; r < mStatusTable->rowCount(); ++r) {
        const auto* combo = static_cast<QComboBox*>(mStatusTable->cellWidget(r, 2));
        const QString word = mStatusTable->item(r, 0)->data(Qt::UserRole).toString();
        // The empty word follows the returned date; it is never mapped.
        if (combo && !word.trimmed().isEmpty() && combo->currentData().toInt() >= 0)
            words.insert(word, static_cast<SubmissionStatus>(combo->currentData().toInt()));
    }
    return words;
}

bool ImportWizard::allWordsChosen() const
{
    for (int r = 0; r < mStatusTable->rowCount(); ++r) {
        const auto* combo = static_cast<QComboBox*>(mStatusTable->cellWidget(r, 2));
        const bool empty = mStatusTable->item(r, 0)->data(Qt::UserRole).toString().trimmed().isEmpty();
        if (combo && !empty && combo->currentData().toInt() < 0)
            return false;
    }
    return true;
}

ImportOptions ImportWizard::options(bool dryRun) const
{
    ImportOptions options;
    options.kind = kind();
    options.columns = mMappingPage->chosenColumns();
    const int order = mDateOrderCombo->currentData().toInt();
    if (order >= 0)
        options.dateOrder = static_cast<DateOrder>(order);
    if (kind() == ImportKind::Submissions)
        options.statusWords = chosenStatusWords();
    options.dryRun = dryRun;
    options.backupFolder = mSession.locations().backupDir;
    options.databasePath = mSession.databasePath();
    options.currency = mSession.settings().currency().code();
    options.importedAt = QDateTime(mSession.clock().today(), QTime::currentTime());
    options.fileName = QFileInfo(mPath).fileName();
    return options;
}

void ImportWizard::fillSummary()
{
    QStringList lines;
    lines << tr("%1 (%2, %3)").arg(QFileInfo(mPath).fileName(), mTable.encoding, separatorName(mTable.separator));
    switch (kind()) {
    case ImportKind::Works:
        lines << countsText(tr("Works"), mReport.works);
        break;
    case ImportKind::Publishers:
        lines << countsText(tr("Publishers"), mReport.publishers);
        break;
    case ImportKind::Submissions:
        lines << tr("Dates read as %1").arg(dateOrderName(mReport.dateOrder))
              << countsText(tr("Submissions"), mReport.submissions)
              << tr("Works: %1 to add, %2 already there").arg(mReport.works.added).arg(mReport.works.alreadyThere)
              << tr("Publishers: %1 to add, %2 already there")
                     .arg(mReport.publishers.added).arg(mReport.publishers.alreadyThere);
        break;
    }
    if (mReport.genres.added > 0 || mReport.publisherTypes.added > 0)
        lines << tr("Genres to add: %1; publisher types to add: %2")
                     .arg(mReport.genres.added).arg(mReport.publisherTypes.added);
    if (!mReport.ignoredColumns.isEmpty())
        lines << tr("Columns not imported: %1").arg(mReport.ignoredColumns.join(QStringLiteral(", ")));
    if (!mReport.ok)
        lines << QString() << tr("Nothing can be imported: %1").arg(mReport.error);
    mSummaryText->setText(lines.join(QLatin1Char('\n')));
    mRefusedTable->setRowCount(static_cast<int>(mReport.refusedRows.size()));
    for (int r = 0; r < mReport.refusedRows.size(); ++r) {
        mRefusedTable->setItem(r, 0, cellItem(QString::number(mReport.refusedRows[r].line)));
        mRefusedTable->setItem(r, 1, cellItem(mReport.refusedRows[r].reason));
    }
    static_cast<CheckedPage*>(page(SummaryPage))->recheck();
}

void ImportWizard::saveReport()
{
    const QString suggested = QFileInfo(mPath).completeBaseName() + tr("-refused.csv");
    const QString path = checkedSaveName(this, mPrompts, ownFilesOf(mSession),
                                         mPrompts.saveFileName(this, tr("Save Report"), suggested,
                                                               tr("CSV files (*.csv)")));
    if (path.isEmpty())
        return;
    // Each refused row as the file has it, after its line and the reason.
    QHash<int, const CsvImportRow*> byLine;
    for (const CsvImportRow& row : mTable.rows)
        byLine.insert(row.line, &row);
    QList<QStringList> rows;
    for (const RefusedRow& refused : mReport.refusedRows) {
        QStringList cells{QString::number(refused.line), refused.reason};
        if (const CsvImportRow* row = byLine.value(refused.line))
            cells += row->fields;
        rows << cells;
    }
    QString error;
    if (!writeCsvFile(path, QStringList{tr("Line"), tr("Reason")} + mTable.header, rows, &error))
        mPrompts.message(this, tr("%1 could not be written: %2").arg(path, error), Prompts::Buttons::Ok,
                         Prompts::Icon::Critical);
}

bool runImportWizard(QWidget* parent, Session& session, Prompts& prompts)
{
    if (!session.isOpen())
        return false;
    ImportWizard wizard(session, prompts, parent);
    wizard.exec();
    return wizard.imported();
}

bool runUndoLastImport(QWidget* parent, Session& session, Prompts& prompts)
{
    if (!session.isOpen())
        return false;
    const std::optional<ImportLogEntry> last = session.store().lastImport();
    if (!last) {
        prompts.message(parent, QCoreApplication::translate("ImportWizard", "There is no import to undo."),
                        Prompts::Buttons::Ok, Prompts::Icon::Information);
        return false;
    }
    const QString question = QCoreApplication::translate("ImportWizard",
        "Undo the import of %1 made %2?\n\nIt added %3 submission(s), %4 work(s), %5 publisher(s), %6 genre(s) "
        "and %7 publisher type(s). These are removed; a work, publisher, genre or type that a record added since "
        "uses is kept.")
        .arg(last->fileName, QLocale().toString(last->importedAt, QLocale::ShortFormat))
        .arg(last->submissions).arg(last->works).arg(last->publishers).arg(last->genres).arg(last->publisherTypes);
    if (prompts.message(parent, question, Prompts::Buttons::YesNo, Prompts::Icon::Question, Prompts::Answer::No)
        != Prompts::Answer::Yes)
        return false;
    const UndoReport undone = session.store().undoLastImport();
    if (!undone.ok) {
        prompts.message(parent, QCoreApplication::translate("ImportWizard", "The import was not undone: %1")
                                    .arg(undone.error),
                        Prompts::Buttons::Ok, Prompts::Icon::Warning);
        return false;
    }
    return true;
}
