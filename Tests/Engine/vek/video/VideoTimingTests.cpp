// Playback over simulated time: one picture per frame interval, the end of the stream, looping, and
// videos that cannot be shown.
#include "VideoTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace
{
using namespace QelVideoTest;

std::vector<std::uint8_t> operator+(std::vector<std::uint8_t> aFirst,
                                    const std::vector<std::uint8_t>& aSecond)
{
    aFirst.insert(aFirst.end(), aSecond.begin(), aSecond.end());
    return aFirst;
}

class VideoTiming : public testing::Test
{
protected:
    // Steps the video by whole frame intervals and returns the picture mark of each upload.
    std::vector<std::uint8_t> Steps(int aCount, float aDt = 0.1f)
    {
        const std::size_t before = myLog->myUploadedReds.size();
        for (int step = 0; step < aCount; ++step)
        {
            myVideo.Update(aDt);
        }
        return {myLog->myUploadedReds.begin() + static_cast<std::ptrdiff_t>(before),
                myLog->myUploadedReds.end()};
    }

    static std::vector<std::uint8_t> Marks(int aFirst, int aLast)
    {
        std::vector<std::uint8_t> marks;
        for (int index = aFirst; index <= aLast; ++index)
        {
            marks.push_back(QelTest::ClipPictureRed(index));
        }
        return marks;
    }

    std::shared_ptr<TextureLog> myLog = std::make_shared<TextureLog>();
    Qel::Video myVideo{RecordInto(myLog)};
};

TEST_F(VideoTiming, InitReadsTheFirstPictureAndMakesTheTexture)
{
    EXPECT_EQ(myVideo.GetState(), Qel::VIDEO_STATE_NOT_OPENED);
    ASSERT_TRUE(myVideo.Init(ExactClip().c_str(), false));
    EXPECT_EQ(myVideo.GetState(), Qel::VIDEO_STATE_READY);
    EXPECT_EQ(myVideo.GetFrameWidth(), 64u);
    EXPECT_EQ(myVideo.GetFrameHeight(), 48u);
    EXPECT_EQ(myVideo.GetTextureWidth(), 64u);
    EXPECT_EQ(myVideo.GetTextureHeight(), 64u);
    EXPECT_EQ(myLog->myCreations, 1);
    EXPECT_FALSE(myVideo.IsPlaying());
    EXPECT_FALSE(myVideo.Init(ExactClip().c_str(), false)) << "a second Init is refused";
    EXPECT_EQ(myLog->myCreations, 1);

    // Not playing: time does not run.
    EXPECT_TRUE(Steps(5).empty());
    EXPECT_EQ(myVideo.GetElapsed(), 0.0f);
}

TEST_F(VideoTiming, ShowsEachPictureInTurnThenReportsTheEnd)
{
    ASSERT_TRUE(myVideo.Init(ExactClip().c_str(), false));
    myVideo.Play(false);
    // Init consumed picture 0; each interval brings the next one.
    EXPECT_EQ(Steps(19), Marks(1, 19));
    EXPECT_EQ(myVideo.GetState(), Qel::VIDEO_STATE_READY);
    // The 20th interval finds the end and shows the last picture again, and so does every later one.
    EXPECT_EQ(Steps(3), Marks(19, 19) + Marks(19, 19) + Marks(19, 19));
    EXPECT_EQ(myVideo.GetState(), Qel::VIDEO_STATE_ENDED);
    EXPECT_TRUE(myVideo.IsPlaying());
    EXPECT_EQ(Red(myLog->myTexels.front()), QelTest::ClipPictureRed(19));
}

TEST_F(VideoTiming, ALoopingVideoStartsAgainAndStaysEnded)
{
    ASSERT_TRUE(myVideo.Init(ExactClip().c_str(), false));
    myVideo.Play(true);
    EXPECT_TRUE(myVideo.IsLooping());
    EXPECT_EQ(Steps(20), Marks(1, 19) + Marks(19, 19));
    EXPECT_EQ(myVideo.GetState(), Qel::VIDEO_STATE_ENDED);
    EXPECT_EQ(Steps(20), Marks(0, 19));
    EXPECT_EQ(myVideo.GetState(), Qel::VIDEO_STATE_ENDED);
    // The second end rewinds again.
    EXPECT_EQ(Steps(3), Marks(19, 19) + Marks(0, 1));
    EXPECT_TRUE(myVideo.IsPlaying());
}

TEST_F(VideoTiming, ALongFrameCatchesUpAndKeepsTheRest)
{
    QelTest::ClipSpec spec;
    spec.myRate = "25";
    spec.myFrameCount = 30;
    ASSERT_TRUE(myVideo.Init(Clip("rate25.nut", spec).c_str(), false));
    myVideo.Play(false);
    EXPECT_EQ(Steps(1, 0.1f), Marks(1, 2));
    EXPECT_NEAR(myVideo.GetElapsed(), 0.02f, 1e-5f);
    EXPECT_TRUE(Steps(1, 0.015f).empty());
    EXPECT_EQ(Steps(1, 0.25f), Marks(3, 9));
    EXPECT_NEAR(myVideo.GetElapsed(), 0.005f, 1e-5f);
}

TEST_F(VideoTiming, AFailedUploadStopsTheCatchUpAndKeepsTheTime)
{
    ASSERT_TRUE(myVideo.Init(ExactClip().c_str(), false));
    myVideo.Play(false);
    myLog->myMapFails = true;
    EXPECT_TRUE(Steps(1, 0.35f).empty());
    EXPECT_EQ(myLog->myMaps, 1);
    EXPECT_FLOAT_EQ(myVideo.GetElapsed(), 0.35f);
    myLog->myMapFails = false;
    // The picture decoded before the failed upload is spent; the kept time brings the following ones.
    EXPECT_EQ(Steps(1, 0.0f), Marks(2, 4));
}

TEST_F(VideoTiming, TimeThatIsNoNumberIsIgnored)
{
    ASSERT_TRUE(myVideo.Init(ExactClip().c_str(), false));
    myVideo.Play(false);
    EXPECT_TRUE(Steps(1, std::numeric_limits<float>::quiet_NaN()).empty());
    EXPECT_TRUE(Steps(1, std::numeric_limits<float>::infinity()).empty());
    EXPECT_EQ(myVideo.GetElapsed(), 0.0f);
    EXPECT_EQ(Steps(1), Marks(1, 1));
}

TEST_F(VideoTiming, HugePiledUpTimeEnds)
{
    ASSERT_TRUE(myVideo.Init(ExactClip().c_str(), false));
    myVideo.Play(true);
    myVideo.Update(1.0e9f);
    EXPECT_TRUE(std::isfinite(myVideo.GetElapsed()));
    EXPECT_LT(myVideo.GetElapsed(), 0.1f);
    EXPECT_FALSE(myLog->myUploadedReds.empty());
}

TEST(VideoFailure, AFileThatCannotBeOpenedLeavesNothingToDraw)
{
    auto log = std::make_shared<TextureLog>();
    Qel::Video video(RecordInto(log));
    QelTest::TempDir folder;
    EXPECT_FALSE(video.Init((folder.GetPath() / "missing.mp4").string().c_str(), false));
    EXPECT_EQ(video.GetState(), Qel::VIDEO_STATE_NOT_OPENED);
    EXPECT_EQ(video.GetPictureTexture(), nullptr);
    EXPECT_EQ(video.GetFrameWidth(), 0u);
    // The failed player stays, so a later Init is refused too.
    EXPECT_FALSE(video.Init(ExactClip().c_str(), false));
    video.Play(false);
    video.Update(1.0f);
    EXPECT_EQ(video.GetState(), Qel::VIDEO_STATE_NOT_OPENED);
    EXPECT_EQ(log->myCreations, 0);
    EXPECT_FLOAT_EQ(video.GetElapsed(), 1.0f);
}

TEST(VideoFailure, AFileWithNoDecodablePictureLeavesNothingToDraw)
{
    // The exact clip cut off inside its first picture: the header reads, no picture decodes.
    const std::string whole = ExactClip();
    QelTest::TempDir folder;
    const std::filesystem::path cut = folder.GetPath() / "cut.nut";
    std::filesystem::copy_file(whole, cut);
    std::filesystem::resize_file(cut, 1000);
    auto log = std::make_shared<TextureLog>();
    Qel::Video video(RecordInto(log));
    EXPECT_FALSE(video.Init(cut.string().c_str(), false));
    EXPECT_EQ(video.GetState(), Qel::VIDEO_STATE_NOT_OPENED);
    EXPECT_EQ(log->myCreations, 0);
}

TEST(VideoFailure, PlayingWithoutATextureDecodesNothing)
{
    Qel::Video video([](std::uint32_t, std::uint32_t) { return std::unique_ptr<Qel::impl::VideoTexture>(); });
    ASSERT_TRUE(video.Init(ExactClip().c_str(), false));
    EXPECT_EQ(video.GetState(), Qel::VIDEO_STATE_READY);
    video.Play(false);
    for (int step = 0; step < 40; ++step)
    {
        video.Update(0.1f);
    }
    EXPECT_EQ(video.GetState(), Qel::VIDEO_STATE_READY);
    EXPECT_NEAR(video.GetElapsed(), 0.0f, 1e-4f);
}

} // namespace
