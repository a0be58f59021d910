#pragma once
// The grid fills' statement texts. The statements that read or write records are in
// core/RecordStore.cpp.

#include <QString>

namespace sql {

// GridView fills: base text, then optionally " WHERE " + condition, then the order.
inline const QString kFillWork = QStringLiteral("SELECT DISTINCT * FROM Expanded_Work");
inline const QString kFillPublisher = QStringLiteral("SELECT * FROM Expanded_Publisher");
inline const QString kFillSubmission = QStringLiteral("SELECT * FROM Expanded_Submission");
inline const QString kOrderByName = QStringLiteral(" ORDER BY Name;");
inline const QString kOrderByWork = QStringLiteral(" ORDER BY Work;");

} // namespace sql
