// Starts the whole engine in a test: a temporary executable folder whose settings point the cooked and
// engine roots at the run layout's built shaders and fonts, or at a copy of the cooked root that lacks
// chosen files. Shuts the engine down after each test. Main thread only.
#pragma once

#include "Support/ExecutableFolderFixture.h"
#include "vek/Core/Engine.h"
#include "vek/settings/Settings.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>

namespace QelTest
{
class EngineFixture : public ExecutableFolderFixture
{
protected:
    void TearDown() override
    {
        Qel::Engine::Shutdown();
        ExecutableFolderFixture::TearDown();
    }

    // Starts with a window of the given size and the run layout's roots, or with a cooked root copied
    // from the run layout without the named files (paths below the cooked root, with ".cso").
    bool StartEngine(int aWidth, int aHeight, std::initializer_list<const char*> someMissingCooked = {})
    {
        std::filesystem::path cooked = myRunFolder / "data/cooked";
        if (someMissingCooked.size() != 0)
        {
            cooked = myFolder.GetPath() / "cooked";
            std::filesystem::remove_all(cooked);
            std::filesystem::copy(myRunFolder / "data/cooked", cooked,
                                  std::filesystem::copy_options::recursive);
            for (const char* missing : someMissingCooked)
            {
                EXPECT_TRUE(std::filesystem::remove(cooked / missing)) << missing;
            }
        }
        const std::string size = std::to_string(aWidth) + R"(, "h": )" + std::to_string(aHeight);
        myFolder.WriteFile("settings/Game.json",
                           R"({"assets_path": {"engine": ")" + (myRunFolder / "data/engine").string() +
                               R"(", "game": "game", "cooked": ")" + cooked.string() +
                               R"("}, "window_settings": {"title": "engine test", "window_size": {"w": )" +
                               size + R"(}, "render_size": {"w": )" + size + R"(}}, "enable_vsync": false})");
        EXPECT_TRUE(Qel::LoadSettings("Game.json"));
        return Qel::Engine::Start();
    }
};
} // namespace QelTest
