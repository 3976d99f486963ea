// A static model drawn at its object's transform: ground, platforms, blocks, background layers,
// decoration. Built on the scene-load task with only a path and the settings the factory and the scene
// import give it; the model loads, and its textures are chosen, when the owner starts (main thread).
#pragma once

#include "Components/SharedModelShader.h"
#include "Objects/Component.h"
#include "vek/model/ModelInstance.h"

#include <memory>
#include <string>

// The four texture names a tag's atlas gives, lower case: albedo, normal, material, fx.
struct AtlasTextureSet
{
    std::string albedo;
    std::string normal;
    std::string material;
    std::string fx;
};

enum class MeshDrawKind
{
    DEFAULT,
    LAMBERT,
    PBR,
    CUSTOM_SHADER,
};

// Which drawer a render mode uses; mode 3 without a shader that can draw falls back to the default.
MeshDrawKind GetMeshDrawKind(int aRenderMode, bool aHasUsableCustomShader);

class MeshComponent : public Component
{
public:
    explicit MeshComponent(std::string aModelPath) : myModelPath(std::move(aModelPath)) {}
    ~MeshComponent() override = default;

    // Loads the model when it is not loaded yet, then chooses the textures again in every case.
    void Init(Qel::Engine* aEngine) override;
    void Render() override;
    void WarmCaches() override;
    // As WarmCaches, for a model this mesh may be given later.
    void WarmCachesFor(const std::string& aModelPath) const;
    // Main thread: builds the mode-3 shader now rather than at the first draw.
    void BuildCustomShader();

    bool HasModel() const { return myModelInstance.GetModel() != nullptr; }
    // False, keeping the current model, when the path is empty or does not load.
    bool ReloadModel();
    // Takes effect on the next ReloadModel.
    void SetModelPath(const std::string& aModelPath) { myModelPath = aModelPath; }
    const std::string& GetModelPath() const { return myModelPath; }

    // 0 default shader, 1 Lambert, 2 physically based, 3 the custom shader; anything else the default.
    void SetRenderMode(int aRenderMode) { myRenderMode = aRenderMode; }
    int GetRenderMode() const { return myRenderMode; }
    // The shader is shared by every mesh given the same pair and built on its first draw.
    void SetCustomShader(const std::string& aVertexShader, const std::string& aPixelShader);
    const std::shared_ptr<SharedModelShader>& GetCustomShader() const { return myCustomShader; }
    const std::string& GetCustomVertexShader() const;
    const std::string& GetCustomPixelShader() const;

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
    // Set by texture selection: the mesh draws with point filtering and clamped addressing.
    bool IsSharedAtlas() const { return myIsSharedAtlas; }

    // Texture selection (MeshTextureSelection.cpp).
    static AtlasTextureSet GetAtlasForTag(const std::string& aTag);
    static bool IsAtlasTexture(const std::string& aTextureName);
    void ResolveTextures();

    Qel::ModelInstance& GetModelInstance() { return myModelInstance; }
    const Qel::ModelInstance& GetModelInstance() const { return myModelInstance; }

private:
    std::string myModelPath;
    Qel::ModelInstance myModelInstance;
    int myRenderMode = 0;
    std::shared_ptr<SharedModelShader> myCustomShader;
    bool myUseAtlas = false;
    bool myIsSharedAtlas = false;
    std::string myAtlasTexture;
    std::string myAtlasNormalTexture;
    std::string myAtlasMaterialTexture;
    std::string myAtlasFxTexture;
};
