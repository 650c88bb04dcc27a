#include "editor/map/TessellaClipboardUnit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <gtest/gtest.h>

TEST(TessellaClipboard, BlockTravelsThroughTheSystemClipboard)
{
    TTessellaClipboard clipboard;
    QGuiApplication::clipboard()->setText("something else");
    EXPECT_FALSE(clipboard.HasData());
    TModified untouched;
    untouched.Layer = 9;
    clipboard.GetData(untouched, 8);
    EXPECT_EQ(untouched.Layer, 9);

    TModified copied;
    copied.Layer = 2;
    copied.Source.Active = 1;
    copied.Source.DX = 2;
    copied.Source.DY = 1;
    copied.SrcPitch = 2;
    copied.Data = {17, 1, 2, 3, 4, 5};
    clipboard.SetData(copied, 8);
    ASSERT_TRUE(clipboard.HasData());
    const QByteArray bytes =
        QGuiApplication::clipboard()->mimeData()->data(TTessellaClipboard::MimeType());
    EXPECT_EQ(bytes.size(), 70);

    TModified first;
    clipboard.GetData(first, 16);
    TModified second;
    clipboard.GetData(second, 16);
    EXPECT_EQ(first.Data, second.Data); // pasting twice gives the same block
    EXPECT_EQ(first.Data[0], 257);
    EXPECT_EQ(first.Layer, 2);
    EXPECT_EQ(first.Source.DX, 2);
}
