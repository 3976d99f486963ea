#include "vek/settings/Settings.h"

#include "vek/Core/JsonBounded.h"
#include "vek/settings/AssetPaths.h"
#include "vek/settings/DebugFeatures.h"
#include "vek/settings/EngineCreateParameters.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <fstream>
#include <iostream>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace Qel
{
namespace
{
using Json = nlohmann::json;
namespace fs = std::filesystem;

// Larger sides are no window anyone asked for, and keep the sizes far from wrapping.
constexpr std::int64_t MAX_SIZE = 65535;

fs::path ReadExecutableFolder()
{
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : executable.parent_path();
}

struct SettingsState
{
    EngineCreateParameters parameters;
    fs::path engineRoot;
    fs::path gameRoot;
    fs::path cookedRoot;
    // Found once, with the state, so that loaders on worker threads never race to fill it.
    fs::path executableFolder = ReadExecutableFolder();
};

SettingsState& State()
{
    static SettingsState state;
    return state;
}

// Collects what is wrong with the file so that it is reported once, then lets reading go on.
class SettingsReader
{
public:
    SettingsReader(EngineCreateParameters& aParameters, SettingsState& aState)
        : myParameters(aParameters), myState(aState)
    {
    }

    void Read(const Json& aDocument)
    {
        if (!aDocument.is_object())
        {
            Problem("the document is not a JSON object");
            return;
        }
        ReadAssetRoots(aDocument);
        ReadWindowSettings(aDocument);
        ReadBool(aDocument, "enable_vsync", myParameters.vsync);
        ReadDebugFeatures(aDocument);
        ReadMultisampling(aDocument);
    }

    const std::vector<std::string>& GetProblems() const { return myProblems; }

private:
    void Problem(std::string aText) { myProblems.push_back(std::move(aText)); }

    const Json* FindObject(const Json& aParent, const char* aKey)
    {
        const auto found = aParent.find(aKey);
        if (found == aParent.end())
        {
            return nullptr;
        }
        if (!found->is_object())
        {
            Problem(std::string("\"") + aKey + "\" is not an object");
            return nullptr;
        }
        return &*found;
    }

    std::optional<std::string> ReadString(const Json& aParent, const char* aKey, bool aIsRequired)
    {
        const auto found = aParent.find(aKey);
        if (found == aParent.end())
        {
            if (aIsRequired)
            {
                Problem(std::string("\"") + aKey + "\" is missing");
            }
            return std::nullopt;
        }
        if (!found->is_string())
        {
            Problem(std::string("\"") + aKey + "\" is not a string");
            return std::nullopt;
        }
        return found->get<std::string>();
    }

    void ReadBool(const Json& aParent, const char* aKey, bool& outValue)
    {
        const auto found = aParent.find(aKey);
        if (found == aParent.end())
        {
            return;
        }
        if (!found->is_boolean())
        {
            Problem(std::string("\"") + aKey + "\" is not true or false");
            return;
        }
        outValue = found->get<bool>();
    }

    fs::path MakeRoot(const std::string& aValue) const
    {
        // An absolute value stands by itself when joined.
        return (GetExecutableFolder() / fs::path(impl::WithForwardSlashes(aValue))).lexically_normal();
    }

    void ReadAssetRoots(const Json& aDocument)
    {
        const Json* assets = FindObject(aDocument, "assets_path");
        if (assets == nullptr)
        {
            return;
        }
        if (const auto engine = ReadString(*assets, "engine", true))
        {
            myState.engineRoot = MakeRoot(*engine);
        }
        if (const auto game = ReadString(*assets, "game", true))
        {
            myState.gameRoot = MakeRoot(*game);
        }
        if (const auto cooked = ReadString(*assets, "cooked", false))
        {
            myState.cookedRoot = MakeRoot(*cooked);
        }
    }

    std::optional<Vector2<std::uint32_t>> ReadSize(const Json& aParent, const char* aKey)
    {
        const Json* size = FindObject(aParent, aKey);
        if (size == nullptr)
        {
            return std::nullopt;
        }
        const auto width = size->find("w");
        const auto height = size->find("h");
        if (width == size->end() || height == size->end() || !width->is_number_integer() ||
            !height->is_number_integer())
        {
            Problem(std::string("\"") + aKey + "\" needs whole numbers \"w\" and \"h\"");
            return std::nullopt;
        }
        // Unsigned values beyond the signed range read as negative here and are refused with the rest.
        const std::int64_t w = width->get<std::int64_t>();
        const std::int64_t h = height->get<std::int64_t>();
        if (w <= 0 || h <= 0 || w > MAX_SIZE || h > MAX_SIZE)
        {
            Problem(std::string("\"") + aKey + "\" of " + std::to_string(w) + "x" + std::to_string(h) +
                    " is refused, sizes must lie between 1 and " + std::to_string(MAX_SIZE));
            return std::nullopt;
        }
        return Vector2<std::uint32_t>(static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(h));
    }

    void ReadClearColor(const Json& aWindow)
    {
        const Json* color = FindObject(aWindow, "clear_color");
        if (color == nullptr)
        {
            return;
        }
        float channels[4] = {};
        const char* names[4] = {"r", "g", "b", "a"};
        for (int i = 0; i < 4; ++i)
        {
            const auto found = color->find(names[i]);
            if (found == color->end() || !found->is_number())
            {
                Problem("\"clear_color\" needs four numbers \"r\", \"g\", \"b\" and \"a\"");
                return;
            }
            channels[i] = found->get<float>();
        }
        myParameters.clearColor = {channels[0], channels[1], channels[2], channels[3]};
    }

    void ReadWindowSettings(const Json& aDocument)
    {
        if (!aDocument.contains("window_settings"))
        {
            Problem("\"window_settings\" is missing");
            return;
        }
        const Json* window = FindObject(aDocument, "window_settings");
        if (window == nullptr)
        {
            return;
        }
        if (const auto title = ReadString(*window, "title", true); title && !title->empty())
        {
            myParameters.title = *title;
        }
        ReadClearColor(*window);

        const auto windowSize = ReadSize(*window, "window_size");
        const auto renderSize = ReadSize(*window, "render_size");
        if (windowSize)
        {
            myParameters.windowSize = *windowSize;
            myParameters.renderSize = renderSize ? *renderSize : *windowSize;
        }
        else if (renderSize)
        {
            myParameters.windowSize = *renderSize;
            myParameters.renderSize = *renderSize;
        }

        ReadBool(*window, "start_in_fullscreen", myParameters.startInFullscreen);
        ReadBool(*window, "start_maximized", myParameters.startMaximized);
        ReadBool(*window, "borderless", myParameters.borderless);
    }

    // A single string counts as a list of one; a missing key as an empty list.
    std::vector<std::string> ReadNameList(const Json& aDocument, const char* aKey, bool& outIsPresent)
    {
        std::vector<std::string> names;
        const auto found = aDocument.find(aKey);
        outIsPresent = found != aDocument.end();
        if (!outIsPresent)
        {
            return names;
        }
        if (found->is_string())
        {
            names.push_back(found->get<std::string>());
            return names;
        }
        if (!found->is_array())
        {
            Problem(std::string("\"") + aKey + "\" is not a name or a list of names");
            outIsPresent = false;
            return names;
        }
        for (const Json& element : *found)
        {
            if (element.is_string())
            {
                names.push_back(element.get<std::string>());
            }
            else
            {
                Problem(std::string("\"") + aKey + "\" holds something that is not a name");
            }
        }
        return names;
    }

    void ReadDebugFeatures(const Json& aDocument)
    {
        bool isPresent = false;
        const std::vector<std::string> names = ReadNameList(aDocument, "debug_features", isPresent);
        if (!isPresent && aDocument.contains("debug_features"))
        {
            return;
        }
        // Even without the key the word is rewritten: a file that names no features turns them all off.
        std::uint32_t bits = 0;
        for (const std::string& name : names)
        {
            const auto bit = FindDebugFeature(name);
            if (!bit)
            {
                continue;
            }
            if (*bit == DEBUG_FEATURE_ALL || *bit == DEBUG_FEATURE_NONE)
            {
                bits = *bit;
                break;
            }
            bits |= *bit;
        }
        myParameters.debugFeatures = bits;
    }

    void ReadMultisampling(const Json& aDocument)
    {
        bool isPresent = false;
        for (const std::string& name : ReadNameList(aDocument, "multisampling", isPresent))
        {
            const char* levels[4] = {"Off", "Low", "Medium", "High"};
            for (std::uint32_t level = 0; level < 4; ++level)
            {
                if (name == levels[level])
                {
                    myParameters.multisampling = level;
                }
            }
        }
    }

    EngineCreateParameters& myParameters;
    SettingsState& myState;
    std::vector<std::string> myProblems;
};

void Report(const std::string& aLine)
{
    std::cout << "[Settings] " << aLine << std::endl;
}

std::string Quoted(const fs::path& aFile)
{
    return "\"" + aFile.string() + "\"";
}
} // namespace

EngineCreateParameters& GetEngineCreateParameters()
{
    return State().parameters;
}

const fs::path& GetExecutableFolder()
{
    return State().executableFolder;
}

void SetExecutableFolder(const fs::path& aFolder)
{
    State().executableFolder = aFolder;
}

const fs::path& GetEngineAssetRoot()
{
    return State().engineRoot;
}

const fs::path& GetGameAssetRoot()
{
    return State().gameRoot;
}

const fs::path& GetCookedAssetRoot()
{
    return State().cookedRoot;
}

void ResetSettings()
{
    SettingsState& state = State();
    state.parameters = EngineCreateParameters();
    state.engineRoot.clear();
    state.gameRoot.clear();
    state.cookedRoot.clear();
}

bool LoadSettings(std::string_view aName)
{
    std::string name = impl::WithForwardSlashes(aName);
    if (name.find('.') == std::string::npos)
    {
        name += ".json";
    }
    const fs::path file = GetExecutableFolder() / "settings" / name;

    std::ifstream stream(file, std::ios::binary);
    if (!stream)
    {
        Report("Could not open the project settings file " + Quoted(file) + "; the built-in settings stay");
        return false;
    }

    const std::string text = impl::ReadRemainingText(stream);
    Json document;
    try
    {
        document = impl::ParseBoundedJson(text.data(), text.data() + text.size(), true);
    }
    catch (const std::exception& error)
    {
        Report("The project settings file " + Quoted(file) + " is not valid JSON (" + error.what() +
               "); the built-in settings stay");
        return false;
    }

    SettingsReader reader(State().parameters, State());
    reader.Read(document);
    const std::vector<std::string>& problems = reader.GetProblems();
    if (problems.empty())
    {
        return true;
    }
    std::string joined;
    for (const std::string& problem : problems)
    {
        joined += (joined.empty() ? "" : "; ") + problem;
    }
    Report("The project settings file " + Quoted(file) + " is incomplete or malformed: " + joined +
           "; everything else was read");
    return false;
}
} // namespace Qel
