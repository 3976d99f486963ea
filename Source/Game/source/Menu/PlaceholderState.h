// A screen with nothing on it, standing where a menu that does not exist yet will go: it sets the
// game-state code that menu sets when it starts, and answers to no button. The HUD's place can also
// take the player back to the title on Escape or pad B, so a level started for development can be
// left. Main thread only.
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

// Stands in for the level select and the HUD above whatever is stacked, so the world of a level
// started without the menus is updated and drawn (the world draws with more than two states stacked).
void PushPlaceholderPlayStates(StateStack& aStack);
