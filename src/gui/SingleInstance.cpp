#include "gui/SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace {

const QByteArray kRequest = "activate\n";
const QByteArray kReply = "ok\n";

} // namespace

SingleInstance::SingleInstance(const QString& databasePath, QObject* parent)
    : QObject(parent), mKey(InstanceLock::keyFor(databasePath)), mLock(databasePath)
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
    QLocalSocket socket;
    socket.connectToServer(mKey);
    if (!socket.waitForConnected(timeoutMs))
        return Claim::AlreadyRunning;
    socket.write(kRequest);
    if (!socket.waitForBytesWritten(timeoutMs))
        return Claim::AlreadyRunning;
    while (socket.bytesAvailable() < kReply.size()) {
        if (!socket.waitForReadyRead(timeoutMs))
            return Claim::AlreadyRunning;
    }
    return socket.readAll().startsWith(kReply) ? Claim::Handed : Claim::AlreadyRunning;
}

void SingleInstance::listen()
{
    mServer = std::make_unique<QLocalServer>();
    // Only this user's programs may ask.
    mServer->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock, so a socket left under this name is a crashed program's.
    QLocalServer::removeServer(mKey);
    if (!mServer->listen(mKey)) {
        // Later starts will say the program is open instead of bringing it forward.
        mServer.reset();
        return;
    }
    connect(mServer.get(), &QLocalServer::newConnection, this, &SingleInstance::answer);
}

void SingleInstance::answer()
{
    while (QLocalSocket* socket = mServer->nextPendingConnection()) {
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
