#include "Menu/CheckBox.h"

#include "Menu/MenuLayout.h"

CheckBox::CheckBox(int anId, bool aIsChecked)
    : myIsChecked(aIsChecked), myId(anId), myLabel(MenuLayout::FONT, 18, 0)
{
}

bool CheckBox::IsMouseOver(const Qel::Vector2<float>& aMouse)
{
    myHitRect.minX = myBox.position.x - myBox.size.x / 2.0f;
    myHitRect.maxX = myBox.position.x + myBox.size.x / 2.0f;
    myHitRect.minY = myBox.position.y - myBox.size.y / 2.0f;
    myHitRect.maxY = myBox.position.y + myBox.size.y / 2.0f;
    return myHitRect.minX <= aMouse.x && aMouse.x <= myHitRect.maxX && myHitRect.minY <= aMouse.y &&
           aMouse.y <= myHitRect.maxY;
}

void CheckBox::AlignCheckToBox()
{
    myCheck.position = myBox.position;
    myCheck.pivot = myBox.pivot;
    myCheck.size = myBox.size;
}

void CheckBox::Render(Qel::SpriteDrawer& aDrawer) const
{
    MenuLayout::DrawSingleSprite(aDrawer, myBoxData, myBox);
    if (myIsChecked)
    {
        MenuLayout::DrawSingleSprite(aDrawer, myCheckData, myCheck);
    }
    myLabel.Render();
}
