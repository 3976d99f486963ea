// A horizontal slider: a track, a knob that the mouse drags or the owner moves, a caption and a
// percentage read-out. The owner places and sizes the track, the knob and the caption, then calls
// Layout; every frame Update turns the knob's position back into the value (a move shows one Update
// later). Positions are pixels of the 2D camera; sprites are centred on them. Main thread only.
#pragma once

#include "vek/Math/Vector2.h"
#include "vek/drawers/SpriteDrawer.h"
#include "vek/text/Text.h"

#include <string>

class InputHandler;

class Slider
{
public:
    struct Rect
    {
        float minX = 0.0f;
        float minY = 0.0f;
        float maxX = 0.0f;
        float maxY = 0.0f;
    };

    Slider(int anId, float aValue);

    // Knob from the value, value text after the caption.
    void Layout();
    // The value from the knob, then a drag with the left mouse button. aMouse is y-up pixels.
    void Update(const Qel::Vector2<float>& aMouse, InputHandler& aInput);
    void Render(Qel::SpriteDrawer& aDrawer) const;

    static float ClampValue(float aValue, float aMinValue, float aMaxValue);
    // " 75 %" for 0.75: the percentage cut, not rounded.
    static std::string FormatValue(float aValue);

    Qel::Vector2<float>& GetKnobPosition() { return myKnob.position; }
    Qel::SpriteSharedData& GetKnobSpriteData() { return myKnobData; }
    Qel::SpriteSharedData& GetTrackSpriteData() { return myTrackData; }
    Qel::Sprite2DInstanceData& GetTrackSprite() { return myTrack; }
    Qel::Text& GetLabel() { return myLabel; }
    const Qel::Text& GetValueText() const { return myValueText; }
    float GetValue() const { return myValue; }
    void SetKnobSize(const Qel::Vector2<float>& aSize) { myKnob.size = aSize; }
    float GetKnobMinX() const { return myKnobMinX; }
    float GetKnobMaxX() const { return myKnobMaxX; }
    bool IsDragging() const { return myIsDragging; }
    int GetId() const { return myId; }

private:
    // Asserts that the knob's travel is neither empty nor reversed; the value needs its length.
    static bool HasTravel(float aMinValue, float aMaxValue);

    bool myIsDragging = false;
    int myId;
    float myValue;
    Rect myKnobRect;
    float myKnobMinX = 0.0f;
    float myKnobMaxX = 0.0f;
    Qel::Sprite2DInstanceData myTrack;
    Qel::SpriteSharedData myTrackData;
    Qel::Sprite2DInstanceData myKnob;
    Qel::SpriteSharedData myKnobData;
    Qel::Text myLabel;
    Qel::Text myValueText;
};
