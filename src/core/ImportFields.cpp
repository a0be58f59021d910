#include "core/ImportFields.h"

#include <QHash>

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
                words.insert(foldImportWord(word), status);
        }
        return words;
    }();
    return table;
}

} // namespace

QString foldImportWord(const QString& text)
{
    return text.simplified().toCaseFolded();
}

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
        folded << foldImportWord(name);
    // Field by field, each taking the first column under its most likely name.
    for (const FieldNames& names : fieldNames(kind)) {
        for (const QString& name : names.names) {
            const QString key = foldImportWord(name);
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
    const auto found = statusWordTable().constFind(foldImportWord(word));
    if (found == statusWordTable().constEnd())
        return std::nullopt;
    return *found;
}

std::optional<SubmissionStatus> statusFromName(const QString& name)
{
    for (const SubmissionStatus status : kSubmissionStatuses) {
        if (foldImportWord(name) == foldImportWord(statusCaption(status)))
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
