// Runs a benchmark program again in a fresh process and reads back the figures it prints, for what a
// game pays once per process: its start-up, a level's first load. The parent passes its spawn time in
// the environment, so the child can time phases from the moment it was launched. The child prints each
// figure on a line of its own behind a mark, so the log lines of what it runs do not get in the way.
#pragma once

#include "Support/Figures.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <string>
#include <vector>

extern "C" char** environ;

namespace QelBenchmark
{
constexpr const char* SPAWN_TIME_VARIABLE = "QEL_BENCH_SPAWN_NS";
constexpr const char* FIGURE_MARK = "@figure ";

// The child's side: one figure, flushed at once so a later crash does not lose it.
inline void PrintFigure(const std::string& aName, double aValue)
{
    std::cout.flush();
    std::printf("\n%s%s %.6f\n", FIGURE_MARK, aName.c_str(), aValue);
    std::fflush(stdout);
}

// The child's side: milliseconds since the parent launched this process (since this clock was made
// when the process was not launched by RunFresh).
class LaunchClock
{
public:
    LaunchClock()
    {
        const char* spawned = std::getenv(SPAWN_TIME_VARIABLE);
        myLaunch = spawned != nullptr ? std::atoll(spawned) : MonotonicNanoseconds();
    }

    double Now() const { return static_cast<double>(MonotonicNanoseconds() - myLaunch) / 1e6; }
    // Prints "aPhase" with the time since the launch.
    void Mark(const std::string& aPhase) const { PrintFigure(aPhase, Now()); }

private:
    long long myLaunch = 0;
};

// Every "@figure <name> <value>" in aOutput; a later figure of the same name wins.
inline std::map<std::string, double> ParseFigures(const std::string& aOutput)
{
    std::map<std::string, double> figures;
    const std::size_t markLength = std::strlen(FIGURE_MARK);
    for (std::size_t at = aOutput.find(FIGURE_MARK); at != std::string::npos;
         at = aOutput.find(FIGURE_MARK, at + markLength))
    {
        const std::size_t nameStart = at + markLength;
        const std::size_t nameEnd = aOutput.find_first_of(" \n", nameStart);
        if (nameEnd == std::string::npos || nameEnd == nameStart || aOutput[nameEnd] != ' ')
        {
            continue;
        }
        const char* valueText = aOutput.c_str() + nameEnd + 1;
        char* valueEnd = nullptr;
        const double value = std::strtod(valueText, &valueEnd);
        if (valueEnd != valueText)
        {
            figures[aOutput.substr(nameStart, nameEnd - nameStart)] = value;
        }
    }
    return figures;
}

struct FreshRun
{
    // The child exited with 0.
    bool succeeded = false;
    std::map<std::string, double> figures;
    std::string output;
};

// Runs aProgram (this program unless given) with aArguments, its standard output read back. Each of
// someVariables ("NAME=value") replaces the variable of that name in the environment passed on. With
// aQuietErrors the child's standard error goes nowhere.
inline FreshRun RunFresh(const std::vector<std::string>& aArguments,
                         const std::vector<std::string>& someVariables = {}, bool aQuietErrors = false,
                         const std::string& aProgram = "/proc/self/exe")
{
    FreshRun run;
    std::vector<std::string> environment;
    const auto isReplaced = [&](const char* aVariable)
    {
        const char* equals = std::strchr(aVariable, '=');
        const std::string name(aVariable, equals != nullptr ? static_cast<std::size_t>(equals - aVariable)
                                                            : std::strlen(aVariable));
        if (name == SPAWN_TIME_VARIABLE)
        {
            return true;
        }
        for (const std::string& variable : someVariables)
        {
            if (variable.compare(0, name.size() + 1, name + "=") == 0)
            {
                return true;
            }
        }
        return false;
    };
    for (char** variable = environ; *variable != nullptr; ++variable)
    {
        if (!isReplaced(*variable))
        {
            environment.emplace_back(*variable);
        }
    }
    environment.insert(environment.end(), someVariables.begin(), someVariables.end());
    std::vector<std::string> arguments{aProgram};
    arguments.insert(arguments.end(), aArguments.begin(), aArguments.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments)
    {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    int ends[2];
    if (::pipe(ends) != 0)
    {
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, ends[0]);
    posix_spawn_file_actions_addclose(&actions, ends[1]);
    if (aQuietErrors)
    {
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    }
    // The launch time is taken last, so the child's clock starts as close to the spawn as can be.
    environment.push_back(std::string(SPAWN_TIME_VARIABLE) + "=" + std::to_string(MonotonicNanoseconds()));
    std::vector<char*> envp;
    for (std::string& variable : environment)
    {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, aProgram.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(ends[1]);
    char buffer[4096];
    for (ssize_t got = 0; spawned == 0 && (got = ::read(ends[0], buffer, sizeof(buffer))) > 0;)
    {
        run.output.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(ends[0]);
    int status = 1;
    if (spawned == 0 && ::waitpid(child, &status, 0) == child)
    {
        run.succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    run.figures = ParseFigures(run.output);
    return run;
}
} // namespace QelBenchmark
