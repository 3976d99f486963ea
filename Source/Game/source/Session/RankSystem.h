// Scores the pickups of the running level and turns the score into a rank: A at or above the best-rank
// score, C below the neutral one, B between. A level may carry its own on a "RankingSystem" object;
// otherwise the collision system makes a default one. The results screen reads it through the state
// stack, which forgets it when it is destroyed. The texts are only ever read as strings, so they are
// kept as strings: no font is loaded for them, and the component may be built off the main thread.
#pragma once

#include "Objects/ScriptComponent.h"

#include <string>

class RankSystem : public ScriptComponent
{
public:
    enum PickupKind
    {
        WISP = 0,
        KEY = 1,
    };

    // The values used when a level has no rank system of its own.
    static constexpr int DEFAULT_POINTS_PER_WISP = 1;
    static constexpr int DEFAULT_POINTS_PER_KEY = 5;
    static constexpr int DEFAULT_NEUTRAL_RANK_SCORE = 75;
    static constexpr int DEFAULT_BEST_RANK_SCORE = 150;

    RankSystem();
    RankSystem(int aPointsPerWisp, int aPointsPerKey, int aNeutralRankScore, int aBestRankScore);
    ~RankSystem() override;

    // A wisp or a key; any other kind changes nothing.
    void AddScore(int aKind);
    // The score as a decimal number; also makes it the process-wide score.
    std::string GetScoreText();
    // "Your Rank: A", "B" or "C"; empty before the first pickup.
    std::string GetRankText() const { return myRankText; }
    const std::string& GetRankLetter() const { return myRankLetter; }
    int GetScore() const { return myScore; }
    // The score and the process-wide score to 0; the texts keep their last value.
    void ResetScore();

    // The last score any rank system wrote.
    static int GetGlobalScore();

private:
    int myScore = 0;
    int myPointsPerWisp;
    int myPointsPerKey;
    int myNeutralRankScore;
    int myBestRankScore;
    std::string myScoreText;
    std::string myRankLetter;
    std::string myRankText;
};
