#include "Platform/Fbx/FbxImporter.h"

#include "Platform/Fbx/FbxGeometry.h"
#include "Platform/Fbx/FbxRecords.h"
#include "Platform/Fbx/FbxSceneReader.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace Qel::Fbx
{
namespace
{
// Assimp trusts array payloads and stalls on some damaged ones (NaN keys among them), so every array
// is decoded and checked here before the geometry reader sees the file.
bool CheckArrays(const Record& aRecord, std::vector<double>& aScratch, std::string& aError)
{
    for (const RecordValue& value : aRecord.values)
    {
        if (value.IsArray() && !DecodeArray(value, aScratch, aError))
        {
            aError += " (in " + std::string(aRecord.name) + ")";
            return false;
        }
        const bool real = value.type == 'f' || value.type == 'd';
        if (real && !std::all_of(aScratch.begin(), aScratch.end(), [](double v) { return std::isfinite(v); }))
        {
            aError = "the array " + std::string(aRecord.name) + " holds a value that is not a finite number";
            return false;
        }
    }
    for (const Record& child : aRecord.children)
    {
        if (!CheckArrays(child, aScratch, aError))
        {
            return false;
        }
    }
    return true;
}
} // namespace

bool Importer::Fail(int aCode, std::string aError)
{
    myStatusCode = aCode;
    myError = std::move(aError);
    return false;
}

bool Importer::Initialize(const std::string& aPath, const IoSettings& aSettings)
{
    mySettings = aSettings;
    myStatusCode = 0;
    myError.clear();
    std::error_code status;
    if (!std::filesystem::is_regular_file(aPath, status))
    {
        return Fail(1, "The path " + aPath + " is not a readable file");
    }
    std::ifstream file(aPath, std::ios::binary | std::ios::ate);
    if (!file)
    {
        return Fail(1, "Unable to open the file " + aPath + " (" + std::strerror(errno) + ")");
    }
    const std::streamoff size = file.tellg();
    if (size < 0)
    {
        return Fail(1, "Unable to read the file " + aPath);
    }
    myBytes.resize(static_cast<size_t>(size));
    file.seekg(0);
    if (!file.read(reinterpret_cast<char*>(myBytes.data()), size))
    {
        return Fail(1, "Unable to read the file " + aPath);
    }
    if (!IsFBX())
    {
        return Fail(1, "The file is not an FBX file");
    }
    return true;
}

bool Importer::IsFBX() const
{
    return IsBinaryFbx(myBytes) || IsTextFbx(myBytes);
}

bool Importer::Import(Scene& aScene, const ImportRequest& aRequest)
{
    if (!IsFBX())
    {
        return Fail(2, "Nothing to import: the importer holds no FBX file");
    }
    Record root;
    std::string error;
    const bool parsed =
        IsBinaryFbx(myBytes) ? ParseRecords(myBytes, root, error) : ParseTextRecords(myBytes, root, error);
    if (!parsed || !ReadSceneRecords(root, aScene, error))
    {
        return Fail(2, "The file is damaged: " + error);
    }
    std::vector<double> scratch;
    if (aRequest.geometry && !CheckArrays(root, scratch, error))
    {
        return Fail(2, "The file is damaged: " + error);
    }
    if (aRequest.geometry)
    {
        GeometryOptions options;
        options.regenerateTangents = aRequest.regenerateTangents;
        if (!ReadGeometry(myBytes, options, aScene, error))
        {
            return Fail(2, "The geometry could not be read: " + error);
        }
    }
    return true;
}
} // namespace Qel::Fbx
