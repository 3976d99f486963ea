#include "Menu/MenuButton.h"

namespace
{
constexpr float HIT_HALF_WIDTH = 0.35f;
constexpr float HIT_HALF_HEIGHT = 0.3f;
} // namespace

MenuButton::MenuButton(int aIndex) : myIndex(aIndex), myLabel(LABEL_FONT, LABEL_SIZE, 0)
{
    mySprite.position = {0.0f, 0.0f};
    mySprite.pivot = {0.5f, 0.5f};
    mySprite.size = {1.0f, 1.0f};
    mySprite.scale = {1.0f, 1.0f};
    mySpriteData.alphaTestThreshold = 0.5f;
}

bool MenuButton::IsMouseOver(const Qel::Vector2<float>& aMouse)
{
    const float halfWidth = mySprite.size.x * HIT_HALF_WIDTH;
    const float halfHeight = mySprite.size.y * HIT_HALF_HEIGHT;
    myHitRect.left = mySprite.position.x - halfWidth;
    myHitRect.bottom = mySprite.position.y - halfHeight;
    myHitRect.right = mySprite.position.x + halfWidth;
    myHitRect.top = mySprite.position.y + halfHeight;
    return myHitRect.left <= aMouse.x && aMouse.x <= myHitRect.right && myHitRect.bottom <= aMouse.y &&
           aMouse.y <= myHitRect.top;
}

void MenuButton::Render(Qel::SpriteDrawer& aDrawer, bool aDrawLabel) const
{
    {
        Qel::SpriteBatchScope batch = aDrawer.BeginBatch(mySpriteData);
        batch.Draw2D(mySprite);
    }
    if (aDrawLabel)
    {
        myLabel.Render();
    }
}

void PlaceLabel(Qel::Text& aLabel, const Qel::Vector2<float>& aAnchor)
{
    aLabel.SetPosition({aAnchor.x - aLabel.GetWidth() * 0.5f, aAnchor.y - aLabel.GetHeight() * 0.25f});
    aLabel.SetColor({1.0f, 1.0f, 1.0f, 1.0f});
}
