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
#include "core/RecordStore.h"
#include "core/StoredValues.h"

namespace {

// --- Columns ---

struct FieldNames {
    ImportField field;
    QStringList names;  // this program's export caption first
};

const QList<FieldNames>& fieldNames(ImportKind kind)
{
    static const QList<FieldNames> works = {
        {ImportField::Name, {"Work", "Title", "Story", "Poem", "Piece", "Name"}},
        {ImportField::Genre, {"Genre"}},
        {ImportField::YearWritten, {"Written", "Year Written", "Year"}},
        {ImportField::YearLastAmended, {"Last Amended", "Year Last Amended", "Amended"}},
        {ImportField::Submit, {"Submit?", "Submit"}},
        {ImportField::Submitted, {"Currently Submitted?", "Submitted?", "Currently Submitted"}},
        {ImportField::Accepted, {"Accepted?", "Accepted"}},
        {ImportField::Published, {"Published?", "Published"}},
    };
    static const QList<FieldNames> publishers = {
        {ImportField::Name,
         {"Publisher", "Market", "Magazine", "Journal", "Publication", "Venue", "Submitted To", "Name"}},
        {ImportField::Type, {"Type", "Publisher Type", "Market Type"}},
        {ImportField::Guidelines, {"Guidelines"}},
        {ImportField::Comments, {"Comments", "Notes"}},
        {ImportField::Address, {"Address"}},
        {ImportField::Email, {"E-Mail", "E-Mail Address", "Email", "Email Address"}},
        {ImportField::Web, {"Web", "Web Address", "Website", "Web Site", "URL"}},
        {ImportField::SubmitTo, {"Submit To?", "Submit To"}},
        {ImportField::SubmittedTo, {"Submitted To?"}},
        {ImportField::AnswerWithinDays,
         {"Answers Within", "Answer Within Days", "Answers Within Days", "Response Days"}},
    };
    static const QList<FieldNames> submissions = {
        {ImportField::Work, {"Work", "Title", "Story", "Poem", "Piece"}},
        {ImportField::Publisher,
         {"Publisher", "Market", "Magazine", "Journal", "Publication", "Venue", "Submitted To"}},
        {ImportField::DateSent, {"Submitted", "Date Sent", "Sent", "Date Submitted", "Submission Date"}},
        {ImportField::DateReturned,
         {"Returned", "Date Returned", "Response Date", "Date of Response", "Result Date", "Responded"}},
        {ImportField::Status, {"Status", "Response", "Result", "Decision"}},
        {ImportField::Outcome, {"Outcome"}},
        {ImportField::Notes, {"Notes", "Comments"}},
        {ImportField::Fee, {"Fee", "Fee Paid", "Reading Fee", "Entry Fee"}},
        {ImportField::Payment, {"Payment", "Paid", "Amount Paid", "Earned"}},
        {ImportField::DatePaid, {"Paid On", "Date Paid"}},
    };
    return kind == ImportKind::Works ? works : kind == ImportKind::Publishers ? publishers : submissions;
}

// Header names and status words compare letter case and blanks aside.
QString foldWord(const QString& text)
{
    return text.simplified().toCaseFolded();
}

// Record names compare letter case aside, as the tables do.
QString foldName(const QString& text)
{
    return text.trimmed().toCaseFolded();
}

// --- Status words ---

const QHash<QString, SubmissionStatus>& statusWordTable()
{
    static const QHash<QString, SubmissionStatus> table = [] {
        QHash<QString, SubmissionStatus> words;
        const std::pair<SubmissionStatus, const char*> lists[] = {
            {SubmissionStatus::Unreturned,
             "Unreturned|Pending|Submitted|Sent|Out|Waiting|Received|In-Progress|In Progress|Under Review|Held"},
            {SubmissionStatus::Rejected,
             "Rejected|Rejection|Declined|Form Rejection|Personal Rejection|Rejection, Form|Rejection, Personal|"
             "Withdrawn|Lost|Never Responded|No Response|Dead Letter"},
            {SubmissionStatus::Accepted, "Accepted|Acceptance|Offer"},
            {SubmissionStatus::Published, "Published"},
        };
        for (const auto& [status, list] : lists) {
            for (const QString& word : QString::fromLatin1(list).split(QLatin1Char('|')))
                words.insert(foldWord(word), status);
        }
        return words;
    }();
    return table;
}

// --- Values ---

std::optional<bool> flagValue(const QString& text)
{
    const QString word = foldWord(text);
    if (word.isEmpty() || word == QLatin1String("no") || word == QLatin1String("n") || word == QLatin1String("false")
        || word == QLatin1String("0"))
        return false;
    if (word == QLatin1String("yes") || word == QLatin1String("y") || word == QLatin1String("true")
        || word == QLatin1String("1") || word == QLatin1String("x"))
        return true;
    return std::nullopt;
}

// Dates are stored as ISO text, the missing date as the integer 0.
QVariant storedDateOf(const QDate& date)
{
    return date.isValid() ? QVariant(date.toString(Qt::ISODate)) : QVariant(qlonglong(0));
}

// A stored date as the day it names (ISO text, or an older file's day number); invalid
// for the missing date.
QDate dayOfStored(const QVariant& stored)
{
    if (!stored.isValid())
        return QDate();
    if (stored.typeId() == QMetaType::LongLong || stored.typeId() == QMetaType::Double) {
        const qlonglong days = stored.toLongLong();
        return days > 0 ? QDate(1899, 12, 30).addDays(days) : QDate();
    }
    return QDate::fromString(stored.toString().left(10), Qt::ISODate);
}

QVariant idOrNull(int id)
{
    return id != 0 ? QVariant(qlonglong(id)) : QVariant();
}

void bindValue(SQLite::Statement& statement, int index, const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        statement.bind(index);
    else if (value.typeId() == QMetaType::QString)
        statement.bind(index, value.toString().toStdString());
    else
        statement.bind(index, static_cast<int64_t>(value.toLongLong()));
}

// --- The plan: what the file adds, worked out before anything is written. A reference is
// a stored ID (> 0), a record to add (-1 for the first), or 0 for none. ---

struct NewWork {
    QString name;
    int genre = 0;
    QString yearWritten, yearLastAmended;
    bool submit = false, submitted = false, accepted = false, published = false;
};

struct NewPublisher {
    QString name;
    int type = 0;
    QString guidelines, comments, address, email, web;
    bool submitTo = false, submittedTo = false;
    std::optional<int> answerWithinDays;
};

struct NewSubmission {
    int work = 0;
    int publisher = 0;
    QVariant sent, returned;
    SubmissionStatus status = SubmissionStatus::Unreturned;
    QString outcome, notes;
    QVariant fee, payment;  // whole numbers of the smallest unit; invalid: none
    QVariant paid;          // as the other dates
};

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
    void write();

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

    QStringList mNewGenres, mNewTypes;
    QList<NewWork> mNewWorks;
    QList<NewPublisher> mNewPublishers;
    QList<NewSubmission> mNewSubmissions;
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
                                                 dayOfStored(storedValue(query.getColumn(2))).toJulianDay()});
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
    mNewGenres << name.trimmed();
    const int ref = -static_cast<int>(mNewGenres.size());
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
    mNewTypes << name.trimmed();
    const int ref = -static_cast<int>(mNewTypes.size());
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
    mNewWorks << work;
    const int ref = -static_cast<int>(mNewWorks.size());
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
    mNewPublishers << publisher;
    const int ref = -static_cast<int>(mNewPublishers.size());
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
    mNewWorks << work;
    mWorks.insert(foldName(name), -static_cast<int>(mNewWorks.size()));
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
    mNewPublishers << publisher;
    mPublishers.insert(foldName(name), -static_cast<int>(mNewPublishers.size()));
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
        *into = storedDateOf(date.date);
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
        const QString key = foldWord(word);
        auto at = mStatusWordAt.constFind(key);
        if (at == mStatusWordAt.constEnd()) {
            StatusWordUse use;
            use.word = word;
            for (auto mapped = mOptions.statusWords.constBegin(); mapped != mOptions.statusWords.constEnd(); ++mapped) {
                if (foldWord(mapped.key()) == key) {
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
            if (foldWord(statusCaption(submission.status)) != key && submission.outcome.trimmed().isEmpty())
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
    mNewSubmissions << submission;
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
void Importer::write()
{
    ImportLogWriter log;
    // Binds values, runs the insert and logs the new row as written.
    auto insert = [&](SQLite::Statement& statement, LoggedTable table, const QVariantList& values,
                      std::initializer_list<bool> flags) {
        statement.reset();
        int index = 1;
        for (const QVariant& value : values)
            bindValue(statement, index++, value);
        for (const bool flag : flags)
            statement.bind(index++, flag ? 1 : 0);
        statement.exec();
        const qint64 id = mDatabase.getLastInsertRowid();
        log.added(table, id, values);
        return static_cast<int>(id);
    };
    auto resolve = [](int ref, const std::vector<int>& newIds) {
        return ref < 0 ? newIds[static_cast<size_t>(-ref - 1)] : ref;
    };

    std::vector<int> genreIds, typeIds, workIds, publisherIds;
    {
        SQLite::Statement statement(mDatabase,
                                    "INSERT INTO Genre (Description_Singular, Description_Plural) VALUES (?, ?);");
        for (const QString& name : mNewGenres)
            genreIds.push_back(insert(statement, LoggedTable::Genre, {name, name}, {}));
    }
    {
        SQLite::Statement statement(mDatabase, "INSERT INTO Publisher_Type (Description) VALUES (?);");
        for (const QString& name : mNewTypes)
            typeIds.push_back(insert(statement, LoggedTable::PublisherType, {name}, {}));
    }
    {
        SQLite::Statement statement(mDatabase,
            "INSERT INTO Work (Name, Genre_ID, Year_Written, Year_Last_Amended, \"Submit?\", \"Submitted?\", "
            "\"Accepted?\", \"Published?\") VALUES (?, ?, ?, ?, ?, ?, ?, ?);");
        for (const NewWork& work : mNewWorks)
            workIds.push_back(insert(statement, LoggedTable::Work,
                                     {work.name, idOrNull(resolve(work.genre, genreIds)), work.yearWritten,
                                      work.yearLastAmended},
                                     {work.submit, work.submitted, work.accepted, work.published}));
    }
    {
        SQLite::Statement statement(mDatabase,
            "INSERT INTO Publisher (Name, Type_ID, Guidelines, Comments, Address, \"E-Mail_Address\", Web_Address, "
            "Answer_Within_Days, \"Submit_To?\", \"Submitted_To?\") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?);");
        for (const NewPublisher& p : mNewPublishers)
            publisherIds.push_back(insert(statement, LoggedTable::Publisher,
                                          {p.name, idOrNull(resolve(p.type, typeIds)), p.guidelines, p.comments,
                                           p.address, p.email, p.web,
                                           p.answerWithinDays ? QVariant(qlonglong(*p.answerWithinDays)) : QVariant()},
                                          {p.submitTo, p.submittedTo}));
    }
    QSet<int> touchedWorks, touchedPublishers, acceptedWorks, publishedWorks;
    {
        SQLite::Statement statement(mDatabase,
            "INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status, Outcome, Notes, "
            "Fee, Payment, Date_Paid) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?);");
        for (const NewSubmission& s : mNewSubmissions) {
            const int work = resolve(s.work, workIds);
            const int publisher = resolve(s.publisher, publisherIds);
            insert(statement, LoggedTable::Submission,
                   {qlonglong(work), qlonglong(publisher), s.sent, s.returned, qlonglong(static_cast<int>(s.status)), s.outcome,
                    s.notes, s.fee, s.payment, s.paid.isValid() ? s.paid : QVariant(qlonglong(0))},
                   {});
            touchedWorks.insert(work);
            touchedPublishers.insert(publisher);
            if (isAcceptance(s.status))
                acceptedWorks.insert(work);
            if (s.status == SubmissionStatus::Published)
                publishedWorks.insert(work);
        }
    }
    // The flags the submissions decide; Submit? and Submit To? stay as they are.
    auto runEach = [this](const char* text, const QSet<int>& ids) {
        SQLite::Statement statement(mDatabase, text);
        for (const int id : ids) {
            statement.reset();
            statement.bind(1, id);
            statement.exec();
        }
    };
    updateWorksSubmitted(mDatabase, touchedWorks);
    runEach("UPDATE Work SET \"Accepted?\" = 1 WHERE ID = ?;", acceptedWorks);
    runEach("UPDATE Work SET \"Published?\" = 1 WHERE ID = ?;", publishedWorks);
    runEach("UPDATE Publisher SET \"Submitted_To?\" = 1 WHERE ID = ?;", touchedPublishers);

    mReport.importId = log.write(mDatabase, mOptions.importedAt, mOptions.fileName, mOptions.kind,
                                 kindCounts().added, kindCounts().alreadyThere);
}

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
    mReport.genres.added = static_cast<int>(mNewGenres.size());
    mReport.publisherTypes.added = static_cast<int>(mNewTypes.size());
    mReport.works.added = static_cast<int>(mNewWorks.size());
    mReport.publishers.added = static_cast<int>(mNewPublishers.size());
    mReport.submissions.added = static_cast<int>(mNewSubmissions.size());

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
        write();
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

QList<ImportField> importFields(ImportKind kind)
{
    QList<ImportField> fields;
    for (const FieldNames& names : fieldNames(kind))
        fields << names.field;
    return fields;
}

QString importFieldCaption(ImportField field)
{
    switch (field) {
    case ImportField::Ignored: return QStringLiteral("(not imported)");
    case ImportField::Name: return QStringLiteral("Name");
    case ImportField::Genre: return QStringLiteral("Genre");
    case ImportField::YearWritten: return QStringLiteral("Year Written");
    case ImportField::YearLastAmended: return QStringLiteral("Year Last Amended");
    case ImportField::Submit: return QStringLiteral("Submit?");
    case ImportField::Submitted: return QStringLiteral("Currently Submitted?");
    case ImportField::Accepted: return QStringLiteral("Accepted?");
    case ImportField::Published: return QStringLiteral("Published?");
    case ImportField::Type: return QStringLiteral("Type");
    case ImportField::Guidelines: return QStringLiteral("Guidelines");
    case ImportField::Comments: return QStringLiteral("Comments");
    case ImportField::Address: return QStringLiteral("Address");
    case ImportField::Email: return QStringLiteral("E-Mail");
    case ImportField::Web: return QStringLiteral("Web");
    case ImportField::SubmitTo: return QStringLiteral("Submit To?");
    case ImportField::SubmittedTo: return QStringLiteral("Submitted To?");
    case ImportField::AnswerWithinDays: return QStringLiteral("Answers Within (days)");
    case ImportField::Work: return QStringLiteral("Work");
    case ImportField::Publisher: return QStringLiteral("Publisher");
    case ImportField::DateSent: return QStringLiteral("Date Sent");
    case ImportField::DateReturned: return QStringLiteral("Date Returned");
    case ImportField::Status: return QStringLiteral("Status");
    case ImportField::Outcome: return QStringLiteral("Outcome");
    case ImportField::Notes: return QStringLiteral("Notes");
    case ImportField::Fee: return QStringLiteral("Fee");
    case ImportField::Payment: return QStringLiteral("Payment");
    case ImportField::DatePaid: return QStringLiteral("Paid On");
    }
    return QString();
}

bool isRequiredField(ImportKind kind, ImportField field)
{
    if (kind == ImportKind::Submissions)
        return field == ImportField::Work || field == ImportField::Publisher;
    return field == ImportField::Name;
}

QList<ImportField> mapColumns(ImportKind kind, const QStringList& header)
{
    QList<ImportField> columns(header.size(), ImportField::Ignored);
    QStringList folded;
    for (const QString& name : header)
        folded << foldWord(name);
    // Field by field, each taking the first column under its most likely name.
    for (const FieldNames& names : fieldNames(kind)) {
        for (const QString& name : names.names) {
            const QString key = foldWord(name);
            qsizetype at = -1;
            for (qsizetype c = 0; c < folded.size() && at < 0; ++c) {
                if (folded[c] == key && columns[c] == ImportField::Ignored)
                    at = c;
            }
            if (at >= 0) {
                columns[at] = names.field;
                break;
            }
        }
    }
    return columns;
}

std::optional<SubmissionStatus> knownStatusWord(const QString& word)
{
    const auto found = statusWordTable().constFind(foldWord(word));
    if (found == statusWordTable().constEnd())
        return std::nullopt;
    return *found;
}

std::optional<SubmissionStatus> statusFromName(const QString& name)
{
    for (const SubmissionStatus status : kSubmissionStatuses) {
        if (foldWord(name) == foldWord(statusCaption(status)))
            return status;
    }
    return std::nullopt;
}

QString statusCaption(SubmissionStatus status)
{
    switch (status) {
    case SubmissionStatus::Unreturned: return QStringLiteral("Unreturned");
    case SubmissionStatus::Rejected: return QStringLiteral("Rejected");
    case SubmissionStatus::Accepted: return QStringLiteral("Accepted");
    case SubmissionStatus::Published: return QStringLiteral("Published");
    }
    return QString();
}

bool parseStatusMapping(const QString& text, QString* word, SubmissionStatus* status)
{
    // The last '=': a word may hold one, a status never does.
    const qsizetype at = text.lastIndexOf(QLatin1Char('='));
    if (at <= 0)
        return false;
    const std::optional<SubmissionStatus> mapped = statusFromName(text.mid(at + 1));
    if (!mapped || text.left(at).trimmed().isEmpty())
        return false;
    *word = text.left(at).trimmed();
    *status = *mapped;
    return true;
}

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
