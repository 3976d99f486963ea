// A check box: a box sprite, a check mark drawn over it while checked, and a caption. The owner places
// the box and caption, aligns the mark, and toggles the box on clicks and keys. Main thread only.
#pragma once

#include "vek/Math/Vector2.h"
#include "vek/drawers/SpriteDrawer.h"
#include "vek/text/Text.h"

class CheckBox
{
public:
    struct Rect
    {
        float minX = 0.0f;
        float minY = 0.0f;
        float maxX = 0.0f;
        float maxY = 0.0f;
    };

    CheckBox(int anId, bool aIsChecked);

    // Inside the box, borders included; aMouse is y-up pixels.
    bool IsMouseOver(const Qel::Vector2<float>& aMouse);
    // The mark takes the box's position, pivot and size.
    void AlignCheckToBox();
    void Render(Qel::SpriteDrawer& aDrawer) const;

    void SetChecked(bool aIsChecked) { myIsChecked = aIsChecked; }
    void Toggle() { myIsChecked = !myIsChecked; }
    bool IsChecked() const { return myIsChecked; }
    int GetId() const { return myId; }

    Qel::Sprite2DInstanceData& GetBoxSprite() { return myBox; }
    Qel::SpriteSharedData& GetBoxSpriteData() { return myBoxData; }
    const Qel::Sprite2DInstanceData& GetCheckSprite() const { return myCheck; }
    Qel::SpriteSharedData& GetCheckSpriteData() { return myCheckData; }
    Qel::Text& GetLabel() { return myLabel; }

private:
    bool myIsChecked;
    int myId;
    Rect myHitRect;
    Qel::Sprite2DInstanceData myBox;
    Qel::SpriteSharedData myBoxData;
    Qel::Sprite2DInstanceData myCheck;
    Qel::SpriteSharedData myCheckData;
    Qel::Text myLabel;
};
