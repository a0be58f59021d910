#include "core/ImportPlan.h"

#include <QSet>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <vector>

#include "core/CsvImport.h"
#include "core/ImportLog.h"
#include "core/RecordStore.h"
#include "core/StoredValues.h"

namespace {

QVariant idOrNull(int id)
{
    return id != 0 ? QVariant(qlonglong(id)) : QVariant();
}

} // namespace

int writeImportPlan(SQLite::Database& database, const ImportPlan& plan, const ImportOptions& options, int added,
                    int alreadyThere)
{
    ImportLogWriter log;
    // Binds values, runs the insert and logs the new row as written.
    auto insert = [&](SQLite::Statement& statement, LoggedTable table, const QVariantList& values,
                      std::initializer_list<bool> flags) {
        statement.reset();
        int index = 1;
        for (const QVariant& value : values)
            bindStoredValue(statement, index++, value);
        for (const bool flag : flags)
            statement.bind(index++, flag ? 1 : 0);
        statement.exec();
        const qint64 id = database.getLastInsertRowid();
        log.added(table, id, values);
        return static_cast<int>(id);
    };
    auto resolve = [](int ref, const std::vector<int>& newIds) {
        return ref < 0 ? newIds[static_cast<size_t>(-ref - 1)] : ref;
    };

    std::vector<int> genreIds, typeIds, workIds, publisherIds;
    {
        SQLite::Statement statement(database,
                                    "INSERT INTO Genre (Description_Singular, Description_Plural) VALUES (?, ?);");
        for (const QString& name : plan.genres)
            genreIds.push_back(insert(statement, LoggedTable::Genre, {name, name}, {}));
    }
    {
        SQLite::Statement statement(database, "INSERT INTO Publisher_Type (Description) VALUES (?);");
        for (const QString& name : plan.types)
            typeIds.push_back(insert(statement, LoggedTable::PublisherType, {name}, {}));
    }
    {
        SQLite::Statement statement(database,
            "INSERT INTO Work (Name, Genre_ID, Year_Written, Year_Last_Amended, \"Submit?\", \"Submitted?\", "
            "\"Accepted?\", \"Published?\") VALUES (?, ?, ?, ?, ?, ?, ?, ?);");
        for (const NewWork& work : plan.works)
            workIds.push_back(insert(statement, LoggedTable::Work,
                                     {work.name, idOrNull(resolve(work.genre, genreIds)), work.yearWritten,
                                      work.yearLastAmended},
                                     {work.submit, work.submitted, work.accepted, work.published}));
    }
    {
        SQLite::Statement statement(database,
            "INSERT INTO Publisher (Name, Type_ID, Guidelines, Comments, Address, \"E-Mail_Address\", Web_Address, "
            "Answer_Within_Days, \"Submit_To?\", \"Submitted_To?\") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?);");
        for (const NewPublisher& p : plan.publishers)
            publisherIds.push_back(insert(statement, LoggedTable::Publisher,
                                          {p.name, idOrNull(resolve(p.type, typeIds)), p.guidelines, p.comments,
                                           p.address, p.email, p.web,
                                           p.answerWithinDays ? QVariant(qlonglong(*p.answerWithinDays)) : QVariant()},
                                          {p.submitTo, p.submittedTo}));
    }
    QSet<int> touchedWorks, touchedPublishers, acceptedWorks, publishedWorks;
    {
        SQLite::Statement statement(database,
            "INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status, Outcome, Notes, "
            "Fee, Payment, Date_Paid) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?);");
        for (const NewSubmission& s : plan.submissions) {
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
    auto runEach = [&database](const char* text, const QSet<int>& ids) {
        SQLite::Statement statement(database, text);
        for (const int id : ids) {
            statement.reset();
            statement.bind(1, id);
            statement.exec();
        }
    };
    updateWorksSubmitted(database, touchedWorks);
    runEach("UPDATE Work SET \"Accepted?\" = 1 WHERE ID = ?;", acceptedWorks);
    runEach("UPDATE Work SET \"Published?\" = 1 WHERE ID = ?;", publishedWorks);
    runEach("UPDATE Publisher SET \"Submitted_To?\" = 1 WHERE ID = ?;", touchedPublishers);

    return log.write(database, options.importedAt, options.fileName, options.kind, added, alreadyThere);
}
