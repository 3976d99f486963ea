// The common base of every drawer that owns a vertex shader, a pixel shader and an input layout. It
// loads a pair of compiled shaders by name from the device's caches (the name plus ".cso" under the
// cooked asset root), builds the input layout that matches the vertex shader, and binds all three
// before a draw, sending the render-state stack's changed state with them. Main thread for Bind; Init
// may run on any thread (the device caches are locked).
#pragma once

#include "Platform/Gfx/InputLayout.h"

#include <functional>
#include <string>

namespace Qel
{
struct PixelShaderEntry;
struct VertexShaderEntry;

class Shader
{
public:
    using LayoutCallback = std::function<bool(const std::string& aBytecode)>;

    Shader() = default;
    virtual ~Shader() = default;
    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;

    // Initialises with the subclass's own shader names; the base has none.
    virtual bool Init() { return false; }
    // Makes myInputLayout for this shader from the vertex shader's bytecode; the base has no layout.
    virtual bool CreateInputLayout(const std::string& aBytecode);

    // False, leaving the shader uninitialised, when either shader cannot be had (the vertex shader is
    // asked for first) or the default layout cannot be made.
    bool Init(const char* aVertexShaderName, const char* aPixelShaderName, LayoutCallback aCallback);
    // Makes the shaders, layout and triangle lists current and sends the state stack's changes. False,
    // changing nothing, for a shader that is not initialised.
    bool Bind();

    bool IsInitialized() const { return myIsInitialized; }
    const Platform::Gfx::InputLayoutPtr& GetInputLayout() const { return myInputLayout; }

protected:
    VertexShaderEntry* myVertexShader = nullptr;
    PixelShaderEntry* myPixelShader = nullptr;
    Platform::Gfx::InputLayoutPtr myInputLayout;
    bool myIsInitialized = false;
    std::string myVertexShaderPath;
    std::string myPixelShaderPath;
};
} // namespace Qel
