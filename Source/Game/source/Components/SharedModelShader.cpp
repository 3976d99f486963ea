#include "Components/SharedModelShader.h"

#include <iostream>
#include <mutex>
#include <unordered_map>

SharedModelShader::SharedModelShader(std::string aVertexShaderName, std::string aPixelShaderName)
    : myVertexShaderName(std::move(aVertexShaderName)), myPixelShaderName(std::move(aPixelShaderName))
{
}

bool SharedModelShader::EnsureBuilt()
{
    // The cache outlives a device made again in one process; a build on the old one is dead.
    if (myWasBuildTried && IsInitialized() && !IsFromLiveDevice())
    {
        myWasBuildTried = false;
    }
    if (!myWasBuildTried)
    {
        myWasBuildTried = true;
        if (!InitWithPaths(myVertexShaderName.c_str(), myPixelShaderName.c_str()))
        {
            std::cout << "[MeshComponent] Shader " << myVertexShaderName << " / " << myPixelShaderName
                      << " could not be built; its meshes draw with the default shader\n";
        }
    }
    return IsInitialized();
}

std::string MakeSharedModelShaderKey(const std::string& aVertexShaderName,
                                     const std::string& aPixelShaderName)
{
    return aVertexShaderName + "|" + aPixelShaderName;
}

std::shared_ptr<SharedModelShader> GetSharedModelShader(const std::string& aVertexShaderName,
                                                        const std::string& aPixelShaderName)
{
    static std::mutex cacheMutex;
    // Never destroyed: shaders outlive every mesh, and their GPU objects must not be freed after the
    // device at exit.
    static auto* cache = new std::unordered_map<std::string, std::shared_ptr<SharedModelShader>>();

    const std::string key = MakeSharedModelShaderKey(aVertexShaderName, aPixelShaderName);
    const std::lock_guard lock(cacheMutex);
    std::shared_ptr<SharedModelShader>& entry = (*cache)[key];
    if (entry == nullptr)
    {
        entry = std::make_shared<SharedModelShader>(aVertexShaderName, aPixelShaderName);
    }
    return entry;
}
