#include "SettingsFixture.h"
#include "vek/settings/AssetPaths.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
class AssetResolver : public QelTest::SettingsFixture
{
protected:
    void SetUp() override
    {
        SettingsFixture::SetUp();
        WriteSettings("Game.json", R"({"assets_path": {"engine": "engine", "game": "game"},
                                      "window_settings": {"title": "T"}})");
        ASSERT_TRUE(Qel::LoadSettings("Game"));
    }

    std::string Write(const std::string& aRelative) const
    {
        return myFolder.WriteFile(aRelative, "x").generic_string();
    }
};
} // namespace

TEST_F(AssetResolver, DataFolderThenGameRootThenEngineRoot)
{
    const std::string inEngine = Write("engine/Textures/a.dds");
    EXPECT_EQ(Qel::ResolveAssetPath("Textures/a.dds"), inEngine);
    const std::string inGame = Write("game/Textures/a.dds");
    EXPECT_EQ(Qel::ResolveAssetPath("Textures/a.dds"), inGame);
    const std::string inData = Write("data/Textures/a.dds");
    EXPECT_EQ(Qel::ResolveAssetPath("Textures/a.dds"), inData);
}

TEST_F(AssetResolver, TheGameResolverSkipsTheEngineRoot)
{
    Write("engine/only-engine.png");
    EXPECT_EQ(Qel::ResolveGameAssetPath("only-engine.png"), "");
    EXPECT_NE(Qel::ResolveAssetPath("only-engine.png"), "");
    const std::string inGame = Write("game/both.png");
    Write("engine/both.png");
    EXPECT_EQ(Qel::ResolveGameAssetPath("both.png"), inGame);
}

TEST_F(AssetResolver, NothingFoundEmptyInputAndFoldersGiveEmpty)
{
    EXPECT_EQ(Qel::ResolveAssetPath("missing.dds"), "");
    Write("data/sub/file.txt");
    Write("game/folder/file.txt");
    EXPECT_EQ(Qel::ResolveAssetPath(""), "");
    EXPECT_EQ(Qel::ResolveAssetPath("sub"), "");
    EXPECT_EQ(Qel::ResolveAssetPath("folder"), "");
    EXPECT_EQ(Qel::ResolveAssetPath("."), "");
}

TEST_F(AssetResolver, AnAbsolutePathIsReturnedWhenItExists)
{
    const std::string elsewhere = Write("elsewhere/model.fbx");
    EXPECT_EQ(Qel::ResolveAssetPath(elsewhere), elsewhere);
    EXPECT_EQ(Qel::ResolveAssetPath(elsewhere + ".missing"), "");
    // Below an absolute path, components still match without regard to case.
    const std::string loose = Write("elsewhere/Textures/Rock_N.dds");
    EXPECT_EQ(Qel::ResolveAssetPath(elsewhere.substr(0, elsewhere.size() - 9) + "textures/rock_n.DDS"),
              loose);
    EXPECT_EQ(Qel::ResolveGameAssetPath(loose), loose);
}

TEST_F(AssetResolver, BackslashesAreSeparators)
{
    const std::string file = Write("game/UI/menu/button.png");
    EXPECT_EQ(Qel::ResolveAssetPath("UI\\menu\\button.png"), file);
    EXPECT_EQ(Qel::ResolveAssetPath("UI\\menu/button.png"), file);
}

TEST_F(AssetResolver, ComponentsMatchWithoutRegardToCaseWhenTheExactPathMisses)
{
    const std::string file = Write("game/Textures/Sky/Clouds.DDS");
    EXPECT_EQ(Qel::ResolveAssetPath("textures/sky/clouds.dds"), file);
    EXPECT_EQ(Qel::ResolveAssetPath("TEXTURES\\SKY\\CLOUDS.dds"), file);
    EXPECT_EQ(Qel::ResolveAssetPath("textures/sky/rain.dds"), "");
}

TEST_F(AssetResolver, TwoFoldersDifferingOnlyInCaseAreBothSearched)
{
    const std::string upper = Write("game/Textures/a.dds");
    const std::string lower = Write("game/textures/b.dds");
    EXPECT_EQ(Qel::ResolveAssetPath("textures/a.dds"), upper);
    EXPECT_EQ(Qel::ResolveAssetPath("Textures/b.dds"), lower);
    EXPECT_EQ(Qel::ResolveAssetPath("TEXTURES/b.dds"), lower);
}

TEST_F(AssetResolver, AnExactMatchInALaterRootLosesToALooseMatchInAnEarlierOne)
{
    // An earlier root wins as it would on a file system that ignores case.
    const std::string data = Write("data/Shaders/model.cso");
    Write("game/shaders/model.cso");
    EXPECT_EQ(Qel::ResolveAssetPath("shaders/model.cso"), data);
}

TEST_F(AssetResolver, ParentComponentsAreFollowed)
{
    const std::string file = Write("game/levels/one.vks");
    EXPECT_EQ(Qel::ResolveAssetPath("Textures/../levels/one.vks"), "") << "a missing folder is not skipped";
    Write("game/Textures/x.dds");
    EXPECT_NE(Qel::ResolveAssetPath("textures/../levels/one.vks"), "");
}
