#include "World/WorldRenderPass.h"

#include "Effects/VfxSystem.h"

void RenderSceneObjects(const std::vector<std::unique_ptr<GameObject>>& aObjects, CameraController& aCamera,
                        VfxSystem& aVfx, bool aDirectionalLightOn, bool aAmbientLightOn, bool aCullingOn)
{
    static_cast<void>(aCamera);
    static_cast<void>(aDirectionalLightOn);
    static_cast<void>(aAmbientLightOn);
    static_cast<void>(aCullingOn);
    for (const std::unique_ptr<GameObject>& object : aObjects)
    {
        object->Render();
    }
    aVfx.Render();
}
