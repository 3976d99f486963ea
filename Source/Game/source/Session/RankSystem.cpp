#include "Session/RankSystem.h"

#include "Session/GameFlow.h"

namespace
{
int theGlobalScore = 0;
} // namespace

RankSystem::RankSystem()
    : RankSystem(DEFAULT_POINTS_PER_WISP, DEFAULT_POINTS_PER_KEY, DEFAULT_NEUTRAL_RANK_SCORE,
                 DEFAULT_BEST_RANK_SCORE)
{
}

RankSystem::RankSystem(int aPointsPerWisp, int aPointsPerKey, int aNeutralRankScore, int aBestRankScore)
    : myPointsPerWisp(aPointsPerWisp), myPointsPerKey(aPointsPerKey), myNeutralRankScore(aNeutralRankScore),
      myBestRankScore(aBestRankScore)
{
    theGlobalScore = 0;
}

RankSystem::~RankSystem()
{
    // The results screen must never read a rank system that is gone.
    if (GameFlow* flow = GameFlow::GetCurrent(); flow != nullptr && flow->GetRankSystem() == this)
    {
        flow->SetRankSystem(nullptr);
    }
}

void RankSystem::AddScore(int aKind)
{
    if (aKind == WISP)
    {
        myScore += myPointsPerWisp;
    }
    else if (aKind == KEY)
    {
        myScore += myPointsPerKey;
    }
    else
    {
        return;
    }
    theGlobalScore = myScore;
    if (myScore >= myBestRankScore)
    {
        myRankLetter = "A";
    }
    else if (myScore < myNeutralRankScore)
    {
        myRankLetter = "C";
    }
    else
    {
        myRankLetter = "B";
    }
    myRankText = "Your Rank: " + myRankLetter;
}

std::string RankSystem::GetScoreText()
{
    myScoreText = std::to_string(myScore);
    theGlobalScore = myScore;
    return myScoreText;
}

void RankSystem::ResetScore()
{
    myScore = 0;
    theGlobalScore = 0;
}

int RankSystem::GetGlobalScore()
{
    return theGlobalScore;
}
