// Model shaders shared by every mesh that names the same vertex and pixel shader pair, kept in one
// process-wide cache for the life of the process. The scene-load task asks for them, so a shader is
// only built on its first use on the main thread; one that fails to build is logged once, stays in the
// cache and is never tried again, and its meshes draw with the default shader.
#pragma once

#include "vek/drawers/ModelShader.h"

#include <memory>
#include <string>

class SharedModelShader : public Qel::ModelShader
{
public:
    SharedModelShader(std::string aVertexShaderName, std::string aPixelShaderName);

    // Main thread. Builds the pair on the first call, and again on the first call after the device it
    // was built on has gone; true while the shader can draw.
    bool EnsureBuilt();
    bool WasBuildTried() const { return myWasBuildTried; }
    const std::string& GetVertexShaderName() const { return myVertexShaderName; }
    const std::string& GetPixelShaderName() const { return myPixelShaderName; }

private:
    std::string myVertexShaderName;
    std::string myPixelShaderName;
    bool myWasBuildTried = false;
};

// The cache key: the vertex shader name, "|", the pixel shader name.
std::string MakeSharedModelShaderKey(const std::string& aVertexShaderName,
                                     const std::string& aPixelShaderName);
// The cached shader of the pair, made (not yet built) on the first request. Any thread.
std::shared_ptr<SharedModelShader> GetSharedModelShader(const std::string& aVertexShaderName,
                                                        const std::string& aPixelShaderName);
