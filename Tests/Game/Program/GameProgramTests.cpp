#include "Support/TempDir.h"
#include "Support/ToneWave.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace
{
using namespace std::chrono_literals;

struct Outcome
{
    bool exited = false;
    int exitCode = -1;
    std::string output;
    std::string errors;
};

std::string ReadText(const std::filesystem::path& aPath)
{
    std::ifstream file(aPath);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

using Files = std::vector<std::pair<std::string, std::string>>;

// The menus' layout and dialogue documents the game reads from its working folder: small ones of the
// test's own, as the real ones are content of their own.
const Files MENU_DOCUMENTS = {{"settings/UISettings.json", "{}"}, {"settings/Dialogues.json", "{}"}};

// Starts the built game with extra environment settings in a working folder of the test's own that
// holds the given files; output goes to files.
class GameProcess
{
public:
    explicit GameProcess(const std::vector<std::string>& someEnvironment,
                         const Files& someWorkingFiles = MENU_DOCUMENTS)
    {
        myOutput = myFolder.GetPath() / "out.txt";
        myErrors = myFolder.GetPath() / "err.txt";
        for (const auto& [path, text] : someWorkingFiles)
        {
            myWorking.WriteFile(path, text);
        }
        const std::filesystem::path executable = QEL_GAME_EXECUTABLE;
        myPid = fork();
        if (myPid == 0)
        {
            for (const std::string& setting : someEnvironment)
            {
                putenv(const_cast<char*>(setting.c_str()));
            }
            if (freopen(myOutput.c_str(), "w", stdout) == nullptr ||
                freopen(myErrors.c_str(), "w", stderr) == nullptr || chdir(myWorking.GetPath().c_str()) != 0)
            {
                _exit(126);
            }
            execl(executable.c_str(), executable.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }

    bool WaitForOutput(const std::string& aText, std::chrono::seconds aLimit)
    {
        return WaitFor([&] { return ReadText(myOutput).find(aText) != std::string::npos; }, aLimit);
    }

    // Polls until aSeen holds; false once the game has ended or the limit has passed without it.
    bool WaitFor(const std::function<bool()>& aSeen, std::chrono::seconds aLimit)
    {
        const auto deadline = std::chrono::steady_clock::now() + aLimit;
        while (std::chrono::steady_clock::now() < deadline)
        {
            if (aSeen())
            {
                return true;
            }
            int status = 0;
            if (waitpid(myPid, &status, WNOHANG) == myPid)
            {
                myStatus = status;
                myHasEnded = true;
                return false;
            }
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }

    void Signal(int aSignal) { kill(myPid, aSignal); }

    Outcome Wait(std::chrono::seconds aLimit)
    {
        Outcome outcome;
        const auto deadline = std::chrono::steady_clock::now() + aLimit;
        while (!myHasEnded && std::chrono::steady_clock::now() < deadline)
        {
            int status = 0;
            if (waitpid(myPid, &status, WNOHANG) == myPid)
            {
                myStatus = status;
                myHasEnded = true;
                break;
            }
            std::this_thread::sleep_for(50ms);
        }
        if (!myHasEnded)
        {
            kill(myPid, SIGKILL);
            waitpid(myPid, &myStatus, 0);
            myHasEnded = true;
            outcome.output = ReadText(myOutput);
            outcome.errors = ReadText(myErrors);
            return outcome;
        }
        outcome.exited = WIFEXITED(myStatus);
        outcome.exitCode = outcome.exited ? WEXITSTATUS(myStatus) : -1;
        outcome.output = ReadText(myOutput);
        outcome.errors = ReadText(myErrors);
        return outcome;
    }

    pid_t GetPid() const { return myPid; }

private:
    QelTest::TempDir myFolder;
    QelTest::TempDir myWorking;
    std::filesystem::path myOutput;
    std::filesystem::path myErrors;
    pid_t myPid = -1;
    int myStatus = 0;
    bool myHasEnded = false;
};

TEST(GameProgram, RunsFramesAndShutsDownInOrderOnSigterm)
{
    // The title's music starts once the splash has shown its (short) logos frame by frame, and the disk
    // audio driver writes what is heard to a file: its first sound shows that frames ran.
    QelTest::TempDir heard;
    const std::filesystem::path audio = heard.GetPath() / "heard.raw";
    const Files documents = {
        {"settings/UISettings.json",
         R"({"SplashSettings": {"FadeInSeconds": 0, "HoldSeconds": 0.1, "FadeOutSeconds": 0}})"},
        {"settings/Dialogues.json", "{}"}};
    GameProcess game({"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + audio.string()}, documents);
    ASSERT_GT(game.GetPid(), 0);
    ASSERT_TRUE(game.WaitForOutput("[Game] running", 60s)) << game.Wait(5s).errors;
    ASSERT_TRUE(game.WaitFor([&] { return QelTest::CountHeardSamples(audio) > 0; }, 60s))
        << "the title's music never played";
    game.Signal(SIGTERM);
    const Outcome outcome = game.Wait(60s);
    EXPECT_TRUE(outcome.exited) << outcome.errors;
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
    EXPECT_NE(outcome.output.find("[Game] shut down"), std::string::npos) << outcome.output;
    // The splash's frames were presented before the signal.
    const std::size_t presented = outcome.output.find(" frames presented");
    ASSERT_NE(presented, std::string::npos) << outcome.output;
    const std::size_t start = outcome.output.rfind("[Game] ", presented);
    EXPECT_GE(std::stoul(outcome.output.substr(start + 7, presented - start - 7)), 1ul);
}

TEST(GameProgram, SigintTakesTheSameRoad)
{
    GameProcess game({});
    ASSERT_TRUE(game.WaitForOutput("[Game] running", 60s)) << game.Wait(5s).errors;
    game.Signal(SIGINT);
    const Outcome outcome = game.Wait(60s);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
    EXPECT_NE(outcome.output.find("[Game] shut down"), std::string::npos);
}

TEST(GameProgram, AFailedStartSaysWhyOnStandardErrorAndExitsNonZero)
{
    GameProcess game({"SDL_VIDEODRIVER=no-such-driver"});
    const Outcome outcome = game.Wait(60s);
    EXPECT_TRUE(outcome.exited);
    EXPECT_NE(outcome.exitCode, 0);
    EXPECT_NE(outcome.errors.find("[Engine] start failed"), std::string::npos) << outcome.errors;
    EXPECT_NE(outcome.errors.find("[Game] the engine did not start"), std::string::npos) << outcome.errors;
    EXPECT_EQ(outcome.output.find("[Game] running"), std::string::npos);
}
TEST(GameProgram, AMissingMenuDocumentIsNamedInOneLineAndTheGameExitsNonZero)
{
    GameProcess game({}, {});
    const Outcome outcome = game.Wait(60s);
    EXPECT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.exitCode, 1);
    const std::string expected = "[StateStack] settings/UISettings.json: cannot be opened";
    EXPECT_EQ(outcome.errors.find(expected), outcome.errors.rfind("[")) << outcome.errors;
    EXPECT_EQ(std::count(outcome.errors.begin(), outcome.errors.end(), '\n'), 1) << outcome.errors;
    EXPECT_EQ(outcome.output.find("[Game] running"), std::string::npos);
}

TEST(GameProgram, AMalformedDialogueDocumentIsNamedWithTheParseError)
{
    GameProcess game({}, {{"settings/UISettings.json", "{}"}, {"settings/Dialogues.json", R"({"Bubble": )"}});
    const Outcome outcome = game.Wait(60s);
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_NE(outcome.errors.find("[StateStack] settings/Dialogues.json: [json.exception.parse_error"),
              std::string::npos)
        << outcome.errors;
}
} // namespace
