#include "Objects/GameObject.h"
#include "Objects/ObjectLists.h"
#include "Objects/ScriptComponent.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
// Every hook a component receives, as "<label>:<hook>" lines in one shared journal.
class RecordingComponent : public Component
{
public:
    RecordingComponent(std::vector<std::string>& aJournal, std::string aLabel)
        : myJournal(aJournal), myLabel(std::move(aLabel))
    {
    }
    ~RecordingComponent() override { myJournal.push_back(myLabel + ":delete"); }

    void Init(Qel::Engine* aEngine) override
    {
        myInitEngine = aEngine;
        myJournal.push_back(myLabel + ":init");
    }
    void Update(float aDeltaTime) override
    {
        myJournal.push_back(myLabel + ":update " + std::to_string(aDeltaTime));
    }
    void Render() override { myJournal.push_back(myLabel + ":render"); }
    void OnDestroy() override { myJournal.push_back(myLabel + ":destroy"); }
    void OnActiveChanged(bool aIsActive) override
    {
        myJournal.push_back(myLabel + (aIsActive ? ":active" : ":inactive"));
    }

    Qel::Engine* myInitEngine = nullptr;

private:
    std::vector<std::string>& myJournal;
    std::string myLabel;
};

class DerivedRecordingComponent : public RecordingComponent
{
public:
    using RecordingComponent::RecordingComponent;
};

class CountingScript : public ScriptComponent
{
public:
    void OnStart() override
    {
        ++myStartCount;
        myUpdatesBeforeStart = myUpdateCount;
    }
    void OnUpdate(float aDeltaTime) override
    {
        static_cast<void>(aDeltaTime);
        ++myUpdateCount;
    }

    int myStartCount = 0;
    int myUpdateCount = 0;
    int myUpdatesBeforeStart = -1;
};

// Any non-null address does as the engine: the object only stores and passes it on.
Qel::Engine* FakeEngine()
{
    static int stand;
    return reinterpret_cast<Qel::Engine*>(&stand);
}
} // namespace

TEST(GameObject, StartsWithTheDocumentedState)
{
    GameObject object("Crate");
    EXPECT_EQ(object.GetName(), "Crate");
    EXPECT_EQ(object.GetTag(), "");
    EXPECT_TRUE(object.IsActive());
    EXPECT_FALSE(object.IsPersistent());
    EXPECT_FALSE(object.IsStarted());
    EXPECT_EQ(object.GetEngine(), nullptr);
    Qel::Vector3<float> low;
    Qel::Vector3<float> high;
    object.GetBounds(low, high);
    EXPECT_EQ(low.x, -1.0f);
    EXPECT_EQ(high.z, 1.0f);
    EXPECT_EQ(object.GetTransform().GetScale().y, 1.0f);
}

TEST(GameObject, ComponentAddedBeforeStartIsInitialisedByStartAndOneAddedAfterAtOnce)
{
    std::vector<std::string> journal;
    GameObject object("Thing");
    RecordingComponent* early = object.AddComponent<RecordingComponent>(journal, "early");
    EXPECT_EQ(early->GetOwner(), &object);
    EXPECT_TRUE(journal.empty()) << "no Init before Start";

    object.Start(FakeEngine());
    EXPECT_EQ(journal, (std::vector<std::string>{"early:init"}));
    EXPECT_EQ(early->myInitEngine, FakeEngine());

    RecordingComponent* late = object.AddComponent<RecordingComponent>(journal, "late");
    EXPECT_EQ(journal.back(), "late:init");
    EXPECT_EQ(late->myInitEngine, FakeEngine()) << "the stored engine pointer is handed on";
}

TEST(GameObject, StartWithoutEngineLeavesLaterComponentsUninitialised)
{
    std::vector<std::string> journal;
    GameObject object("Thing");
    object.Start(nullptr);
    EXPECT_TRUE(object.IsStarted());
    object.AddComponent<RecordingComponent>(journal, "late");
    EXPECT_TRUE(journal.empty());
}

TEST(GameObject, DisabledComponentGetsLifecycleHooksButNoUpdateOrRender)
{
    std::vector<std::string> journal;
    {
        GameObject object("Thing");
        object.AddComponent<RecordingComponent>(journal, "on");
        object.AddComponent<RecordingComponent>(journal, "off")->SetEnabled(false);
        object.Start(FakeEngine());
        object.Update(0.5f);
        object.Render();
        object.SetActive(false);
    }
    const std::vector<std::string> expected{"on:init",     "off:init",     "on:update 0.500000", "on:render",
                                            "on:inactive", "off:inactive", "off:destroy",        "on:destroy",
                                            "on:delete",   "off:delete"};
    EXPECT_EQ(journal, expected);
}

TEST(GameObject, InactiveObjectNeitherUpdatesNorRenders)
{
    std::vector<std::string> journal;
    GameObject object("Thing");
    object.AddComponent<RecordingComponent>(journal, "c");
    object.SetActive(false);
    journal.clear();
    object.Update(1.0f);
    object.Render();
    EXPECT_TRUE(journal.empty());
    object.SetActive(true);
    object.Update(1.0f);
    EXPECT_EQ(journal, (std::vector<std::string>{"c:active", "c:update 1.000000"}));
}

TEST(GameObject, SetActiveTellsComponentsOnlyOnAChange)
{
    std::vector<std::string> journal;
    GameObject object("Thing");
    object.AddComponent<RecordingComponent>(journal, "c");
    object.SetActive(true);
    EXPECT_TRUE(journal.empty());
    object.SetActive(false);
    object.SetActive(false);
    EXPECT_EQ(journal, (std::vector<std::string>{"c:inactive"}));
}

TEST(GameObject, DestructorCallsOnDestroyLastToFirstThenDeletesFirstToLast)
{
    std::vector<std::string> journal;
    {
        GameObject object("Thing");
        object.AddComponent<RecordingComponent>(journal, "first");
        object.AddComponent<RecordingComponent>(journal, "second");
        object.AddComponent<RecordingComponent>(journal, "third");
    }
    const std::vector<std::string> expected{"third:destroy", "second:destroy", "first:destroy",
                                            "first:delete",  "second:delete",  "third:delete"};
    EXPECT_EQ(journal, expected);
}

TEST(GameObject, GetComponentReturnsTheFirstMatchIncludingDerivedTypes)
{
    std::vector<std::string> journal;
    GameObject object("Thing");
    EXPECT_EQ(object.GetComponent<RecordingComponent>(), nullptr);
    object.AddComponent<CountingScript>();
    auto* derived = object.AddComponent<DerivedRecordingComponent>(journal, "derived");
    auto* plain = object.AddComponent<RecordingComponent>(journal, "plain");
    auto* secondDerived = object.AddComponent<DerivedRecordingComponent>(journal, "derived2");
    EXPECT_EQ(object.GetComponent<RecordingComponent>(), derived) << "a derived class answers for its base";
    EXPECT_EQ(object.GetComponent<DerivedRecordingComponent>(), derived);
    EXPECT_NE(object.GetComponent<RecordingComponent>(), plain);
    EXPECT_NE(object.GetComponent<DerivedRecordingComponent>(), secondDerived);
    EXPECT_NE(object.GetComponent<ScriptComponent>(), nullptr);
}

TEST(ScriptComponent, OnStartRunsOnceWhicheverHookComesFirst)
{
    GameObject object("Script");
    CountingScript* viaInit = object.AddComponent<CountingScript>();
    object.Start(FakeEngine());
    object.Update(0.1f);
    object.Update(0.1f);
    EXPECT_EQ(viaInit->myStartCount, 1);
    EXPECT_EQ(viaInit->myUpdateCount, 2);

    CountingScript loose;
    EXPECT_FALSE(loose.IsStarted());
    loose.Update(0.1f);
    EXPECT_EQ(loose.myStartCount, 1);
    EXPECT_EQ(loose.myUpdatesBeforeStart, 0) << "an Update before Init starts the script first";
    loose.Init(nullptr);
    EXPECT_EQ(loose.myStartCount, 1);
    EXPECT_TRUE(loose.IsStarted());
}

TEST(ObjectLists, FilterPickupsKeepsActiveCoinsKeysAndPowerUpsInOrder)
{
    std::vector<std::unique_ptr<GameObject>> objects;
    auto add = [&objects](const char* aName, const char* aTag, bool aActive)
    {
        objects.push_back(std::make_unique<GameObject>(aName));
        objects.back()->SetTag(aTag);
        objects.back()->SetActive(aActive);
    };
    add("key", "Key", true);
    add("ground", "Ground", true);
    add("taken coin", "Coin", false);
    add("coin", "Coin", true);
    objects.push_back(nullptr);
    add("heart", "PowerUp", true);
    add("lower-case coin", "coin", true);

    std::vector<GameObject*> pickups{objects[1].get()};
    FilterPickups(pickups, objects);
    ASSERT_EQ(pickups.size(), 3u);
    EXPECT_EQ(pickups[0]->GetName(), "key");
    EXPECT_EQ(pickups[1]->GetName(), "coin");
    EXPECT_EQ(pickups[2]->GetName(), "heart");
}

TEST(ObjectLists, RemoveObjectPointerRemovesOnlyTheFirstOccurrence)
{
    GameObject a("a");
    GameObject b("b");
    GameObject c("c");
    std::vector<GameObject*> list{&a, &b, &c, &b};
    EXPECT_FALSE(RemoveObjectPointer(list, nullptr));
    GameObject stranger("x");
    EXPECT_FALSE(RemoveObjectPointer(list, &stranger));
    EXPECT_EQ(list.size(), 4u);
    EXPECT_TRUE(RemoveObjectPointer(list, &b));
    EXPECT_EQ(list, (std::vector<GameObject*>{&a, &c, &b}));
}
