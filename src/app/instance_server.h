#pragma once
// The running instance's end of the local socket (app/instance_protocol.h): greets every peer
// with the main window's mark, reads one request line, has the handler answer it on the
// interface thread and sends the answer back.

#include "app/instance_protocol.h"

#include <QObject>
#include <QString>

#include <filesystem>
#include <string>

class QLocalServer;
class QLocalSocket;

namespace kovrel::app {

class InstanceRequestHandler {
public:
    virtual ~InstanceRequestHandler() = default;
    // Returns the status line (without '\n'). Runs on the interface thread; it must not end the
    // server (a quit is posted, not run, from here).
    virtual std::string HandleInstanceRequest(const instance::Request& request) = 0;
};

class InstanceServer final : public QObject {
    Q_OBJECT
public:
    explicit InstanceServer(InstanceRequestHandler& handler, QObject* parent = nullptr);
    ~InstanceServer() override;

    // Listens at `socketPath`, readable and writable by the user only. Call it only while
    // holding the single-instance lock: whatever is found there then was left by an instance
    // that ended without cleaning up, and is removed first. False when it cannot listen.
    bool Listen(const std::filesystem::path& socketPath);
    // Stops listening and removes the socket file.
    void Close();
    bool Listening() const;

private:
    void Accept();
    void ReadRequest(QLocalSocket* peer);
    static void Answer(QLocalSocket* peer, std::string_view status);

    InstanceRequestHandler& handler_;
    QLocalServer* server_;
};

} // namespace kovrel::app
