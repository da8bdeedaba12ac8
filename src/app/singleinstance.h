// SingleInstance: per-user takeover of a running instance through a local socket.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;
class QLocalSocket;

// One running instance per user, and a new instance always wins. The new instance calls
// closeRunningInstance() before it builds its window: it connects to the running instance's
// local server, asks it to close and waits, without a time limit, until that instance answers.
// The running instance answers only after its close handler returned, that is after its
// shutdown sequence wrote its files ("closed"), or after the close was abandoned ("failed").
// Only the close request travels; the new instance's command line is never sent.
// A socket left behind by a crashed instance refuses connections and is removed by listen().
// User-interface thread only.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Takeover { NoneRunning, Closed, Refused };

    // Per-user server name (carries the user id); the socket lives in the temporary folder.
    static QString defaultName();

    explicit SingleInstance(const QString &name = defaultName(), QObject *parent = nullptr);
    ~SingleInstance() override;

    Takeover closeRunningInstance();
    // Starts serving close requests. Removes a stale socket; false when a live instance still
    // holds the name (its close was refused) or the socket cannot be created.
    bool listen();
    bool isListening() const;
    // Runs the normal close path of this instance; returns true when the window closed.
    void setCloseHandler(std::function<bool()> handler) { closeHandler_ = std::move(handler); }

private:
    void acceptConnections();
    void answerRequest(QLocalSocket *socket);
    bool someoneListens() const;

    QString name_;
    QLocalServer *server_ = nullptr;
    std::function<bool()> closeHandler_;
};
