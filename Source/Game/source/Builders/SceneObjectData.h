// What a game-object builder receives for one scene object: its name, tag, model path, render-mode
// word and placement, and every other property by name as a typed value (float, int, bool,
// std::string, Qel::Vector3<float> or Qel::Color). Made on the scene-load task, read by builders there.
#pragma once

#include "vek/Math/Color.h"
#include "vek/Math/Quaternion.h"
#include "vek/Math/Vector3.h"

#include <any>
#include <string>
#include <unordered_map>

struct SceneObjectData
{
    // Each getter finds a property only when it holds exactly the getter's type (an int is not a
    // float); otherwise it returns false and leaves out untouched.
    bool TryGetInt(const std::string& aName, int& out) const { return TryGet(aName, out); }
    bool TryGetFloat(const std::string& aName, float& out) const { return TryGet(aName, out); }
    bool TryGetBool(const std::string& aName, bool& out) const { return TryGet(aName, out); }
    bool TryGetString(const std::string& aName, std::string& out) const { return TryGet(aName, out); }
    bool TryGetVector3(const std::string& aName, Qel::Vector3<float>& out) const
    {
        return TryGet(aName, out);
    }
    bool TryGetColor(const std::string& aName, Qel::Color& out) const { return TryGet(aName, out); }
    std::string GetStringOrDefault(const std::string& aName, const std::string& aDefault) const
    {
        std::string value;
        return TryGetString(aName, value) ? value : aDefault;
    }

    std::string name;
    std::string tag = "Untagged";
    // As the property writes it; empty when there is none or it names no existing asset.
    std::string model;
    std::string renderMode;
    Qel::Vector3<float> position{0.0f, 0.0f, 0.0f};
    Qel::Quaternion rotation;
    Qel::Vector3<float> scale{1.0f, 1.0f, 1.0f};
    std::unordered_map<std::string, std::any> properties;

private:
    template <typename T>
    bool TryGet(const std::string& aName, T& out) const
    {
        const auto found = properties.find(aName);
        if (found == properties.end())
        {
            return false;
        }
        const T* value = std::any_cast<T>(&found->second);
        if (value == nullptr)
        {
            return false;
        }
        out = *value;
        return true;
    }
};
