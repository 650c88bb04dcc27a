#include "EditorFixture.h"
#include "editor/shell/messages/WindowMessageSocket.h"

#include <QLocalSocket>
#include <QtEndian>
#include <cstring>

using TWindowHandle = TEditorFixture;

TEST_F(TWindowHandle, PluginsReachTheMessagesThroughSendMessage)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    TessellaWindow *window = Form->WindowHandle();
    ASSERT_EQ(window->StructSize, sizeof(TessellaWindow));
    EXPECT_EQ(window->SendMessage(window, 0x8000, 0, 0), 100);
    EXPECT_EQ(window->SendMessage(window, 0x8004, 0, 0), 8);
    EXPECT_EQ(window->SendMessage(window, 0x8005, 0, 0), 1);
    EXPECT_EQ(window->SendMessage(window, 0x8007, 0, 0), 0); // fixed alignment
    EXPECT_EQ(window->SendMessage(window, 0x7FFF, 0, 0), 0);
    // A plug-in's notice is one information box.
    ASSERT_TRUE(TessellaCanShowNotice(window));
    window->ShowNotice(window, "map.tmx: left out the object layer \"A\".");
    ASSERT_EQ(Seam->Messages.size(), 1u);
    EXPECT_EQ(Seam->Messages[0].Kind, mkInformation);
    EXPECT_EQ(Seam->Messages[0].Text, "map.tmx: left out the object layer \"A\".");

    // Select a 2 × 1 block and write it as one undo step.
    uint8_t selection[24] = {};
    selection[0] = 1;
    const int32_t fields[5] = {4, 5, 2, 1, 5 * 100 + 4};
    std::memcpy(selection + 4, fields, sizeof fields);
    EXPECT_EQ(window->SendMessage(window, 0x8065, 0, reinterpret_cast<intptr_t>(selection)), 0);
    EXPECT_EQ(Form->ViewState().Selection.DX, 1);
    const uint16_t cells[2] = {7, 9};
    EXPECT_EQ(window->SendMessage(window, 0x8067, sizeof cells, reinterpret_cast<intptr_t>(cells)),
              0);
    EXPECT_EQ(MapDocument()->GetLayer(0).Data[5 * 100 + 4], 7);
    EXPECT_EQ(MapDocument()->GetLayer(0).Data[5 * 100 + 5], 9);
    EXPECT_TRUE(MapDocument()->CanUndo());
}

TEST_F(TWindowHandle, OtherProgramsAskThroughTheLocalSocket)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    ASSERT_NE(Form->MessageServer(), nullptr);
    ASSERT_TRUE(Form->MessageServer()->IsListening());
    QLocalSocket client;
    client.connectToServer(Form->MessageServer()->SocketPath());
    for (int i = 0; i < 50 && client.state() != QLocalSocket::ConnectedState; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_EQ(client.state(), QLocalSocket::ConnectedState);
    uint8_t request[20] = {};
    qToLittleEndian<uint32_t>(0x8001, request);
    client.write(reinterpret_cast<const char *>(request), sizeof request);
    client.flush();
    QByteArray reply;
    for (int i = 0; i < 100 && reply.size() < 8; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        client.waitForReadyRead(10);
        reply += client.readAll();
    }
    ASSERT_EQ(reply.size(), 8);
    EXPECT_EQ(qFromLittleEndian<int64_t>(reply.constData()), 100);
}
