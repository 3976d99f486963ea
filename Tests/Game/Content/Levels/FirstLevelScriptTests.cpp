// The first level's scripted moments as the shipped files lay them out: the intro cut-scene round the
// start, the spirit, and hints whose lines the dialogue file holds.
#include "Builders/CameraTriggerBuilders.h"
#include "Builders/RegisterGameObjectFactories.h"
#include "Collision/BoxColliderComponent.h"
#include "Dialogue/SpeechBubbleComponent.h"
#include "Menu/StateStack.h"
#include "Scripted/CutsceneComponent.h"
#include "Scripted/LockCameraTriggerComponent.h"
#include "Support/WorkingFolder.h"
#include "World/SceneImportService.h"
#include "vek/scene/SceneObjectDefinitions.h"
#include "vek/settings/Settings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace
{
std::string ShippedDialogues()
{
    std::ifstream file(Qel::GetExecutableFolder() / "settings" / "Dialogues.json");
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

bool Contains(const BoxColliderComponent& aBox, const Qel::Vector3<float>& aPosition,
              const Qel::Vector3<float>& aPoint)
{
    const Qel::Vector3<float> centre = aPosition + aBox.GetOffset();
    const Qel::Vector3<float> half = aBox.GetSize() * 0.5f;
    return aPoint.x >= centre.x - half.x && aPoint.x <= centre.x + half.x && aPoint.y >= centre.y - half.y &&
           aPoint.y <= centre.y + half.y && aPoint.z >= centre.z - half.z && aPoint.z <= centre.z + half.z;
}
} // namespace

TEST(FirstLevelScript, EveryLineIsWholeAndTheIntroHasItsThreeLines)
{
    const nlohmann::json lines = nlohmann::json::parse(ShippedDialogues());
    ASSERT_TRUE(lines["Bubble"].is_string());
    for (const char* key : {"First", "Second", "Third"})
    {
        ASSERT_TRUE(lines["MeetWisp"].contains(key)) << key;
        EXPECT_TRUE(lines["MeetWisp"][key]["Text"].is_string()) << key;
        EXPECT_TRUE(lines["MeetWisp"][key]["BubbleSprite"].is_string()) << key;
    }
    for (const char* key : {"Jump", "Run", "Glide", "WallJump", "GroundPound", "BossTaunt"})
    {
        ASSERT_TRUE(lines.contains(key)) << key;
        EXPECT_FALSE(lines[key]["Text"].get<std::string>().empty()) << key;
        EXPECT_TRUE(lines[key]["BubbleSprite"].is_string()) << key;
    }
}

TEST(FirstLevelScript, TheIntroSurroundsTheStartAndTheHintsFindTheirLines)
{
    ASSERT_TRUE(Qel::LoadSettings("Game.json"));
    const std::string dialogues = ShippedDialogues();
    Qel::SceneObjectDefinitionManager definitions;
    definitions.Init(Qel::GetGameAssetRoot().string());
    RegisterGameObjectFactories();
    const std::filesystem::path assetRoot = Qel::GetGameAssetRoot();

    QelTest::WorkingFolder folder;
    folder.WriteFile("settings/UISettings.json", "{}");
    folder.WriteFile("settings/Dialogues.json", dialogues);
    StateStack stack;
    stack.Init();
    const auto objects = SceneImportService::LoadSceneObjects("levels/L_World1_Level1.vks", definitions);
    ASSERT_FALSE(objects.empty());

    int intros = 0;
    int spirits = 0;
    int hints = 0;
    bool hasJumpHint = false;
    const std::string jumpText = nlohmann::json::parse(dialogues)["Jump"]["Text"].get<std::string>();
    for (const auto& object : objects)
    {
        const Qel::Vector3<float> position = object->GetTransform().GetPosition();
        if (const CutsceneComponent* cutscene = object->GetComponent<CutsceneComponent>())
        {
            if (cutscene->GetCutsceneName() == "Intro")
            {
                ++intros;
                const BoxColliderComponent* box = object->GetComponent<BoxColliderComponent>();
                ASSERT_NE(box, nullptr);
                // The player starts at the origin, its box 150 high.
                EXPECT_TRUE(Contains(*box, position, {0.0f, 0.0f, 0.0f}));
                EXPECT_TRUE(Contains(*box, position, {0.0f, 150.0f, 0.0f}));
                // Long enough for the three lines.
                EXPECT_GT(cutscene->GetCutsceneDuration(), 10.8f);
            }
        }
        spirits += object->GetTag() == "Birgil" ? 1 : 0;
        if (object->GetTag() == "Dialogue")
        {
            ++hints;
            const SpeechBubbleComponent* bubble = object->GetComponent<SpeechBubbleComponent>();
            ASSERT_NE(bubble, nullptr);
            EXPECT_NE(bubble->GetText(), PLACEHOLDER_DIALOGUE_TEXT) << object->GetName();
            EXPECT_TRUE(bubble->IsTriggerOn()) << object->GetName();
            hasJumpHint = hasJumpHint || bubble->GetText() == jumpText;
            const BoxColliderComponent* box = object->GetComponent<BoxColliderComponent>();
            ASSERT_NE(box, nullptr);
            // The player, walking on the ground, passes through it.
            EXPECT_LE(position.y - box->GetSize().y * 0.5f, 150.0f) << object->GetName();
        }
    }
    EXPECT_EQ(intros, 1);
    EXPECT_EQ(spirits, 1);
    EXPECT_GE(hints, 2);
    EXPECT_TRUE(hasJumpHint);
    Qel::ResetSettings();
}
