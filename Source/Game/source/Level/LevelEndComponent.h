// The level's exit door. When the collision system reports the player pressing interact inside the
// door's box, the door opens and, once the exit sequence has run, the results screen comes up with the
// level's score (without a state stack the next level is requested at once). Main thread only, but
// it may be built and configured on the scene-load task.
#pragma once

#include "Objects/ScriptComponent.h"

#include <array>
#include <memory>
#include <string>

namespace Qel
{
class Text;
}

class BoxColliderComponent;

class LevelEndComponent : public ScriptComponent
{
public:
    static constexpr const char* DEFAULT_PROMPT = "Press E to enter";
    static constexpr const char* PROMPT_FONT = "Text/Evil Bible.ttf";
    static constexpr int PROMPT_FONT_SIZE = 72;
    static constexpr float DEFAULT_EXIT_DURATION = 5.0f;
    static constexpr float MIN_EXIT_DURATION = 0.01f;
    static constexpr int WORLD_COUNT = 3;
    static constexpr float PROMPT_RISE = 220.0f;
    static constexpr float PROMPT_DEPTH = 300.0f;
    static constexpr float PROMPT_SCALE = 0.6f;

    LevelEndComponent();
    ~LevelEndComponent() override;

    // Empty when no level follows.
    void SetTargetScene(const std::string& aScenePath) { myTargetScene = aScenePath; }
    const std::string& GetTargetScene() const { return myTargetScene; }
    // Seconds from the door opening to the results; 0 or less waits MIN_EXIT_DURATION.
    void SetExitSequenceDuration(float aSeconds);
    float GetExitSequenceDuration() const { return myExitDuration; }
    // An empty prompt becomes DEFAULT_PROMPT.
    void SetPromptText(const std::string& aPrompt);
    const std::string& GetPromptText() const { return myPrompt; }
    // Clamped to 1..WORLD_COUNT.
    void SetWorldIndex(int anIndex);
    int GetWorldIndex() const { return myWorldIndex; }
    // The door's texture in world anIndex (1..WORLD_COUNT); other indices are ignored.
    void SetWorldTexture(int anIndex, const std::string& aPath);
    // Empty for an index outside 1..WORLD_COUNT.
    const std::string& GetWorldTexture(int anIndex) const;

    // False while the sequence runs, without a trigger box or with the player outside it; otherwise
    // the door opens and the sequence starts.
    bool BeginExit();
    bool IsExiting() const { return myIsExiting; }
    float GetExitTimer() const { return myExitTimer; }

    void OnStart() override;
    void OnUpdate(float aDeltaTime) override;
    void WarmCaches() override;
    // While the player stands at the closed door: the place above it where a prompt would go, set up
    // and given back; nothing is drawn there.
    void Render() override;

private:
    void ApplyWorldTexture();
    void FinishExit();

    BoxColliderComponent* myTriggerBox = nullptr;
    std::string myTargetScene;
    float myExitDuration = DEFAULT_EXIT_DURATION;
    float myExitTimer = 0.0f;
    bool myIsExiting = false;
    int myWorldIndex = 1;
    std::array<std::string, WORLD_COUNT> myWorldTextures;
    std::string myPrompt = DEFAULT_PROMPT;
    // Made when the door starts, on the main thread that owns the fonts.
    std::unique_ptr<Qel::Text> myPromptText;
};
