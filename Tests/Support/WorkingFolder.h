// Runs a test with the process's working folder moved into a fresh temporary folder (a level below
// its root, so the parent can be used too), and puts the old working folder back afterwards.
#pragma once

#include "Support/TempDir.h"

#include <filesystem>

namespace QelTest
{
class WorkingFolder
{
public:
    WorkingFolder() : myPrevious(std::filesystem::current_path())
    {
        std::filesystem::create_directories(GetPath());
        std::filesystem::current_path(GetPath());
    }
    ~WorkingFolder() { std::filesystem::current_path(myPrevious); }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

    std::filesystem::path GetPath() const { return myRoot.GetPath() / "run"; }
    std::filesystem::path GetParent() const { return myRoot.GetPath(); }
    // Writes a file relative to the working folder.
    std::filesystem::path WriteFile(const std::filesystem::path& aRelative, std::string_view aText) const
    {
        return myRoot.WriteFile(std::filesystem::path("run") / aRelative, aText);
    }

private:
    TempDir myRoot;
    std::filesystem::path myPrevious;
};
} // namespace QelTest
