// A real window with a GL device on it, for tests that draw and read pixels back. Tests run headless on
// SDL's offscreen driver, which still gives a GL 4.5 core context. Main thread only.
#pragma once

#include "Platform/Gfx/Factory.h"
#include "Platform/Window/Window.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace QelTest
{
class GfxWindow
{
public:
    // Fails the calling test (and leaves IsReady false) when no window or device can be made.
    GfxWindow(int aWidth = 64, int aHeight = 48);
    ~GfxWindow();

    bool IsReady() const { return myObjects.device != nullptr; }
    Platform::Window& GetWindow() { return *myWindow; }
    Platform::Gfx::Device& GetDevice() { return *myObjects.device; }
    Platform::Gfx::Context& GetContext() { return *myObjects.context; }
    Platform::Gfx::SwapChain& GetSwapChain() { return *myObjects.swapChain; }

private:
    std::unique_ptr<Platform::Window> myWindow;
    Platform::Gfx::DeviceObjects myObjects;
};

// The bytes of a file, empty when it cannot be read.
std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& aPath);

// The folder of the compiled test shaders (TestFill_VS.cso, TestFill_PS.cso).
std::filesystem::path GetTestShaderFolder();
} // namespace QelTest
