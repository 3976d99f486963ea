#include "LevelFixture.h"

#include "vek/settings/Settings.h"

#include <fcntl.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace QelTest
{
namespace fs = std::filesystem;

LevelFixture::LevelFixture(std::string_view aSceneStem)
    : mySceneText("levels/" + std::string(aSceneStem) + ".vks")
{
}

fs::path LevelFixture::GetLevelDataPath() const
{
    return fs::path(GetScenePath()).replace_extension(".leveldata");
}

fs::path LevelFixture::WriteScene() const
{
    return myDir.WriteFile(mySceneText, "");
}

fs::path LevelFixture::WriteObject(std::string_view aFileName, std::string_view aJson) const
{
    return myDir.WriteFile(fs::relative(GetLevelDataPath(), GetRoot()) / aFileName, aJson);
}

void LevelFixture::EditObject(std::string_view aFileName, std::string_view aJson) const
{
    fs::file_time_type newest = fs::file_time_type::min();
    for (const fs::directory_entry& entry : fs::directory_iterator(GetLevelDataPath()))
    {
        newest = std::max(newest, entry.last_write_time());
    }
    WriteObject(aFileName, aJson);
    // Past every other file's time, as a later save is, however coarse the file system's clock.
    const fs::path file = GetLevelDataPath() / aFileName;
    if (fs::last_write_time(file) <= newest)
    {
        fs::last_write_time(file, newest + std::chrono::seconds(1));
    }
}

fs::path LevelFixture::WriteFile(const fs::path& aRelative, std::string_view aText) const
{
    return myDir.WriteFile(aRelative, aText);
}

GameAssetRootGuard::GameAssetRootGuard(const fs::path& aRoot) : myPreviousFolder(Qel::GetExecutableFolder())
{
    const std::string root = aRoot.string();
    fs::create_directories(aRoot / "settings");
    std::ofstream(aRoot / "settings" / "LevelTest.json", std::ios::trunc)
        << R"({"assets_path": {"engine": ")" << root << R"(", "game": ")" << root
        << R"("}, "window_settings": {"title": ""}})";
    Qel::SetExecutableFolder(aRoot);
    if (!Qel::LoadSettings("LevelTest") || Qel::GetGameAssetRoot() != aRoot)
    {
        throw std::runtime_error("could not point the game asset root at " + root);
    }
}

GameAssetRootGuard::~GameAssetRootGuard()
{
    Qel::ResetSettings();
    Qel::SetExecutableFolder(myPreviousFolder);
}

std::string MakeUuid(unsigned aNumber)
{
    char text[40];
    std::snprintf(text, sizeof(text), "3f2504e0-4f89-11d3-9a0c-%012x", aNumber);
    return text;
}

void SetWriteTime(const fs::path& aPath, std::int64_t aSeconds, long aNanoseconds)
{
    const struct timespec times[2] = {{static_cast<time_t>(aSeconds), aNanoseconds},
                                      {static_cast<time_t>(aSeconds), aNanoseconds}};
    if (::utimensat(AT_FDCWD, aPath.c_str(), times, 0) != 0)
    {
        throw std::runtime_error("could not set the time of " + aPath.string());
    }
}

std::string ReadWholeFile(const fs::path& aPath)
{
    std::ifstream in(aPath, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

namespace
{
constexpr std::uint32_t OVERRIDE_BITS = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

bool GetCapabilities(__user_cap_data_struct (&outData)[2])
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(SYS_capget, &header, outData) == 0;
}

bool SetCapabilities(__user_cap_data_struct (&aData)[2])
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(SYS_capset, &header, aData) == 0;
}
} // namespace

PermissionBitsBind::PermissionBitsBind()
{
    __user_cap_data_struct data[2]{};
    if (!GetCapabilities(data) || (data[0].effective & OVERRIDE_BITS) == 0)
    {
        return;
    }
    mySavedEffective[0] = data[0].effective;
    mySavedEffective[1] = data[1].effective;
    data[0].effective &= ~OVERRIDE_BITS;
    myLowered = SetCapabilities(data);
}

PermissionBitsBind::~PermissionBitsBind()
{
    __user_cap_data_struct data[2]{};
    if (myLowered && GetCapabilities(data))
    {
        data[0].effective = mySavedEffective[0];
        data[1].effective = mySavedEffective[1];
        SetCapabilities(data);
    }
}

bool CanCreateFileIn(const fs::path& aFolder)
{
    const fs::path probe = aFolder / "write-probe";
    const int descriptor = ::open(probe.c_str(), O_CREAT | O_WRONLY | O_EXCL, 0644);
    if (descriptor < 0)
    {
        return false;
    }
    ::close(descriptor);
    ::unlink(probe.c_str());
    return true;
}
} // namespace QelTest
