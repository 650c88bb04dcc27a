// The window-message interface for other programs: a local socket, reachable only by the
// user who runs the editor, that answers the messages without addresses.
//
// The socket is "tessella-<user id>" in the user's runtime folder ($XDG_RUNTIME_DIR); when a
// running editor already answers there, the next editor takes "tessella-<user id>-2", then
// "-3" and so on. A leftover socket of an editor that ended without removing it is replaced.
//
// Protocol: a client sends any number of requests of 20 bytes and gets one reply of 8 bytes
// for each, in order. All fields are little-endian.
//   request: uint32 message, uint64 wParam, int64 lParam
//   reply:   int64 result
// Messages that carry addresses, and messages outside 0x8000 to 0x8320, are answered 0
// without doing anything.
#pragma once

#include "WindowMessageHost.h"

#include <QObject>
#include <QString>
#include <cstddef>
#include <cstdint>

class QLocalServer;
class QLocalSocket;

class TWindowMessageServer : public QObject
{
public:
    static constexpr size_t RequestSize = 20;
    static constexpr size_t ReplySize = 8;
    // How many editors may run side by side, each with its own socket name.
    static constexpr int MaxInstances = 16;

    explicit TWindowMessageServer(TWindowMessageHost &host, QObject *parent = nullptr);
    ~TWindowMessageServer() override;
    TWindowMessageServer(const TWindowMessageServer &) = delete;
    TWindowMessageServer &operator=(const TWindowMessageServer &) = delete;

    // Starts listening in folder, the user's runtime folder when empty. False, with
    // ErrorText() telling why, when no socket could be made; the editor runs on without.
    bool Listen(const QString &folder = QString());
    bool IsListening() const;
    // The full path of the socket clients connect to; empty while not listening.
    QString SocketPath() const;
    QString ErrorText() const { return FErrorText; }

    // The user's runtime folder: $XDG_RUNTIME_DIR, or the folder Qt makes in its place.
    static QString DefaultFolder();

    // The answer to one request: the address-free messages go to the interface, all
    // others are answered 0.
    static int64_t Answer(TWindowMessageHost &host, uint32_t message, uint64_t wParam,
                          int64_t lParam);

private:
    bool ListenAt(const QString &path);
    void AcceptClients();
    void Serve(QLocalSocket *client);

    TWindowMessageHost &FHost;
    QLocalServer *FServer = nullptr;
    QString FErrorText;
};
