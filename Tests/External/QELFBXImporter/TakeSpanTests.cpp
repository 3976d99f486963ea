// Take spans and frame arithmetic on small files written in code.
#include "ImporterTestHelpers.h"
#include "Platform/Fbx/RecordWriter.h"
#include "Support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>

using namespace QELFBXImporter;

namespace
{
using FbxTest::Object;
using FbxTest::Property;

constexpr int64_t TICKS_PER_FRAME_24 = Qel::Fbx::TICKS_PER_SECOND / 24;

struct TakeFile
{
    std::string takeName = "Take 001";
    int64_t takeStart = 0;
    int64_t takeStop = 30 * TICKS_PER_FRAME_24;
    int64_t stackStart = 0;
    int64_t stackStop = 0;
    std::vector<double> eventTranslation{0, 0, 0};
};

// A bone with an event null below it, one animation stack, and a 24 fps time mode.
std::string Write(const QelTest::TempDir& aDir, const TakeFile& aFile)
{
    FbxTest::Node settings = FbxTest::Make("GlobalSettings");
    settings.Add(std::move(FbxTest::Make("Properties70").Add(Property("TimeMode", {11}))));

    FbxTest::Node objects = FbxTest::Make("Objects");
    objects.Add(Object("Model", 1, "rig:Hip", "LimbNode"));
    FbxTest::Node event = Object("Model", 2, "Step_evt", "Null");
    event.Add(
        std::move(FbxTest::Make("Properties70").Add(Property("Lcl Translation", aFile.eventTranslation))));
    objects.Add(std::move(event));
    FbxTest::Node stack = Object("AnimationStack", 3, "Take 001", "");
    FbxTest::Node stackProperties = FbxTest::Make("Properties70");
    stackProperties.Add(std::move(
        FbxTest::Make("P").Text("LocalStart").Text("KTime").Text("Time").Text("").Long(aFile.stackStart)));
    stackProperties.Add(std::move(
        FbxTest::Make("P").Text("LocalStop").Text("KTime").Text("Time").Text("").Long(aFile.stackStop)));
    stack.Add(std::move(stackProperties));
    objects.Add(std::move(stack));

    FbxTest::Node connections = FbxTest::Make("Connections");
    connections.Add(std::move(FbxTest::Make("C").Text("OO").Long(1).Long(0)));
    connections.Add(std::move(FbxTest::Make("C").Text("OO").Long(2).Long(1)));

    FbxTest::Node takes = FbxTest::Make("Takes");
    FbxTest::Node take = FbxTest::Make("Take");
    take.Text(aFile.takeName);
    take.Add(std::move(FbxTest::Make("LocalTime").Long(aFile.takeStart).Long(aFile.takeStop)));
    takes.Add(std::move(take));

    const std::string bytes = FbxTest::Writer(7400).Finish({settings, objects, connections, takes});
    return aDir.WriteFile("take.fbx", bytes).string();
}

std::string ThrownText(const std::string& aPath, Animation& aAnimation)
{
    try
    {
        LoadAnimation(aPath, aAnimation);
    }
    catch (const std::runtime_error& error)
    {
        return error.what();
    }
    return "no exception";
}
} // namespace

class TakeSpans : public ::testing::Test
{
protected:
    FbxTest::ImporterScope myImporter;
    QelTest::TempDir myDir;
};

TEST_F(TakeSpans, FramesCoverTheTakeAtTheTimeModesRate)
{
    Animation animation;
    ASSERT_TRUE(LoadAnimation(Write(myDir, {}), animation)) << GetLastError();
    EXPECT_EQ(animation.frameCount, 31u);
    EXPECT_EQ(animation.frames.size(), 31u);
    EXPECT_FLOAT_EQ(animation.framesPerSecond, 24.0f);
    EXPECT_DOUBLE_EQ(animation.duration, 1.25);
    EXPECT_EQ(animation.boneNames, (std::vector<std::string>{"rig:Hip"}));
    EXPECT_TRUE(animation.frames[30].localTransforms.contains("Hip"));

    TakeFile late;
    late.takeStart = 10 * TICKS_PER_FRAME_24;
    late.takeStop = 12 * TICKS_PER_FRAME_24;
    ASSERT_TRUE(LoadAnimation(Write(myDir, late), animation));
    EXPECT_EQ(animation.frameCount, 3u);
    EXPECT_NEAR(animation.duration, 2.0 / 24.0, 1e-12);
}

TEST_F(TakeSpans, ATakeThatEndsBeforeItStartsIsRefused)
{
    TakeFile backwards;
    backwards.takeStart = 10 * TICKS_PER_FRAME_24;
    backwards.takeStop = 2 * TICKS_PER_FRAME_24;
    const std::string path = Write(myDir, backwards);
    Animation animation;
    EXPECT_EQ(ThrownText(path, animation), "The file [" + path + "] has an empty take!");
    EXPECT_TRUE(animation.frames.empty());

    // One frame before the start is the empty take the frame count allows: no frames at all.
    TakeFile empty;
    empty.takeStart = 5 * TICKS_PER_FRAME_24;
    empty.takeStop = 4 * TICKS_PER_FRAME_24;
    ASSERT_TRUE(LoadAnimation(Write(myDir, empty), animation));
    EXPECT_EQ(animation.frameCount, 0u);
    EXPECT_TRUE(animation.frames.empty());
}

TEST_F(TakeSpans, WithoutATakeOfItsNameTheStackSpanIsUsed)
{
    TakeFile other;
    other.takeName = "Other";
    other.stackStop = 6 * TICKS_PER_FRAME_24;
    Animation animation;
    ASSERT_TRUE(LoadAnimation(Write(myDir, other), animation));
    EXPECT_EQ(animation.frameCount, 7u);
}

TEST_F(TakeSpans, EventsFireOnANonZeroTranslationSum)
{
    TakeFile balanced;
    balanced.eventTranslation = {1, -1, 0};
    Animation animation;
    ASSERT_TRUE(LoadAnimation(Write(myDir, balanced), animation));
    for (const AnimationFrame& frame : animation.frames)
    {
        EXPECT_TRUE(frame.events.empty());
    }

    TakeFile lifted;
    lifted.eventTranslation = {0, 0, 2};
    Animation fired;
    ASSERT_TRUE(LoadAnimation(Write(myDir, lifted), fired));
    for (const AnimationFrame& frame : fired.frames)
    {
        EXPECT_TRUE(frame.events.contains("Step_evt"));
    }
}

TEST_F(TakeSpans, ATakePastTheFrameBudgetIsRefusedBeforeItsFramesAreMade)
{
    // A bone keeps two matrices a frame: 400,000 frames of one bone pass the budget, 1,000 do not.
    TakeFile longTake;
    longTake.takeStop = 400'000 * TICKS_PER_FRAME_24;
    const std::string path = Write(myDir, longTake);
    Animation animation;
    EXPECT_EQ(ThrownText(path, animation),
              "The file [" + path + "] has a take of 400001 frames, more than its 1 bones may have!");
    EXPECT_TRUE(animation.frames.empty());

    TakeFile fits;
    fits.takeStop = 1'000 * TICKS_PER_FRAME_24;
    ASSERT_TRUE(LoadAnimation(Write(myDir, fits), animation)) << GetLastError();
    EXPECT_EQ(animation.frameCount, 1001u);
}

TEST_F(TakeSpans, TimesBeyondAnyWholeFrameAreRefused)
{
    TakeFile far;
    far.takeStart = INT64_MIN;
    far.takeStop = INT64_MAX;
    const std::string path = Write(myDir, far);
    Animation animation;
    EXPECT_NE(ThrownText(path, animation).find("] has "), std::string::npos);
    EXPECT_TRUE(animation.frames.empty());
}
