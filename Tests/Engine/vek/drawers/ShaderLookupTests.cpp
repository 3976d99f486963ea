// The effects and drawers name their shader folder "Shaders" and "shaders"; both find the one folder.
#include "Engine/vek/graphics/GraphicsFixture.h"

#include <filesystem>

namespace
{
namespace fs = std::filesystem;

using ShaderLookupTest = QelTest::GraphicsFixture;

TEST_F(ShaderLookupTest, ShaderNamesMatchTheCookedFolderWithoutRegardToCase)
{
    fs::create_directories(CookedFolder() / "shaders");
    fs::copy_file(fs::path(QEL_TEST_SHADER_DIR) / "TestFill_VS.cso",
                  CookedFolder() / "shaders/PostprocessVS.cso");
    fs::copy_file(fs::path(QEL_TEST_SHADER_DIR) / "TestFill_PS.cso",
                  CookedFolder() / "shaders/PostprocessCopyPS.cso");
    EXPECT_NE(Qel::DX11::GetVertexShader("Shaders/PostprocessVS"), nullptr);
    EXPECT_NE(Qel::DX11::GetPixelShader("SHADERS/postprocesscopyps"), nullptr);
    EXPECT_EQ(Qel::DX11::GetPixelShader("Shaders/PostprocessTonemapPS"), nullptr);
}
} // namespace
