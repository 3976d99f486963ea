#include "Menu/MainMenu.h"

#include "Menu/CreditsMenu.h"
#include "Menu/CreditsVideo.h"
#include "Runtime/InputHandler.h"
#include "vek/input/XInputController.h"

MainMenu::MainMenu() : PlaceholderState(GameStateCode::TITLE_MENU)
{
}

void MainMenu::Init(StateStack& aStack, const nlohmann::json& aUISettings)
{
    PlaceholderState::Init(aStack, aUISettings);
    if (aStack.ShouldPlayCreditsVideo())
    {
        aStack.PushState(new CreditsVideo());
    }
}

void MainMenu::Update(InputHandler& aInput, const Qel::Vector2<float>& aMouse)
{
    static_cast<void>(aMouse);
    if (IsBackPressed(aInput))
    {
        SetActive(false);
        return;
    }
    if (myStack != nullptr &&
        (aInput.IsKeyPressed(MenuInput::KEY_ENTER) || GetMenuPad().IsNewPressed(MenuInput::PAD_A)))
    {
        myStack->PushState(new CreditsMenu());
        myStack->SetGameState(GameStateCode::CREDITS);
    }
}
