#include "Base/ReplaceFile.h"

#include <fstream>
#include <system_error>

std::filesystem::path GetReplacementPath(const std::filesystem::path& aTarget)
{
    std::filesystem::path temporary = aTarget;
    temporary += ".tmp";
    return temporary;
}

bool ReplaceFileContents(const std::filesystem::path& aTarget, std::string_view aText, std::string& aOutError)
{
    const std::filesystem::path temporary = GetReplacementPath(aTarget);
    std::error_code ignored;
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file)
        {
            aOutError = "cannot write " + temporary.string();
            std::filesystem::remove(temporary, ignored);
            return false;
        }
        file.write(aText.data(), static_cast<std::streamsize>(aText.size()));
        file.flush();
        if (!file)
        {
            aOutError = "writing " + temporary.string() + " failed";
            file.close();
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, aTarget, error);
    if (error)
    {
        aOutError =
            "cannot rename " + temporary.string() + " to " + aTarget.string() + ": " + error.message();
        std::filesystem::remove(temporary, ignored);
        return false;
    }
    return true;
}
