// What the enemy, boss and eye tests share: the shipped settings and models, objects made by the real
// builders, and a stand-in for the player's controller that records the bounce a stomp gives.
#pragma once

#include "Builders/SceneObjectData.h"
#include "Objects/GameObject.h"
#include "vek/Math/Vector3.h"
#include "vek/model/ModelFactory.h"
#include "vek/settings/Settings.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

// The object's first T; a missing one fails the test (the exception is reported as a failure).
template <typename T>
T* Part(const GameObject& anObject)
{
    T* component = anObject.GetComponent<T>();
    if (component == nullptr)
    {
        throw std::runtime_error("a component the test needs is missing");
    }
    return component;
}

class ShippedModelsTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(Qel::LoadSettings("Game")); }
    static void TearDownTestSuite() { Qel::ModelFactory::DestroyInstance(); }
};

inline SceneObjectData EnemyData(const std::string& aTag, const std::string& aModel)
{
    SceneObjectData data;
    data.name = aTag;
    data.tag = aTag;
    data.model = aModel;
    return data;
}

// Builds with aBuilder, tags the object as the factory would, and starts it without an engine.
template <typename Builder>
std::unique_ptr<GameObject> BuildAndStart(Builder aBuilder, const std::string& aTag,
                                          const std::string& aModel,
                                          const Qel::Vector3<float>& aPosition = {0.0f, 0.0f, 0.0f})
{
    std::unique_ptr<GameObject> object = aBuilder(EnemyData(aTag, aModel));
    object->SetTag(aTag);
    object->GetTransform().SetPosition(aPosition);
    object->Start(nullptr);
    return object;
}

struct FakePlayerController
{
    void ApplyKnockback(const Qel::Vector3<float>& aVelocity)
    {
        knockback = aVelocity;
        ++bounces;
    }
    void SetGrounded() { isGrounded = true; }

    Qel::Vector3<float> knockback{0.0f, 0.0f, 0.0f};
    int bounces = 0;
    bool isGrounded = false;
};

// Fixed frames of 1/64 s, exact in binary.
constexpr float FRAME = 1.0f / 64.0f;

inline void RunFrames(GameObject& anObject, int aFrames, float aDeltaTime = FRAME)
{
    for (int frame = 0; frame < aFrames; ++frame)
    {
        anObject.Update(aDeltaTime);
    }
}
