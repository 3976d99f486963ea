// A skinned model drawn at its object's transform: the characters and the exit door. Built on the
// scene-load task with only its path and the settings the import gives it; the model loads, with its
// colour texture named after the model file, when the owner starts (main thread). An animator hands it
// a pose each frame. Facing left turns the model 2.0 radians about the vertical axis round its own
// origin. Render modes: 0 default, 1 Lambert, 2 physically based, 3 a custom shader shared by every
// animated mesh that names the same pair (built on its first draw; without one that can draw, mode 3
// draws as mode 0).
#pragma once

#include "Objects/Component.h"
#include "vek/model/ModelInstance.h"

#include <memory>
#include <string>

namespace Qel
{
class AnimationPlayer;
class ModelShader;
} // namespace Qel

class AnimatedMeshComponent : public Component
{
public:
    explicit AnimatedMeshComponent(std::string aModelPath) : myModelPath(std::move(aModelPath)) {}

    // Loads the model when it is not loaded yet and gives each of its meshes the colour texture
    // "textures/Common/<stem>_T.dds" when that exists.
    void Init(Qel::Engine* aEngine) override;
    void Render() override;
    void WarmCaches() override;
    // Main thread: takes (and so builds) the mode-3 shader now rather than at the first draw.
    void BuildCustomShader();

    void SetPose(const Qel::AnimationPlayer& aPlayer);
    void SetFacingRight(bool aIsFacingRight) { myIsFacingRight = aIsFacingRight; }
    bool IsFacingRight() const { return myIsFacingRight; }
    // A hidden mesh is a disabled component: it is not drawn.
    void SetVisible(bool aIsVisible) { SetEnabled(aIsVisible); }
    void SetRenderMode(int aRenderMode) { myRenderMode = aRenderMode; }
    int GetRenderMode() const { return myRenderMode; }
    // Names only: the shader is taken from the shared cache on the main thread when first drawn.
    void SetCustomShader(const std::string& aVertexShader, const std::string& aPixelShader);
    const std::string& GetCustomVertexShader() const { return myCustomVertexShader; }
    const std::string& GetCustomPixelShader() const { return myCustomPixelShader; }
    // Null until a mode-3 draw has taken it from the cache.
    const std::shared_ptr<Qel::ModelShader>& GetCustomShader() const { return myCustomShader; }

    bool HasModel() const { return myModelInstance.GetModel() != nullptr; }
    const std::string& GetModelPath() const { return myModelPath; }
    std::shared_ptr<Qel::Model> GetModelInstance() const { return myModelInstance.GetModel(); }
    Qel::AnimatedModelInstance& GetModelInstanceRef() { return myModelInstance; }

    // The text after the last '/' or '\' and before the first '.' after it.
    static std::string GetModelStem(const std::string& aModelPath);
    // The world matrix a model facing left is drawn with: the turn, then the owner's matrix.
    static Qel::Matrix4x4 TurnToFaceLeft(const Qel::Matrix4x4& aWorldMatrix);
    // The cache's shader for the pair, keyed "<vertex>|<pixel>", made and initialised on the first
    // request. Main thread (it makes GPU objects); the cache itself is locked.
    static std::shared_ptr<Qel::ModelShader> GetSharedShader(const std::string& aVertexShader,
                                                             const std::string& aPixelShader);
    // Forgets every cached shader; for a device that is going away (tests restart the engine).
    static void ClearSharedShaders();

private:
    Qel::ModelShader* GetDrawableCustomShader();
    // "textures/Common/<model stem>_T.dds": the colour texture Init gives every sub-mesh when it exists.
    std::string GetColourTexturePath() const;

    std::string myModelPath;
    Qel::AnimatedModelInstance myModelInstance;
    int myRenderMode = 0;
    bool myIsFacingRight = true;
    std::shared_ptr<Qel::ModelShader> myCustomShader;
    std::string myCustomVertexShader;
    std::string myCustomPixelShader;
    bool myIsCustomShaderTaken = false;
};
