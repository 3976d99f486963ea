// A skinned model drawn at its object's transform. This holds what the scene import sets on it (model
// path, render mode, custom shader names); nothing here loads or draws yet, so it is safe to build on
// the scene-load task.
#pragma once

#include "Objects/Component.h"

#include <string>

class AnimatedMeshComponent : public Component
{
public:
    explicit AnimatedMeshComponent(std::string aModelPath) : myModelPath(std::move(aModelPath)) {}

    const std::string& GetModelPath() const { return myModelPath; }
    void SetRenderMode(int aRenderMode) { myRenderMode = aRenderMode; }
    int GetRenderMode() const { return myRenderMode; }
    // Shader names only; the shader is made on the main thread when first needed.
    void SetCustomShader(const std::string& aVertexShader, const std::string& aPixelShader)
    {
        myCustomVertexShader = aVertexShader;
        myCustomPixelShader = aPixelShader;
    }
    const std::string& GetCustomVertexShader() const { return myCustomVertexShader; }
    const std::string& GetCustomPixelShader() const { return myCustomPixelShader; }

private:
    std::string myModelPath;
    int myRenderMode = 0;
    std::string myCustomVertexShader;
    std::string myCustomPixelShader;
};
