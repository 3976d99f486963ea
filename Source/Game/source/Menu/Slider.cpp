#include "Menu/Slider.h"

#include "Base/InputHandler.h"
#include "Menu/MenuLayout.h"
#include "Menu/MenuState.h"
#include "vek/Core/Assert.h"

#include <algorithm>

namespace
{
constexpr int TEXT_SIZE = 18;
} // namespace

Slider::Slider(int anId, float aValue)
    : myId(anId), myValue(aValue), myLabel(MenuLayout::FONT, TEXT_SIZE, 0),
      myValueText(MenuLayout::FONT, TEXT_SIZE, 0)
{
}

float Slider::ClampValue(float aValue, float aMinValue, float aMaxValue)
{
    QEL_ASSERT(aMinValue <= aMaxValue);
    return std::max(aMinValue, std::min(aValue, aMaxValue));
}

bool Slider::HasTravel(float aMinValue, float aMaxValue)
{
    QEL_ASSERT(aMinValue < aMaxValue);
    return aMinValue < aMaxValue;
}

std::string Slider::FormatValue(float aValue)
{
    return " " + std::to_string(static_cast<int>(aValue * 100.0f)) + " %";
}

void Slider::Layout()
{
    myKnobMinX = myTrack.position.x - myTrack.size.x / 2.0f + myKnob.size.x / 2.0f;
    myKnobMaxX = myTrack.position.x + myTrack.size.x / 2.0f - myKnob.size.x / 2.0f;
    myKnob.position.x = myValue >= 1.0f ? myKnobMaxX : myKnobMinX + (myKnobMaxX - myKnobMinX) * myValue;
    myKnob.position.y = myTrack.position.y;
    myKnob.pivot = myTrack.pivot;
    myValueText.SetText(FormatValue(myValue));
    const Qel::Vector2<float> label = myLabel.GetPosition();
    myValueText.SetPosition({label.x + myLabel.GetWidth(), label.y});
    myValueText.SetColor({1.0f, 1.0f, 1.0f, 1.0f});
}

void Slider::Update(const Qel::Vector2<float>& aMouse, InputHandler& aInput)
{
    myKnob.position.x = ClampValue(myKnob.position.x, myKnobMinX, myKnobMaxX);
    if (!HasTravel(myKnobMinX, myKnobMaxX))
    {
        // A knob as wide as its track, or wider, has no travel: the value stays.
        return;
    }
    myValue = (myKnob.position.x - myKnobMinX) / (myKnobMaxX - myKnobMinX);
    myValueText.SetText(FormatValue(myValue));

    myKnobRect.minX = myKnob.position.x - myKnob.size.x / 2.0f;
    myKnobRect.maxX = myKnob.position.x + myKnob.size.x / 2.0f;
    myKnobRect.minY = myKnob.position.y - myKnob.size.y / 2.0f;
    myKnobRect.maxY = myKnob.position.y + myKnob.size.y / 2.0f;
    const bool isOverKnob = myKnobRect.minX <= aMouse.x && aMouse.x <= myKnobRect.maxX &&
                            myKnobRect.minY <= aMouse.y && aMouse.y <= myKnobRect.maxY;
    if (isOverKnob && aInput.IsKeyPressed(MenuInput::KEY_MOUSE_LEFT))
    {
        myIsDragging = true;
    }
    if (aInput.IsKeyDown(MenuInput::KEY_MOUSE_LEFT) && myIsDragging)
    {
        myKnob.position.x = ClampValue(aMouse.x, myKnobMinX, myKnobMaxX);
        return;
    }
    if (aInput.IsKeyReleased(MenuInput::KEY_MOUSE_LEFT) && myIsDragging)
    {
        myIsDragging = false;
    }
}

void Slider::Render(Qel::SpriteDrawer& aDrawer) const
{
    MenuLayout::DrawSingleSprite(aDrawer, myTrackData, myTrack);
    MenuLayout::DrawSingleSprite(aDrawer, myKnobData, myKnob);
    myLabel.Render();
    myValueText.Render();
}
