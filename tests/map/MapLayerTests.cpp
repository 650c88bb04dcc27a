#include "MapTestSupport.h"
#include "tests/support/ScriptedDialogSeam.h"

#include <gtest/gtest.h>

TEST(MapLifecycle, NewMapIsReadyOnlyAfterTheFirstLayer)
{
    TMap map;
    EXPECT_EQ(map.Width(), 1);
    EXPECT_EQ(map.PartsWidth(), 32);
    EXPECT_FALSE(map.IsReady());
    EXPECT_FALSE(map.IsModified());
    ASSERT_EQ(map.ModifyRecords().size(), 1u);

    map.Initialize(10, 8, 16, 24, 16);
    EXPECT_FALSE(map.IsReady());
    EXPECT_TRUE(map.IsModified());
    EXPECT_EQ(map.BitCount(), 16);
    map.AddLayer("a", nullptr, 0);
    EXPECT_TRUE(map.IsReady());
    map.ClearModified();
    EXPECT_FALSE(map.IsModified());

    map.DeleteLayer(0);
    EXPECT_EQ(map.LayerCount(), 0);
    EXPECT_TRUE(map.IsReady()); // deleting does not clear Ready
    map.ClearLayers();
    EXPECT_FALSE(map.IsReady());
}

TEST(MapLayers, AddLayerKeepsTheLow16BitsOfTheFillValue)
{
    auto map = MakeMap(3, 2, 0);
    map->AddLayer("zero", nullptr, 0);
    map->AddLayer("five", nullptr, 65536 + 5);
    EXPECT_EQ(map->GetLayer(0).Data, std::vector<uint16_t>(6, 0));
    EXPECT_EQ(map->GetLayer(1).Data, std::vector<uint16_t>(6, 5));
    EXPECT_TRUE(map->GetLayer(1).Visible);
}

TEST(MapLayers, IndicesAbove255CountAsAbsent)
{
    auto map = MakeMap(2, 2, 300);
    map->ClearModified();
    EXPECT_EQ(map->GetLayerName(256), "");
    EXPECT_EQ(map->GetLayerName(255), "Layer255");
    map->SetLayerName(256, "x");
    EXPECT_EQ(map->GetLayer(256).Name, "Layer256");
    EXPECT_TRUE(map->IsModified());
    EXPECT_FALSE(map->MergeLayer(255, 256, 0));
    EXPECT_EQ(map->LayerCount(), 300);
}

TEST(MapLayers, MergeTakesTheUpperLayerExceptWhereItIsTransparent)
{
    auto map = MakeMap(2, 2, 2);
    map->GetLayer(0).Data = {1, 2, 3, 4};
    map->GetLayer(1).Data = {9, 7, 9, 8};
    ASSERT_TRUE(map->MergeLayer(0, 1, 9));
    EXPECT_EQ(map->LayerCount(), 1);
    EXPECT_EQ(map->GetLayer(0).Data, (std::vector<uint16_t>{1, 7, 3, 8}));
    EXPECT_EQ(map->ModifyRecords().size(), 1u); // not recorded
}

TEST(MapLayers, DuplicateCopiesCellsChipAndVisibility)
{
    TMapChip chip;
    auto map = MakeMap(2, 1, 0);
    map->AddLayer("base", &chip, 4);
    map->SetLayerVisible(0, false);
    map->DuplicateLayer(0, "copy");
    ASSERT_EQ(map->LayerCount(), 2);
    EXPECT_EQ(map->GetLayer(1).Name, "copy");
    EXPECT_EQ(map->GetLayerChip(1), &chip);
    EXPECT_FALSE(map->GetLayerVisible(1));
    EXPECT_EQ(map->GetLayer(1).Data, (std::vector<uint16_t>{4, 4}));
    EXPECT_THROW(map->DuplicateLayer(7, "none"), EMapAbort);
}

TEST(MapLayers, FlagsThatDoAndDoNotMarkTheMapModified)
{
    TMapChip chip;
    auto map = MakeMap(2, 2, 2);
    map->ClearModified();
    map->SetLayerVisible(0, false);
    EXPECT_FALSE(map->IsModified());
    map->ClearLayerChip(0);
    EXPECT_FALSE(map->IsModified());
    map->SetLayerChip(0, &chip);
    EXPECT_TRUE(map->IsModified());
    map->ClearModified();
    map->ClearLayerChip(0);
    EXPECT_TRUE(map->IsModified());
    EXPECT_EQ(map->GetLayerChip(0), nullptr);
    map->ClearModified();
    map->SwapLayers(0, 1);
    EXPECT_TRUE(map->IsModified());
    EXPECT_EQ(map->GetLayer(0).Name, "Layer1");
    map->ClearModified();
    map->SetPartsSize(8, 8);
    EXPECT_FALSE(map->IsModified());
}

TEST(MapReadData, CopiesTheSourceBlockRowByRow)
{
    auto map = MakeMap(5, 4);
    FillWithIndices(*map, 0);
    TModified request;
    request.Layer = 0;
    request.Source = {1, 1, 2, 2, 1, 2 * 5 + 1};
    ASSERT_TRUE(map->ReadData(request));
    EXPECT_EQ(request.Data, (std::vector<uint16_t>{11, 12, 13, 16, 17, 18}));
}

TEST(MapReadData, MissingLayerShowsTheErrorAndChangesNothing)
{
    TScopedDialogSeam seam;
    auto map = MakeMap(3, 3);
    TModified request;
    request.Layer = 4;
    request.Data = {42};
    EXPECT_FALSE(map->ReadData(request));
    EXPECT_EQ(request.Data, std::vector<uint16_t>{42});
    ASSERT_EQ(seam->Messages.size(), 1u);
    EXPECT_EQ(seam->Messages[0].Kind, mkError);
    EXPECT_EQ(seam->Messages[0].Text, "not found layer(layer:4)");
}

TEST(MapReadData, BlockReachingPastTheLayerReadsZerosThere)
{
    auto map = MakeMap(2, 2);
    map->GetLayer(0).Data = {1, 2, 3, 4};
    TModified request;
    request.Source = {1, 1, 1, 1, 1, 3};
    ASSERT_TRUE(map->ReadData(request));
    EXPECT_EQ(request.Data, (std::vector<uint16_t>{4, 0, 0, 0}));
}

TEST(MapSize, TenThousandSquareMapWithOneLayerWorks)
{
    auto map = MakeMap(10000, 10000);
    EXPECT_EQ(map->GetLayer(0).Data.size(), 100000000u);
    TModified pen = Single(0, 9999, 9999, 7);
    ASSERT_TRUE(map->WriteData(pen, 256));
    EXPECT_EQ(Cell(*map, 0, 9999, 9999), 7);
}

TEST(MapLayers, AddLayerFromCellsCopiesExactlyOneLayer)
{
    auto map = MakeMap(3, 2, 0);
    const uint16_t cells[7] = {1, 2, 3, 4, 5, 6, 99};
    ASSERT_TRUE(map->AddLayer("loaded", nullptr, cells));
    EXPECT_EQ(map->GetLayer(0).Data, (std::vector<uint16_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_TRUE(map->IsReady());
    map->AddLayer("empty", nullptr, static_cast<const uint16_t *>(nullptr));
    EXPECT_EQ(map->GetLayer(1).Data, std::vector<uint16_t>(6, 0));
}
