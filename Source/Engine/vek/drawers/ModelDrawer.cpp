#include "vek/drawers/ModelDrawer.h"

#include "vek/model/ModelInstance.h"

namespace Qel
{
namespace
{
// Replaces the previous shader. One that fails stays, uninitialised: it binds textures and draws nothing.
bool MakeShader(std::unique_ptr<ModelShader>& aShader, const char* aVertexShaderName,
                const char* aPixelShaderName)
{
    aShader = std::make_unique<ModelShader>();
    return aVertexShaderName == nullptr ? aShader->Init()
                                        : aShader->InitWithPaths(aVertexShaderName, aPixelShaderName);
}

template <typename Instance>
void DrawWith(Instance& anInstance, const std::unique_ptr<ModelShader>& aShader)
{
    if (aShader != nullptr)
    {
        anInstance.Render(*aShader);
    }
}
} // namespace

ModelDrawer::~ModelDrawer()
{
    myAnimatedLambertShader.reset();
    myLambertShader.reset();
    myAnimatedPbrShader.reset();
    myPbrShader.reset();
    myAnimatedShader.reset();
    myDefaultShader.reset();
}

bool ModelDrawer::Init()
{
    return MakeShader(myDefaultShader, nullptr, nullptr) &&
           MakeShader(myAnimatedShader, "shaders/animated_model_shader_VS", "shaders/model_shader_PS") &&
           MakeShader(myLambertShader, "Shaders/PbrModelShaderVS", "Shaders/LambertModelShaderPS") &&
           MakeShader(myAnimatedLambertShader, "Shaders/AnimatedPbrModelShaderVS",
                      "Shaders/LambertModelShaderPS") &&
           MakeShader(myPbrShader, "Shaders/PbrModelShaderVS", "Shaders/PbrModelShaderPS") &&
           MakeShader(myAnimatedPbrShader, "Shaders/AnimatedPbrModelShaderVS", "Shaders/PbrModelShaderPS");
}

void ModelDrawer::DrawModel(ModelInstance& anInstance)
{
    DrawWith(anInstance, myDefaultShader);
}

void ModelDrawer::DrawModelWithShader(ModelInstance& anInstance, ModelShader& aShader)
{
    anInstance.Render(aShader);
}

void ModelDrawer::DrawModelLambert(ModelInstance& anInstance)
{
    DrawWith(anInstance, myLambertShader);
}

void ModelDrawer::DrawModelPbr(ModelInstance& anInstance)
{
    DrawWith(anInstance, myPbrShader);
}

void ModelDrawer::DrawAnimatedModel(AnimatedModelInstance& anInstance)
{
    DrawWith(anInstance, myAnimatedShader);
}

void ModelDrawer::DrawAnimatedModelWithShader(AnimatedModelInstance& anInstance, ModelShader& aShader)
{
    anInstance.Render(aShader);
}

void ModelDrawer::DrawAnimatedModelLambert(AnimatedModelInstance& anInstance)
{
    DrawWith(anInstance, myAnimatedLambertShader);
}

void ModelDrawer::DrawAnimatedModelPbr(AnimatedModelInstance& anInstance)
{
    DrawWith(anInstance, myAnimatedPbrShader);
}
} // namespace Qel
