// The fog of a level: the scene's "Fog" object carries this component, which reads the level's fog
// profile when it starts and writes it into the fog settings the world render pass uses. Those
// settings keep their last loaded values from level to level. Main thread only.
#pragma once

#include "Objects/ScriptComponent.h"
#include "vek/Math/Color.h"

#include <string>

// The process-wide fog the world is drawn with.
struct FogSettings
{
    float red = 0.5f;
    float green = 0.5f;
    float blue = 0.5f;
    // Where the fog starts and where it is complete, as distances from the camera.
    float nearPlane = 1000.0f;
    float farPlane = 100000.0f;

    friend bool operator==(const FogSettings&, const FogSettings&) = default;
};

class FogComponent : public ScriptComponent
{
public:
    ~FogComponent() override = default;

    // The level whose profile the next fog to start reads.
    static void SetCurrentSceneName(const std::string& aScenePath);
    static const FogSettings& GetSettings();
    static void SetSettings(const FogSettings& aSettings);

    // The scene's own values; they stay with the component and do not reach the renderer.
    void SetColor(const Qel::Color& aColor) { myColor = aColor; }
    void SetPlanes(float aNearPlane, float aFarPlane);

    void OnStart() override;
    // Reads the level's fog profile over this component and the shared settings; a missing or
    // unreadable file leaves both as they are, with "[Fog] " lines saying so.
    void LoadSharedProfile();

    const Qel::Color& GetColor() const { return myColor; }
    float GetNearPlane() const { return myNearPlane; }
    float GetFarPlane() const { return myFarPlane; }

private:
    Qel::Color myColor;
    float myNearPlane = 0.0f;
    float myFarPlane = 0.0f;
};
