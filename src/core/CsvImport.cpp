#include "core/CsvImport.h"
#include "core/Money.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>
#include <vector>

#include "core/DatabaseBackup.h"
#include "core/ImportLog.h"
#include "core/ImportPlan.h"
#include "core/RecordStore.h"
#include "core/StoredDate.h"
#include "core/StoredValues.h"

namespace {

// Record names compare letter case aside, as the tables do.
QString foldName(const QString& text)
{
    return text.trimmed().toCaseFolded();
}

// --- Values ---

std::optional<bool> flagValue(const QString& text)
{
    const QString word = foldImportWord(text);
    if (word.isEmpty() || word == QLatin1String("no") || word == QLatin1String("n") || word == QLatin1String("false")
        || word == QLatin1String("0"))
        return false;
    if (word == QLatin1String("yes") || word == QLatin1String("y") || word == QLatin1String("true")
        || word == QLatin1String("1") || word == QLatin1String("x"))
        return true;
    return std::nullopt;
}


// A submission already there: the same work and publisher (references) and day sent.
struct SubmissionKey {
    int work;
    int publisher;
    qint64 day;
    bool operator==(const SubmissionKey&) const = default;
};
size_t qHash(const SubmissionKey& key, size_t seed = 0)
{
    return qHashMulti(seed, key.work, key.publisher, key.day);
}

class Importer {
public:
    Importer(SQLite::Database& database, const CsvImportTable& table, const ImportOptions& options)
        : mDatabase(database), mTable(table), mOptions(options), mCurrency(options.currency, options.locale)
    {
    }

    ImportReport run();

private:
    bool mapHeader();
    bool findDateOrder();
    void loadStored();
    void planRow(const CsvImportRow& row);
    void planWork(const CsvImportRow& row, QStringList& reasons);
    void planPublisher(const CsvImportRow& row, QStringList& reasons);
    void planSubmission(const CsvImportRow& row, QStringList& reasons);
    QString cell(const CsvImportRow& row, ImportField field) const;
    bool hasColumn(ImportField field) const { return mColumnOf.contains(field); }
    int genreRef(const QString& name);
    int typeRef(const QString& name);
    int workRef(const QString& name);
    int publisherRef(const QString& name);
    ImportCounts& kindCounts();

    SQLite::Database& mDatabase;
    const CsvImportTable& mTable;
    const ImportOptions& mOptions;
    ImportReport mReport;
    QHash<ImportField, int> mColumnOf;
    std::optional<ImportDateParser> mDates;
    Currency mCurrency;

    QHash<QString, int> mGenres, mTypes, mWorks, mPublishers;
    int mFirstGenre = 0;
    QSet<SubmissionKey> mSubmissionKeys;
    QSet<int> mSeenWorks, mSeenPublishers;
    QHash<QString, int> mStatusWordAt;  // folded word -> index in the report's list

    ImportPlan mPlan;
};

ImportCounts& Importer::kindCounts()
{
    return mOptions.kind == ImportKind::Works ? mReport.works
         : mOptions.kind == ImportKind::Publishers ? mReport.publishers : mReport.submissions;
}

bool Importer::mapHeader()
{
    mReport.header = mTable.header;
    mReport.columns = mOptions.columns ? *mOptions.columns : mapColumns(mOptions.kind, mTable.header);
    if (mReport.columns.size() != mTable.header.size()) {
        mReport.error = QStringLiteral("The mapping names %1 columns but the file has %2.")
                            .arg(mReport.columns.size())
                            .arg(mTable.header.size());
        return false;
    }
    const QList<ImportField> allowed = importFields(mOptions.kind);
    for (int c = 0; c < mReport.columns.size(); ++c) {
        const ImportField field = mReport.columns[c];
        if (field == ImportField::Ignored || !allowed.contains(field) || mColumnOf.contains(field)) {
            mReport.columns[c] = ImportField::Ignored;
            mReport.ignoredColumns << mTable.header[c];
            continue;
        }
        mColumnOf.insert(field, c);
    }
    QStringList missing;
    for (const ImportField field : allowed) {
        if (isRequiredField(mOptions.kind, field) && !mColumnOf.contains(field))
            missing << importFieldCaption(field);
    }
    if (!missing.isEmpty()) {
        mReport.error = QStringLiteral("The file has no column for the %1 of the %2, so it cannot be imported.")
                            .arg(missing.join(QStringLiteral(" or the ")), importKindName(mOptions.kind));
        return false;
    }
    return true;
}

bool Importer::findDateOrder()
{
    if (mOptions.dateOrder) {
        mReport.dateOrder = *mOptions.dateOrder;
        mReport.dateOrderGiven = true;
    } else {
        QList<DatedText> dates;
        for (const ImportField field : {ImportField::DateSent, ImportField::DateReturned, ImportField::DatePaid}) {
            if (!hasColumn(field))
                continue;
            for (const CsvImportRow& row : mTable.rows)
                dates.append({row.line, row.fields.at(mColumnOf.value(field))});
        }
        const DateOrderFinding finding = detectDateOrder(dates, mOptions.locale);
        if (!finding.ok) {
            mReport.error = finding.error;
            return false;
        }
        mReport.dateOrder = finding.order;
        mReport.dateOrderFromLocale = finding.fromLocale;
    }
    mDates.emplace(mReport.dateOrder, mOptions.locale);
    return true;
}

// Every name the rows are matched against, read once: one query per table, none per row.
void Importer::loadStored()
{
    auto load = [this](const char* statement, QHash<QString, int>& into) {
        SQLite::Statement query(mDatabase, statement);
        while (query.executeStep()) {
            const QString key = foldName(storedText(query.getColumn(1)));
            if (!into.contains(key))
                into.insert(key, query.getColumn(0).getInt());
        }
    };
    load("SELECT ID, Description_Singular FROM Genre ORDER BY ID;", mGenres);
    load("SELECT ID, Description_Plural FROM Genre ORDER BY ID;", mGenres);
    load("SELECT ID, Description FROM Publisher_Type ORDER BY ID;", mTypes);
    load("SELECT ID, Name FROM Work ORDER BY ID;", mWorks);
    load("SELECT ID, Name FROM Publisher ORDER BY ID;", mPublishers);
    {
        SQLite::Statement first(mDatabase, "SELECT ID FROM Genre ORDER BY ID LIMIT 1;");
        if (first.executeStep())
            mFirstGenre = first.getColumn(0).getInt();
    }
    if (mOptions.kind == ImportKind::Submissions) {
        SQLite::Statement query(mDatabase, "SELECT Work_ID, Publisher_ID, Date_Submitted FROM Submission;");
        while (query.executeStep())
            mSubmissionKeys.insert(SubmissionKey{query.getColumn(0).getInt(), query.getColumn(1).getInt(),
                                                 decodeStoredDate(storedValue(query.getColumn(2)), DateRule::PositiveOnly).toJulianDay()});
    }
}

QString Importer::cell(const CsvImportRow& row, ImportField field) const
{
    const auto found = mColumnOf.constFind(field);
    return found == mColumnOf.constEnd() ? QString() : row.fields.at(*found);
}

// A name's reference: the stored record, or one to add (the first spelling kept).
int Importer::genreRef(const QString& name)
{
    const QString key = foldName(name);
    if (key.isEmpty())
        return mFirstGenre;
    auto found = mGenres.constFind(key);
    if (found != mGenres.constEnd())
        return *found;
    mPlan.genres << name.trimmed();
    const int ref = -static_cast<int>(mPlan.genres.size());
    mGenres.insert(key, ref);
    return ref;
}

int Importer::typeRef(const QString& name)
{
    const QString key = foldName(name);
    if (key.isEmpty())
        return 0;
    auto found = mTypes.constFind(key);
    if (found != mTypes.constEnd())
        return *found;
    mPlan.types << name.trimmed();
    const int ref = -static_cast<int>(mPlan.types.size());
    mTypes.insert(key, ref);
    return ref;
}

int Importer::workRef(const QString& name)
{
    const QString key = foldName(name);
    auto found = mWorks.constFind(key);
    if (found != mWorks.constEnd())
        return *found;
    NewWork work;
    work.name = name.trimmed();
    work.genre = mFirstGenre;
    mPlan.works << work;
    const int ref = -static_cast<int>(mPlan.works.size());
    mWorks.insert(key, ref);
    return ref;
}

int Importer::publisherRef(const QString& name)
{
    const QString key = foldName(name);
    auto found = mPublishers.constFind(key);
    if (found != mPublishers.constEnd())
        return *found;
    NewPublisher publisher;
    publisher.name = name.trimmed();
    mPlan.publishers << publisher;
    const int ref = -static_cast<int>(mPlan.publishers.size());
    mPublishers.insert(key, ref);
    return ref;
}

void Importer::planWork(const CsvImportRow& row, QStringList& reasons)
{
    const QString name = cell(row, ImportField::Name).trimmed();
    if (name.isEmpty())
        reasons << QStringLiteral("the work has no name");
    NewWork work;
    work.name = name;
    work.yearWritten = cell(row, ImportField::YearWritten).trimmed();
    work.yearLastAmended = cell(row, ImportField::YearLastAmended).trimmed();
    const std::pair<ImportField, bool*> flags[] = {
        {ImportField::Submit, &work.submit},
        {ImportField::Submitted, &work.submitted},
        {ImportField::Accepted, &work.accepted},
        {ImportField::Published, &work.published},
    };
    for (const auto& [field, into] : flags) {
        const std::optional<bool> value = flagValue(cell(row, field));
        if (value)
            *into = *value;
        else
            reasons << QStringLiteral("%1 is \"%2\", not Yes or No").arg(importFieldCaption(field), cell(row, field));
    }
    if (!reasons.isEmpty())
        return;
    if (mWorks.contains(foldName(name))) {
        ++mReport.works.alreadyThere;
        return;
    }
    work.genre = genreRef(cell(row, ImportField::Genre));
    mPlan.works << work;
    mWorks.insert(foldName(name), -static_cast<int>(mPlan.works.size()));
}

void Importer::planPublisher(const CsvImportRow& row, QStringList& reasons)
{
    const QString name = cell(row, ImportField::Name).trimmed();
    if (name.isEmpty())
        reasons << QStringLiteral("the publisher has no name");
    NewPublisher publisher;
    publisher.name = name;
    publisher.guidelines = cell(row, ImportField::Guidelines);
    publisher.comments = cell(row, ImportField::Comments);
    publisher.address = cell(row, ImportField::Address);
    publisher.email = cell(row, ImportField::Email).trimmed();
    publisher.web = cell(row, ImportField::Web).trimmed();
    const std::pair<ImportField, bool*> flags[] = {
        {ImportField::SubmitTo, &publisher.submitTo},
        {ImportField::SubmittedTo, &publisher.submittedTo},
    };
    for (const auto& [field, into] : flags) {
        const std::optional<bool> value = flagValue(cell(row, field));
        if (value)
            *into = *value;
        else
            reasons << QStringLiteral("%1 is \"%2\", not Yes or No").arg(importFieldCaption(field), cell(row, field));
    }
    const QString days = cell(row, ImportField::AnswerWithinDays).trimmed();
    if (!days.isEmpty()) {
        bool isNumber = false;
        const int value = days.toInt(&isNumber);
        if (isNumber && value >= 0)
            publisher.answerWithinDays = value;
        else
            reasons << QStringLiteral("the days it answers within, \"%1\", is not a number of days").arg(days);
    }
    if (!reasons.isEmpty())
        return;
    if (mPublishers.contains(foldName(name))) {
        ++mReport.publishers.alreadyThere;
        return;
    }
    publisher.type = typeRef(cell(row, ImportField::Type));
    mPlan.publishers << publisher;
    mPublishers.insert(foldName(name), -static_cast<int>(mPlan.publishers.size()));
}

void Importer::planSubmission(const CsvImportRow& row, QStringList& reasons)
{
    const QString work = cell(row, ImportField::Work).trimmed();
    const QString publisher = cell(row, ImportField::Publisher).trimmed();
    if (work.isEmpty())
        reasons << QStringLiteral("it names no work");
    if (publisher.isEmpty())
        reasons << QStringLiteral("it names no publisher");
    NewSubmission submission;
    const std::pair<ImportField, QVariant*> dates[] = {
        {ImportField::DateSent, &submission.sent},
        {ImportField::DateReturned, &submission.returned},
        {ImportField::DatePaid, &submission.paid},
    };
    QDate returned;
    QDate sent;
    for (const auto& [field, into] : dates) {
        const QString text = cell(row, field);
        const ImportDateParser::Result date = mDates->parse(text);
        if (!date.empty && !date.date.isValid()) {
            reasons << QStringLiteral("%1 \"%2\": %3").arg(importFieldCaption(field), text.trimmed(), date.error);
            continue;
        }
        *into = encodeStoredDate(date.date);
        if (field == ImportField::DateSent)
            sent = date.date;
        else if (field == ImportField::DateReturned)
            returned = date.date;
    }
    for (const ImportField field : {ImportField::Fee, ImportField::Payment}) {
        const QString text = cell(row, field);
        const Currency::Parsed amount = mCurrency.parse(text);
        if (!amount.ok())
            reasons << QStringLiteral("%1 \"%2\": %3").arg(importFieldCaption(field), text.trimmed(), amount.error);
        else if (amount.minor)
            (field == ImportField::Fee ? submission.fee : submission.payment) = qlonglong(*amount.minor);
    }
    if (!submission.payment.isValid())
        submission.paid = 0;
    submission.outcome = cell(row, ImportField::Outcome);
    submission.notes = cell(row, ImportField::Notes);

    const QString word = cell(row, ImportField::Status).simplified();
    if (word.isEmpty()) {
        if (returned.isValid())
            reasons << QStringLiteral("returned but no status");
        submission.status = SubmissionStatus::Unreturned;
    } else {
        const QString key = foldImportWord(word);
        auto at = mStatusWordAt.constFind(key);
        if (at == mStatusWordAt.constEnd()) {
            StatusWordUse use;
            use.word = word;
            for (auto mapped = mOptions.statusWords.constBegin(); mapped != mOptions.statusWords.constEnd(); ++mapped) {
                if (foldImportWord(mapped.key()) == key) {
                    use.status = mapped.value();
                    use.mappedByUser = true;
                }
            }
            if (!use.status)
                use.status = knownStatusWord(word);
            if (!use.status)
                mReport.unknownStatusWords << word;
            mReport.statusWords << use;
            at = mStatusWordAt.insert(key, static_cast<int>(mReport.statusWords.size() - 1));
        }
        StatusWordUse& use = mReport.statusWords[*at];
        ++use.rows;
        if (!use.status) {
            reasons << QStringLiteral("the status \"%1\" is not known").arg(word);
        } else {
            submission.status = *use.status;
            // "Withdrawn" or "Rejection, Form" says more than the status: kept as the outcome.
            if (foldImportWord(statusCaption(submission.status)) != key && submission.outcome.trimmed().isEmpty())
                submission.outcome = word;
        }
    }
    if (!reasons.isEmpty())
        return;

    submission.work = workRef(work);
    submission.publisher = publisherRef(publisher);
    // Stored works and publishers the file names, each counted once.
    if (submission.work > 0 && !mSeenWorks.contains(submission.work)) {
        mSeenWorks.insert(submission.work);
        ++mReport.works.alreadyThere;
    }
    if (submission.publisher > 0 && !mSeenPublishers.contains(submission.publisher)) {
        mSeenPublishers.insert(submission.publisher);
        ++mReport.publishers.alreadyThere;
    }
    const SubmissionKey key{submission.work, submission.publisher, sent.toJulianDay()};
    if (mSubmissionKeys.contains(key)) {
        ++mReport.submissions.alreadyThere;
        return;
    }
    mSubmissionKeys.insert(key);
    mPlan.submissions << submission;
}

void Importer::planRow(const CsvImportRow& row)
{
    QStringList reasons;
    switch (mOptions.kind) {
    case ImportKind::Works:
        planWork(row, reasons);
        break;
    case ImportKind::Publishers:
        planPublisher(row, reasons);
        break;
    case ImportKind::Submissions:
        planSubmission(row, reasons);
        break;
    }
    if (!reasons.isEmpty()) {
        ++kindCounts().refused;
        mReport.refusedRows.append({row.line, reasons.join(QStringLiteral("; "))});
    }
}

// Writes the plan in the caller's transaction, with one prepared statement per table,
// and logs what it added.
ImportReport Importer::run()
{
    mReport.encoding = mTable.encoding;
    mReport.separator = separatorName(mTable.separator);
    if (!mTable.ok) {
        mReport.error = mTable.error;
        mReport.errorLine = mTable.errorLine;
        return mReport;
    }
    if (!mapHeader() || (mOptions.kind == ImportKind::Submissions && !findDateOrder()))
        return mReport;
    try {
        loadStored();
        for (const CsvImportRow& row : mTable.rows)
            planRow(row);
    } catch (const std::exception& e) {
        mReport.error = storeError(mDatabase, e).message();
        return mReport;
    }
    mReport.genres.added = static_cast<int>(mPlan.genres.size());
    mReport.publisherTypes.added = static_cast<int>(mPlan.types.size());
    mReport.works.added = static_cast<int>(mPlan.works.size());
    mReport.publishers.added = static_cast<int>(mPlan.publishers.size());
    mReport.submissions.added = static_cast<int>(mPlan.submissions.size());

    QStringList problems;
    if (!mReport.unknownStatusWords.isEmpty())
        problems << QStringLiteral("These status words are not known: %1. Say which status each means "
                                   "(unreturned, rejected, accepted or published).")
                        .arg(mReport.unknownStatusWords.join(QStringLiteral(", ")));
    if (!mReport.refusedRows.isEmpty())
        problems << QStringLiteral("%1 of %2 rows cannot be imported, so nothing was imported.")
                        .arg(mReport.refusedRows.size())
                        .arg(mTable.rows.size());
    if (!problems.isEmpty()) {
        mReport.error = problems.join(QLatin1Char(' '));
        mReport.errorLine = mReport.refusedRows.isEmpty() ? 0 : mReport.refusedRows.first().line;
        return mReport;
    }
    const bool addsNothing = mReport.works.added == 0 && mReport.publishers.added == 0
        && mReport.submissions.added == 0 && mReport.genres.added == 0 && mReport.publisherTypes.added == 0;
    // A file already imported writes nothing, not even a log entry, so that Undo Last Import
    // still undoes the import that added something.
    if (mOptions.dryRun || addsNothing) {
        mReport.ok = true;
        return mReport;
    }

    // A copy first: a wrong import into the only database is worse than none.
    if (mOptions.backupFolder.isEmpty() || !QDir().mkpath(mOptions.backupFolder)) {
        mReport.error = QStringLiteral("The backup folder \"%1\" cannot be made, so nothing was imported.")
                            .arg(mOptions.backupFolder);
        return mReport;
    }
    const QString backup = QDir(mOptions.backupFolder)
                               .filePath(beforeImportBackupName(mOptions.databasePath, mOptions.backupFolder,
                                                                mOptions.importedAt.date()));
    QString error;
    if (!backupDatabase(mDatabase, backup, &error)) {
        mReport.error = QStringLiteral("The database could not be copied to %1 before the import, so nothing "
                                       "was imported: %2")
                            .arg(backup, error);
        return mReport;
    }
    mReport.backupFile = backup;
    try {
        SQLite::Transaction transaction(mDatabase, SQLite::TransactionBehavior::IMMEDIATE);
        mReport.importId = writeImportPlan(mDatabase, mPlan, mOptions, kindCounts().added, kindCounts().alreadyThere);
        transaction.commit();
    } catch (const std::exception& e) {
        mReport.error = storeError(mDatabase, e).message();
        mReport.importId = 0;
        return mReport;
    }
    mReport.ok = true;
    mReport.written = true;
    return mReport;
}

} // namespace

ImportReport importCsv(SQLite::Database& database, const CsvImportTable& table, const ImportOptions& options)
{
    return Importer(database, table, options).run();
}

ImportReport importCsvFile(SQLite::Database& database, const QString& path, ImportOptions options)
{
    if (options.fileName.isEmpty())
        options.fileName = QFileInfo(path).fileName();
    return importCsv(database, readCsvImportFile(path), options);
}

QString beforeImportBackupName(const QString& databasePath, const QString& folder, const QDate& date)
{
    const QFileInfo info(databasePath);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    const QString stem = info.completeBaseName() + QLatin1Char('-') + date.toString(Qt::ISODate)
                       + QStringLiteral("-before-import-");
    const QDir dir(folder);
    for (int n = 1;; ++n) {
        const QString name = stem + QString::number(n) + suffix;
        if (!QFileInfo::exists(dir.filePath(name)))
            return name;
    }
}
