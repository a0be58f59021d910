#pragma once
// Stopping long work on request: a fill's statement while the engine runs it, or a scan of
// the listing's cells. The work asks check() as it goes; check() runs the caller's poll at
// most once an interval (the window processes its pending events there and answers whether
// the user asked to stop), and says whether to stop.

#include <QElapsedTimer>
#include <chrono>
#include <functional>

namespace SQLite { class Database; }
struct sqlite3;

class Cancellation {
public:
    // Answers true when the work is to stop.
    using Poll = std::function<bool()>;
    static constexpr std::chrono::milliseconds kInterval{50};

    explicit Cancellation(Poll poll = {}, std::chrono::milliseconds interval = kInterval);

    // From now on check() says stop; poll may call it, or anything it runs.
    void cancel() { mCancelled = true; }
    bool cancelled() const { return mCancelled; }
    // True when the work is to stop. Cheap enough to call every few thousand steps: poll runs
    // only when interval has passed since it last ran (or since the start).
    bool check();
    // Milliseconds since this began, so the caller can show a Cancel button only for work
    // that runs longer than a moment.
    qint64 elapsedMs() const { return mStarted.elapsed(); }

private:
    Poll mPoll;
    qint64 mIntervalMs;
    QElapsedTimer mStarted;
    qint64 mLastPoll = 0;
    bool mCancelled = false;
    bool mPolling = false;
};

// While it lives, every statement run on database asks cancellation.check() every kSteps of
// the engine's virtual machine; once it says stop, the statement ends with SQLITE_INTERRUPT
// (readFillRows() reports that as cancelled). One guard per connection at a time.
//
// The progress handler's answer stops only the statement that is running. The engine's
// sqlite3_interrupt() is not used: it stays in effect while any other statement of the
// connection is still active, and would make the next ones fail too.
class QueryGuard {
public:
    static constexpr int kSteps = 1000;

    QueryGuard(SQLite::Database& database, Cancellation& cancellation);
    ~QueryGuard();
    QueryGuard(const QueryGuard&) = delete;
    QueryGuard& operator=(const QueryGuard&) = delete;

private:
    sqlite3* mHandle;
};
