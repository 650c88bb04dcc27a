#include "editor/shell/messages/WindowMessageSocket.h"
#include "FakeMessageHost.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace
{

QByteArray Request(uint32_t message, uint64_t wParam = 0, int64_t lParam = 0)
{
    QByteArray bytes(20, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>(message >> (8 * i));
    for (int i = 0; i < 8; ++i) {
        bytes[4 + i] = static_cast<char>(wParam >> (8 * i));
        bytes[12 + i] = static_cast<char>(static_cast<uint64_t>(lParam) >> (8 * i));
    }
    return bytes;
}

int64_t Reply(const QByteArray &bytes, int index = 0)
{
    uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[index * 8 + i]);
    return static_cast<int64_t>(value);
}

// A client in the same thread as the server: waiting runs the event loop for both.
std::unique_ptr<QLocalSocket> Connect(const QString &path)
{
    auto client = std::make_unique<QLocalSocket>();
    client->connectToServer(path);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return client->state() == QLocalSocket::ConnectedState; }, 5000));
    return client;
}

QByteArray Await(QLocalSocket &client, qint64 bytes)
{
    EXPECT_TRUE(QTest::qWaitFor([&] { return client.bytesAvailable() >= bytes; }, 5000));
    return client.read(bytes);
}

class WindowMessageSocket : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        host.MakeMap(12, 7, 2, 8);
        host.MapObject->SetLayerVisible(1, false);
    }

    QTemporaryDir folder;
    TFakeMessageHost host;
};

} // namespace

TEST_F(WindowMessageSocket, AnswersAddressFreeMessages)
{
    TWindowMessageServer server(host);
    ASSERT_TRUE(server.Listen(folder.path())) << server.ErrorText().toStdString();
    const QString path = server.SocketPath();
    EXPECT_TRUE(QFileInfo(path).fileName().startsWith("tessella-"));
    // Only the user may connect.
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    EXPECT_EQ(QFile::permissions(path) & others, QFile::Permissions());

    auto client = Connect(path);
    client->write(Request(0x8000) + Request(0x8001) + Request(0x8004) + Request(0x8005) +
                  Request(0x800A, 0) + Request(0x800A, 1));
    const QByteArray replies = Await(*client, 6 * 8);
    EXPECT_EQ(Reply(replies, 0), 12);
    EXPECT_EQ(Reply(replies, 1), 7);
    EXPECT_EQ(Reply(replies, 2), 8);
    EXPECT_EQ(Reply(replies, 3), 2);
    EXPECT_EQ(Reply(replies, 4), 1);
    EXPECT_EQ(Reply(replies, 5), 0);
}

TEST_F(WindowMessageSocket, RefusesMessagesThatCarryAddresses)
{
    TWindowMessageServer server(host);
    ASSERT_TRUE(server.Listen(folder.path()));
    auto client = Connect(server.SocketPath());
    // Any of these would dereference the numbers if they got through.
    client->write(Request(0x8008, 0x1000, 0x2000) + Request(0x8009, 0x1000, 0x2000) +
                  Request(0x8064, 0, 0x2000) + Request(0x8065, 0, 0x2000) +
                  Request(0x8066, 0x1000, 0x2000) + Request(0x8067, 2, 0x2000) +
                  Request(0x80C8, 0, 0x2000) + Request(0x812C, 0x1000) + Request(0x7FFF) +
                  Request(0x9000));
    const QByteArray replies = Await(*client, 10 * 8);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(Reply(replies, i), 0) << i;
    EXPECT_TRUE(host.NewMaps.empty());
    EXPECT_TRUE(host.SelectionsSet.empty());
}

TEST_F(WindowMessageSocket, PartialRequestsAndManyClients)
{
    TWindowMessageServer server(host);
    ASSERT_TRUE(server.Listen(folder.path()));
    std::vector<std::unique_ptr<QLocalSocket>> clients;
    for (int i = 0; i < 5; ++i)
        clients.push_back(Connect(server.SocketPath()));

    // A request that arrives in pieces is answered once it is whole.
    const QByteArray request = Request(0x8001);
    clients[0]->write(request.left(3));
    clients[0]->flush();
    QTest::qWait(50);
    EXPECT_EQ(clients[0]->bytesAvailable(), 0);
    clients[0]->write(request.mid(3, 10));
    clients[0]->flush();
    QTest::qWait(20);
    clients[0]->write(request.mid(13));
    EXPECT_EQ(Reply(Await(*clients[0], 8)), 7);

    // One client leaves in the middle of a request; the others go on being served.
    clients[1]->write(request.left(7));
    clients[1]->flush();
    clients[1]->disconnectFromServer();
    clients[1].reset();
    for (size_t i = 2; i < clients.size(); ++i)
        clients[i]->write(Request(0x8000));
    for (size_t i = 2; i < clients.size(); ++i)
        EXPECT_EQ(Reply(Await(*clients[i], 8)), 12);
}

TEST_F(WindowMessageSocket, ASecondEditorTakesTheNextName)
{
    TFakeMessageHost otherHost;
    otherHost.MakeMap(3, 3, 1);
    TWindowMessageServer first(host);
    TWindowMessageServer second(otherHost);
    ASSERT_TRUE(first.Listen(folder.path()));
    ASSERT_TRUE(second.Listen(folder.path()));
    EXPECT_NE(first.SocketPath(), second.SocketPath());
    EXPECT_EQ(second.SocketPath(), first.SocketPath() + "-2");

    auto toFirst = Connect(first.SocketPath());
    auto toSecond = Connect(second.SocketPath());
    toFirst->write(Request(0x8000));
    toSecond->write(Request(0x8000));
    EXPECT_EQ(Reply(Await(*toFirst, 8)), 12);
    EXPECT_EQ(Reply(Await(*toSecond, 8)), 3);
}

TEST_F(WindowMessageSocket, ALeftoverSocketFileIsReplaced)
{
    QString path;
    {
        TWindowMessageServer probe(host);
        ASSERT_TRUE(probe.Listen(folder.path()));
        path = probe.SocketPath();
    }
    EXPECT_FALSE(QFileInfo::exists(path)); // an editor that ends removes its socket
    QFile leftover(path);
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();

    TWindowMessageServer server(host);
    ASSERT_TRUE(server.Listen(folder.path()));
    EXPECT_EQ(server.SocketPath(), path);
    auto client = Connect(path);
    client->write(Request(0x8001));
    EXPECT_EQ(Reply(Await(*client, 8)), 7);
}

TEST_F(WindowMessageSocket, AMissingFolderIsReportedNotFatal)
{
    TWindowMessageServer server(host);
    EXPECT_FALSE(server.Listen(folder.filePath("missing")));
    EXPECT_FALSE(server.IsListening());
    EXPECT_FALSE(server.ErrorText().isEmpty());
    EXPECT_TRUE(server.SocketPath().isEmpty());
}

TEST_F(WindowMessageSocket, ListensInTheUsersRuntimeFolderByDefault)
{
    TWindowMessageServer server(host);
    ASSERT_TRUE(server.Listen()) << server.ErrorText().toStdString();
    EXPECT_EQ(QFileInfo(server.SocketPath()).absolutePath(),
              QFileInfo(TWindowMessageServer::DefaultFolder()).absoluteFilePath());
}

TEST_F(WindowMessageSocket, AClientThatReadsLateStillGetsEveryReply)
{
    TWindowMessageServer server(host);
    ASSERT_TRUE(server.Listen(folder.path()));
    auto client = Connect(server.SocketPath());
    // The client holds back what it reads, so the replies pile up at the server.
    client->setReadBufferSize(16 * 1024);
    constexpr int count = 50000;
    QByteArray requests;
    for (int i = 0; i < count; ++i)
        requests += Request(i % 2 == 0 ? 0x8000 : 0x8001);
    client->write(requests);
    QTest::qWait(100);
    QByteArray replies;
    QElapsedTimer timer;
    timer.start();
    while (replies.size() < count * 8 && timer.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        replies += client->readAll();
    }
    ASSERT_EQ(replies.size(), count * 8);
    EXPECT_EQ(Reply(replies, 0), 12);
    EXPECT_EQ(Reply(replies, count - 1), 7);
}
