#pragma once
// Every statement the program issues, in one place. Values a user typed are bound as
// parameters (the '?' marks); record IDs, which the program holds as numbers, are joined
// as decimal digits.

#include <QString>

namespace sql {

// Grid fills: base text, then optionally " WHERE " + condition, then the order.
inline const QString kFillWork = QStringLiteral("SELECT DISTINCT * FROM Expanded_Work");
inline const QString kFillPublisher = QStringLiteral("SELECT * FROM Expanded_Publisher");
inline const QString kFillSubmission = QStringLiteral("SELECT * FROM Expanded_Submission");
inline const QString kOrderByName = QStringLiteral(" ORDER BY Name;");
inline const QString kOrderByWork = QStringLiteral(" ORDER BY Work;");

// Outstanding submissions of a work or a publisher: + the ID.
inline const QString kCountForWork =
    QStringLiteral("SELECT Count(*) AS SubCount FROM Submission WHERE Status = 0 AND Work_ID = ");
inline const QString kCountForPublisher =
    QStringLiteral("SELECT Count(*) AS SubCount FROM Submission WHERE Status = 0 AND Publisher_ID = ");

// A work's "Submitted?" means it has an unreturned submission; the work's ID is bound.
// Set from what is stored now:
inline const QString kWorkSubmittedWhileOutstanding = QStringLiteral(
    "UPDATE Work SET \"Submitted?\" = EXISTS (SELECT 1 FROM Submission "
    "WHERE Submission.Work_ID = Work.ID AND Submission.Status = 0) WHERE ID = ?;");
// Cleared once the last unreturned submission has gone (never raised):
inline const QString kWorkNoLongerSubmitted = QStringLiteral(
    "UPDATE Work SET \"Submitted?\" = 0 WHERE ID = ? AND NOT EXISTS (SELECT 1 FROM Submission "
    "WHERE Submission.Work_ID = Work.ID AND Submission.Status = 0);");
// The work of a submission when the submission is unreturned; its ID is bound.
inline const QString kWorkOfOutstandingSubmission =
    QStringLiteral("SELECT Work_ID FROM Submission WHERE ID = ? AND Status = 0;");

// "DELETE FROM " + table + " WHERE ID = " + ID + ";"
inline QString deleteRecord(const QString& table, int id)
{
    return QStringLiteral("DELETE FROM %1 WHERE ID = %2;").arg(table).arg(id);
}

// Duplicate-name checks; the name is bound.
inline const QString kWorkByName = QStringLiteral("SELECT * FROM Work WHERE Name = ?;");
inline const QString kPublisherByName = QStringLiteral("SELECT * FROM Publisher WHERE Name = ?;");

// Lookup lists.
inline const QString kGenres = QStringLiteral("SELECT * FROM Genre;");
inline const QString kPublisherTypes = QStringLiteral("SELECT * FROM Publisher_Type;");
inline const QString kWorksByName = QStringLiteral("SELECT * FROM Work ORDER BY Name;");
inline const QString kPublishersByName = QStringLiteral("SELECT * FROM Publisher ORDER BY Name;");

// A publisher's genre links: + the publisher ID + ";".
inline QString deletePublisherGenres(int publisherId)
{
    return QStringLiteral("DELETE FROM Publisher_Genre WHERE Publisher_ID = %1;").arg(publisherId);
}
inline const QString kPublisherGenreLink =
    QStringLiteral("SELECT 1 FROM Publisher_Genre WHERE Publisher_ID = ? AND Genre_ID = ?;");
inline const QString kInsertPublisherGenre =
    QStringLiteral("INSERT INTO Publisher_Genre (Publisher_ID, Genre_ID) VALUES (?, ?);");

// Direct record access by ID (the editors' own row).
inline QString selectRecord(const QString& table)
{
    return QStringLiteral("SELECT * FROM %1 WHERE ID = ?;").arg(table);
}

} // namespace sql
