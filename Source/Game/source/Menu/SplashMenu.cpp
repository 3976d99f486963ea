#include "Menu/SplashMenu.h"

void SplashMenu::Update(InputHandler& aInput, const Qel::Vector2<float>& aMouse)
{
    static_cast<void>(aInput);
    static_cast<void>(aMouse);
    SetActive(false);
}
