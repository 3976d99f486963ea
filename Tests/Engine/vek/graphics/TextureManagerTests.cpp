#include "Engine/vek/graphics/RenderFixture.h"
#include "Platform/Image/DdsImage.h"

#include <chrono>
#include <future>

namespace
{
using Platform::Gfx::Format;

std::vector<std::uint8_t> SolidDds(std::uint32_t aSide, std::uint8_t aRed)
{
    std::vector<std::uint8_t> texels;
    for (std::uint32_t index = 0; index < aSide * aSide; ++index)
    {
        texels.insert(texels.end(), {aRed, 0, 0, 255});
    }
    const std::vector<std::vector<std::uint8_t>> levels = {texels};
    return Platform::WriteDds(Format::R8G8B8A8_UNORM, aSide, aSide, 1, false, levels);
}

class TextureManagerTest : public QelTest::RenderFixture
{
protected:
    // A running engine, past its first present: what is asked for is made at once.
    void SetUp() override
    {
        RenderFixture::SetUp();
        if (!HasFatalFailure())
        {
            myDX11->EndFrame(false);
            BeginFrame({0.0f, 0.0f, 0.0f, 1.0f});
        }
    }

    // Saves a texture file anew, its time moved past the last save's as an editor's save would be, and
    // has the watcher scan at once instead of waiting for its polling thread.
    void SaveAndScan(const std::string& aName, const std::vector<std::uint8_t>& someBytes)
    {
        const std::filesystem::path file = myFolder.GetPath() / "engine" / aName;
        const std::filesystem::file_time_type before = std::filesystem::last_write_time(file);
        WriteTexture(aName, someBytes);
        std::filesystem::last_write_time(file, before + std::chrono::seconds(2));
        myWatcher->ScanNow();
    }
};

TEST_F(TextureManagerTest, EachColourModeIsItsOwnEntryUnderItsKey)
{
    EXPECT_EQ(Qel::TextureManager::MakeCacheKey("a.dds", 0), "a.dds");
    EXPECT_EQ(Qel::TextureManager::MakeCacheKey("a.dds", 1), "a.dds#SRGB");
    EXPECT_EQ(Qel::TextureManager::MakeCacheKey("a.dds", 2), "a.dds#NO_SRGB");
    EXPECT_EQ(Qel::TextureManager::MakeCacheKey("a.dds", 7), "a.dds");
    const std::string path = WriteTexture("Textures/t.dds", SolidDds(4, 255));
    Qel::Texture* srgb = myTextures->GetTexture(path.c_str(), 1);
    Qel::Texture* plain = myTextures->GetTexture(path.c_str(), 2);
    Qel::Texture* own = myTextures->GetTexture(path.c_str(), 0);
    EXPECT_NE(srgb, plain);
    EXPECT_NE(plain, own);
    EXPECT_EQ(myTextures->GetTexture(path.c_str(), 1), srgb);
    EXPECT_TRUE(Platform::Gfx::IsSrgb(srgb->myView->GetFormat() == Format::Unknown
                                          ? srgb->myView->GetTexture()->GetDesc().format
                                          : srgb->myView->GetFormat()));
    EXPECT_EQ(own->myPath, path);
    EXPECT_NE(own->myName.find("engine/Textures/t.dds"), std::string::npos) << "the resolved file";
    EXPECT_EQ(own->mySize.x, 4);
    EXPECT_FLOAT_EQ(own->myNormalizedSize.y, 4.0f / HEIGHT);
}

TEST_F(TextureManagerTest, AMissingFileGetsOnePlaceholderThatLoadsOnceTheFileAppears)
{
    EXPECT_EQ(myTextures->TryGetTexture("Textures/late.dds", 0), nullptr);
    Qel::Texture* placeholder = myTextures->GetTexture("Textures/late.dds", 0);
    ASSERT_NE(placeholder, nullptr);
    EXPECT_TRUE(placeholder->myIsPlaceholder);
    EXPECT_EQ(placeholder->myName, "Textures/late.dds");
    EXPECT_EQ(placeholder->mySize.x, 512);
    EXPECT_EQ(placeholder->mySize.y, 512);
    EXPECT_EQ(myTextures->GetTexture("Textures/late.dds", 0), placeholder);
    EXPECT_EQ(myTextures->TryGetTexture("Textures/late.dds", 0), placeholder) << "the cached entry";

    WriteTexture("Textures/late.dds", SolidDds(8, 255));
    myTextures->RetryMissingFiles();
    EXPECT_FALSE(placeholder->myIsPlaceholder);
    EXPECT_EQ(placeholder->mySize.x, 8);
    EXPECT_NE(placeholder->myView, myTextures->GetMissingTextureView());
}

TEST_F(TextureManagerTest, AChangedFileIsSeenByEveryHolderAfterTheNextFrame)
{
    const std::string path = WriteTexture("Textures/live.dds", SolidDds(4, 255));
    Qel::Texture* held = myTextures->GetTexture(path.c_str(), 0);
    Qel::Texture* heldAgain = myTextures->GetTexture(path.c_str(), 0);
    ASSERT_EQ(held, heldAgain);
    ASSERT_EQ(held->mySize.x, 4);
    SaveAndScan(path, SolidDds(16, 0));
    EXPECT_EQ(held->mySize.x, 4) << "nothing changes before the frame start runs the callbacks";
    myWatcher->FlushChanges();
    EXPECT_EQ(held->mySize.x, 16);
    EXPECT_EQ(myTextures->GetTexture(path.c_str(), 0), held) << "the same object, reloaded in place";

    // A change that no loader takes keeps the texture as it was: callers still hold it.
    const Platform::Gfx::ShaderResourceViewPtr before = held->myView;
    SaveAndScan(path, {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'});
    myWatcher->FlushChanges();
    EXPECT_EQ(myTextures->GetTexture(path.c_str(), 0), held);
    EXPECT_EQ(held->myView, before);
    EXPECT_FALSE(held->myIsPlaceholder);
}

TEST_F(TextureManagerTest, ADdsTextureAskedForOnAWorkerIsUsableOnTheMainThread)
{
    const std::string dds = WriteTexture("Textures/worker.dds", SolidDds(4, 255));
    std::vector<std::uint8_t> bitmap = {'B', 'M'};
    bitmap.resize(64, 0);
    const std::string other = WriteTexture("Textures/worker.bmp", bitmap);
    auto task = std::async(std::launch::async,
                           [this, &dds, &other]
                           {
                               return std::make_pair(myTextures->GetTexture(dds.c_str(), 0),
                                                     myTextures->TryGetTexture(other.c_str(), 0));
                           });
    const auto [texture, bmp] = task.get();
    ASSERT_NE(texture, nullptr);
    EXPECT_FALSE(texture->myIsPlaceholder);
    EXPECT_EQ(bmp, nullptr) << "off the main thread only DDS files load";
    EXPECT_FALSE(texture->myView->GetTexture()->IsRealised()) << "made without the GL context";

    Qel::SpriteSharedData shared;
    shared.texture = texture;
    {
        Qel::SpriteBatchScope batch = myGraphics->GetSpriteDrawer().BeginBatch(shared);
        Qel::Sprite2DInstanceData sprite;
        sprite.position = {0.0f, static_cast<float>(HEIGHT)};
        sprite.pivot = {0.0f, 0.0f};
        sprite.size = {static_cast<float>(WIDTH), static_cast<float>(HEIGHT)};
        batch.Draw2D(sprite);
    }
    EXPECT_RGB_NEAR(PixelAt(ReadPixels(), 10, 10), 255, 0, 0, 2);
}

TEST_F(TextureManagerTest, APrefetchedKeyGivesWhatADirectRequestGives)
{
    const std::string direct = WriteTexture("Textures/direct.dds", SolidDds(8, 255));
    const std::string ahead = WriteTexture("Textures/ahead.dds", SolidDds(8, 255));
    const std::string bad = WriteTexture("Textures/bad.dds", std::vector<std::uint8_t>(64, 7));
    myTextures->PrefetchTexture(ahead.c_str(), 1);
    myTextures->PrefetchTexture(ahead.c_str(), 1);
    myTextures->PrefetchTexture(bad.c_str(), 0);
    myTextures->PrefetchTexture("Textures/absent.dds", 0);

    const Qel::Texture* expected = myTextures->GetTexture(direct.c_str(), 1);
    const Qel::Texture* texture = myTextures->GetTexture(ahead.c_str(), 1);
    ASSERT_FALSE(texture->myIsPlaceholder);
    EXPECT_EQ(texture->mySize, expected->mySize);
    EXPECT_EQ(texture->myNormalizedSize, expected->myNormalizedSize);
    EXPECT_EQ(texture->myColorMode, 1u);
    EXPECT_EQ(texture->myPath, ahead);
    EXPECT_NE(texture->myName.find("engine/Textures/ahead.dds"), std::string::npos);
    EXPECT_TRUE(texture->myView->GetTexture()->IsRealised()) << "made on the main thread when asked for";
    EXPECT_EQ(texture->myView->GetTexture()->GetDesc().format,
              expected->myView->GetTexture()->GetDesc().format);
    myTextures->PrefetchTexture(ahead.c_str(), 1);
    EXPECT_EQ(myTextures->GetTexture(ahead.c_str(), 1), texture) << "a cached key is not read again";

    for (const char* placeholderPath : {bad.c_str(), "Textures/absent.dds"})
    {
        const Qel::Texture* placeholder = myTextures->GetTexture(placeholderPath, 0);
        EXPECT_TRUE(placeholder->myIsPlaceholder) << placeholderPath;
        EXPECT_EQ(placeholder->myName, placeholderPath);
        EXPECT_EQ(placeholder->mySize.x, 512);
        EXPECT_EQ(placeholder->myView, myTextures->GetMissingTextureView());
    }
}

TEST_F(TextureManagerTest, PrefetchesFromAWorkerMeetRequestsOfTheSameKeysOnTheMainThread)
{
    constexpr int COUNT = 24;
    std::vector<std::string> paths;
    for (int index = 0; index < COUNT; ++index)
    {
        paths.push_back(WriteTexture("Textures/race" + std::to_string(index) + ".dds",
                                     SolidDds(static_cast<std::uint32_t>(4 + index), 255)));
    }
    auto worker = std::async(std::launch::async,
                             [this, &paths]
                             {
                                 for (const std::string& path : paths)
                                 {
                                     myTextures->PrefetchTexture(path.c_str(), 0);
                                 }
                             });
    for (int index = COUNT - 1; index >= 0; --index)
    {
        const Qel::Texture* texture =
            myTextures->GetTexture(paths[static_cast<std::size_t>(index)].c_str(), 0);
        EXPECT_FALSE(texture->myIsPlaceholder) << index;
        EXPECT_EQ(texture->mySize.x, 4 + index);
    }
    worker.get();
    for (int index = 0; index < COUNT; ++index)
    {
        const Qel::Texture* texture =
            myTextures->GetTexture(paths[static_cast<std::size_t>(index)].c_str(), 0);
        EXPECT_EQ(texture->mySize.x, 4 + index) << "a late prefetch of a cached key changes nothing";
        EXPECT_TRUE(texture->myView->GetTexture()->IsRealised());
    }
}

TEST_F(TextureManagerTest, TargaFilesLoadOnlyUnderTheLowerCaseExtension)
{
    std::vector<std::uint8_t> targa(18, 0);
    targa[2] = 2;
    targa[12] = 2;
    targa[14] = 2;
    targa[16] = 32;
    for (int pixel = 0; pixel < 4; ++pixel)
    {
        targa.insert(targa.end(), {0, 0, 255, 255});
    }
    const std::string lower = WriteTexture("Textures/image.tga", targa);
    const std::string upper = WriteTexture("Textures/image2.TGA", targa);
    const Qel::Texture* loaded = myTextures->TryGetTexture(lower.c_str(), 0);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->myView->GetTexture()->GetDesc().format, Format::R8G8B8A8_UNORM_SRGB);
    EXPECT_EQ(myTextures->TryGetTexture(upper.c_str(), 0), nullptr);
}

TEST_F(TextureManagerTest, TheBuiltInTexturesHoldTheirPixels)
{
    const Qel::Texture* white = myTextures->GetWhiteSquare();
    ASSERT_NE(white, nullptr);
    EXPECT_EQ(white->myName, "WhiteSquare");
    ASSERT_NE(white->myView, nullptr);
    Platform::Gfx::Context& context = *Qel::DX11::GetContext();
    const std::vector<std::uint8_t> checker =
        context.ReadColorPixels(myTextures->GetMissingTextureView()->GetTexture());
    ASSERT_EQ(checker.size(), 16u * 16u * 4u);
    // Read-back turns rendered (bottom-up) targets upright, so an uploaded image's first row comes last:
    // there pixel (1, 0) is magenta and (0, 0) black.
    const std::size_t firstRow = 15u * 16u * 4u;
    EXPECT_EQ(checker[firstRow + 4], 255);
    EXPECT_EQ(checker[firstRow + 5], 0);
    EXPECT_EQ(checker[firstRow + 6], 255);
    EXPECT_EQ(checker[firstRow + 0], 0);
    EXPECT_EQ(checker[0], 255) << "pixel (0, 15)";
    const std::vector<std::uint8_t> normal =
        context.ReadColorPixels(myTextures->GetFlatNormalView()->GetTexture());
    ASSERT_FALSE(normal.empty());
    EXPECT_EQ(normal[0], 128);
    EXPECT_EQ(normal[2], 255);
}
} // namespace
