#include "Support/TempDir.h"

#include <atomic>
#include <fstream>
#include <stdexcept>
#include <string>
#include <system_error>
#include <unistd.h>

namespace QelTest
{
TempDir::TempDir()
{
    static std::atomic<int> theCounter{0};
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 1000; ++attempt)
    {
        myPath = base / ("qel-test-" + std::to_string(getpid()) + "-" + std::to_string(theCounter++));
        if (std::filesystem::create_directory(myPath))
        {
            return;
        }
    }
    throw std::runtime_error("could not create a temporary test folder");
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(myPath, ignored);
}

std::filesystem::path TempDir::WriteFile(const std::filesystem::path& aRelative, std::string_view aText) const
{
    const std::filesystem::path full = myPath / aRelative;
    std::filesystem::create_directories(full.parent_path());
    std::ofstream out(full, std::ios::binary);
    out.write(aText.data(), static_cast<std::streamsize>(aText.size()));
    if (!out)
    {
        throw std::runtime_error("could not write test file " + full.string());
    }
    return full;
}
} // namespace QelTest
