// The results screen, a checkpoint and the exit door through the engine with the shipped layout,
// pictures and models: the rank picture fills the screen and changes with the rank, a checkpoint that
// lights up shows its lit model and glow, and the door wears its world's texture. With QEL_PICTURE_DIR
// set, the frames are also written there as PNG files to look at.
#include "Engine/vek/graphics/EngineFixture.h"

#include "Base/InputHandler.h"
#include "Builders/LevelObjectBuilders.h"
#include "Camera/CameraController.h"
#include "Collision/BoxColliderComponent.h"
#include "Components/AnimatedMeshComponent.h"
#include "Components/MeshComponent.h"
#include "Effects/VfxSystem.h"
#include "Level/CheckpointComponent.h"
#include "Level/LevelEndComponent.h"
#include "Menu/LevelEndResultsMenu.h"
#include "Menu/StateStack.h"
#include "World/WorldRenderPass.h"
#include "vek/graphics/DX11.h"
#include "vek/graphics/GraphicsEngine.h"
#include "vek/graphics/GraphicsStateStack.h"
#include "vek/graphics/TextureManager.h"

#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

#include <cstdlib>
#include <fstream>

namespace
{
constexpr int WIDTH = 640;
constexpr int HEIGHT = 360;

class LevelEndPicture : public QelTest::EngineFixture
{
protected:
    void SetUp() override
    {
        EngineFixture::SetUp();
        // The built game's pictures under the test's game root.
        std::filesystem::create_directory_symlink(myRunFolder / "data/game", myFolder.GetPath() / "game");
        ASSERT_TRUE(StartEngine(WIDTH, HEIGHT));
        myLayout = nlohmann::json::parse(std::ifstream(myRunFolder / "settings/UISettings.json"));
    }

    // One frame of the results for aScore, read back with rows from the top.
    std::vector<std::uint8_t> Draw(int aScore, const char* aPictureName)
    {
        LevelEndResultsMenu results("levels/L_World1_Level1.vks", "levels/L_World1_Level2.vks", aScore);
        results.Init(myStack, myLayout);
        // Counted up to the full score.
        results.SetClock([] { return 0.0f; });
        InputHandler input;
        results.Update(input, {-1.0f, -1.0f});
        results.SetClock([] { return 10.0f; });
        results.Update(input, {-1.0f, -1.0f});
        Qel::Engine& engine = *Qel::Engine::GetInstance();
        EXPECT_TRUE(engine.BeginFrame());
        results.Render(engine.GetGraphicsEngine()->GetSpriteDrawer());
        return FinishFrame(aPictureName);
    }

    // One frame of the objects as the world draws them.
    std::vector<std::uint8_t> DrawWorld(const std::vector<std::unique_ptr<GameObject>>& someObjects,
                                        CameraController& aCamera, VfxSystem& aVfx, const char* aPictureName)
    {
        EXPECT_TRUE(Qel::Engine::GetInstance()->BeginFrame());
        RenderSceneObjects(someObjects, aCamera, aVfx, true, true, false);
        return FinishFrame(aPictureName);
    }

    static std::vector<std::uint8_t> FinishFrame(const char* aPictureName)
    {
        std::vector<std::uint8_t> pixels =
            Qel::DX11::GetContext()->ReadColorPixels(Qel::DX11::GetSwapChain()->GetBuffer(0));
        Qel::Engine::GetInstance()->EndFrame();
        if (const char* folder = std::getenv("QEL_PICTURE_DIR"))
        {
            const std::string path = std::string(folder) + "/" + aPictureName;
            EXPECT_NE(stbi_write_png(path.c_str(), WIDTH, HEIGHT, 4, pixels.data(), WIDTH * 4), 0) << path;
        }
        return pixels;
    }

    static int CountDiffering(const std::vector<std::uint8_t>& aLeft, const std::vector<std::uint8_t>& aRight)
    {
        int differing = 0;
        for (std::size_t i = 0; i + 3 < std::min(aLeft.size(), aRight.size()); i += 4)
        {
            differing +=
                aLeft[i] != aRight[i] || aLeft[i + 1] != aRight[i + 1] || aLeft[i + 2] != aRight[i + 2];
        }
        return differing;
    }

    static int Brightness(const std::vector<std::uint8_t>& somePixels, int aX, int aRowFromTop)
    {
        const std::size_t at =
            (static_cast<std::size_t>(aRowFromTop) * WIDTH + static_cast<std::size_t>(aX)) * 4;
        return somePixels[at] + somePixels[at + 1] + somePixels[at + 2];
    }

    nlohmann::json myLayout;
    StateStack myStack;
};

TEST_F(LevelEndPicture, TheRankPictureFillsTheScreenAndFollowsTheRank)
{
    const std::vector<std::uint8_t> bad = Draw(10, "results_bad.png");
    const std::vector<std::uint8_t> good = Draw(500, "results_good.png");
    static_cast<void>(Draw(80, "results_ok.png"));
    ASSERT_EQ(bad.size(), static_cast<std::size_t>(WIDTH * HEIGHT * 4));
    // Lit in every corner: the picture covers the cleared screen.
    for (const auto& [x, y] : {std::pair{4, 4}, std::pair{WIDTH - 5, 4}, std::pair{4, HEIGHT - 5},
                               std::pair{WIDTH - 5, HEIGHT - 5}})
    {
        EXPECT_GT(Brightness(good, x, y), 0) << x << "," << y;
    }
    EXPECT_GT(CountDiffering(bad, good), WIDTH * HEIGHT / 4) << "the bad and the good rank look alike";
}

TEST_F(LevelEndPicture, ACheckpointThatLightsUpShowsItsLitModelAndGlow)
{
    VfxSystem vfx;
    ASSERT_TRUE(vfx.Load());
    VfxSystem::SetActive(&vfx);
    CameraController camera;
    camera.ResetToDefaults();
    camera.SetSceneCameraTransform({0.0f, 300.0f, -2000.0f}, Qel::Quaternion());

    SceneObjectData data;
    data.name = "Checkpoint";
    data.model = "models/StaticMeshes/SM_Checkpoint.fbx";
    std::vector<std::unique_ptr<GameObject>> objects;
    objects.push_back(BuildCheckpointObject(data));
    GameObject& checkpoint = *objects.back();
    checkpoint.SetTag("Checkpoint");
    checkpoint.Start(Qel::Engine::GetInstance());
    const MeshComponent* mesh = checkpoint.GetComponent<MeshComponent>();
    ASSERT_TRUE(mesh != nullptr && mesh->HasModel());

    const std::vector<std::uint8_t> unlit = DrawWorld(objects, camera, vfx, "checkpoint_unlit.png");
    ASSERT_TRUE(checkpoint.GetComponent<CheckpointComponent>()->Activate());
    EXPECT_EQ(vfx.GetActiveCount(), 1u) << "the glow was not spawned";
    vfx.Update(0.3f);
    const std::vector<std::uint8_t> lit = DrawWorld(objects, camera, vfx, "checkpoint_lit.png");
    EXPECT_GT(CountDiffering(unlit, lit), 500) << "lighting the checkpoint changed nothing";
    VfxSystem::SetActive(nullptr);
}

TEST_F(LevelEndPicture, TheDoorWearsItsWorldsTextureAndItsPromptPlaceLeavesTheStatesAsFound)
{
    Qel::Engine& engine = *Qel::Engine::GetInstance();
    Qel::TextureManager& textures = *engine.GetTextureManager();
    const std::string worlds[] = {"textures/Common/SM_Deco_W1_Rock_T.dds",
                                  "textures/Common/SM_Deco_W2_Rock_T.dds",
                                  "textures/Common/SM_Deco_W3_Crystal_T.dds"};
    // The door's texture on every mesh of a door of aWorldIndex, with the three world textures.
    const auto doorTexture = [&](int aWorldIndex, const std::string& aThirdWorld)
    {
        SceneObjectData data;
        data.name = "LevelEnd";
        data.model = "models/SK/EN_LevelEnd_Door.fbx";
        data.properties = {{"World Index", aWorldIndex},
                           {"World 1 Texture", worlds[0]},
                           {"World 2 Texture", worlds[1]},
                           {"World 3 Texture", aThirdWorld}};
        std::unique_ptr<GameObject> door = BuildLevelEndObject(data);
        door->Start(&engine);
        AnimatedMeshComponent* mesh = door->GetComponent<AnimatedMeshComponent>();
        EXPECT_TRUE(mesh != nullptr && mesh->HasModel());
        const Qel::AnimatedModelInstance& instance = mesh->GetModelInstanceRef();
        const std::size_t meshCount = instance.GetModel()->myMeshes.size();
        for (std::size_t index = 1; index < meshCount; ++index)
        {
            EXPECT_EQ(instance.myTextures[index].myAlbedo, instance.myTextures[0].myAlbedo) << index;
        }
        return instance.myTextures[0].myAlbedo;
    };
    Qel::Texture* const own = textures.TryGetTexture("textures/Common/EN_LevelEnd_Door_T.dds", 1, false);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(doorTexture(2, worlds[2]), textures.TryGetTexture(worlds[1].c_str(), 1, false));
    EXPECT_EQ(doorTexture(7, worlds[2]), textures.TryGetTexture(worlds[2].c_str(), 1, false))
        << "7 is world 3";
    EXPECT_EQ(doorTexture(0, worlds[2]), textures.TryGetTexture(worlds[0].c_str(), 1, false))
        << "0 is world 1";
    EXPECT_EQ(doorTexture(3, "textures/Common/NoSuchDoor_T.dds"), own)
        << "a missing texture keeps the door's";

    // With the player at the closed door, and while it opens, the prompt's place is given back.
    SceneObjectData data;
    data.name = "LevelEnd";
    data.model = "models/SK/EN_LevelEnd_Door.fbx";
    std::unique_ptr<GameObject> door = BuildLevelEndObject(data);
    door->GetTransform().SetPosition({400.0f, 100.0f, 50.0f});
    door->Start(&engine);
    BoxColliderComponent* box = door->GetComponent<BoxColliderComponent>();
    LevelEndComponent* exit = door->GetComponent<LevelEndComponent>();
    ASSERT_TRUE(box != nullptr && exit != nullptr);
    ASSERT_TRUE(box->TriggerEnter());
    const Qel::GraphicsStateStack& states = engine.GetGraphicsEngine()->GetGraphicsStateStack();
    const Qel::Matrix4x4 before = states.GetTransform();
    const std::size_t depth = states.GetDepth();
    for (const bool isExiting : {false, true})
    {
        exit->Render();
        EXPECT_EQ(states.GetDepth(), depth) << isExiting;
        EXPECT_EQ(states.GetTransform(), before) << isExiting;
        ASSERT_TRUE(isExiting || exit->BeginExit());
    }
}
} // namespace
