// A screen with nothing on it, for tests that need a state on the stack in place of a real menu: it
// sets the game-state code it is given when it starts, and answers to no button but, when asked,
// Escape or pad B, which leave it (back to the title, or to the state below). Main thread only.
#pragma once

#include "Menu/MenuState.h"
#include "Menu/StateStack.h"

#include <optional>

class PlaceholderState : public MenuState
{
public:
    enum class OnBack
    {
        NOTHING,
        RETURN_TO_TITLE,
        // Escape or pad B removes it, uncovering the state below.
        LEAVE,
    };

    explicit PlaceholderState(std::optional<GameState> aStateAtInit = std::nullopt,
                              OnBack anOnBack = OnBack::NOTHING);

    void Init(StateStack& aStack, const nlohmann::json& aUISettings) override;
    void Update(InputHandler& aInput, const Qel::Vector2<float>& aMouse) override;
    void Render(Qel::SpriteDrawer& aDrawer) override;
    void OnResolutionChanged(const nlohmann::json& aUISettings) override;
    void OnButtonDown(int aIndex) override;
    void OnButtonHeld(int aIndex) override;
    void OnButtonPressed(int aIndex) override;
    void SelectNext() override;
    void SelectPrevious() override;

protected:
    // Escape pressed this frame, or pad B newly pressed (the pad is refreshed here).
    static bool IsBackPressed(InputHandler& aInput);

private:
    std::optional<GameState> myStateAtInit;
    OnBack myOnBack;
};
