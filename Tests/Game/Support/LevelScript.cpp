#include "Game/Support/LevelScript.h"

#include "Platform/Window/WindowMessages.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

namespace GameTest
{
namespace
{
struct KeyName
{
    const char* name;
    std::uint32_t bit;
};

constexpr KeyName KEY_NAMES[] = {
    {"left", LevelScript::KEY_LEFT},     {"right", LevelScript::KEY_RIGHT},
    {"jump", LevelScript::KEY_JUMP},     {"pound", LevelScript::KEY_POUND},
    {"sprint", LevelScript::KEY_SPRINT}, {"interact", LevelScript::KEY_INTERACT},
};

// The keyboard keys the player reads: A, D, Space, S, Shift and E.
constexpr std::uint32_t VIRTUAL_KEYS[] = {VK_A, VK_D, VK_SPACE, VK_S, VK_SHIFT, VK_E};

std::optional<float> ParseNumber(const std::string& aText)
{
    std::istringstream stream(aText);
    float value = 0.0f;
    stream >> value;
    if (stream.fail() || !stream.eof() || !std::isfinite(value))
    {
        return std::nullopt;
    }
    return value;
}

std::optional<LevelScript::Condition> ParseCondition(std::string aText)
{
    std::string compact;
    for (char character : aText)
    {
        if (character != ' ')
        {
            compact += character;
        }
    }
    using Kind = LevelScript::Condition::Kind;
    const std::pair<const char*, Kind> words[] = {{"grounded", Kind::GROUNDED},
                                                  {"airborne", Kind::AIRBORNE},
                                                  {"falling", Kind::FALLING},
                                                  {"rising", Kind::RISING}};
    for (const auto& [word, kind] : words)
    {
        if (compact == word)
        {
            return LevelScript::Condition{kind, 0.0f};
        }
    }
    const std::pair<const char*, Kind> comparisons[] = {{"x>=", Kind::X_AT_LEAST},
                                                        {"x<=", Kind::X_AT_MOST},
                                                        {"y>=", Kind::Y_AT_LEAST},
                                                        {"y<=", Kind::Y_AT_MOST}};
    for (const auto& [prefix, kind] : comparisons)
    {
        if (compact.rfind(prefix, 0) == 0)
        {
            if (const std::optional<float> value = ParseNumber(compact.substr(3)))
            {
                return LevelScript::Condition{kind, *value};
            }
        }
    }
    return std::nullopt;
}

std::vector<std::string> Words(const std::string& aLine)
{
    std::istringstream stream(aLine);
    std::vector<std::string> words;
    std::string word;
    while (stream >> word)
    {
        words.push_back(word);
    }
    return words;
}
} // namespace

bool LevelScript::Condition::Holds(const PlayerView& aPlayer) const
{
    switch (kind)
    {
    case X_AT_LEAST:
        return aPlayer.position.x >= value;
    case X_AT_MOST:
        return aPlayer.position.x <= value;
    case Y_AT_LEAST:
        return aPlayer.position.y >= value;
    case Y_AT_MOST:
        return aPlayer.position.y <= value;
    case GROUNDED:
        return aPlayer.isGrounded;
    case AIRBORNE:
        return !aPlayer.isGrounded;
    case FALLING:
        return !aPlayer.isGrounded && aPlayer.verticalVelocity < 0.0f;
    case RISING:
        return aPlayer.verticalVelocity > 0.0f;
    }
    return false;
}

std::optional<LevelScript> LevelScript::Parse(const std::string& aText, int aFramesPerSecond,
                                              std::string& aError)
{
    LevelScript script;
    std::istringstream lines(aText);
    std::string line;
    int lineNumber = 0;
    const auto fail = [&](const std::string& aWhy)
    {
        aError = "line " + std::to_string(lineNumber) + ": " + aWhy + " (\"" + line + "\")";
        return std::nullopt;
    };
    while (std::getline(lines, line))
    {
        ++lineNumber;
        const std::string content = line.substr(0, line.find('#'));
        const std::vector<std::string> words = Words(content);
        if (words.empty())
        {
            continue;
        }
        if (words[0] == "expect")
        {
            const std::optional<float> count = words.size() == 3 ? ParseNumber(words[2]) : std::nullopt;
            if (words.size() != 3 || words[1] != "coins" || !count || *count < 0.0f)
            {
                return fail("expected \"expect coins N\"");
            }
            script.myExpectedCoins = static_cast<int>(*count);
            continue;
        }

        Step step;
        step.line = lineNumber;
        step.text = content;
        const bool isWait = words[0] == "wait";
        if (isWait && words.size() != 2)
        {
            return fail("expected \"wait SECONDS\"");
        }
        std::size_t index = isWait ? words.size() : 0;
        for (; index < words.size() && words[index] != "for" && words[index] != "until"; ++index)
        {
            if (words[index] == "none")
            {
                continue;
            }
            bool known = false;
            for (const KeyName& key : KEY_NAMES)
            {
                if (words[index] == key.name)
                {
                    step.keys |= key.bit;
                    known = true;
                }
            }
            if (!known)
            {
                return fail("unknown key \"" + words[index] + "\"");
            }
        }
        if (isWait || (index < words.size() && words[index] == "for"))
        {
            const std::size_t at = isWait ? 1 : index + 1;
            const std::optional<float> seconds =
                at + 1 == words.size() ? ParseNumber(words[at]) : std::nullopt;
            if (!seconds || *seconds <= 0.0f)
            {
                return fail("a time needs one number of seconds above 0");
            }
            step.frames =
                std::max(1, static_cast<int>(std::lround(*seconds * static_cast<float>(aFramesPerSecond))));
        }
        else if (index < words.size())
        {
            std::string condition;
            for (std::size_t word = index + 1; word <= words.size(); ++word)
            {
                if (word == words.size() || words[word] == "and")
                {
                    const std::optional<Condition> parsed = ParseCondition(condition);
                    if (!parsed)
                    {
                        return fail("unknown condition \"" + condition + "\"");
                    }
                    step.conditions.push_back(*parsed);
                    condition.clear();
                    continue;
                }
                condition += words[word];
            }
        }
        else
        {
            return fail("a step needs \"for SECONDS\" or \"until CONDITION\"");
        }
        script.mySteps.push_back(std::move(step));
    }
    return script;
}

std::optional<LevelScript> LevelScript::Load(const std::filesystem::path& aPath, int aFramesPerSecond,
                                             std::string& aError)
{
    std::ifstream file(aPath);
    if (!file)
    {
        aError = "cannot read " + aPath.string();
        return std::nullopt;
    }
    std::stringstream text;
    text << file.rdbuf();
    std::optional<LevelScript> script = Parse(text.str(), aFramesPerSecond, aError);
    if (!script)
    {
        aError = aPath.filename().string() + " " + aError;
    }
    return script;
}

LevelScriptPlayer::LevelScriptPlayer(const LevelScript& aScript, int aStepLimitFrames)
    : myScript(&aScript), myStepLimitFrames(aStepLimitFrames)
{
}

bool LevelScriptPlayer::Tick(const PlayerView& aPlayer, InputHandler& aInput)
{
    return Tick(aPlayer, [&aInput](std::uint32_t aMessage, std::uint32_t aKey)
                { aInput.UpdateEvents(aMessage, aKey, 0); });
}

bool LevelScriptPlayer::Tick(const PlayerView& aPlayer, const KeySink& aSend)
{
    if (!myFailure.empty())
    {
        return false;
    }
    const std::vector<LevelScript::Step>& steps = myScript->GetSteps();
    while (myStep < steps.size())
    {
        const LevelScript::Step& step = steps[myStep];
        bool done = false;
        if (step.conditions.empty())
        {
            done = myFramesInStep >= step.frames;
        }
        else
        {
            done = true;
            for (const LevelScript::Condition& condition : step.conditions)
            {
                done = done && condition.Holds(aPlayer);
            }
        }
        if (!done)
        {
            break;
        }
        ++myStep;
        myFramesInStep = 0;
    }
    if (myStep >= steps.size())
    {
        SendKeys(0, aSend);
        return true;
    }
    if (myFramesInStep >= myStepLimitFrames)
    {
        std::ostringstream why;
        why << "stuck at " << DescribeStep() << " with the player at (" << aPlayer.position.x << ", "
            << aPlayer.position.y << ")" << (aPlayer.isGrounded ? " on the ground" : " in the air");
        myFailure = why.str();
        SendKeys(0, aSend);
        return false;
    }
    ++myFramesInStep;
    SendKeys(steps[myStep].keys, aSend);
    return true;
}

std::string LevelScriptPlayer::DescribeStep() const
{
    const std::vector<LevelScript::Step>& steps = myScript->GetSteps();
    if (myStep >= steps.size())
    {
        return "the end";
    }
    return "line " + std::to_string(steps[myStep].line) + " \"" + steps[myStep].text + "\"";
}

std::vector<std::uint32_t> LevelScriptPlayer::ToVirtualKeys(std::uint32_t aKeys)
{
    std::vector<std::uint32_t> keys;
    for (std::size_t bit = 0; bit < std::size(VIRTUAL_KEYS); ++bit)
    {
        if ((aKeys & (1u << bit)) != 0)
        {
            keys.push_back(VIRTUAL_KEYS[bit]);
        }
    }
    return keys;
}

void LevelScriptPlayer::SendKeys(std::uint32_t aKeys, const KeySink& aSend)
{
    for (std::uint32_t key : ToVirtualKeys(myHeld & ~aKeys))
    {
        aSend(WM_KEYUP, key);
    }
    for (std::uint32_t key : ToVirtualKeys(aKeys & ~myHeld))
    {
        aSend(WM_KEYDOWN, key);
    }
    myHeld = aKeys;
}

std::filesystem::path GetLevelScriptFolder()
{
    return QEL_LEVEL_SCRIPT_DIR;
}
} // namespace GameTest
