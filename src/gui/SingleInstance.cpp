#include "gui/SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace {

const QByteArray kRequest = "activate\n";
const QByteArray kReply = "ok\n";

// Asks the program listening under key to come to the front; true when it said it will.
bool askToActivate(const QString& key, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(key);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kRequest);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (socket.bytesAvailable() < kReply.size()) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    return socket.readAll().startsWith(kReply);
}

} // namespace

SingleInstance::SingleInstance(const QString& databasePath, QObject* parent)
    : QObject(parent), mKeys(InstanceLock::keysFor(databasePath)), mLock(databasePath)
{
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Claim SingleInstance::claim(int timeoutMs)
{
    switch (mLock.acquire()) {
    case InstanceLock::State::Held:
        listen();
        return Claim::First;
    case InstanceLock::State::Failed:
        return Claim::Unguarded;
    case InstanceLock::State::HeldByAnother:
        break;
    }
    // The first listens under every name it had; a name missing then (the file it created)
    // is simply not answered.
    for (const QString& key : mKeys) {
        if (askToActivate(key, timeoutMs))
            return Claim::Handed;
    }
    return Claim::AlreadyRunning;
}

void SingleInstance::listen()
{
    for (const QString& key : mKeys) {
        auto server = std::make_unique<QLocalServer>();
        // Only this user's programs may ask.
        server->setSocketOptions(QLocalServer::UserAccessOption);
        // We hold the lock, so a socket left under this name is a crashed program's.
        QLocalServer::removeServer(key);
        // One that cannot listen leaves later starts saying the program is open instead.
        if (!server->listen(key))
            continue;
        QLocalServer* listening = server.get();
        connect(listening, &QLocalServer::newConnection, this, [this, listening] { answer(listening); });
        mServers.push_back(std::move(server));
    }
}

void SingleInstance::answer(QLocalServer* server)
{
    while (QLocalSocket* socket = server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto read = [this, socket] {
            if (!socket->canReadLine())
                return;
            if (socket->readLine() == kRequest) {
                socket->write(kReply);
                socket->flush();
                emit activationRequested();
            }
            socket->disconnectFromServer();
        };
        connect(socket, &QLocalSocket::readyRead, this, read);
        // The request may have come with the connection.
        read();
    }
}

QString alreadyOpenMessage(const QString& databasePath)
{
    return QStringLiteral("Quillary is already open with the database %1.\n\n"
                          "Switch to its window instead of starting it again.").arg(databasePath);
}
