// Points the executable folder at a temporary folder for each test, with the settings reset, and puts
// both back afterwards. The base of the fixtures that start parts of the engine from files of their own.
#pragma once

#include "Support/TempDir.h"
#include "vek/settings/Settings.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace QelTest
{
class ExecutableFolderFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        myRunFolder = Qel::GetExecutableFolder();
        Qel::SetExecutableFolder(myFolder.GetPath());
        Qel::ResetSettings();
    }

    void TearDown() override
    {
        Qel::ResetSettings();
        Qel::SetExecutableFolder(myRunFolder);
    }

    TempDir myFolder;
    // The test binary's own folder, where the build lays out the run layout's data.
    std::filesystem::path myRunFolder;
};
} // namespace QelTest
