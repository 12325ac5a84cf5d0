#include "platform/SingleInstance.h"

#include "platform/Yield.h"
#include "platform/base/ProgramFolder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QTimer>
#include <QtEndian>
#include <deque>
#include <memory>
#include <unistd.h>

namespace platform {
namespace {

constexpr char kAck = 0x06;
constexpr int kHeaderBytes = 4;

std::unique_ptr<QLockFile> g_lock;
std::unique_ptr<QLocalServer> g_server;
HandOverHandler g_handler;

// The user's runtime folder, or a private folder of the user's own in the
// temporary folder when the session has none. A folder of that name that
// another user made first is not trusted: the program's own folder is used.
QString RuntimeFolder()
{
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QFileInfo(dir).isDir()) {
        dir = QDir::tempPath() + QString("/qvs-runtime-%1").arg(::getuid());
        QDir().mkpath(dir);
        const QFileInfo info(dir);
        if (!info.isDir() || info.isSymLink() || info.ownerId() != ::getuid())
            return QString::fromStdString(platform::ProgramFolder());
        QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    return dir;
}

struct Pending
{
    QByteArray data;
    QPointer<QLocalSocket> socket;
};
std::deque<Pending> g_pending;
bool g_handling = false;

// Runs the handler for each hand-over in turn, from the event loop rather
// than from inside the socket's own signal, and answers each sender that is
// still connected. A handler that yields does not let a later hand-over in
// before it is done.
void HandlePending()
{
    if (g_handling)
        return;
    g_handling = true;
    while (!g_pending.empty()) {
        Pending p = std::move(g_pending.front());
        g_pending.pop_front();
        if (g_handler)
            g_handler(p.data);
        if (!p.socket.isNull() && p.socket->state() == QLocalSocket::ConnectedState) {
            p.socket->write(&kAck, 1);
            p.socket->flush();
        }
    }
    g_handling = false;
}

// Reads one hand-over from a connection.
void ServeConnection(QLocalSocket* socket)
{
    auto buffer = std::make_shared<QByteArray>();
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, buffer] {
        buffer->append(socket->readAll());
        if (buffer->size() < kHeaderBytes)
            return;
        const quint32 length = qFromBigEndian<quint32>(buffer->constData());
        if (length > static_cast<quint32>(kMaxHandOverBytes)) {
            buffer->clear();
            socket->abort();
            return;
        }
        if (buffer->size() < kHeaderBytes + static_cast<qsizetype>(length))
            return;
        g_pending.push_back({buffer->mid(kHeaderBytes, length), socket});
        buffer->clear();
        QTimer::singleShot(0, g_server.get(), HandlePending);
    });
}

} // namespace

QString InstanceLockPath(const QString& instanceName)
{
    return RuntimeFolder() + "/" + instanceName + ".lock";
}

QString InstanceSocketPath(const QString& instanceName)
{
    return RuntimeFolder() + "/" + instanceName + ".socket";
}

bool CreateInstanceLock(const QString& instanceName)
{
    if (g_lock)
        return true;
    auto lock = std::make_unique<QLockFile>(InstanceLockPath(instanceName));
    // A running copy's lock never goes stale by age; one whose process is
    // gone is taken over by tryLock.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        // Another live copy holds it; anything else (no permission to the
        // folder) counts as a first copy, so the program still starts.
        if (lock->error() == QLockFile::LockFailedError)
            return false;
        return true;
    }
    g_lock = std::move(lock);
    return true;
}

bool HoldsInstanceLock()
{
    return g_lock != nullptr;
}

bool ListenForHandOver(const QString& instanceName, HandOverHandler handler)
{
    if (!g_lock)
        return false;
    g_handler = std::move(handler);
    if (g_server)
        return true;
    const QString path = InstanceSocketPath(instanceName);
    // This process holds the lock, so a socket file at the path can only be
    // left over from a copy that crashed.
    QLocalServer::removeServer(path);
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(path))
        return false;
    QObject::connect(server.get(), &QLocalServer::newConnection, server.get(), [s = server.get()] {
        while (QLocalSocket* socket = s->nextPendingConnection())
            ServeConnection(socket);
    });
    g_server = std::move(server);
    return true;
}

bool SendHandOver(const QString& instanceName, const QByteArray& data, int timeoutMs)
{
    QDeadlineTimer deadline(ScaledTimeout(timeoutMs));
    QLocalSocket socket;
    socket.connectToServer(InstanceSocketPath(instanceName));
    if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime())))
        return false;
    QByteArray message(kHeaderBytes, '\0');
    qToBigEndian<quint32>(static_cast<quint32>(data.size()), message.data());
    message += data;
    socket.write(message);
    while (socket.bytesToWrite() > 0) {
        if (deadline.hasExpired() || !socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            return false;
    }
    while (socket.bytesAvailable() < 1) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            return false;
    }
    char answer = 0;
    socket.read(&answer, 1);
    socket.disconnectFromServer();
    return answer == kAck;
}

void ReleaseInstanceLock()
{
    if (g_server) {
        g_server->close();
        g_server.reset();
    }
    g_handler = nullptr;
    g_pending.clear();
    if (g_lock) {
        g_lock->unlock();
        g_lock.reset();
    }
}

} // namespace platform
