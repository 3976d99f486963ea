#include "Menu/LevelEndResultsMenu.h"

#include "Runtime/InputHandler.h"
#include "vek/input/XInputController.h"

LevelEndResultsMenu::LevelEndResultsMenu(std::string aLevelPath, std::string aNextLevelPath,
                                         std::int32_t aScore)
    : PlaceholderState(GameStateCode::LEVEL_RESULTS), myLevelPath(std::move(aLevelPath)),
      myNextLevelPath(std::move(aNextLevelPath)), myScore(aScore < 0 ? 0 : aScore)
{
}

void LevelEndResultsMenu::Init(StateStack& aStack, const nlohmann::json& aUISettings)
{
    PlaceholderState::Init(aStack, aUISettings);
    SetPausesGame(true);
}

void LevelEndResultsMenu::Update(InputHandler& aInput, const Qel::Vector2<float>& aMouse)
{
    static_cast<void>(aMouse);
    Qel::XInputController& pad = GetMenuPad();
    pad.Refresh();
    if (myStack == nullptr ||
        !(aInput.IsKeyPressed(MenuInput::KEY_ENTER) || pad.IsNewPressed(MenuInput::PAD_A)))
    {
        return;
    }
    SetPausesGame(false);
    myStack->InvokeUnloadScene();
    myStack->SetGameState(GameStateCode::TITLE_MENU);
    myStack->PopToIndex(0);
}
