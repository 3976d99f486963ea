// The project settings file, read from the settings folder of a scratch executable folder.
#include "FuzzSupport.h"
#include "vek/settings/Settings.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* aData, std::size_t aSize)
{
    static const bool theQuiet = std::freopen("/dev/null", "w", stdout) != nullptr;
    static_cast<void>(theQuiet);
    QelFuzz::WriteInput("settings/Game.json", aData, aSize);
    Qel::SetExecutableFolder(QelFuzz::ScratchFolder());
    Qel::ResetSettings();
    static_cast<void>(Qel::LoadSettings("Game.json"));
    return 0;
}
