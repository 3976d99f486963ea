#include "World/WorldRenderPass.h"

#include "Camera/CameraController.h"
#include "Camera/FogComponent.h"
#include "Components/AnimatedSpriteComponent.h"
#include "Components/MeshComponent.h"
#include "Components/SceneGraphics.h"
#include "Dialogue/SpeechBubbleComponent.h"
#include "Effects/VfxSystem.h"
#include "Level/HoverSystem.h"
#include "vek/Core/Profiler.h"
#include "vek/Math/Frustum.h"
#include "vek/graphics/DX11.h"
#include "vek/graphics/GraphicsEngine.h"
#include "vek/graphics/GraphicsStateStack.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace
{
constexpr float DEGREES_TO_RADIANS = std::numbers::pi_v<float> / 180.0f;

Qel::DirectionalLight MakeDirectionalLight(bool aIsOn)
{
    Qel::DirectionalLight light;
    if (!aIsOn)
    {
        light.color = {0.0f, 0.0f, 0.0f, 0.0f};
        return light;
    }
    const float a = 225.0f * DEGREES_TO_RADIANS * 0.5f;
    const float b = -45.0f * DEGREES_TO_RADIANS * 0.5f;
    const float c = 0.0f;
    const Qel::Quaternion rotation(
        std::cos(a) * std::cos(b) * std::cos(c) + std::sin(a) * std::sin(b) * std::sin(c),
        std::sin(a) * std::cos(b) * std::cos(c) - std::cos(a) * std::sin(b) * std::sin(c),
        std::cos(a) * std::sin(b) * std::cos(c) + std::sin(a) * std::cos(b) * std::sin(c),
        std::cos(a) * std::cos(b) * std::sin(c) - std::sin(a) * std::sin(b) * std::cos(c));
    light.transform = Qel::Matrix4x4::CreateRotation(rotation);
    light.color = {1.0f, 1.0f, 1.0f, 1.0f};
    light.intensity = 0.1f;
    return light;
}

// Authored as an sRGB grey, as every light colour is; the engine turns it linear for the shaders.
Qel::AmbientLight MakeAmbientLight(bool aIsOn)
{
    Qel::AmbientLight ambient;
    const float level = aIsOn ? 0.5f * 1.0f : 0.0f;
    ambient.color = {level, level, level, aIsOn ? 1.0f : 0.0f};
    ambient.intensity = aIsOn ? 1.0f : 0.0f;
    return ambient;
}

bool IsCulled(GameObject& aObject, const Qel::Frustum* aFrustum)
{
    if (aFrustum == nullptr)
    {
        return false;
    }
    const MeshComponent* mesh = aObject.GetComponent<MeshComponent>();
    return mesh != nullptr && mesh->HasModel() && !IsInViewFrustum(aObject, *mesh, *aFrustum);
}

float RowLength(const Qel::Matrix4x4& aMatrix, int aRow)
{
    const Qel::Vector4<float> row = aMatrix.GetRow(aRow);
    return std::sqrt(row.x * row.x + row.y * row.y + row.z * row.z);
}
} // namespace

bool IsParallaxLayer(const GameObject& aObject)
{
    static const std::array<const char*, 4> LAYER_NAMES = {"lvl1parallax", "lvl2parallax", "lvl2middleground",
                                                           "lvl3parallax"};
    const std::string name = NormalizeObjectName(aObject.GetName());
    return std::any_of(LAYER_NAMES.begin(), LAYER_NAMES.end(),
                       [&name](const char* aLayer) { return name == aLayer; });
}

bool IsInViewFrustum(GameObject& aObject, const MeshComponent& aMesh, const Qel::Frustum& aFrustum)
{
    const std::shared_ptr<Qel::Model> model = aMesh.GetModelInstance().GetModel();
    if (model == nullptr)
    {
        return true;
    }
    const Qel::Matrix4x4 world = aObject.GetTransform().GetWorldMatrix();
    const float scale = std::max({RowLength(world, 1), RowLength(world, 2), RowLength(world, 3)});
    if (scale <= 0.0f)
    {
        return true;
    }
    for (const Qel::MeshData& mesh : model->myMeshes)
    {
        const float radius = scale * mesh.myBounds.myRadius;
        if (radius <= 0.0f)
        {
            return true;
        }
        const Qel::Vector4<float> centre{mesh.myBounds.myCentre[0], mesh.myBounds.myCentre[1],
                                         mesh.myBounds.myCentre[2], 1.0f};
        const Qel::Vector4<float> inView = centre * world * aFrustum.viewMatrix;
        const Qel::Vector3<float> point{inView.x, inView.y, inView.z};
        const bool inside = std::all_of(aFrustum.planes.begin(), aFrustum.planes.end(),
                                        [&](const Qel::FrustumPlane& aPlane)
                                        { return aPlane.SignedDistance(point) <= radius; });
        if (inside)
        {
            return true;
        }
    }
    return false;
}

void SortParallaxLayers(std::vector<GameObject*>& someLayers)
{
    std::stable_sort(
        someLayers.begin(), someLayers.end(),
        [](const GameObject* aLeft, const GameObject* aRight)
        { return aLeft->GetTransform().GetPosition().z > aRight->GetTransform().GetPosition().z; });
}

void SortOpaqueFrontToBack(std::vector<GameObject*>& someObjects, const Qel::Matrix4x4& aWorldToView)
{
    const auto spritesStart = std::stable_partition(
        someObjects.begin(), someObjects.end(),
        [](GameObject* anObject) { return anObject->GetComponent<AnimatedSpriteComponent>() == nullptr; });
    std::vector<std::pair<float, GameObject*>> byDepth;
    byDepth.reserve(static_cast<std::size_t>(spritesStart - someObjects.begin()));
    for (auto at = someObjects.begin(); at != spritesStart; ++at)
    {
        const Qel::Vector4<float> origin = (*at)->GetTransform().GetWorldMatrix().GetRow(4);
        byDepth.emplace_back((Qel::Vector4<float>{origin.x, origin.y, origin.z, 1.0f} * aWorldToView).z, *at);
    }
    std::stable_sort(byDepth.begin(), byDepth.end(),
                     [](const auto& aLeft, const auto& aRight) { return aLeft.first < aRight.first; });
    for (std::size_t index = 0; index < byDepth.size(); ++index)
    {
        someObjects[index] = byDepth[index].second;
    }
}

WorldDrawLists CollectWorldDrawLists(const std::vector<std::unique_ptr<GameObject>>& aObjects,
                                     const Qel::Frustum* aFrustum)
{
    WorldDrawLists lists;
    for (const std::unique_ptr<GameObject>& object : aObjects)
    {
        if (object == nullptr || !object->IsActive())
        {
            continue;
        }
        const bool isFog = object->GetTag() == "Fog";
        if (isFog)
        {
            ++lists.fogObjectCount;
        }
        if (IsCulled(*object, aFrustum))
        {
            continue;
        }
        // A fog object never joins the layers, and under a layer's name it is left out of both passes.
        if (IsParallaxLayer(*object))
        {
            if (!isFog)
            {
                lists.layers.push_back(object.get());
            }
            continue;
        }
        lists.ordinary.push_back(object.get());
    }
    SortParallaxLayers(lists.layers);
    return lists;
}

void RenderSceneObjects(const std::vector<std::unique_ptr<GameObject>>& aObjects, CameraController& aCamera,
                        VfxSystem& aVfx, bool aDirectionalLightOn, bool aAmbientLightOn, bool aCullingOn)
{
    const Qel::ProfilerScope scope("RenderSceneObjects");
    Qel::GraphicsEngine* graphics = GetSceneGraphics();
    if (graphics == nullptr || !graphics->HasGraphicsStateStack())
    {
        return;
    }
    Qel::RenderTarget* const target = Qel::DX11::GetBackBuffer();
    const Qel::DepthBuffer* const depth = Qel::DX11::GetDepthBuffer();
    if (target != nullptr)
    {
        target->SetAsActiveTarget(depth);
    }
    Qel::GraphicsStateStack& states = graphics->GetGraphicsStateStack();
    const Qel::Camera& camera = aCamera.GetCamera();
    states.SetCamera(camera);
    const Qel::Frustum frustum(camera.GetTransform(), camera.GetProjection(), camera.GetNearPlane(),
                               camera.GetFarPlane());
    states.SetDirectionalLight(MakeDirectionalLight(aDirectionalLightOn));
    states.SetAmbientLight(MakeAmbientLight(aAmbientLightOn));
    states.ClearPointLights();

    states.Push();
    states.SetBlendState(0);
    states.SetDepthStencilState(0);
    WorldDrawLists lists = CollectWorldDrawLists(aObjects, aCullingOn ? &frustum : nullptr);
    SortOpaqueFrontToBack(lists.ordinary, frustum.viewMatrix);
    if (lists.fogObjectCount > 0)
    {
        const FogSettings& fog = FogComponent::GetSettings();
        states.SetFog({{fog.red, fog.green, fog.blue, 1.0f}, fog.nearPlane, fog.farPlane});
    }
    for (GameObject* object : lists.ordinary)
    {
        object->Render();
    }
    states.SetBlendState(1);
    states.SetDepthStencilState(1);
    for (GameObject* layer : lists.layers)
    {
        layer->Render();
    }
    graphics->GetSpriteDrawer().DrawQueuedSprites();
    states.Pop();
    aVfx.Render();
    SpeechBubbleComponent::RenderAll(target, depth);
}
