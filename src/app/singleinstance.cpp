// SingleInstance: the close request protocol over QLocalSocket.
#include "app/singleinstance.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace {

const QByteArray kCloseRequest = "close\n";
const QByteArray kClosedReply = "closed\n";
const QByteArray kFailedReply = "failed\n";

// How long a connection attempt may take before the name counts as not served; a live
// instance accepts at once, the kernel queues the connection even while it is busy.
constexpr int kConnectMs = 3000;
// How long to wait for a closed instance to drop the connection after its answer.
constexpr int kDisconnectMs = 5000;

} // namespace

QString SingleInstance::defaultName() {
    return QStringLiteral("xingzhou-%1").arg(static_cast<qulonglong>(::getuid()));
}

SingleInstance::SingleInstance(const QString &name, QObject *parent)
    : QObject(parent), name_(name) {}

SingleInstance::~SingleInstance() = default;

SingleInstance::Takeover SingleInstance::closeRunningInstance() {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(kConnectMs))
        return Takeover::NoneRunning;
    socket.write(kCloseRequest);
    socket.waitForBytesWritten(kConnectMs);
    // The running instance answers once its shutdown is over; there is no time limit.
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(-1))
            break;
    }
    const QByteArray reply = socket.readLine();
    if (reply != kClosedReply)
        return Takeover::Refused;
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(kDisconnectMs);
    return Takeover::Closed;
}

bool SingleInstance::someoneListens() const {
    QLocalSocket probe;
    probe.connectToServer(name_);
    const bool connected = probe.waitForConnected(kConnectMs);
    probe.abort();
    return connected;
}

bool SingleInstance::listen() {
    if (!server_) {
        server_ = new QLocalServer(this);
        server_->setSocketOptions(QLocalServer::UserAccessOption);
        connect(server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    }
    // Listening with access options binds elsewhere and renames over the name, which would
    // silently take the name from a live instance; so ask first whether one serves it.
    if (someoneListens())
        return false;
    QLocalServer::removeServer(name_); // left behind by an instance that did not end cleanly
    return server_->listen(name_);
}

bool SingleInstance::isListening() const {
    return server_ && server_->isListening();
}

void SingleInstance::acceptConnections() {
    while (QLocalSocket *socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { answerRequest(socket); });
        if (socket->canReadLine())
            answerRequest(socket);
    }
}

void SingleInstance::answerRequest(QLocalSocket *socket) {
    if (!socket->canReadLine())
        return;
    if (socket->readLine() != kCloseRequest) {
        socket->disconnectFromServer();
        return;
    }
    const bool closed = closeHandler_ ? closeHandler_() : false;
    socket->write(closed ? kClosedReply : kFailedReply);
    socket->waitForBytesWritten(kDisconnectMs);
    if (closed) {
        // Free the name before the process ends so the new instance can take it over.
        server_->close();
        socket->disconnectFromServer();
    }
}
