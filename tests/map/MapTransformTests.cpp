#include "MapTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <new>
#include <string>
#include <tuple>

namespace
{

struct TProgressLog {
    std::vector<std::tuple<int32_t, int32_t, std::string>> Calls;
    TProgressProc Proc()
    {
        return [this](int32_t position, int32_t total, const std::string &message) {
            Calls.emplace_back(position, total, message);
            return true;
        };
    }
};

class TFakeImage : public TChipImage
{
public:
    TFakeImage(int32_t w, int32_t h) : FW(w), FH(h) {}
    int32_t ImageWidth() const override { return FW; }
    int32_t ImageHeight() const override { return FH; }

private:
    int32_t FW, FH;
};

size_t ParkingFilesInTemp()
{
    size_t count = 0;
    for (const auto &entry :
         std::filesystem::directory_iterator(std::filesystem::temp_directory_path()))
        count += entry.path().filename().string().rfind("LAY", 0) == 0;
    return count;
}

} // namespace

TEST(ResizeMap, KeepsTheTopLeftFillsNewCellsAndDropsTheRest)
{
    auto map = MakeMap(10, 10, 2);
    FillWithIndices(*map, 0);
    FillWithIndices(*map, 1);
    TProgressLog progress;
    const size_t before = ParkingFilesInTemp();
    map->ResizeMap(12, 8, progress.Proc(), 99, 1, 3);
    EXPECT_EQ(map->Width(), 12);
    EXPECT_EQ(map->Height(), 8);
    for (int32_t layer = 0; layer < 2; ++layer) {
        ASSERT_EQ(map->GetLayer(layer).Data.size(), 96u);
        for (int32_t y = 0; y < 8; ++y)
            for (int32_t x = 0; x < 12; ++x)
                EXPECT_EQ(Cell(*map, layer, x, y), x < 10 ? y * 10 + x : 99);
    }
    EXPECT_EQ(ParkingFilesInTemp(), before); // the parking file is gone
    ASSERT_FALSE(progress.Calls.empty());
    EXPECT_EQ(progress.Calls.front(), std::make_tuple(-16, -16, std::string("initializing...")));
    EXPECT_EQ(progress.Calls.back(), std::make_tuple(-1, -1, std::string("finishing...")));
    EXPECT_TRUE(map->IsModified());
}

TEST(ResizeMap, SameSizeDoesNothingAndReportsNothing)
{
    auto map = MakeMap(5, 5);
    map->ClearModified();
    TProgressLog progress;
    map->ResizeMap(5, 5, progress.Proc(), 0, 1, 3);
    EXPECT_TRUE(progress.Calls.empty());
    EXPECT_FALSE(map->IsModified());
}

TEST(ResizeMap, FailureLeavesEveryLayerAsItWas)
{
    auto map = MakeMap(4, 4, 2);
    FillWithIndices(*map, 0);
    const std::vector<uint16_t> original = map->GetLayer(0).Data;
    const std::string oldTemp = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    setenv("TMPDIR", "/nonexistent-folder-for-tessella-tests", 1);
    EXPECT_THROW(map->ResizeMap(8, 8, nullptr, 0, 1, 3), EMapAbort);
    if (oldTemp.empty())
        unsetenv("TMPDIR");
    else
        setenv("TMPDIR", oldTemp.c_str(), 1);
    EXPECT_EQ(map->Width(), 4);
    EXPECT_EQ(map->GetLayer(0).Data, original);
    EXPECT_EQ(map->GetLayer(1).Data.size(), 16u);
}

// A size whose cells cannot be allocated is refused with every layer intact, and the map
// stays fully usable: the next resize works on the old cells.
TEST(ResizeMap, AnImpossibleSizeLeavesEveryLayerAndTheNextResizeWorks)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer aborts on a 2 TB request instead of failing it";
#endif
    auto map = MakeMap(6, 5, 3);
    for (int32_t l = 0; l < 3; ++l)
        FillWithIndices(*map, l);
    const std::vector<uint16_t> original = map->GetLayer(0).Data;
    EXPECT_THROW(map->ResizeMap(1000000, 1000000, nullptr, 0, 1, 3), std::bad_alloc);
    EXPECT_EQ(map->Width(), 6);
    for (int32_t l = 0; l < 3; ++l)
        EXPECT_EQ(map->GetLayer(l).Data, original) << "layer " << l;
    map->ResizeMap(15, 11, nullptr, 7, 1, 3);
    for (int32_t l = 0; l < 3; ++l) {
        ASSERT_EQ(map->GetLayer(l).Data.size(), 165u);
        EXPECT_EQ(Cell(*map, l, 5, 4), 29);
        EXPECT_EQ(Cell(*map, l, 14, 10), 7);
    }
}

// A scroll that fails half-way (here its progress gives up on the third layer) puts the
// layers already scrolled back and leaves no group in the log.
TEST(ScrollMap, AFailureHalfWayLeavesEveryLayerAndTheLog)
{
    auto map = MakeMap(5, 4, 3);
    for (int32_t l = 0; l < 3; ++l)
        FillWithIndices(*map, l);
    map->BeginModify();
    map->WriteData(*std::make_unique<TModified>(Single(0, 0, 0, 77)), 256);
    map->EndModify();
    const std::vector<uint16_t> original = map->GetLayer(1).Data;
    const int32_t cursor = map->ModifyCursor();
    const TProgressProc failOnThirdLayer = [](int32_t position, int32_t total,
                                              const std::string &) {
        if (position == 2 && total == 3)
            throw std::runtime_error("aborted");
        return true;
    };
    EXPECT_THROW(map->ScrollMap(1, 1, -1, failOnThirdLayer), EMapAbort);
    EXPECT_EQ(Cell(*map, 0, 0, 0), 77);
    EXPECT_EQ(map->GetLayer(1).Data, original);
    EXPECT_EQ(map->GetLayer(2).Data, original);
    EXPECT_EQ(map->ModifyCursor(), cursor);
    TSelection changed;
    map->Undo(changed);
    EXPECT_EQ(Cell(*map, 0, 0, 0), 0);
    EXPECT_FALSE(map->CanUndo());
}

TEST(ScrollMap, ShiftsCyclicallyInBothDirections)
{
    auto map = MakeMap(4, 1);
    map->GetLayer(0).Data = {0, 1, 2, 3};
    ASSERT_TRUE(map->ScrollMap(-1, 0, 0, nullptr));
    EXPECT_EQ(map->GetLayer(0).Data, (std::vector<uint16_t>{3, 0, 1, 2}));
    map->GetLayer(0).Data = {0, 1, 2, 3};
    map->ScrollMap(1, 0, 0, nullptr);
    EXPECT_EQ(map->GetLayer(0).Data, (std::vector<uint16_t>{1, 2, 3, 0}));
}

TEST(ScrollMap, VerticalAndOversizedOffsetsWrap)
{
    auto map = MakeMap(2, 3);
    map->GetLayer(0).Data = {1, 2, 3, 4, 5, 6};
    map->ScrollMap(2 + 4 * 2, 1 + 3 * 5, 0, nullptr); // same as (0, 1)
    EXPECT_EQ(map->GetLayer(0).Data, (std::vector<uint16_t>{3, 4, 5, 6, 1, 2}));
    map->ScrollMap(-7, -3001, 0, nullptr); // same as (1, 2)
    EXPECT_EQ(map->GetLayer(0).Data, (std::vector<uint16_t>{2, 1, 4, 3, 6, 5}));
}

TEST(ScrollMap, AllLayersUndoInOneStep)
{
    auto map = MakeMap(3, 3, 3);
    for (int32_t l = 0; l < 3; ++l)
        FillWithIndices(*map, l);
    const std::vector<uint16_t> original = map->GetLayer(0).Data;
    TProgressLog progress;
    ASSERT_TRUE(map->ScrollMap(1, 2, -1, progress.Proc()));
    EXPECT_NE(map->GetLayer(2).Data, original);
    EXPECT_EQ(std::get<2>(progress.Calls.front()), "initializing...");
    EXPECT_EQ(std::get<0>(progress.Calls.front()), -3);
    TSelection changed;
    map->Undo(changed);
    for (int32_t l = 0; l < 3; ++l)
        EXPECT_EQ(map->GetLayer(l).Data, original);
    EXPECT_FALSE(map->CanUndo());
}

TEST(ScrollMap, RefusesAMissingLayer)
{
    auto map = MakeMap(3, 3);
    EXPECT_FALSE(map->ScrollMap(1, 1, 5, nullptr));
    EXPECT_EQ(map->ModifyRecords().size(), 1u);
}

TEST(RemapChipNumbers, KeepsRowAndColumnUnderTheNewColumnCount)
{
    auto map = MakeMap(3, 1, 1, 8);
    map->GetLayer(0).Data = {17, 0, 255};
    map->RemapChipNumbers(16, 256, 16, 0, 0);
    EXPECT_EQ(map->BitCount(), 16);
    EXPECT_EQ(map->GetLayer(0).Data, (std::vector<uint16_t>{257, 0, 15 * 256 + 15}));
}

TEST(RemapChipNumbers, NumbersOutsideTheImageOrTheLimitBecomeTheDefault)
{
    TMapChip chip;
    chip.Image = std::make_unique<TFakeImage>(8 * 32, 4 * 32 - 5); // 8 × 4 parts
    auto map = MakeMap(4, 1, 1, 16);
    map->SetLayerChip(0, &chip);
    map->GetLayer(0).Data = {9, 7, 3 * 16 + 1, 4 * 16};
    map->RemapChipNumbers(16, 16, 16, 1234, 0);
    EXPECT_EQ(map->GetLayer(0).Data, (std::vector<uint16_t>{1234, 7, 3 * 16 + 1, 1234}));

    auto small = MakeMap(1, 1, 1, 16);
    small->GetLayer(0).Data = {257};
    small->RemapChipNumbers(256, 256, 8, 3, 0);
    EXPECT_EQ(small->GetLayer(0).Data, std::vector<uint16_t>{3});
}

TEST(ReplaceChip, ReplacesEveryMatchAsOneUndoStep)
{
    auto map = MakeMap(3, 2);
    map->GetLayer(0).Data = {1, 2, 1, 3, 1, 4};
    ASSERT_TRUE(map->ReplaceChip(1, 9, 0));
    EXPECT_EQ(map->GetLayer(0).Data, (std::vector<uint16_t>{9, 2, 9, 3, 9, 4}));
    TSelection changed;
    map->Undo(changed);
    EXPECT_EQ(map->GetLayer(0).Data, (std::vector<uint16_t>{1, 2, 1, 3, 1, 4}));
}

TEST(ReplaceChip, SameValueStillWritesARecord)
{
    auto map = MakeMap(2, 2);
    ASSERT_TRUE(map->ReplaceChip(0, 0, 0));
    EXPECT_TRUE(map->CanUndo());
    EXPECT_EQ(map->ModifyRecords().size(), 4u);
}

TEST(FindChip, ScansFromTheStartIndex)
{
    auto map = MakeMap(3, 3);
    map->GetLayer(0).Data = {0, 5, 0, 0, 0, 5, 0, 0, 0};
    EXPECT_EQ(map->FindChip(5, 0, 0), 1);
    EXPECT_EQ(map->FindChip(5, 0, 2), 5);
    EXPECT_EQ(map->FindChip(5, 0, 6), -1);
    EXPECT_EQ(map->FindChip(5, 0, 100), -1);
    EXPECT_EQ(map->FindChip(5, 3, 0), -1);
}
