// The level-end results' place, until the results screen itself is built: it pauses the game, sets the
// results code, keeps the finished level, the next one and the score, and on Enter or pad A returns to
// the title the way the results' Return to Menu will. Main thread only.
#pragma once

#include "Menu/PlaceholderState.h"

#include <cstdint>
#include <string>

class LevelEndResultsMenu : public PlaceholderState
{
public:
    // A negative score counts as 0.
    LevelEndResultsMenu(std::string aLevelPath, std::string aNextLevelPath, std::int32_t aScore);

    void Init(StateStack& aStack, const nlohmann::json& aUISettings) override;
    void Update(InputHandler& aInput, const Qel::Vector2<float>& aMouse) override;

    const std::string& GetLevelPath() const { return myLevelPath; }
    const std::string& GetNextLevelPath() const { return myNextLevelPath; }
    std::int32_t GetScore() const { return myScore; }

private:
    std::string myLevelPath;
    std::string myNextLevelPath;
    std::int32_t myScore;
};
