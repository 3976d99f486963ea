#include "Menu/MainMenu.h"

MainMenu::MainMenu() : PlaceholderState(GameStateCode::TITLE_MENU)
{
}

void MainMenu::Update(InputHandler& aInput, const Qel::Vector2<float>& aMouse)
{
    static_cast<void>(aMouse);
    if (IsBackPressed(aInput))
    {
        SetActive(false);
    }
}
