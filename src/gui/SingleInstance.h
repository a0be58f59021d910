#pragma once
// A second start on the same database hands over to the running program instead of
// opening the file twice: the locks say whether one runs, a local socket named for the
// database file (the same through any link) asks it to bring its window to the front.

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "core/InstanceLock.h"

class QLocalServer;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Claim {
        First,          // ours now: go on and open the database
        Handed,         // another program has it and was asked to come to the front
        AlreadyRunning, // another program has it and did not answer
        Unguarded,      // no lock could be made; go on without one
    };

    explicit SingleInstance(const QString& databasePath, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Takes the database for this program, or asks the one that has it to come forward
    // (waiting up to timeoutMs for its answer; a blocking call that needs no event loop).
    Claim claim(int timeoutMs = 3000);

    QString lockFile() const { return mLock.file(); }

signals:
    // Another start asked for this program's window.
    void activationRequested();

private:
    void listen();
    void answer(QLocalServer* server);

    QStringList mKeys;
    InstanceLock mLock;
    std::vector<std::unique_ptr<QLocalServer>> mServers;
};

// What a second start tells the user when the first did not answer.
QString alreadyOpenMessage(const QString& databasePath);
