// The start-up logo screen above the title: two logos one after the other, each fading in, holding and
// fading out, centred and scaled to the screen, then it removes itself. It takes no input; the stack
// keeps the sound muted while it is on top. Main thread only.
#pragma once

#include "Menu/MenuState.h"

class SplashMenu : public MenuState
{
public:
    // Starts reading the two logos Init fetches, so the fetch finds them ready.
    static void PrefetchLogos(const nlohmann::json& aUISettings);

    void Init(StateStack& aStack, const nlohmann::json& aUISettings) override;
    void Update(InputHandler& aInput, const Qel::Vector2<float>& aMouse) override;
    void Render(Qel::SpriteDrawer& aDrawer) override;
    void OnResolutionChanged(const nlohmann::json& aUISettings) override;
    void OnButtonDown(int) override {}
    void OnButtonHeld(int) override {}
    void OnButtonPressed(int) override {}
    void SelectNext() override {}
    void SelectPrevious() override {}

    void LayoutLogos(const Qel::Vector2<float>& aScreen);
    void UpdateFade();

    int GetCurrentLogo() const { return myCurrentLogo; }
    float GetAlpha() const { return myAlpha; }
    float GetLogoDuration(int aLogo) const { return aLogo == 0 ? myLogo1Duration : myLogo2Duration; }
    const Qel::Sprite2DInstanceData& GetLogo(int aLogo) const { return aLogo == 0 ? myLogo1 : myLogo2; }
    float GetDisplayHeightRatio() const { return myDisplayHeightRatio; }

private:
    Qel::Sprite2DInstanceData myLogo1;
    Qel::Sprite2DInstanceData myLogo2;
    Qel::SpriteSharedData myLogo1Data;
    Qel::SpriteSharedData myLogo2Data;
    float myFadeIn = 0.5f;
    float myHold = 2.0f;
    float myFadeOut = 0.5f;
    float myDisplayHeightRatio = 1.0f;
    float myElapsed = 0.0f;
    float myPerLogoDuration = 0.0f;
    float myLogo1Duration = 0.0f;
    float myLogo2Duration = 0.0f;
    bool myHasLogo1 = false;
    bool myHasLogo2 = false;
    int myCurrentLogo = -1;
    float myLogoTime = 0.0f;
    float myAlpha = 0.0f;
};
