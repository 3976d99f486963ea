// The base of every screen on the state stack: the flags the stack reads (active, overlay, pauses the
// game), the selection highlight that marks the chosen button, the mouse-click phases of a button
// (with the key lock of the bonus level), and the helpers every menu uses to read the UI layout. Layout
// values are fractions of the screen and become pixels with ScaleVector2; pixels have their origin at
// the bottom-left, y up. Main thread only.
#pragma once

#include "vek/Math/Vector2.h"
#include "vek/drawers/SpriteDrawer.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace Qel
{
class Engine;
class XInputController;
} // namespace Qel

class InputHandler;
class MenuButton;
class StateStack;

// Key codes and pad masks the menus answer to.
namespace MenuInput
{
constexpr std::uint32_t KEY_MOUSE_LEFT = 1;
constexpr std::uint32_t KEY_ENTER = 13;
constexpr std::uint32_t KEY_ESCAPE = 27;
constexpr std::uint32_t KEY_SPACE = 32;
constexpr std::uint32_t KEY_A = 65;
constexpr std::uint32_t KEY_D = 68;
constexpr std::uint32_t KEY_S = 83;
constexpr std::uint32_t KEY_W = 87;
constexpr std::uint16_t PAD_UP = 0x0001;
constexpr std::uint16_t PAD_DOWN = 0x0002;
constexpr std::uint16_t PAD_LEFT = 0x0004;
constexpr std::uint16_t PAD_RIGHT = 0x0008;
constexpr std::uint16_t PAD_START = 0x0010;
constexpr std::uint16_t PAD_A = 0x1000;
constexpr std::uint16_t PAD_B = 0x2000;
} // namespace MenuInput

// The one pad every menu reads (dead zones 0.05 and 0.02); each menu refreshes it as its Update begins.
Qel::XInputController& GetMenuPad();

// Component-wise product: a layout fraction times the screen size gives pixels.
Qel::Vector2<float> ScaleVector2(const Qel::Vector2<float>& aFirst, const Qel::Vector2<float>& aSecond);

class MenuState
{
public:
    // The button whose mouse press needs every key of the game.
    static constexpr int BONUS_BUTTON_INDEX = 4;
    static constexpr int BONUS_KEY_TOTAL = 12;

    MenuState();
    virtual ~MenuState() = default;
    MenuState(const MenuState&) = delete;
    MenuState& operator=(const MenuState&) = delete;

    // (Re)builds the screen; the stack calls it before stacking the state and whenever the bottom state
    // is on top again.
    virtual void Init(StateStack& aStack, const nlohmann::json& aUISettings) = 0;
    virtual void Update(InputHandler& aInput, const Qel::Vector2<float>& aMouse) = 0;
    virtual void Render(Qel::SpriteDrawer& aDrawer) = 0;
    virtual void OnResolutionChanged(const nlohmann::json& aUISettings) = 0;
    virtual void OnButtonDown(int aIndex) = 0;
    virtual void OnButtonHeld(int aIndex) = 0;
    virtual void OnButtonPressed(int aIndex) = 0;
    virtual void SelectNext() = 0;
    virtual void SelectPrevious() = 0;

    bool IsActive() const { return myIsActive; }
    void SetActive(bool aIsActive) { myIsActive = aIsActive; }
    bool IsOverlay() const { return myIsOverlay; }
    void SetOverlay(bool aIsOverlay) { myIsOverlay = aIsOverlay; }
    bool PausesGame() const { return myPausesGame; }
    void SetPausesGame(bool aPausesGame) { myPausesGame = aPausesGame; }
    bool IsHovered() const { return myIsHovered; }

    void SetHighlightPosition(const Qel::Vector2<float>& aPosition);
    // Moves the highlight onto the button; a null button is ignored.
    void HighlightButton(MenuButton* aButton);
    // The highlight's texture, pivot and size from "SelectHover" in aUISettings; without one the
    // highlight keeps what it has.
    void LoadSelectionHighlight(Qel::Engine& aEngine, const nlohmann::json& aUISettings,
                                const Qel::Vector2<float>& aScreen, const std::string& aPrefix);
    // One phase of a mouse click on the button under the pointer: press, hold, or release.
    void HandleButtonClick(InputHandler& aInput, MenuButton* aButton);

    const Qel::Sprite2DInstanceData& GetHighlight() const { return myHighlight; }
    const Qel::SpriteSharedData& GetHighlightData() const { return myHighlightData; }

    // (x, y) of aJson[aKey] when that is an object holding numbers "x" and "y"; else aFallback.
    static Qel::Vector2<float> ReadVector2(const nlohmann::json& aJson, const char* aKey,
                                           const Qel::Vector2<float>& aFallback);

protected:
    // Every button under the pointer is told to aOnOver, highlighted, sounds the hover and takes its
    // click; with none under it the hover sound stops. Sets the hovered flag.
    void HoverButtons(InputHandler& aInput, const Qel::Vector2<float>& aMouse,
                      const std::vector<std::unique_ptr<MenuButton>>& someButtons,
                      const std::function<void(MenuButton&)>& aOnOver);

    StateStack* myStack = nullptr;
    Qel::Sprite2DInstanceData myHighlight;
    Qel::SpriteSharedData myHighlightData;
    bool myIsHovered = false;
    bool myPausesGame = false;
    bool myIsMouseLatched = false;
    bool myIsOverlay = false;
    bool myIsActive = true;

private:
    friend class StateStack;
};
