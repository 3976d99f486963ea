#include "Support/GfxWindow.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace QelTest
{
GfxWindow::GfxWindow(int aWidth, int aHeight)
{
    std::string error;
    Platform::WindowDesc desc;
    desc.title = "test";
    desc.width = aWidth;
    desc.height = aHeight;
    myWindow = Platform::Window::Create(desc, error);
    if (myWindow == nullptr)
    {
        ADD_FAILURE() << "no window: " << error;
        return;
    }
    Platform::Gfx::SwapChainDesc chain;
    chain.window = myWindow.get();
    if (!Platform::Gfx::CreateDeviceAndSwapChain(Platform::Gfx::EnumerateAdapters().front(), chain, myObjects,
                                                 error))
    {
        ADD_FAILURE() << "no device: " << error;
    }
}

GfxWindow::~GfxWindow()
{
    myObjects = {};
    myWindow.reset();
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& aPath)
{
    std::ifstream file(aPath, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::filesystem::path GetTestShaderFolder()
{
    return QEL_TEST_SHADER_DIR;
}
} // namespace QelTest
