// One FBX load: open a file, check that it is FBX, and import it into a Scene. Failures leave a
// status code (0 is success) and an error text. The Manager stands for the process-wide set-up that
// loads are created from. Neither type is shared between threads.
#pragma once

#include "Platform/Fbx/FbxScene.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Qel::Fbx
{
struct IoSettings
{
    bool importTextures = false;      // texture media are never loaded; file names are kept
    bool extractEmbeddedData = false; // embedded media are never written out
};

struct ImportRequest
{
    bool geometry = true; // skeleton-only loads (animations) need no mesh data
    bool regenerateTangents = false;
};

class Importer
{
public:
    // Reads the file; false (with the status set) when it cannot be read.
    bool Initialize(const std::string& aPath, const IoSettings& aSettings);
    // True when the bytes read are an FBX file, binary or text.
    bool IsFBX() const;
    // Builds the scene; false (with the status set) when the content is damaged.
    bool Import(Scene& aScene, const ImportRequest& aRequest);

    int GetStatusCode() const { return myStatusCode; }
    const std::string& GetErrorString() const { return myError; }

private:
    bool Fail(int aCode, std::string aError);

    std::vector<uint8_t> myBytes;
    IoSettings mySettings;
    int myStatusCode = 0;
    std::string myError;
};

class Manager
{
public:
    IoSettings ioSettings;

    std::unique_ptr<Importer> CreateImporter() const { return std::make_unique<Importer>(); }
};
} // namespace Qel::Fbx
