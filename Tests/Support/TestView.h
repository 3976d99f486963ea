// The view the draw tests look through: a perspective camera at a point looking along +z, a grey
// ambient light and, when it has an intensity, a white directional light.
#pragma once

#include "vek/graphics/Camera.h"
#include "vek/graphics/GraphicsStateStack.h"
#include "vek/graphics/RenderState.h"

namespace QelTest
{
inline void SetTestView(Qel::GraphicsStateStack& aStack, float aFovDegrees, const Qel::Vector2<float>& aSize,
                        const Qel::Vector3<float>& anEye, float anAmbient, float aLightIntensity)
{
    Qel::Camera camera;
    camera.SetPerspectiveProjection(aFovDegrees, aSize, 1.0f, 10000.0f);
    camera.SetTransform(Qel::Matrix4x4::CreateTranslation(anEye));
    aStack.SetCamera(camera);
    Qel::AmbientLight ambient;
    ambient.color = {anAmbient, anAmbient, anAmbient, 1.0f};
    aStack.SetAmbientLight(ambient);
    if (aLightIntensity > 0.0f)
    {
        Qel::DirectionalLight light;
        light.color = {1.0f, 1.0f, 1.0f, 1.0f};
        light.intensity = aLightIntensity;
        aStack.SetDirectionalLight(light);
    }
}
} // namespace QelTest
