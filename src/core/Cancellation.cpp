#include "core/Cancellation.h"

#include <SQLiteCpp/Database.h>
#include <sqlite3.h>

Cancellation::Cancellation(Poll poll, std::chrono::milliseconds interval)
    : mPoll(std::move(poll)), mIntervalMs(interval.count())
{
    mStarted.start();
}

bool Cancellation::check()
{
    // A poll that processes events could come back here; it is not run inside itself.
    if (mCancelled || !mPoll || mPolling)
        return mCancelled;
    const qint64 now = mStarted.elapsed();
    if (now - mLastPoll < mIntervalMs)
        return false;
    mLastPoll = now;
    mPolling = true;
    const bool stop = mPoll();
    mPolling = false;
    if (stop)
        mCancelled = true;
    return mCancelled;
}

namespace {

int progress(void* cancellation)
{
    return static_cast<Cancellation*>(cancellation)->check() ? 1 : 0;
}

} // namespace

QueryGuard::QueryGuard(SQLite::Database& database, Cancellation& cancellation) : mHandle(database.getHandle())
{
    sqlite3_progress_handler(mHandle, kSteps, progress, &cancellation);
}

QueryGuard::~QueryGuard()
{
    sqlite3_progress_handler(mHandle, 0, nullptr, nullptr);
}
