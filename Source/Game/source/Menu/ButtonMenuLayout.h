// Building a menu's image button from its layout object {"Text", "Position", "Size", "Sprite"}:
// position and size are fractions of the screen, the label sits centred on the position. Shared by
// the menus whose buttons all follow that rule. Main thread only.
#pragma once

#include "Menu/MenuButton.h"

#include <nlohmann/json.hpp>
#include <string>

// A new button of aIndex laid out from aLayout; aCaption, when given, replaces the layout's "Text".
MenuButton* BuildLayoutButton(int aIndex, const nlohmann::json& aLayout, const Qel::Vector2<float>& aScreen,
                              const char* aCaption = nullptr);
