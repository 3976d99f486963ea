// A bubble picture with a line of text over a target object, shown for a while. Fonts and pictures are
// only named until the main thread first needs them, since builders run on the scene-load task. Visible
// bubbles are drawn together after the world.
#pragma once

#include "Objects/ScriptComponent.h"
#include "vek/Math/Vector2.h"
#include "vek/Math/Vector3.h"

#include <cstdint>
#include <memory>
#include <string>

class GameObject;

namespace Qel
{
class DepthBuffer;
class RenderTarget;
class Text;
class Texture;
} // namespace Qel

class SpeechBubbleComponent : public ScriptComponent
{
public:
    static constexpr const char* FONT_PATH = "Text/Evil Bible.ttf";
    static constexpr int FONT_SIZE = 24;
    static constexpr std::uint32_t TALK_SOUND = 33;

    // aFollowMode: 0 stays where it was placed, 1 follows its target.
    SpeechBubbleComponent(bool aShouldDisappear, std::uint8_t aFollowMode);
    ~SpeechBubbleComponent() override;

    void OnStart() override;
    void OnUpdate(float aDeltaTime) override;
    // The bubble's picture, which its first draw would otherwise read during play.
    void WarmCaches() override;
    // Queues the bubble for RenderAll when it is visible.
    void Render() override;
    // Draws the queued bubbles that are still visible on the back buffer, then binds aTarget with
    // aDepth again (the target the caller drew into; null binds nothing) and empties the queue.
    static void RenderAll(const Qel::RenderTarget* aTarget, const Qel::DepthBuffer* aDepth);
    static std::size_t GetQueuedCount();

    void SetText(const std::string& aText);
    // A picture under "sprites/".
    void SetBubbleSprite(const std::string& aName);
    // Null means the owner.
    void SetTarget(GameObject* aTarget);
    void SetOffset(const Qel::Vector3<float>& anOffset) { myOffset = anOffset; }
    void SetScreenOffset(const Qel::Vector2<float>& anOffset) { myScreenOffset = anOffset; }
    // Fractions of the screen height.
    void SetSizeFromScreen(float aWidthFraction, float aHeightFraction);
    void SetDisplayTime(float aTime);
    void ResetTimer() { myDisplayTimer = myDisplayTime; }
    void SetVisible(bool aIsVisible) { myIsVisible = aIsVisible; }
    void SetActive(bool aIsFollowing) { myFollowMode = aIsFollowing ? 1 : 0; }
    void SetTriggerOn(bool aIsTriggerOn) { myIsTriggerOn = aIsTriggerOn; }
    bool IsTriggerOn() const { return myIsTriggerOn; }

    bool IsVisible() const { return myIsVisible; }
    bool ShouldDisappear() const { return myShouldDisappear; }
    std::uint8_t GetFollowMode() const { return myFollowMode; }
    float GetDisplayTime() const { return myDisplayTime; }
    float GetDisplayTimer() const { return myDisplayTimer; }
    const std::string& GetText() const { return myText; }
    const std::string& GetBubbleSpriteName() const { return myBubbleSpriteName; }
    GameObject* GetTarget() const;
    const Qel::Vector3<float>& GetOffset() const { return myOffset; }
    const Qel::Vector2<float>& GetScreenOffset() const { return myScreenOffset; }
    // The bubble's size; while it follows its text, the text's extent is added when first drawn.
    const Qel::Vector2<float>& GetSize() const { return mySize; }
    bool IsSizedByText() const { return myIsSizedByText; }
    const Qel::Vector2<float>& GetSpritePosition() const { return mySpritePosition; }
    // Target position plus the world offset, in x and y.
    Qel::Vector2<float> GetAnchor() const;

private:
    void PlaceAt(const Qel::Vector2<float>& anAnchor, bool aWithScreenOffset);
    // Main thread only: makes the font and the picture once they are named.
    void PrepareGraphics();
    void Draw();

    bool myIsVisible = false;
    std::uint8_t myFollowMode;
    bool myIsTriggerOn = false;
    bool myShouldDisappear;
    float myDisplayTimer = 0.0f;
    float myDisplayTime = 0.0f;
    GameObject* myTarget = nullptr;
    std::string myText;
    std::unique_ptr<Qel::Text> myTextElement;
    bool myIsTextDirty = true;
    Qel::Vector3<float> myOffset{0.0f, 250.0f, 0.0f};
    Qel::Vector2<float> myScreenOffset{0.0f, -10.0f};
    Qel::Vector2<float> mySpritePosition{0.0f, 0.0f};
    Qel::Vector2<float> mySize{1.0f, 1.0f};
    bool myIsSizedByText = false;
    // Where the text is centred, and whether the screen offset applies there.
    Qel::Vector2<float> myTextAnchor{0.0f, 0.0f};
    bool myIsTextScreenOffset = false;
    std::string myBubbleSpriteName;
    Qel::Texture* myBubbleTexture = nullptr;
    bool myIsTextureDirty = false;
};
