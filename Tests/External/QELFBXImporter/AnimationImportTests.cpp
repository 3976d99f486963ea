#include "ImporterTestHelpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <stdexcept>

using namespace QELFBXImporter;
using FbxTest::Fixture;

namespace
{
// The angle of the rotation that takes aFrom's 3x3 part to aTo's (both orthonormal).
double RelativeAngleDegrees(const Matrix& aFrom, const Matrix& aTo)
{
    double trace = 0.0; // trace(aFrom^T * aTo)
    for (int r = 1; r <= 3; ++r)
    {
        for (int c = 1; c <= 3; ++c)
        {
            trace += static_cast<double>(aFrom.At(r, c)) * static_cast<double>(aTo.At(r, c));
        }
    }
    return std::acos(std::clamp((trace - 1.0) * 0.5, -1.0, 1.0)) * 180.0 / std::numbers::pi;
}

std::string Message(const std::function<void()>& aLoad)
{
    try
    {
        aLoad();
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_NE(dynamic_cast<const std::nested_exception*>(&error), nullptr);
        return error.what();
    }
    return "no exception";
}
} // namespace

class FixtureAnimations : public ::testing::Test
{
protected:
    FbxTest::ImporterScope myImporter;
};

TEST_F(FixtureAnimations, ATakeOfThirtyFramesGivesThirtyOneSamples)
{
    Animation animation;
    animation.boneNames = {"kept"};
    ASSERT_TRUE(LoadAnimation(Fixture("skinned.fbx"), animation)) << GetLastError();
    EXPECT_EQ(animation.name, Fixture("skinned.fbx"));
    EXPECT_EQ(animation.frameCount, 31u);
    EXPECT_EQ(animation.frames.size(), 31u);
    EXPECT_DOUBLE_EQ(animation.duration, 1.0);
    EXPECT_FLOAT_EQ(animation.framesPerSecond, 30.0f);
    EXPECT_EQ(animation.boneNames, (std::vector<std::string>{"kept", "rig:Root", "rig:Mid", "rig:Tip"}));
    for (const AnimationFrame& frame : animation.frames)
    {
        EXPECT_EQ(frame.localTransforms.size(), 3u);
        EXPECT_EQ(frame.globalTransforms.size(), 3u);
        EXPECT_EQ(frame.socketTransforms.size(), 1u);
        EXPECT_TRUE(frame.localTransforms.contains("Mid")); // stored under short names
    }
}

TEST_F(FixtureAnimations, SampledJointsFollowTheKeys)
{
    Animation animation;
    ASSERT_TRUE(LoadAnimation(Fixture("skinned.fbx"), animation));
    const Matrix rest = animation.frames[0].localTransforms.at("Mid");
    for (size_t f = 0; f < animation.frames.size(); ++f)
    {
        const AnimationFrame& frame = animation.frames[f];
        // The script turns Mid by 3 degrees a frame about its own X axis.
        EXPECT_NEAR(RelativeAngleDegrees(rest, frame.localTransforms.at("Mid")), 3.0 * static_cast<double>(f),
                    1e-2)
            << f;
        EXPECT_NEAR(frame.localTransforms.at("Mid").At(4, 2), 40.0f, 1e-3f);
        // Globals compose the locals down the chain (row vectors: local, then the parent's global).
        const Matrix tip =
            FbxTest::Multiply(frame.localTransforms.at("Tip"), frame.globalTransforms.at("Mid"));
        EXPECT_LT(FbxTest::MaxDifference(tip, frame.globalTransforms.at("Tip")), 1e-3f);
    }
    // Units are not converted for animations; this file is in centimetres, so the model's socket
    // matches the first frame's.
    Model model;
    ASSERT_TRUE(LoadModel(Fixture("skinned.fbx"), model, false, true));
    EXPECT_LT(FbxTest::MaxDifference(model.skeleton.sockets.at("Hand_socket").matrix,
                                     animation.frames[0].socketTransforms.at("Hand_socket")),
              1e-4f);
}

TEST_F(FixtureAnimations, EventsFireWhenTheirTranslationDoesNotSumToZero)
{
    // Step_evt moves to (0, 0, 2) on frame 10 and to (1, -1, 0) on frame 20, and rests at the origin.
    Animation animation;
    ASSERT_TRUE(LoadAnimation(Fixture("skinned.fbx"), animation));
    for (size_t f = 0; f < animation.frames.size(); ++f)
    {
        const auto& events = animation.frames[f].events;
        if (f == 10)
        {
            ASSERT_EQ(events.size(), 1u);
            EXPECT_TRUE(events.at("Step_evt"));
        }
        else
        {
            EXPECT_TRUE(events.empty()) << f;
        }
    }
}

TEST_F(FixtureAnimations, FilesWithoutSkeletonOrTakeThrow)
{
    Animation animation;
    const std::string cube = Fixture("cube.fbx");
    EXPECT_EQ(Message([&] { LoadAnimation(cube, animation); }), "The file [" + cube + "] has no skeleton!");
    EXPECT_TRUE(animation.boneNames.empty()); // nothing written yet

    const std::string still = Fixture("skeleton_only.fbx");
    EXPECT_EQ(Message([&] { LoadAnimation(still, animation); }),
              "The file [" + still + "] has no animation stack!");
    EXPECT_EQ(animation.boneNames.size(), 3u); // bone names come first
    EXPECT_TRUE(animation.frames.empty());
}

TEST(FrameRates, TimeModesMapToTheirRates)
{
    EXPECT_EQ(Qel::Fbx::FrameRateOfTimeMode(0, -1.0), 30.0); // the default mode
    EXPECT_EQ(Qel::Fbx::FrameRateOfTimeMode(6, -1.0), 30.0);
    EXPECT_EQ(Qel::Fbx::FrameRateOfTimeMode(3, -1.0), 60.0);
    EXPECT_EQ(Qel::Fbx::FrameRateOfTimeMode(11, -1.0), 24.0);
    EXPECT_EQ(Qel::Fbx::FrameRateOfTimeMode(14, 12.5), 12.5);
    // A custom rate no clip could have falls back to the default.
    EXPECT_EQ(Qel::Fbx::FrameRateOfTimeMode(14, std::nan("")), 30.0);
    EXPECT_EQ(Qel::Fbx::FrameRateOfTimeMode(14, HUGE_VAL), 30.0);
    EXPECT_EQ(Qel::Fbx::FrameRateOfTimeMode(14, 1e6), 30.0);
    EXPECT_EQ(Qel::Fbx::FrameRateOfTimeMode(15, -1.0), 96.0);
    EXPECT_EQ(Qel::Fbx::FrameRateOfTimeMode(99, -1.0), 30.0);
}

TEST(Curves, InterpolateBetweenKeysAndHoldAtTheEnds)
{
    Qel::Fbx::Curve curve;
    curve.times = {0, 100, 200};
    curve.values = {0.0, 10.0, 30.0};
    EXPECT_EQ(curve.Evaluate(-50), 0.0);
    EXPECT_EQ(curve.Evaluate(50), 5.0);
    EXPECT_EQ(curve.Evaluate(150), 20.0);
    EXPECT_EQ(curve.Evaluate(500), 30.0);
    curve.constant = true;
    EXPECT_EQ(curve.Evaluate(150), 10.0);
    curve.values.pop_back(); // mismatched keys evaluate to zero rather than past the end
    EXPECT_EQ(curve.Evaluate(150), 0.0);
}
