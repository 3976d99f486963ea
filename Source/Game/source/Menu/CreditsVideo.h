// The credits film played full screen after the last level. The title pushes it while the stack's
// play-credits-video flag is set; it clears the flag, plays the film without its sound, and when the film
// ends, or Space is held, or pad A is pressed, it unloads the finished level and returns to a fresh
// title with the menu music. A film that cannot be opened ends the screen at its first update. Main
// thread only.
#pragma once

#include "Menu/MenuState.h"

#include <memory>

namespace Qel
{
class Video;
}

class CreditsVideo : public MenuState
{
public:
    static constexpr const char* FILM_PATH = "Animations/PreRendered/Credits.mp4";
    static constexpr const char* FALLBACK_FILM_PATH = "data/Animations/PreRendered/Credits.mp4";

    CreditsVideo();
    ~CreditsVideo() override;

    void Init(StateStack& aStack, const nlohmann::json& aUISettings) override;
    void Update(InputHandler& aInput, const Qel::Vector2<float>& aMouse) override;
    void Render(Qel::SpriteDrawer& aDrawer) override;
    void OnResolutionChanged(const nlohmann::json& aUISettings) override;
    void OnButtonDown(int aIndex) override;
    void OnButtonHeld(int aIndex) override;
    void OnButtonPressed(int aIndex) override;
    void SelectNext() override;
    void SelectPrevious() override;

    const Qel::Video* GetVideo() const { return myVideo.get(); }
    const Qel::Sprite2DInstanceData& GetSprite() const { return mySprite; }
    bool HasFinished() const { return myHasFinished; }

private:
    // Back to the title: the stack pops at its next update, the level is unloaded and the menu music
    // plays. Only once.
    void Finish();

    std::shared_ptr<Qel::Video> myVideo;
    Qel::Sprite2DInstanceData mySprite;
    Qel::SpriteSharedData mySpriteData;
    bool myHasFinished = false;
};
