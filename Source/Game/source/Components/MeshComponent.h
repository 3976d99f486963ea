// A static model drawn at its object's transform. This holds what the factory and the scene import
// set on it (model path, render mode, custom shader names, atlas textures); nothing here loads or
// draws yet, so it is safe to build on the scene-load task.
#pragma once

#include "Objects/Component.h"

#include <string>

class MeshComponent : public Component
{
public:
    explicit MeshComponent(std::string aModelPath) : myModelPath(std::move(aModelPath)) {}

    const std::string& GetModelPath() const { return myModelPath; }
    // 0 default shader, 1 Lambert, 2 physically based, 3 the custom shader.
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

    void SetUseAtlas(bool aUseAtlas) { myUseAtlas = aUseAtlas; }
    bool GetUseAtlas() const { return myUseAtlas; }
    void SetAtlasTexture(const std::string& aPath) { myAtlasTexture = aPath; }
    void SetAtlasNormalTexture(const std::string& aPath) { myAtlasNormalTexture = aPath; }
    void SetAtlasMaterialTexture(const std::string& aPath) { myAtlasMaterialTexture = aPath; }
    void SetAtlasFxTexture(const std::string& aPath) { myAtlasFxTexture = aPath; }
    const std::string& GetAtlasTexture() const { return myAtlasTexture; }
    const std::string& GetAtlasNormalTexture() const { return myAtlasNormalTexture; }
    const std::string& GetAtlasMaterialTexture() const { return myAtlasMaterialTexture; }
    const std::string& GetAtlasFxTexture() const { return myAtlasFxTexture; }

private:
    std::string myModelPath;
    int myRenderMode = 0;
    std::string myCustomVertexShader;
    std::string myCustomPixelShader;
    bool myUseAtlas = false;
    std::string myAtlasTexture;
    std::string myAtlasNormalTexture;
    std::string myAtlasMaterialTexture;
    std::string myAtlasFxTexture;
};
