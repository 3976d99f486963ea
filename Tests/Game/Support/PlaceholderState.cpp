#include "Game/Support/PlaceholderState.h"

#include "Base/InputHandler.h"
#include "vek/input/XInputController.h"

PlaceholderState::PlaceholderState(std::optional<GameState> aStateAtInit, OnBack anOnBack)
    : myStateAtInit(aStateAtInit), myOnBack(anOnBack)
{
}

void PlaceholderState::Init(StateStack& aStack, const nlohmann::json& aUISettings)
{
    static_cast<void>(aUISettings);
    myStack = &aStack;
    if (myStateAtInit)
    {
        aStack.SetGameState(*myStateAtInit);
    }
}

bool PlaceholderState::IsBackPressed(InputHandler& aInput)
{
    Qel::XInputController& pad = GetMenuPad();
    pad.Refresh();
    return aInput.IsKeyPressed(MenuInput::KEY_ESCAPE) || pad.IsNewPressed(MenuInput::PAD_B);
}

void PlaceholderState::Update(InputHandler& aInput, const Qel::Vector2<float>& aMouse)
{
    static_cast<void>(aMouse);
    if (myOnBack == OnBack::NOTHING || myStack == nullptr || !IsBackPressed(aInput))
    {
        return;
    }
    if (myOnBack == OnBack::LEAVE)
    {
        myStack->PopToIndex(myStack->GetSize() - 2);
        return;
    }
    myStack->InvokeUnloadScene();
    myStack->SetGameState(GameStateCode::TITLE_MENU);
    myStack->PopToIndex(0);
}

void PlaceholderState::Render(Qel::SpriteDrawer& aDrawer)
{
    static_cast<void>(aDrawer);
}

void PlaceholderState::OnResolutionChanged(const nlohmann::json& aUISettings)
{
    static_cast<void>(aUISettings);
}

void PlaceholderState::OnButtonDown(int aIndex)
{
    static_cast<void>(aIndex);
}

void PlaceholderState::OnButtonHeld(int aIndex)
{
    static_cast<void>(aIndex);
}

void PlaceholderState::OnButtonPressed(int aIndex)
{
    static_cast<void>(aIndex);
}

void PlaceholderState::SelectNext()
{
}

void PlaceholderState::SelectPrevious()
{
}
