#include "StaticModelManifest.h"
#include "Support/SourceRoot.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace StaticModelContent
{
namespace
{
std::string Trim(const std::string& aText)
{
    const auto first = aText.find_first_not_of(' ');
    if (first == std::string::npos)
    {
        return {};
    }
    return aText.substr(first, aText.find_last_not_of(' ') - first + 1);
}

bool ParseTriple(const std::string& aText, std::array<float, 3>& aOut)
{
    return std::sscanf(aText.c_str(), "(%f, %f, %f)", &aOut[0], &aOut[1], &aOut[2]) == 3;
}
} // namespace

std::filesystem::path ManifestPath()
{
    return QelTest::SourceRoot() / "Source/Game/content/make/models-static/MANIFEST.md";
}

std::vector<ManifestRow> ReadManifest(const std::filesystem::path& aPath)
{
    std::vector<ManifestRow> rows;
    std::ifstream file(aPath);
    std::string line;
    while (std::getline(file, line))
    {
        if (line.rfind("| models/", 0) != 0)
        {
            continue;
        }
        std::vector<std::string> cells;
        std::stringstream stream(line.substr(1));
        std::string cell;
        while (std::getline(stream, cell, '|'))
        {
            cells.push_back(Trim(cell));
        }
        ManifestRow row;
        if (cells.size() < 5 || !ParseTriple(cells[3], row.myMin) || !ParseTriple(cells[4], row.myMax))
        {
            continue;
        }
        row.myModel = cells[0];
        row.myTag = cells[1];
        row.myTexture = cells[2];
        rows.push_back(std::move(row));
    }
    return rows;
}

bool IsBackgroundTag(const std::string& aTag)
{
    return aTag.find("parallax") != std::string::npos || aTag.find("middleground") != std::string::npos ||
           aTag == "background1";
}
} // namespace StaticModelContent
