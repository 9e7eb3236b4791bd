#include "app/instance_server.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <QVariant>

#include <unistd.h>

namespace kovrel::app {

namespace {
// A peer that does not finish its request in this time is dropped, so a stuck client cannot
// pile up connections.
constexpr int kPeerTimeoutMs = 10000;
} // namespace

InstanceServer::InstanceServer(InstanceRequestHandler& handler, QObject* parent)
    : QObject(parent), handler_(handler), server_(new QLocalServer(this)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &InstanceServer::Accept);
}

InstanceServer::~InstanceServer() {
    Close();
}

bool InstanceServer::Listen(const std::filesystem::path& socketPath) {
    Close();
    // Stale: the lock says no other instance runs.
    ::unlink(socketPath.c_str());
    return server_->listen(QString::fromStdString(socketPath.string()));
}

void InstanceServer::Close() {
    if (server_->isListening()) {
        server_->close(); // removes the socket file
    }
}

bool InstanceServer::Listening() const {
    return server_->isListening();
}

void InstanceServer::Accept() {
    while (QLocalSocket* peer = server_->nextPendingConnection()) {
        peer->setParent(this);
        connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
        connect(peer, &QLocalSocket::readyRead, this, [this, peer] { ReadRequest(peer); });
        QTimer::singleShot(kPeerTimeoutMs, peer, [peer] { peer->abort(); });
        peer->write(instance::kGreeting.data(), static_cast<qint64>(instance::kGreeting.size()));
        peer->write("\n", 1);
        peer->flush();
    }
}

void InstanceServer::ReadRequest(QLocalSocket* peer) {
    if (peer->property("answered").toBool()) {
        peer->readAll(); // one request per connection
        return;
    }
    if (!peer->canReadLine()) {
        if (peer->bytesAvailable() > static_cast<qint64>(instance::kMaxLineLength)) {
            Answer(peer, instance::kRefused);
        }
        return;
    }
    QByteArray line = peer->readLine();
    line.chop(1); // the '\n'
    const auto request =
        line.size() <= static_cast<qsizetype>(instance::kMaxLineLength)
            ? instance::ParseRequest(std::string_view(line.constData(), line.size()))
            : std::nullopt;
    // Marked before the handler runs: it may run a nested event loop that reads again.
    peer->setProperty("answered", true);
    if (!request) {
        Answer(peer, instance::kRefused);
        return;
    }
    const QPointer<QLocalSocket> guard(peer);
    const std::string status = handler_.HandleInstanceRequest(*request);
    if (guard != nullptr) { // the peer may have gone while the handler ran
        Answer(peer, status);
    }
}

void InstanceServer::Answer(QLocalSocket* peer, std::string_view status) {
    peer->setProperty("answered", true);
    peer->write(status.data(), static_cast<qint64>(status.size()));
    peer->write("\n", 1);
    // Closes once the answer has been written.
    peer->disconnectFromServer();
}

} // namespace kovrel::app
