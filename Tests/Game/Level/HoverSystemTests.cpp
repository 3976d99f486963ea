// The hover system: name hashes, the automatic grouping of platforms, the group layout, the sway and
// the spring a landing pushes.
#include "Level/HoverComponent.h"
#include "Level/HoverSystem.h"
#include "Objects/GameObject.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

namespace
{
class HoverSystemTest : public testing::Test
{
protected:
    GameObject& AddPlatform(const std::string& aName, float aX, float aY, const std::string& aGroup = "",
                            const std::string& aTag = "Platform")
    {
        auto object = std::make_unique<GameObject>(aName);
        object->SetTag(aTag);
        object->GetTransform().SetPosition({aX, aY, 0.0f});
        object->AddComponent<HoverComponent>()->Configure(aGroup, 10.0f, 1.0f, 0.0f);
        myObjects.push_back(std::move(object));
        mySystem.Register(myObjects.back().get());
        return *myObjects.back();
    }

    std::string GroupOf(std::size_t anIndex) const
    {
        const HoverComponent* hover = myObjects[anIndex]->GetComponent<HoverComponent>();
        return hover != nullptr ? hover->GetGroupId() : "<no hover>";
    }

    std::vector<std::unique_ptr<GameObject>> myObjects;
    HoverSystem mySystem;
};

TEST(HoverHashes, FnvOfTheNameGivesPhaseAndSpeed)
{
    // FNV-1a 64 of "a" is 0xaf63dc4c8601ec8c; its low 32 bits over 2^32 is 0.5234654.
    EXPECT_NEAR(HashNameToUnitFloat("a"), 3.289039f, 1e-5f);
    EXPECT_NEAR(HashNameToSpeedFactor("a"), 1.047294f, 1e-5f);
    EXPECT_EQ(HashNameToUnitFloat(""), 0.0f);
    EXPECT_EQ(HashNameToSpeedFactor(""), 1.0f);
    EXPECT_NE(HashNameToUnitFloat("Platform_1"), HashNameToUnitFloat("Platform_2"));
}

TEST(HoverHashes, NamesCompareByTheirLettersAndDigitsOnly)
{
    EXPECT_EQ(NormalizeObjectName("LVL2_Middle-Ground 3"), "lvl2middleground3");
    EXPECT_TRUE(NameContainsNormalized("PlatformLeft_03", "platformleft"));
    EXPECT_TRUE(NameContainsNormalized("Hover_Single-Platform", "SinglePlatform"));
    EXPECT_FALSE(NameContainsNormalized("Left_Platform-B2", "platformleft"));
}

TEST_F(HoverSystemTest, OnlyHoverEnabledComponentsRegisterAndOnlyPlatformsAreGrouped)
{
    AddPlatform("Cloud", 0.0f, 0.0f, "", "Decoration");
    AddPlatform("Slab", 0.0f, 0.0f);
    auto disabled = std::make_unique<GameObject>("Off");
    disabled->SetTag("Platform");
    disabled->AddComponent<HoverComponent>()->SetEnabled(false);
    mySystem.Register(disabled.get());
    mySystem.Register(nullptr);
    EXPECT_EQ(mySystem.GetComponents().size(), 2u);
    EXPECT_EQ(mySystem.GetPlatforms().size(), 1u);
    mySystem.GenerateAutoPlatforms();
    EXPECT_EQ(GroupOf(0), "") << "decoration keeps swaying alone";
    EXPECT_EQ(GroupOf(1), "auto_platform_cluster_0");
}

TEST_F(HoverSystemTest, LeftMiddleRightBecomeOneSpanWithPiecesUpToSeventyFiveBeyondTheEnds)
{
    AddPlatform("PlatformLeft", 0.0f, 500.0f);
    AddPlatform("PlatformMiddle", 100.0f, 520.0f);
    AddPlatform("PlatformRight", 200.0f, 540.0f);
    AddPlatform("Edge", 275.0f, 500.0f);
    AddPlatform("TooHigh", 100.0f, 601.0f);
    AddPlatform("SinglePlatform_A", 150.0f, 500.0f);
    AddPlatform("PlatformRight_Far", 900.0f, 500.0f);
    mySystem.GenerateAutoPlatforms();
    EXPECT_EQ(GroupOf(5), "auto_platform_single_0") << "singles go first, even inside a span";
    for (const std::size_t piece : {0u, 1u, 2u, 3u})
    {
        EXPECT_EQ(GroupOf(piece), "auto_platform_span_0") << piece;
    }
    EXPECT_EQ(GroupOf(4), "auto_platform_cluster_0") << "more than 80 above the span's middle height";
    EXPECT_EQ(GroupOf(6), "auto_platform_cluster_1") << "a right piece already beaten by a nearer one";
}

TEST_F(HoverSystemTest, ARightPieceLeftOfTheLeftOneIsNotPairedAndNeighboursCluster)
{
    AddPlatform("PlatformLeft", 0.0f, 0.0f);
    AddPlatform("PlatformRight", -100.0f, 0.0f);
    AddPlatform("Chain", 100.0f, 80.0f);
    AddPlatform("Apart", 301.0f, 80.0f);
    AddPlatform("Preset", 0.0f, 0.0f, "bridge");
    mySystem.GenerateAutoPlatforms();
    EXPECT_EQ(GroupOf(0), "auto_platform_cluster_0");
    EXPECT_EQ(GroupOf(1), "auto_platform_cluster_0");
    EXPECT_EQ(GroupOf(2), "auto_platform_cluster_0") << "reached through the left piece";
    EXPECT_EQ(GroupOf(3), "auto_platform_cluster_1");
    EXPECT_EQ(GroupOf(4), "bridge") << "a scene group is kept";
}

TEST_F(HoverSystemTest, BuildSlowsBigGroupsAndSpreadsPhases)
{
    AddPlatform("A", 0.0f, 100.0f, "raft");
    AddPlatform("B", 100.0f, 100.0f, "raft");
    AddPlatform("C", 200.0f, 100.0f, "raft");
    AddPlatform("D", 900.0f, 300.0f, "alone");
    AddPlatform("E", 1900.0f, 300.0f);
    AddPlatform("F", 2900.0f, 300.0f);
    mySystem.Build();
    const HoverGroup& raft = mySystem.GetGroups().at("raft");
    EXPECT_EQ(raft.members.size(), 3u);
    EXPECT_NEAR(raft.frequency, HashNameToSpeedFactor("raft") / 1.4f, 1e-5f);
    const HoverGroup& alone = mySystem.GetGroups().at("alone");
    EXPECT_NEAR(alone.frequency, HashNameToSpeedFactor("alone"), 1e-5f);
    // Sorted ids: "alone" first (i = 0), "raft" second (i = 1 of 2).
    EXPECT_NEAR(alone.phase, 0.15f * HashNameToUnitFloat("alone"), 1e-5f);
    EXPECT_NEAR(raft.phase, std::numbers::pi_v<float> + 0.15f * HashNameToUnitFloat("raft"), 1e-5f);
    ASSERT_EQ(mySystem.GetUngrouped().size(), 2u);
    EXPECT_NEAR(mySystem.GetUngrouped()[0].phaseOffset, HashNameToUnitFloat("E"), 1e-5f);
    EXPECT_NEAR(mySystem.GetUngrouped()[1].phaseOffset, HashNameToUnitFloat("F") + std::numbers::pi_v<float>,
                1e-5f);
    EXPECT_NEAR(mySystem.GetUngrouped()[1].frequencyFactor, HashNameToSpeedFactor("F_freq"), 1e-6f);
}

TEST_F(HoverSystemTest, GroupMembersSwayTogetherAboutTheirRestHeight)
{
    GameObject& first = AddPlatform("A", 0.0f, 100.0f, "raft");
    GameObject& second = AddPlatform("B", 100.0f, 300.0f, "raft");
    mySystem.Build();
    mySystem.Update(0.25f);
    const float firstOffset = first.GetTransform().GetPosition().y - 100.0f;
    const float secondOffset = second.GetTransform().GetPosition().y - 300.0f;
    const HoverGroup& raft = mySystem.GetGroups().at("raft");
    EXPECT_NEAR(firstOffset, std::sin(0.25f * raft.frequency + raft.phase) * 10.0f, 1e-4f);
    EXPECT_NEAR(firstOffset, secondOffset, 1e-4f);
    EXPECT_NE(firstOffset, 0.0f);
    EXPECT_EQ(first.GetTransform().GetPosition().x, 0.0f);

    second.SetActive(false);
    mySystem.Update(0.25f);
    EXPECT_NEAR(second.GetTransform().GetPosition().y - 300.0f, secondOffset, 1e-6f)
        << "an inactive member stays";
    EXPECT_NEAR(mySystem.GetGroups().at("raft").time, 0.5f, 1e-6f) << "the group's time runs on";
}

TEST(HoverSpring, OneStepMovesTheOffsetFirstThenTheSpeed)
{
    float offset = 0.0f;
    float velocity = -30.0f;
    StepHoverSpring(offset, velocity, 0.125f);
    EXPECT_FLOAT_EQ(offset, -3.75f);
    // -30 + (3.75 x 40 + 30 x 10) x 0.125
    EXPECT_FLOAT_EQ(velocity, 26.25f);
}

TEST(HoverSpring, LandingImpulseScalesWithSpeedAndIsCapped)
{
    EXPECT_FLOAT_EQ(GetLandingImpulse(600.0f, false), 15.0f);
    EXPECT_FLOAT_EQ(GetLandingImpulse(600.0f, true), 18.75f);
    EXPECT_FLOAT_EQ(GetLandingImpulse(1200.0f, true), 30.0f) << "the cap, not 37.5";
    EXPECT_FLOAT_EQ(GetLandingImpulse(5000.0f, false), 30.0f);
    EXPECT_FLOAT_EQ(GetLandingImpulse(-100.0f, true), 0.0f);
}

TEST_F(HoverSystemTest, ALandingPushesTheGroupOrTheLoneEntryItStandsOn)
{
    GameObject& grouped = AddPlatform("A", 0.0f, 0.0f, "raft");
    GameObject& lone = AddPlatform("Lone", 500.0f, 0.0f);
    GameObject stranger("Stranger");
    mySystem.Build();
    mySystem.ApplyLandingImpulse(&grouped, 1200.0f, false);
    mySystem.ApplyLandingImpulse(&lone, 600.0f, false);
    mySystem.ApplyLandingImpulse(&lone, 0.0f, true);
    mySystem.ApplyLandingImpulse(&stranger, 1200.0f, true);
    mySystem.ApplyLandingImpulse(nullptr, 1200.0f, true);
    EXPECT_FLOAT_EQ(mySystem.GetGroups().at("raft").springVelocity, -30.0f);
    EXPECT_FLOAT_EQ(mySystem.GetUngrouped()[0].springVelocity, -15.0f);

    mySystem.Update(0.125f);
    EXPECT_LT(grouped.GetTransform().GetPosition().y,
              10.0f * std::sin(0.125f * mySystem.GetGroups().at("raft").frequency +
                               mySystem.GetGroups().at("raft").phase))
        << "the spring pulls the platform below its sway";
}
} // namespace
