#include "GraphicsFixture.h"
#include "Support/AssertCapture.h"
#include "Support/GfxWindow.h"

#include <filesystem>
#include <fstream>

namespace
{
using Platform::Gfx::AdapterDesc;
namespace fs = std::filesystem;

constexpr std::uint64_t MEBIBYTE = 1ull << 20;

TEST(AdapterChoice, TheVendorAdapterWithTheMostMemoryWinsElseTheFirst)
{
    const AdapterDesc three[] = {
        {"Basic Render Driver", 0}, {"NVIDIA GeForce", 4096 * MEBIBYTE}, {"ATI Radeon", 8192 * MEBIBYTE}};
    EXPECT_EQ(Qel::DX11::FindBestAdapter(three), 2u);

    const AdapterDesc twins[] = {{"Other", 0}, {"NVIDIA A", 2048 * MEBIBYTE}, {"NVIDIA B", 2048 * MEBIBYTE}};
    EXPECT_EQ(Qel::DX11::FindBestAdapter(twins), 1u) << "a tie keeps the earlier adapter";

    const AdapterDesc others[] = {{"Intel", 1024 * MEBIBYTE}, {"llvmpipe", 8192 * MEBIBYTE}};
    EXPECT_EQ(Qel::DX11::FindBestAdapter(others), 0u);

    const AdapterDesc empty[] = {{"Intel", 0}, {"NVIDIA with no memory", 0}};
    EXPECT_EQ(Qel::DX11::FindBestAdapter(empty), 0u) << "0 MB does not replace the default";

    const AdapterDesc lowerCase[] = {{"first", 0}, {"nvidia lower case", 4096 * MEBIBYTE}};
    EXPECT_EQ(Qel::DX11::FindBestAdapter(lowerCase), 0u) << "the vendor names are matched exactly";

    EXPECT_FALSE(Qel::DX11::FindBestAdapter({}).has_value());
}

TEST(DX11Instance, OnlyOneInstanceMayExist)
{
    QelTest::AssertCapture asserts;
    auto first = std::make_unique<Qel::DX11>();
    EXPECT_TRUE(Qel::DX11::IsCreated());
    auto second = std::make_unique<Qel::DX11>();
    ASSERT_EQ(asserts.GetCount(), 1);
    EXPECT_EQ(asserts.GetFailures()[0], "IsCreated == false");
    EXPECT_EQ(Qel::DX11::GetDevice(), nullptr);
    EXPECT_FALSE(Qel::DX11::IsOnMainThread()) << "no device was initialised";
    second.reset();
    first.reset();
    ASSERT_EQ(asserts.GetCount(), 2);
    EXPECT_EQ(asserts.GetFailures()[1], "IsCreated == true");
}

class DX11Test : public QelTest::GraphicsFixture
{
protected:
    std::vector<std::uint8_t> ReadBackBuffer()
    {
        return Qel::DX11::GetContext()->ReadColorPixels(Qel::DX11::GetSwapChain()->GetBuffer(0));
    }

    void CopyShader(const char* aTestName, const fs::path& aCookedName)
    {
        const fs::path target = CookedFolder() / aCookedName;
        fs::create_directories(target.parent_path());
        fs::copy_file(QelTest::GetTestShaderFolder() / aTestName, target,
                      fs::copy_options::overwrite_existing);
    }
};

TEST_F(DX11Test, InitPublishesTheDeviceAndTargetsOnTheMainThread)
{
    EXPECT_NE(Qel::DX11::GetDevice(), nullptr);
    EXPECT_NE(Qel::DX11::GetContext(), nullptr);
    ASSERT_NE(Qel::DX11::GetBackBuffer(), nullptr);
    ASSERT_NE(Qel::DX11::GetDepthBuffer(), nullptr);
    EXPECT_TRUE(Qel::DX11::IsOnMainThread());
    EXPECT_EQ(Qel::DX11::GetResolution(), (Qel::Vector2<int>{64, 48}));
    EXPECT_EQ(Qel::DX11::GetBackBuffer()->GetView()->GetFormat(), Platform::Gfx::Format::B8G8R8A8_UNORM_SRGB);
    // Init leaves the back buffer bound with the depth buffer.
    EXPECT_EQ(Qel::DX11::GetContext()->GetBoundDepth(), Qel::DX11::GetDepthBuffer()->GetDepthView());
}

TEST_F(DX11Test, BeginFrameClearsThroughTheSrgbCurveAndLeavesDepthUnbound)
{
    myDX11->BeginFrame(Qel::Color(0.5f, 0.5f, 0.5f, 0.25f));
    std::vector<std::uint8_t> pixels = ReadBackBuffer();
    ASSERT_FALSE(pixels.empty());
    for (int channel = 0; channel < 3; ++channel)
    {
        EXPECT_NEAR(pixels[static_cast<std::size_t>(channel)], 128, 1);
    }
    EXPECT_NEAR(pixels[3], 64, 1);
    const std::vector<float> depth =
        Qel::DX11::GetContext()->ReadDepthPixels(Qel::DX11::GetDepthBuffer()->GetDepthView()->GetTexture());
    for (float value : depth)
    {
        ASSERT_EQ(value, 1.0f);
    }
    EXPECT_EQ(Qel::DX11::GetContext()->GetBoundDepth(), nullptr);
    EXPECT_EQ(Qel::DX11::GetContext()->GetBoundTarget(), Qel::DX11::GetBackBuffer()->GetView());

    // Below the curve's knee a channel is divided by 12.92; stored encoded, it reads back as authored.
    myDX11->BeginFrame(Qel::Color(0.04f, 1.0f, 0.0f, 1.0f));
    pixels = ReadBackBuffer();
    EXPECT_NEAR(pixels[0], 10, 1);
    EXPECT_EQ(pixels[1], 255);
    EXPECT_EQ(pixels[2], 0);
}

TEST_F(DX11Test, EndFramePresentsWithTheAskedInterval)
{
    Platform::Gfx::SwapChain* chain = Qel::DX11::GetSwapChain();
    myDX11->EndFrame(true);
    EXPECT_EQ(chain->GetSwapInterval(), 1);
    myDX11->EndFrame(false);
    EXPECT_EQ(chain->GetSwapInterval(), 0);
    EXPECT_EQ(chain->GetPresentCount(), 2u);
}

TEST_F(DX11Test, ResizeRebuildsBothTargetsAtTheWindowsSize)
{
    const Platform::Gfx::Texture2DPtr before = Qel::DX11::GetSwapChain()->GetBuffer(0);
    myWindow.SetResolution(96, 40);
    ASSERT_TRUE(myDX11->Resize());
    EXPECT_EQ(Qel::DX11::GetResolution(), (Qel::Vector2<int>{96, 40}));
    EXPECT_NE(Qel::DX11::GetSwapChain()->GetBuffer(0), before);
    const Platform::Gfx::Viewport& depthViewport = Qel::DX11::GetDepthBuffer()->GetViewport();
    EXPECT_EQ(depthViewport.width, 96.0f);
    EXPECT_EQ(depthViewport.height, 40.0f);
    myDX11->BeginFrame(Qel::Color(1.0f, 0.0f, 0.0f, 1.0f));
    const std::vector<std::uint8_t> pixels = ReadBackBuffer();
    ASSERT_EQ(pixels.size(), 96u * 40u * 4u);
    EXPECT_EQ(pixels[pixels.size() - 4], 255) << "the whole new buffer is cleared";

    const Platform::Gfx::Texture2DPtr resized = Qel::DX11::GetSwapChain()->GetBuffer(0);
    ASSERT_TRUE(myDX11->Resize());
    EXPECT_EQ(Qel::DX11::GetSwapChain()->GetBuffer(0), resized) << "an unchanged size keeps the targets";
    EXPECT_EQ(ReadBackBuffer()[0], 255) << "and what they hold";
}

TEST_F(DX11Test, UntilTheFirstPresentWhatIsMadeWaitsForItsFirstUse)
{
    Platform::Gfx::Device* device = Qel::DX11::GetDevice();
    Platform::Gfx::Texture2DDesc desc;
    desc.width = 2;
    desc.height = 2;
    desc.format = Platform::Gfx::Format::R8G8B8A8_UNORM;
    desc.bindFlags = Platform::Gfx::BIND_SHADER_RESOURCE;
    const std::vector<std::uint8_t> texels(16, 200);
    const Platform::Gfx::SubresourceData data[] = {{texels.data(), 8}};
    const Platform::Gfx::Texture2DPtr early = device->CreateTexture2D(desc, data);
    ASSERT_NE(early, nullptr);
    EXPECT_FALSE(early->IsRealised());
    while (device->GetCore()->RealiseDeferred(8) != 0)
    {
    }
    EXPECT_TRUE(early->IsRealised()) << "made by the main thread's slices";

    myDX11->BeginFrame(Qel::Color(0.0f, 0.0f, 0.0f, 1.0f));
    myDX11->EndFrame(false);
    const Platform::Gfx::Texture2DPtr late = device->CreateTexture2D(desc, data);
    ASSERT_NE(late, nullptr);
    EXPECT_TRUE(late->IsRealised()) << "made at once after the first present";
    EXPECT_EQ(device->GetCore()->GetDeferredCount(), 0u);
}

TEST_F(DX11Test, ShadersAreReadOnceAndFailuresAreNeverCached)
{
    CopyShader("TestFill_VS.cso", "shaders/custom_shape_VS.cso");
    Qel::VertexShaderEntry* first = Qel::DX11::GetVertexShader("shaders/custom_shape_VS");
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(first->bytecode.empty());
    // The file is gone, yet the second ask is answered from the cache.
    fs::remove(CookedFolder() / "shaders/custom_shape_VS.cso");
    EXPECT_EQ(Qel::DX11::GetVertexShader("shaders/custom_shape_VS"), first);
    // Loading again reads the file again; without it the entry goes.
    EXPECT_EQ(Qel::DX11::LoadVertexShader("shaders/custom_shape_VS"), nullptr);
    CopyShader("TestFill_VS.cso", "shaders/custom_shape_VS.cso");
    Qel::VertexShaderEntry* reloaded = Qel::DX11::GetVertexShader("shaders/custom_shape_VS");
    ASSERT_NE(reloaded, nullptr);

    EXPECT_EQ(Qel::DX11::GetPixelShader("Shaders/PostprocessTonemapPS"), nullptr);
    EXPECT_EQ(Qel::DX11::GetPixelShader("Shaders/PostprocessTonemapPS"), nullptr);
    CopyShader("TestFill_PS.cso", "Shaders/PostprocessTonemapPS.cso");
    Qel::PixelShaderEntry* pixel = Qel::DX11::GetPixelShader("Shaders/PostprocessTonemapPS");
    ASSERT_NE(pixel, nullptr) << "a missing file left no entry behind";
    const Platform::Gfx::ShaderPtr firstShader = pixel->shader;
    EXPECT_EQ(Qel::DX11::LoadPixelShader("Shaders/PostprocessTonemapPS"), pixel);
    EXPECT_NE(pixel->shader, firstShader) << "loading again replaces the shader in the same entry";

    std::ofstream(CookedFolder() / "broken_PS.cso") << "not a shader";
    EXPECT_EQ(Qel::DX11::GetPixelShader("broken_PS"), nullptr);
    EXPECT_EQ(Qel::DX11::GetPixelShader(nullptr), nullptr);
}
} // namespace
