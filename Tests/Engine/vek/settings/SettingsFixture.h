// Points the executable folder at a temporary folder and restores the static settings afterwards.
#pragma once

#include "Support/ExecutableFolderFixture.h"
#include "vek/settings/EngineCreateParameters.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string_view>

namespace QelTest
{
class SettingsFixture : public ExecutableFolderFixture
{
protected:
    std::filesystem::path WriteSettings(std::string_view aFileName, std::string_view aJson) const
    {
        return myFolder.WriteFile(std::filesystem::path("settings") / aFileName, aJson);
    }

    static Qel::EngineCreateParameters& Parameters() { return Qel::GetEngineCreateParameters(); }
    const std::filesystem::path& Folder() const { return myFolder.GetPath(); }
};
} // namespace QelTest
