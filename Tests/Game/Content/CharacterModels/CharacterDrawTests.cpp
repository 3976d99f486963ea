// The player drawn by the engine's model drawer, skinned and textured as the game draws it: upright in
// the frame with its feet on the ground line, in its own colours, and posed differently when it runs.
#include "Engine/vek/drawers/ModelRenderFixture.h"
#include "vek/model/ModelInstance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace
{
struct Coverage
{
    int top = 1 << 20;
    int bottom = -1;
    int left = 1 << 20;
    int right = -1;
    int count = 0;
    int bluish = 0;
    int warm = 0;
};

class CharacterDrawTest : public QelTest::ModelRenderFixture
{
protected:
    // The game's asset root of the test run, kept from before the fixture moved the executable folder.
    std::string Asset(const std::string& aRelative) const
    {
        return (myRunFolder / "data/game" / aRelative).lexically_normal().string();
    }

    // Draws the player with the clip's pose at aTime under a camera 300 units in front of its side,
    // level with its middle, and reads what covers the frame.
    Coverage DrawPlayer(const char* aClip, float aTime)
    {
        Qel::AnimatedModelInstance instance =
            myFactory->GetAnimatedModelInstance(Asset("models/SK/CH_Player.fbx"));
        EXPECT_TRUE(instance.GetModel());
        if (!instance.GetModel())
        {
            return {};
        }
        Qel::Texture* texture =
            myTextures->TryGetTexture(Asset("textures/Common/CH_Player_T.dds").c_str(), 1, false);
        EXPECT_NE(texture, nullptr);
        for (std::size_t m = 0; m < instance.GetModel()->myMeshes.size(); ++m)
        {
            instance.myTextures[m].myAlbedo = texture;
        }
        Qel::AnimationPlayer player = myFactory->GetAnimationPlayer(
            Asset(std::string("Animations/Player/CH_Playercharacter_") + aClip + ".fbx"),
            instance.GetModel());
        EXPECT_TRUE(player.myAnimation);
        player.myTime = aTime;
        player.UpdatePose();
        instance.SetPose(player);

        StartFrame(-300.0f);
        Qel::Camera camera;
        camera.SetPerspectiveProjection(60.0f, {static_cast<float>(WIDTH), static_cast<float>(HEIGHT)}, 1.0f,
                                        10000.0f);
        camera.SetTransform(Qel::Matrix4x4::CreateTranslation({0.0f, 75.0f, -300.0f}));
        Stack().SetCamera(camera);
        Drawer().DrawAnimatedModel(instance);

        const std::vector<std::uint8_t> pixels = ReadPixels();
        Coverage c;
        for (int y = 0; y < HEIGHT; ++y)
        {
            for (int x = 0; x < WIDTH; ++x)
            {
                const std::array<int, 4> p = PixelAt(pixels, x, y);
                if ((p[0] | p[1] | p[2]) == 0)
                {
                    continue;
                }
                ++c.count;
                c.top = std::min(c.top, y);
                c.bottom = std::max(c.bottom, y);
                c.left = std::min(c.left, x);
                c.right = std::max(c.right, x);
                c.bluish += p[2] > p[0] + 20 ? 1 : 0;
                c.warm += p[0] > p[2] + 60 ? 1 : 0;
            }
        }
        myLastPixels = pixels;
        return c;
    }

    std::vector<std::uint8_t> myLastPixels;
};

TEST_F(CharacterDrawTest, TheIdlePlayerStandsUprightOnTheGroundLineInItsColours)
{
    const Coverage idle = DrawPlayer("idle", 0.5f);
    ASSERT_GT(idle.count, 0);
    // 300 units away, 60 degrees across 64 pixels: about 0.185 pixels a unit, the ground 14 pixels
    // below the frame's middle and the hood's tip 14 above it.
    const float pixelsPerUnit = (HEIGHT / 2.0f) / (300.0f * 0.4330127f);
    EXPECT_NEAR(idle.bottom, HEIGHT / 2.0f + 75.0f * pixelsPerUnit, 2.0f);
    EXPECT_NEAR(idle.bottom - idle.top + 1, 150.0f * pixelsPerUnit, 3.0f);
    EXPECT_GT(idle.bottom - idle.top, idle.right - idle.left);
    // The cloak is blue and the scarf warm.
    EXPECT_GT(idle.bluish, idle.count / 4);
    EXPECT_GT(idle.warm, 0);
}

TEST_F(CharacterDrawTest, TheRunningPlayerStridesWiderThanItStands)
{
    const Coverage idle = DrawPlayer("idle", 0.5f);
    const std::vector<std::uint8_t> standing = myLastPixels;
    const Coverage run = DrawPlayer("run", 0.125f);
    ASSERT_GT(idle.count, 0);
    ASSERT_GT(run.count, 0);
    EXPECT_GT(run.right - run.left, idle.right - idle.left + 2);
    EXPECT_GT(LargestDifference(myLastPixels, standing), 100);
}
} // namespace
