// Hit points: damage and its callbacks, God mode, the invulnerability window counting down, the hit
// seen only in its own frame, death fired once per death, and healing.
#include "Components/DamageableComponent.h"
#include "Objects/GameObject.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace
{
class DamageableTest : public testing::Test
{
protected:
    DamageableComponent& Make(int aMaxHp)
    {
        myDamageable = myOwner.AddComponent<DamageableComponent>(aMaxHp);
        myDamageable->SetOnDamaged(
            [this](int anAmount, GameObject* aSource) {
                myDamages.push_back({anAmount, aSource});
            });
        myDamageable->SetOnDeath([this](GameObject* anOwner) { myDeaths.push_back(anOwner); });
        return *myDamageable;
    }

    struct Damage
    {
        int amount;
        GameObject* source;
    };

    GameObject myOwner{"Player"};
    GameObject myEnemy{"Schnoz"};
    DamageableComponent* myDamageable = nullptr;
    std::vector<Damage> myDamages;
    std::vector<GameObject*> myDeaths;
};

TEST_F(DamageableTest, StartsAtFullHealthWithSaneSettings)
{
    DamageableComponent& hp = Make(3);
    EXPECT_EQ(hp.GetHp(), 3);
    EXPECT_EQ(hp.GetMaxHp(), 3);
    EXPECT_EQ(hp.GetDamagePerHit(), 1);
    EXPECT_FALSE(hp.IsDead());
    EXPECT_FALSE(hp.IsInvulnerable());
    EXPECT_FALSE(hp.WasHitThisFrame());

    DamageableComponent negative(-4);
    EXPECT_EQ(negative.GetMaxHp(), 0);
    EXPECT_TRUE(negative.IsDead()) << "dead below 1 hp";

    hp.SetDamagePerHit(0);
    EXPECT_EQ(hp.GetDamagePerHit(), 1);
    hp.SetDamagePerHit(-7);
    EXPECT_EQ(hp.GetDamagePerHit(), 1);
    hp.SetDamagePerHit(2);
    EXPECT_EQ(hp.GetDamagePerHit(), 2);
    hp.SetInvulnerabilityTime(-1.0f);
    EXPECT_EQ(hp.GetInvulnerabilityTime(), 0.0f);
}

TEST_F(DamageableTest, AHitTakesHpReportsItsSourceAndIsSeenOnlyInItsFrame)
{
    DamageableComponent& hp = Make(3);
    myOwner.Update(0.25f);
    hp.TakeDamage(2, &myEnemy);
    EXPECT_EQ(hp.GetHp(), 1);
    ASSERT_EQ(myDamages.size(), 1u);
    EXPECT_EQ(myDamages[0].amount, 2);
    EXPECT_EQ(myDamages[0].source, &myEnemy);
    EXPECT_TRUE(hp.WasHitThisFrame());
    EXPECT_FALSE(hp.IsDead());
    EXPECT_TRUE(myDeaths.empty());
    myOwner.Update(0.25f);
    EXPECT_FALSE(hp.WasHitThisFrame()) << "the next frame starts at the new hp";

    hp.TakeDamage(0, &myEnemy);
    hp.TakeDamage(-3, &myEnemy);
    EXPECT_EQ(hp.GetHp(), 1);
    EXPECT_EQ(myDamages.size(), 1u) << "no damage, no callback";
}

TEST_F(DamageableTest, AKillingHitFiresDeathOnceAndStartsNoInvulnerability)
{
    DamageableComponent& hp = Make(2);
    hp.SetInvulnerabilityTime(2.5f);
    hp.TakeDamage(5, &myEnemy);
    EXPECT_EQ(hp.GetHp(), 0);
    EXPECT_TRUE(hp.IsDead());
    ASSERT_EQ(myDeaths.size(), 1u);
    EXPECT_EQ(myDeaths[0], &myOwner);
    EXPECT_FALSE(hp.IsInvulnerable());

    hp.TakeDamage(1, &myEnemy);
    hp.SetHp(0);
    EXPECT_EQ(myDeaths.size(), 1u) << "one death, one callback";
    EXPECT_EQ(myDamages.size(), 2u);
}

TEST_F(DamageableTest, InvulnerabilityAfterAHitCountsDownAndIgnoresHitsMeanwhile)
{
    DamageableComponent& hp = Make(5);
    hp.SetInvulnerabilityTime(0.5f);
    hp.TakeDamage(1, &myEnemy);
    EXPECT_TRUE(hp.IsInvulnerable());
    myOwner.Update(0.25f);
    hp.TakeDamage(1, &myEnemy);
    EXPECT_EQ(hp.GetHp(), 4) << "a hit in the window changes nothing";
    EXPECT_EQ(myDamages.size(), 1u);
    EXPECT_FALSE(hp.WasHitThisFrame());
    myOwner.Update(0.125f);
    EXPECT_TRUE(hp.IsInvulnerable());
    myOwner.Update(0.5f);
    EXPECT_FALSE(hp.IsInvulnerable()) << "the timer stops at 0";
    hp.TakeDamage(1, &myEnemy);
    EXPECT_EQ(hp.GetHp(), 3);

    // Without an invulnerability time every hit counts.
    hp.SetInvulnerabilityTime(0.0f);
    myOwner.Update(1.0f);
    hp.TakeDamage(1, &myEnemy);
    hp.TakeDamage(1, &myEnemy);
    EXPECT_EQ(hp.GetHp(), 1);
}

TEST_F(DamageableTest, GodModeIgnoresEveryHitButNotAFall)
{
    DamageableComponent& hp = Make(2);
    hp.SetInvulnerable(true);
    EXPECT_TRUE(hp.IsInvulnerable());
    hp.TakeDamage(100, &myEnemy);
    EXPECT_EQ(hp.GetHp(), 2);
    EXPECT_TRUE(myDamages.empty());
    hp.SetHp(0);
    EXPECT_TRUE(hp.IsDead());
    EXPECT_EQ(myDeaths.size(), 1u);
    hp.SetInvulnerable(false);
    hp.SetHp(2);
    hp.TakeDamage(1, nullptr);
    EXPECT_EQ(hp.GetHp(), 1);
}

TEST_F(DamageableTest, HealingAndSettingHpStayInRangeAndReArmDeath)
{
    DamageableComponent& hp = Make(3);
    hp.SetHp(99);
    EXPECT_EQ(hp.GetHp(), 3);
    hp.SetHp(-5);
    EXPECT_EQ(hp.GetHp(), 0);
    EXPECT_EQ(myDeaths.size(), 1u);
    hp.Heal(0);
    hp.Heal(-2);
    EXPECT_EQ(hp.GetHp(), 0);
    hp.Heal(1);
    EXPECT_EQ(hp.GetHp(), 1);
    hp.Heal(INT_MAX);
    EXPECT_EQ(hp.GetHp(), 3) << "a huge heal neither wraps nor overfills";
    hp.TakeDamage(INT_MAX, &myEnemy);
    EXPECT_EQ(hp.GetHp(), 0);
    EXPECT_EQ(myDeaths.size(), 2u) << "a heal above 0 re-arms the death callback";
}
} // namespace
