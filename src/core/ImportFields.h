#pragma once
// The columns of a CSV file to import and the status words in it: which field each header
// name fills, and which stored status each word means.

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "core/ImportKind.h"
#include "core/SubmissionStatus.h"

// What a column of the file fills. Ignored: the column is not read.
enum class ImportField {
    Ignored,
    // Works and publishers
    Name,
    // Works
    Genre, YearWritten, YearLastAmended, Submit, Submitted, Accepted, Published,
    // Publishers
    Type, Guidelines, Comments, Address, Email, Web, SubmitTo, SubmittedTo, AnswerWithinDays,
    // Submissions
    Work, Publisher, DateSent, DateReturned, Status, Outcome, Notes, Fee, Payment, DatePaid,
};

// The fields a kind of record takes, in the order a mapping lists them.
QList<ImportField> importFields(ImportKind kind);
// The field's caption ("Date Sent").
QString importFieldCaption(ImportField field);
// Without a column for it the file is refused: a submission's work and publisher, a
// work's or publisher's name.
bool isRequiredField(ImportKind kind, ImportField field);
// One field per header column, found by the column's name (letter case and surrounding
// blanks aside): the names this program's export writes first, then common ones. Each
// field is taken by one column at most; the rest are Ignored.
QList<ImportField> mapColumns(ImportKind kind, const QStringList& header);

// The stored status for a status word, letter case and blanks aside: the four captions and
// the words other trackers use. Nothing for any other word.
std::optional<SubmissionStatus> knownStatusWord(const QString& word);
// "unreturned", "rejected", "accepted", "published" (any case) as the stored status.
std::optional<SubmissionStatus> statusFromName(const QString& name);
// The caption of a stored status ("Rejected").
QString statusCaption(SubmissionStatus status);
// "WORD=STATUS" as the command line gives a mapping; false when it is not one.
bool parseStatusMapping(const QString& text, QString* word, SubmissionStatus* status);

// Header names and status words compare letter case and blanks aside.
QString foldImportWord(const QString& text);
