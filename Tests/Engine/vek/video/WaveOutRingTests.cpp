// The ring's contract against a recording device: only full blocks are queued, in order, a partial
// block is kept back, and destruction drops what is still queued.
#include "VideoTestSupport.h"

#include "vek/video/WaveOutRing.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace
{
using namespace QelVideoTest;

constexpr int BLOCKS = 16;
constexpr int BLOCK_SIZE = 4096;

// Bytes that differ from block to block and within a block, so any reordering shows.
std::vector<std::uint8_t> Pattern(std::size_t aSize)
{
    std::vector<std::uint8_t> bytes(aSize);
    for (std::size_t index = 0; index < aSize; ++index)
    {
        bytes[index] = static_cast<std::uint8_t>((index * 7 + index / 4096) % 251);
    }
    return bytes;
}

class WaveOutRingContract : public testing::Test
{
protected:
    std::unique_ptr<Qel::WaveOutRing> MakeRing(int aBlocks = BLOCKS, int aBlockSize = BLOCK_SIZE)
    {
        return std::make_unique<Qel::WaveOutRing>(std::make_unique<RecordingDevice>(myLog), aBlocks,
                                                  aBlockSize);
    }

    std::shared_ptr<SoundLog> myLog = std::make_shared<SoundLog>();
};

TEST_F(WaveOutRingContract, TenThousandBytesQueueTwoBlocksAndKeepTheRest)
{
    auto ring = MakeRing();
    const std::vector<std::uint8_t> bytes = Pattern(10000);
    ring->Write(bytes.data(), 10000);
    EXPECT_EQ(myLog->myBlockSizes, (std::vector<std::size_t>{4096, 4096}));
    EXPECT_EQ(myLog->myBytes, std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 8192));
    EXPECT_EQ(ring->GetCurrent(), 2);
    EXPECT_EQ(ring->GetFill(), 1808);

    // The kept bytes go out first once later writes fill the block.
    const std::vector<std::uint8_t> more = Pattern(2288);
    ring->Write(more.data(), 2288);
    ASSERT_EQ(myLog->myBytes.size(), 3u * 4096u);
    EXPECT_TRUE(std::equal(bytes.begin() + 8192, bytes.end(), myLog->myBytes.begin() + 8192));
    EXPECT_TRUE(std::equal(more.begin(), more.end(), myLog->myBytes.begin() + 10000));
    EXPECT_EQ(ring->GetCurrent(), 3);
    EXPECT_EQ(ring->GetFill(), 0);
}

TEST_F(WaveOutRingContract, BlocksWrapAroundInOrderWhateverTheWriteSizes)
{
    auto ring = MakeRing();
    const std::vector<std::uint8_t> bytes = Pattern(17 * 4096 + 100);
    // Uneven writes: 1, 2, 3, ... bytes, then one large remainder.
    std::size_t offset = 0;
    for (std::size_t size = 1; offset + size <= 20000; ++size)
    {
        ring->Write(bytes.data() + offset, static_cast<int>(size));
        offset += size;
    }
    ring->Write(bytes.data() + offset, static_cast<int>(bytes.size() - offset));
    ASSERT_EQ(myLog->myBlockSizes.size(), 17u);
    EXPECT_EQ(myLog->myBytes, std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 17 * 4096));
    // The 17th full block was block 0 again; block 1 now holds the last 100 bytes.
    EXPECT_EQ(ring->GetCurrent(), 1);
    EXPECT_EQ(ring->GetFill(), 100);
}

TEST_F(WaveOutRingContract, EmptyWritesChangeNothing)
{
    auto ring = MakeRing();
    const std::vector<std::uint8_t> bytes = Pattern(16);
    ring->Write(bytes.data(), 0);
    ring->Write(bytes.data(), -5);
    ring->Write(nullptr, 100);
    EXPECT_EQ(ring->GetFill(), 0);
    EXPECT_TRUE(myLog->myBlockSizes.empty());
}

TEST_F(WaveOutRingContract, DestructionDropsThePartialBlockAndResetsTheDevice)
{
    {
        auto ring = MakeRing();
        const std::vector<std::uint8_t> bytes = Pattern(4096 + 50);
        ring->Write(bytes.data(), static_cast<int>(bytes.size()));
        EXPECT_EQ(myLog->myResets, 0);
    }
    EXPECT_EQ(myLog->myBlockSizes.size(), 1u);
    EXPECT_EQ(myLog->myResets, 1);
}

TEST_F(WaveOutRingContract, AShapelessRingDropsEverything)
{
    const std::vector<std::uint8_t> bytes = Pattern(9000);
    for (auto [blocks, size] : {std::pair{0, 4096}, std::pair{16, 0}, std::pair{-1, -1}})
    {
        auto ring = MakeRing(blocks, size);
        ring->Write(bytes.data(), static_cast<int>(bytes.size()));
        EXPECT_EQ(ring->GetFill(), 0);
    }
    EXPECT_TRUE(myLog->myBlockSizes.empty());

    Qel::WaveOutRing noFormat(static_cast<const Platform::WaveOut::PcmFormat*>(nullptr), BLOCKS, BLOCK_SIZE);
    EXPECT_FALSE(noFormat.IsOpen());
    noFormat.Write(bytes.data(), static_cast<int>(bytes.size()));
    EXPECT_EQ(noFormat.GetCurrent(), 2) << "a ring with no device still keeps its order";
}
} // namespace
