// Shared pieces of the scene-load tests: a fixture whose game asset root is a fresh level folder, and
// a text form of a scene's objects to compare loads by.
#pragma once

#include "LevelFixture.h"
#include "vek/scene/Scene.h"
#include "vek/scene/SceneLoader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace QelTest
{
class SceneLoadTest : public ::testing::Test
{
protected:
    SceneLoadTest() : myRootGuard(myLevel.GetRoot()) {}

    // Loads the fixture's level by its relative path into a fresh scene.
    Qel::SceneLoadOutcome Load(unsigned aThreads = 0)
    {
        myScene = std::make_unique<Qel::Scene>();
        return Qel::impl::LoadSceneReportingOutcome(myLevel.GetSceneText().c_str(), *myScene, aThreads);
    }

    std::filesystem::path GetCachePath() const;

    LevelFixture myLevel;
    GameAssetRootGuard myRootGuard;
    std::unique_ptr<Qel::Scene> myScene;
};

// Every object in scene order with its id, fields and property values (as json), one line each.
std::string DescribeObjects(const Qel::Scene& aScene);

// The object of aScene whose uuid text is aUuid; fails the test when there is none.
const Qel::SceneObject& ObjectOf(const Qel::Scene& aScene, const std::string& aUuid);
} // namespace QelTest
