// The clickable, focusable image button of every menu: one sprite, a text label and an index, which is
// the button's identity in the owning menu's OnButtonPressed. The owner lays it out by writing its
// sprite and label, tests the mouse against it and draws it. Main thread only.
#pragma once

#include "vek/Math/Vector2.h"
#include "vek/drawers/SpriteDrawer.h"
#include "vek/text/Text.h"

class MenuButton
{
public:
    static constexpr const char* LABEL_FONT = "Text/Evil Bible.ttf";
    static constexpr int LABEL_SIZE = 18;

    struct HitRect
    {
        float left = 0.0f;
        float bottom = 0.0f;
        float right = 0.0f;
        float top = 0.0f;
    };

    explicit MenuButton(int aIndex);

    int GetIndex() const { return myIndex; }
    // The sprite instance, position first; the position is the button's centre.
    Qel::Sprite2DInstanceData& GetPosition() { return mySprite; }
    const Qel::Sprite2DInstanceData& GetPosition() const { return mySprite; }
    Qel::SpriteSharedData& GetSpriteData() { return mySpriteData; }
    Qel::Text& GetLabel() { return myLabel; }

    // True within the middle 70 % of the sprite's width and 60 % of its height, edges included; the
    // rectangle tested is kept, hit or not. aMouse is in pixels from the bottom-left.
    bool IsMouseOver(const Qel::Vector2<float>& aMouse);
    const HitRect& GetHitRect() const { return myHitRect; }

    // The sprite as a batch of its own, then the label when asked for.
    void Render(Qel::SpriteDrawer& aDrawer, bool aDrawLabel) const;

private:
    int myIndex;
    HitRect myHitRect;
    Qel::Sprite2DInstanceData mySprite;
    Qel::SpriteSharedData mySpriteData;
    Qel::Text myLabel;
};

// Where a label goes so it sits centred on aAnchor: left by half its width, down by a quarter of its
// height. The label's text must be set first.
void PlaceLabel(Qel::Text& aLabel, const Qel::Vector2<float>& aAnchor);
