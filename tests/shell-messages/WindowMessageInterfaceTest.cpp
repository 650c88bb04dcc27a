#include "editor/shell/messages/WindowMessageInterface.h"
#include "FakeMessageHost.h"
#include "tests/support/ScriptedDialogSeam.h"

#include <gtest/gtest.h>

namespace
{

intptr_t Send(TFakeMessageHost &host, uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0)
{
    return TessellaWindowMessage(host, message, wParam, lParam);
}

TMapChip *AttachChip(TFakeMessageHost &host, int32_t layer, const std::string &fileName,
                     std::vector<std::unique_ptr<TMapChip>> &owner)
{
    auto chip = std::make_unique<TMapChip>();
    chip->Image = std::make_unique<TFakeChipImage>(64, 96);
    chip->FileName = fileName;
    host.MapObject->SetLayerChip(layer, chip.get());
    owner.push_back(std::move(chip));
    return owner.back().get();
}

TSelection Rect(int32_t x, int32_t y, int32_t dx, int32_t dy, int32_t width)
{
    TSelection s;
    s.Active = 1;
    s.X = x;
    s.Y = y;
    s.DX = dx;
    s.DY = dy;
    s.Index = y * width + x;
    return s;
}

} // namespace

TEST(WindowMessageQueries, AnswerTheMapsFigures)
{
    TFakeMessageHost host;
    host.MakeMap(30, 20, 3, 8);
    EXPECT_EQ(Send(host, 0x8000), 30);
    EXPECT_EQ(Send(host, 0x8001), 20);
    EXPECT_EQ(Send(host, 0x8002), 16);
    EXPECT_EQ(Send(host, 0x8003), 24);
    EXPECT_EQ(Send(host, 0x8004), 8);
    EXPECT_EQ(Send(host, 0x8005), 3);
    EXPECT_EQ(Send(host, 0x8006), 0);
    EXPECT_EQ(Send(host, 0x8007), 0);
    host.AlignmentNotFixed = true;
    EXPECT_EQ(Send(host, 0x8007), 1);

    host.MapObject->SetLayerVisible(1, false);
    EXPECT_EQ(Send(host, 0x800A, 0), 1);
    EXPECT_EQ(Send(host, 0x800A, 1), 0);
    EXPECT_EQ(Send(host, 0x800A, 3), 0);
    EXPECT_EQ(Send(host, 0x800A, static_cast<uintptr_t>(-1)), 0);
}

TEST(WindowMessageQueries, WithoutAMapAnswerZero)
{
    TFakeMessageHost host;
    for (uint32_t message = 0x8000; message <= 0x8006; ++message)
        EXPECT_EQ(Send(host, message), 0) << message;
    EXPECT_EQ(Send(host, 0x800A, 0), 0);
}

TEST(WindowMessageQueries, UnlistedMessagesOfTheRangeDoNothing)
{
    TFakeMessageHost host;
    host.MakeMap(4, 4, 1);
    TRecord<64> record(0xAB);
    for (uint32_t message : {0x800Bu, 0x8063u, 0x8068u, 0x80C9u, 0x812Bu, 0x812Du, 0x8320u})
        EXPECT_EQ(Send(host, message, record.WParam(), record.LParam()), 0) << message;
    EXPECT_EQ(record.Bytes, TRecord<64>(0xAB).Bytes);
    EXPECT_TRUE(host.NewMaps.empty());
    EXPECT_TRUE(host.SelectionsSet.empty());

    EXPECT_TRUE(IsTessellaWindowMessage(0x8000));
    EXPECT_TRUE(IsTessellaWindowMessage(0x8320));
    EXPECT_FALSE(IsTessellaWindowMessage(0x7FFF));
    EXPECT_FALSE(IsTessellaWindowMessage(0x8321));
}

TEST(WindowMessageNames, LayerNameSizeQueryCopiesNothing)
{
    TFakeMessageHost host;
    host.MakeMap(4, 4, 2);
    TRecord<8> request;
    request.Set(0, 1).Set(4, 0);
    TRecord<16> buffer(0xAB);
    EXPECT_EQ(Send(host, 0x8008, request.WParam(), buffer.LParam()), 0);
    EXPECT_EQ(request.Get(4), 7); // "Layer1" and its terminator
    EXPECT_EQ(buffer.Bytes, TRecord<16>(0xAB).Bytes);
}

TEST(WindowMessageNames, LayerNameStaysInsideTheBuffer)
{
    TFakeMessageHost host;
    host.MakeMap(4, 4, 2);
    TRecord<8> request;
    request.Set(0, 1).Set(4, 16);
    TRecord<16> buffer(0xAB);
    EXPECT_EQ(Send(host, 0x8008, request.WParam(), buffer.LParam()), 0);
    EXPECT_EQ(buffer.Text(0), "Layer1");

    request.Set(4, 4);
    buffer = TRecord<16>(0xAB);
    Send(host, 0x8008, request.WParam(), buffer.LParam());
    EXPECT_EQ(buffer.Text(0), "Lay");
    EXPECT_EQ(buffer.Bytes[4], 0xAB);

    // A multi-byte character that does not fit whole is left out.
    host.MapObject->SetLayerName(0, "ab\xC3\xA9");
    request.Set(0, 0).Set(4, 4);
    buffer = TRecord<16>(0xAB);
    Send(host, 0x8008, request.WParam(), buffer.LParam());
    EXPECT_EQ(buffer.Text(0), "ab");

    // An absent layer has the empty name.
    request.Set(0, 9).Set(4, 16);
    Send(host, 0x8008, request.WParam(), buffer.LParam());
    EXPECT_EQ(buffer.Text(0), "");

    EXPECT_EQ(Send(host, 0x8008, 0, buffer.LParam()), 0);
    request.Set(4, 16);
    EXPECT_EQ(Send(host, 0x8008, request.WParam(), 0), 0);
}

TEST(WindowMessageNames, PartsImageFileName)
{
    TFakeMessageHost host;
    host.MakeMap(4, 4, 2);
    std::vector<std::unique_ptr<TMapChip>> chips;
    AttachChip(host, 1, "tiles/grass.png", chips);

    TRecord<8> request;
    request.Set(0, 0).Set(4, 32);
    TRecord<32> buffer(0xAB);
    EXPECT_EQ(Send(host, 0x8009, request.WParam(), buffer.LParam()), 1);
    EXPECT_EQ(request.Get(4), 0);
    EXPECT_EQ(buffer.Bytes, TRecord<32>(0xAB).Bytes);

    request.Set(0, 1).Set(4, 0);
    EXPECT_EQ(Send(host, 0x8009, request.WParam(), buffer.LParam()), 16);
    EXPECT_EQ(request.Get(4), 16);
    EXPECT_EQ(buffer.Bytes, TRecord<32>(0xAB).Bytes);

    request.Set(4, 32);
    EXPECT_EQ(Send(host, 0x8009, request.WParam(), buffer.LParam()), 0);
    EXPECT_EQ(buffer.Text(0), "tiles/grass.png");

    request.Set(4, 6);
    buffer = TRecord<32>(0xAB);
    EXPECT_EQ(Send(host, 0x8009, request.WParam(), buffer.LParam()), 0);
    EXPECT_EQ(buffer.Text(0), "tiles");
    EXPECT_EQ(buffer.Bytes[6], 0xAB);

    EXPECT_EQ(Send(host, 0x8009, 0, buffer.LParam()), 1);
    EXPECT_EQ(Send(host, 0x8009, request.WParam(), 0), 1);
}

TEST(WindowMessageSelection, GetConvertsExtentsToSizes)
{
    TFakeMessageHost host;
    host.MakeMap(10, 10, 1);
    host.Selection = Rect(2, 3, 4, 1, 10);
    TRecord<24> record(0xAB);
    EXPECT_EQ(Send(host, 0x8064, 0, record.LParam()), 0);
    EXPECT_EQ(record.Bytes[0], 1);
    EXPECT_EQ(record.Bytes[1], 0);
    EXPECT_EQ(record.Bytes[3], 0);
    EXPECT_EQ(record.Get(4), 2);
    EXPECT_EQ(record.Get(8), 3);
    EXPECT_EQ(record.Get(12), 5);
    EXPECT_EQ(record.Get(16), 2);
    EXPECT_EQ(record.Get(20), 32);
    EXPECT_EQ(Send(host, 0x8064, 0, 0), 0);
}

TEST(WindowMessageSelection, SetDecreasesTheRecordInPlaceAndRedraws)
{
    TFakeMessageHost host;
    host.MakeMap(10, 10, 1);
    host.Selection = Rect(0, 0, 0, 0, 10);
    TRecord<24> record;
    record.SetByte(0, 1).Set(4, 8).Set(8, 1).Set(12, 5).Set(16, 3).Set(20, 12345);
    EXPECT_EQ(Send(host, 0x8065, 0, record.LParam()), 0);
    EXPECT_EQ(record.Get(12), 4);
    EXPECT_EQ(record.Get(16), 2);

    ASSERT_EQ(host.SelectionsSet.size(), 1u);
    const TSelection &set = host.Selection;
    EXPECT_EQ(set.Active, 1);
    EXPECT_EQ(set.X, 8);
    EXPECT_EQ(set.Y, 1);
    EXPECT_EQ(set.DX, 4);
    EXPECT_EQ(set.DY, 2);
    EXPECT_EQ(set.Index, 18); // follows from X and Y, not from the caller's stale index

    // The old selection and the new one, the latter cut at the map's right edge.
    ASSERT_EQ(host.Redrawn.size(), 2u);
    EXPECT_EQ(host.Redrawn[0].X, 0);
    EXPECT_EQ(host.Redrawn[0].DX, 0);
    EXPECT_EQ(host.Redrawn[1].X, 8);
    EXPECT_EQ(host.Redrawn[1].DX, 1);
    EXPECT_EQ(host.Redrawn[1].DY, 2);

    EXPECT_EQ(Send(host, 0x8065, 0, 0), 0);
    EXPECT_EQ(host.SelectionsSet.size(), 1u);
}

TEST(WindowMessageReadCells, CopiesTheClippedRectangleRowByRow)
{
    TFakeMessageHost host;
    host.MakeMap(5, 4, 2);
    TRecord<28> request;
    // Layer 1, from (3, 2), 4 × 3 cells: 2 × 2 of them lie inside the map.
    request.Set(4, 1).Set(8, 3).Set(12, 2).Set(16, 4).Set(20, 3).Set(24, 8);
    std::array<uint16_t, 6> buffer;
    buffer.fill(0xEEEE);
    EXPECT_EQ(Send(host, 0x8066, request.WParam(), reinterpret_cast<intptr_t>(buffer.data())), 0);
    EXPECT_EQ(buffer[0], 1013);
    EXPECT_EQ(buffer[1], 1014);
    EXPECT_EQ(buffer[2], 1018);
    EXPECT_EQ(buffer[3], 1019);
    EXPECT_EQ(buffer[4], 0xEEEE);

    // Left of and above the map, with the width running past the right edge too.
    request.Set(4, 0).Set(8, -2).Set(12, -1).Set(16, 20).Set(20, 2).Set(24, 10);
    std::array<uint16_t, 5> row;
    EXPECT_EQ(Send(host, 0x8066, request.WParam(), reinterpret_cast<intptr_t>(row.data())), 0);
    EXPECT_EQ(row, (std::array<uint16_t, 5>{0, 1, 2, 3, 4}));
}

TEST(WindowMessageReadCells, NegativeSizesMeanTheWholeMap)
{
    TFakeMessageHost host;
    host.MakeMap(3, 2, 1);
    TRecord<28> request;
    request.Set(8, 0).Set(12, 0).Set(16, -1).Set(20, -1).Set(24, 12);
    std::array<uint16_t, 6> buffer{};
    EXPECT_EQ(Send(host, 0x8066, request.WParam(), reinterpret_cast<intptr_t>(buffer.data())), 0);
    EXPECT_EQ(buffer, (std::array<uint16_t, 6>{0, 1, 2, 3, 4, 5}));
}

TEST(WindowMessageReadCells, AnyMismatchReturnsOneAndLeavesTheBufferAlone)
{
    TScopedDialogSeam seam;
    TFakeMessageHost host;
    host.MakeMap(5, 4, 2);
    TRecord<28> request;
    request.Set(4, 0).Set(8, 3).Set(12, 2).Set(16, 4).Set(20, 3).Set(24, 24);
    TRecord<32> buffer(0xAB);
    EXPECT_EQ(Send(host, 0x8066, request.WParam(), buffer.LParam()), 1); // 24 for 4 cells
    request.Set(24, 7);
    EXPECT_EQ(Send(host, 0x8066, request.WParam(), buffer.LParam()), 1);
    request.Set(24, 8).Set(4, 2);
    EXPECT_EQ(Send(host, 0x8066, request.WParam(), buffer.LParam()), 1); // no layer 2
    request.Set(4, -1);
    EXPECT_EQ(Send(host, 0x8066, request.WParam(), buffer.LParam()), 1);
    request.Set(4, 0).Set(8, 5); // starts right of the map: no cell
    EXPECT_EQ(Send(host, 0x8066, request.WParam(), buffer.LParam()), 1);
    EXPECT_EQ(buffer.Bytes, TRecord<32>(0xAB).Bytes);
    EXPECT_TRUE(seam->Messages.empty());

    EXPECT_EQ(Send(host, 0x8066, 0, buffer.LParam()), 1);
    EXPECT_EQ(Send(host, 0x8066, request.WParam(), 0), 1);
    host.MapObject.reset();
    EXPECT_EQ(Send(host, 0x8066, request.WParam(), buffer.LParam()), 1);
}

TEST(WindowMessageReadCells, AZeroWidthReadsNoCell)
{
    TFakeMessageHost host;
    host.MakeMap(5, 4, 1);
    TRecord<28> request;
    request.Set(8, 2).Set(12, 1).Set(16, 0).Set(20, 2).Set(24, 0);
    TRecord<8> buffer(0xAB);
    EXPECT_EQ(Send(host, 0x8066, request.WParam(), buffer.LParam()), 0);
    request.Set(24, 4);
    EXPECT_EQ(Send(host, 0x8066, request.WParam(), buffer.LParam()), 1);
    EXPECT_EQ(buffer.Bytes, TRecord<8>(0xAB).Bytes);
}

TEST(WindowMessageWriteCells, WritesLayerZeroAtTheSelectionAsOneUndoStep)
{
    TFakeMessageHost host;
    host.MakeMap(6, 5, 2);
    // Dragged leftwards and upwards: covers (2, 1) to (4, 2).
    host.Selection = Rect(4, 2, -2, -1, 6);
    const std::array<uint16_t, 6> cells{100, 101, 102, 103, 104, 105};
    const int32_t cursor = host.MapObject->ModifyCursor();
    EXPECT_EQ(Send(host, 0x8067, sizeof cells, reinterpret_cast<intptr_t>(cells.data())), 0);
    EXPECT_EQ(host.Cell(0, 2, 1), 100);
    EXPECT_EQ(host.Cell(0, 4, 1), 102);
    EXPECT_EQ(host.Cell(0, 2, 2), 103);
    EXPECT_EQ(host.Cell(0, 4, 2), 105);
    EXPECT_EQ(host.Cell(0, 1, 1), 7);
    EXPECT_EQ(host.Cell(1, 2, 1), 1008);
    EXPECT_EQ(host.MapObject->ModifyCursor(), cursor + 3); // begin, data, end
    ASSERT_EQ(host.Redrawn.size(), 1u);
    EXPECT_EQ(host.Redrawn[0].X, 2);
    EXPECT_EQ(host.Redrawn[0].DX, 2);
    EXPECT_EQ(host.CellsChangedCount, 1);

    TSelection changed;
    host.MapObject->Undo(changed);
    EXPECT_EQ(host.Cell(0, 2, 1), 8);
    EXPECT_EQ(host.Cell(0, 4, 2), 16);
    EXPECT_FALSE(host.MapObject->CanUndo());
}

TEST(WindowMessageWriteCells, AByteCountThatDoesNotMatchWritesNothing)
{
    TFakeMessageHost host;
    host.MakeMap(6, 5, 1);
    // Runs past the right and bottom edges: 2 × 2 cells remain.
    host.Selection = Rect(4, 3, 3, 3, 6);
    const std::array<uint16_t, 16> cells{};
    const int32_t cursor = host.MapObject->ModifyCursor();
    for (size_t bytes : {size_t{32}, size_t{6}, size_t{0}, size_t{9}})
        EXPECT_EQ(Send(host, 0x8067, bytes, reinterpret_cast<intptr_t>(cells.data())), 0);
    EXPECT_EQ(host.MapObject->ModifyCursor(), cursor);
    EXPECT_EQ(host.Cell(0, 4, 3), 22);
    EXPECT_TRUE(host.Redrawn.empty());

    EXPECT_EQ(Send(host, 0x8067, 8, reinterpret_cast<intptr_t>(cells.data())), 0);
    EXPECT_EQ(host.Cell(0, 4, 3), 0);
    EXPECT_EQ(host.Cell(0, 5, 4), 0);

    EXPECT_EQ(Send(host, 0x8067, 8, 0), 0);
    host.Selection.Active = 0;
    const int32_t after = host.MapObject->ModifyCursor();
    EXPECT_EQ(Send(host, 0x8067, 8, reinterpret_cast<intptr_t>(cells.data())), 0);
    EXPECT_EQ(host.MapObject->ModifyCursor(), after);
}

TEST(WindowMessageWriteCells, ValuesBeyondTheBitCountAreSkipped)
{
    TFakeMessageHost host;
    host.MakeMap(4, 1, 1, 8);
    host.Selection = Rect(0, 0, 2, 0, 4);
    const std::array<uint16_t, 3> cells{10, 300, 12};
    Send(host, 0x8067, sizeof cells, reinterpret_cast<intptr_t>(cells.data()));
    EXPECT_EQ(host.Cell(0, 0, 0), 10);
    EXPECT_EQ(host.Cell(0, 1, 0), 1);
    EXPECT_EQ(host.Cell(0, 2, 0), 12);
}

TEST(WindowMessageWriteCells, InsideAnOpenGroupTheWriteJoinsIt)
{
    TFakeMessageHost host;
    host.MakeMap(4, 4, 1);
    ASSERT_TRUE(host.MapObject->BeginModify());
    host.Selection = Rect(1, 1, 0, 0, 4);
    const uint16_t cell = 77;
    Send(host, 0x8067, sizeof cell, reinterpret_cast<intptr_t>(&cell));
    EXPECT_TRUE(host.MapObject->InModify());
    EXPECT_TRUE(host.MapObject->EndModify());
    TSelection changed;
    host.MapObject->Undo(changed);
    EXPECT_EQ(host.Cell(0, 1, 1), 5);
    EXPECT_FALSE(host.MapObject->CanUndo());
}

TEST(WindowMessageImage, DescribesTheLayersPartsImage)
{
    TFakeMessageHost host;
    host.MakeMap(4, 4, 2);
    std::vector<std::unique_ptr<TMapChip>> chips;
    AttachChip(host, 1, "parts.bmp", chips);
    TRecord<20 + 260 + 4> record(0xAB);
    record.Set(4, 1);
    EXPECT_EQ(Send(host, 0x80C8, 0, record.LParam()), 0);
    EXPECT_EQ(record.Get(8), 64);
    EXPECT_EQ(record.Get(12), 96);
    EXPECT_EQ(record.Get(16), 0);
    EXPECT_EQ(record.Text(20), "parts.bmp");

    record.Set(4, 0);
    EXPECT_EQ(Send(host, 0x80C8, 0, record.LParam()), 1);
    EXPECT_EQ(record.Get(8), 0);
    EXPECT_EQ(record.Get(16), 0);
    record.Set(4, 7);
    EXPECT_EQ(Send(host, 0x80C8, 0, record.LParam()), 1);
    EXPECT_EQ(Send(host, 0x80C8, 0, 0), 1);
}

TEST(WindowMessageImage, ALongFileNameIsCutToTheNameField)
{
    TFakeMessageHost host;
    host.MakeMap(4, 4, 1);
    std::vector<std::unique_ptr<TMapChip>> chips;
    AttachChip(host, 0, std::string(400, 'x'), chips);
    TRecord<20 + 260 + 4> record(0xAB);
    record.Set(4, 0);
    EXPECT_EQ(Send(host, 0x80C8, 0, record.LParam()), 0);
    EXPECT_EQ(record.Text(20), std::string(259, 'x'));
    EXPECT_EQ(record.Bytes[280], 0xAB);
}

TEST(WindowMessageNewMap, CreatesTheMapTheRecordDescribes)
{
    TFakeMessageHost host;
    host.MakeMap(4, 4, 1);
    TRecord<27> record;
    record.Set(4, 0x103).Set(8, 40).Set(12, 30).Set(16, 16).Set(20, 8).SetByte(24, 16);
    record.SetByte(26, 1);
    EXPECT_EQ(Send(host, 0x812C, record.WParam()), 0);
    ASSERT_EQ(host.NewMaps.size(), 1u);
    const TNewMapCall &call = host.NewMaps[0];
    EXPECT_EQ(call.LayerCount, 3);
    EXPECT_EQ(call.Width, 40);
    EXPECT_EQ(call.Height, 30);
    EXPECT_EQ(call.PartsWidth, 16);
    EXPECT_EQ(call.PartsHeight, 8);
    EXPECT_EQ(call.BitCount, 16);
    EXPECT_TRUE(call.FixedAlignment);
    EXPECT_EQ(Send(host, 0x8000), 40);
    EXPECT_EQ(Send(host, 0x8005), 3);

    record.SetByte(26, 0);
    Send(host, 0x812C, record.WParam());
    EXPECT_FALSE(host.NewMaps.back().FixedAlignment);
    EXPECT_EQ(Send(host, 0x8007), 1);
}

TEST(WindowMessageNewMap, RefusesWhatNoMapCanHold)
{
    TFakeMessageHost host;
    EXPECT_EQ(Send(host, 0x812C, 0), 1);
    TRecord<27> valid;
    valid.Set(4, 1).Set(8, 10).Set(12, 10).Set(16, 32).Set(20, 32).SetByte(24, 8);
    TRecord<27> bad[] = {valid, valid, valid, valid, valid, valid};
    bad[0].Set(4, 0x100);   // no layer
    bad[1].Set(8, 0);       // no width
    bad[2].Set(12, -5);     // negative height
    bad[3].Set(16, 0);      // no parts width
    bad[4].SetByte(24, 12); // no such bit count
    bad[5].Set(8, 100000).Set(12, 100000);
    for (TRecord<27> &record : bad)
        EXPECT_EQ(Send(host, 0x812C, record.WParam()), 1);
    EXPECT_TRUE(host.NewMaps.empty());

    host.NewMapSucceeds = false;
    EXPECT_EQ(Send(host, 0x812C, valid.WParam()), 1);
    EXPECT_EQ(host.NewMaps.size(), 1u);
}
