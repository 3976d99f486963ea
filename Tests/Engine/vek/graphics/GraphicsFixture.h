// A window and an initialised graphics device for the engine's graphics types, with the settings
// pointed at a temporary executable folder whose cooked root tests may fill. Main thread only.
#pragma once

#include "Support/ExecutableFolderFixture.h"
#include "vek/Core/WindowHandler.h"
#include "vek/graphics/DX11.h"
#include "vek/settings/EngineCreateParameters.h"
#include "vek/settings/Settings.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace QelTest
{
class GraphicsFixture : public ExecutableFolderFixture
{
protected:
    void SetUp() override
    {
        ExecutableFolderFixture::SetUp();
        myFolder.WriteFile("settings/Game.json",
                           R"({"assets_path": {"engine": "engine", "game": "game", "cooked": "cooked"},
                               "window_settings": {"title": "graphics test"}})");
        ASSERT_TRUE(Qel::LoadSettings("Game.json"));
        Qel::EngineCreateParameters parameters;
        parameters.windowSize = {64, 48};
        void* instance = nullptr;
        Qel::WindowHandle* handle = nullptr;
        ASSERT_TRUE(myWindow.Create(parameters, instance, handle));
        myDX11 = std::make_unique<Qel::DX11>();
        ASSERT_TRUE(myDX11->Init(myWindow));
    }

    void TearDown() override
    {
        myDX11.reset();
        myWindow.DestroyWindow();
        ExecutableFolderFixture::TearDown();
    }

    std::filesystem::path CookedFolder() const { return myFolder.GetPath() / "cooked"; }

    Qel::WindowHandler myWindow;
    std::unique_ptr<Qel::DX11> myDX11;
};
} // namespace QelTest
