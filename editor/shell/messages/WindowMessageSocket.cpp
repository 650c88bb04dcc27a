#include "WindowMessageSocket.h"

#include "WindowMessageInterface.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace
{

// A client that sends faster than it reads its replies is not read further until they
// have gone out, so neither buffer grows without bound.
constexpr qint64 MaxPendingReplyBytes = 64 * 1024;
constexpr qint64 ClientReadBufferSize = 256 * TWindowMessageServer::RequestSize;
// How long to wait for an editor that may already answer at a socket name.
constexpr int ProbeTimeoutMs = 1000;

uint64_t ReadLittleEndian(const unsigned char *bytes, size_t size)
{
    uint64_t value = 0;
    for (size_t i = size; i > 0; --i)
        value = value << 8 | bytes[i - 1];
    return value;
}

void WriteLittleEndian(unsigned char *bytes, uint64_t value, size_t size)
{
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<unsigned char>(value);
        value >>= 8;
    }
}

// True when a running program accepts connections at path.
bool SomeoneAnswers(const QString &path)
{
    QLocalSocket probe;
    probe.connectToServer(path);
    const bool answered = probe.waitForConnected(ProbeTimeoutMs);
    probe.abort();
    return answered;
}

QString SocketBaseName(const QString &folder)
{
    // The runtime folder belongs to the user who runs the editor.
    return QStringLiteral("tessella-") + QString::number(QFileInfo(folder).ownerId());
}

} // namespace

TWindowMessageServer::TWindowMessageServer(TWindowMessageHost &host, QObject *parent)
    : QObject(parent), FHost(host), FServer(new QLocalServer(this))
{
    FServer->setSocketOptions(QLocalServer::UserAccessOption);
    connect(FServer, &QLocalServer::newConnection, this, &TWindowMessageServer::AcceptClients);
}

TWindowMessageServer::~TWindowMessageServer() = default;

QString TWindowMessageServer::DefaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

bool TWindowMessageServer::Listen(const QString &folder)
{
    FServer->close();
    FErrorText.clear();
    const QString place = folder.isEmpty() ? DefaultFolder() : folder;
    if (place.isEmpty() || !QFileInfo(place).isDir()) {
        FErrorText = QStringLiteral("No runtime folder for the message socket.");
        return false;
    }
    const QString base = QDir(place).filePath(SocketBaseName(place));
    for (int instance = 1; instance <= MaxInstances; ++instance) {
        const QString path =
            instance == 1 ? base : base + QStringLiteral("-") + QString::number(instance);
        if (QFileInfo::exists(path) && SomeoneAnswers(path))
            continue;
        return ListenAt(path);
    }
    FErrorText = QStringLiteral("Every message socket name is taken by a running editor.");
    return false;
}

bool TWindowMessageServer::ListenAt(const QString &path)
{
    // What is left there belongs to an editor that ended without removing its socket.
    QLocalServer::removeServer(path);
    if (FServer->listen(path))
        return true;
    FErrorText = FServer->errorString();
    return false;
}

bool TWindowMessageServer::IsListening() const
{
    return FServer->isListening();
}

QString TWindowMessageServer::SocketPath() const
{
    return FServer->isListening() ? FServer->fullServerName() : QString();
}

int64_t TWindowMessageServer::Answer(TWindowMessageHost &host, uint32_t message, uint64_t wParam,
                                     int64_t lParam)
{
    if (!IsAddressFreeMessage(message))
        return 0;
    return TessellaWindowMessage(host, message, static_cast<uintptr_t>(wParam),
                                 static_cast<intptr_t>(lParam));
}

void TWindowMessageServer::AcceptClients()
{
    while (QLocalSocket *client = FServer->nextPendingConnection()) {
        client->setParent(this);
        client->setReadBufferSize(ClientReadBufferSize);
        connect(client, &QLocalSocket::readyRead, this, [this, client] { Serve(client); });
        connect(client, &QLocalSocket::bytesWritten, this, [this, client] { Serve(client); });
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        Serve(client);
    }
}

void TWindowMessageServer::Serve(QLocalSocket *client)
{
    while (client->state() == QLocalSocket::ConnectedState &&
           client->bytesAvailable() >= static_cast<qint64>(RequestSize) &&
           client->bytesToWrite() < MaxPendingReplyBytes) {
        unsigned char request[RequestSize];
        if (client->read(reinterpret_cast<char *>(request), RequestSize) !=
            static_cast<qint64>(RequestSize)) {
            client->abort();
            return;
        }
        const auto message = static_cast<uint32_t>(ReadLittleEndian(request, 4));
        const uint64_t wParam = ReadLittleEndian(request + 4, 8);
        const auto lParam = static_cast<int64_t>(ReadLittleEndian(request + 12, 8));
        unsigned char reply[ReplySize];
        WriteLittleEndian(reply, static_cast<uint64_t>(Answer(FHost, message, wParam, lParam)),
                          ReplySize);
        client->write(reinterpret_cast<const char *>(reply), ReplySize);
    }
}
