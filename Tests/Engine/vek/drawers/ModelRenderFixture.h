// The render fixture with a model factory on its texture manager, the back buffer bound with the depth
// buffer, and helpers that place a perspective camera and the lights, draw with any of the drawer's
// six operations and compare read-back frames. Main thread only.
#pragma once

#include "Engine/vek/graphics/RenderFixture.h"
#include "vek/Core/Engine.h"
#include "vek/drawers/ModelDrawer.h"
#include "vek/model/ModelFactory.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace QelTest
{
enum class ModelFamily
{
    Default,
    Lambert,
    Pbr,
};

class ModelRenderFixture : public RenderFixture
{
protected:
    static constexpr int CENTRE_X = WIDTH / 2;
    static constexpr int CENTRE_Y = HEIGHT / 2;

    void SetUp() override
    {
        RenderFixture::SetUp();
        if (HasFatalFailure())
        {
            return;
        }
        myFactory.emplace(myWatcher.get());
        ASSERT_NE(myGraphics->GetModelDrawer(), nullptr);
        StartFrame();
    }

    void TearDown() override
    {
        myFactory.reset();
        RenderFixture::TearDown();
    }

    Qel::ModelDrawer& Drawer() { return *myGraphics->GetModelDrawer(); }
    Qel::GraphicsStateStack& Stack() { return myGraphics->GetGraphicsStateStack(); }

    // A cleared frame drawing with depth, under a camera at aCameraZ on the z axis looking along +z
    // (60 degrees across), a mid-grey ambient light and a white directional light along +z.
    void StartFrame(float aCameraZ = -200.0f, float aLightIntensity = 1.0f)
    {
        BeginFrame({0.0f, 0.0f, 0.0f, 1.0f});
        Qel::DX11::GetBackBuffer()->SetAsActiveTarget(Qel::DX11::GetDepthBuffer());
        Qel::Camera camera;
        camera.SetPerspectiveProjection(60.0f, {static_cast<float>(WIDTH), static_cast<float>(HEIGHT)}, 1.0f,
                                        10000.0f);
        camera.SetTransform(Qel::Matrix4x4::CreateTranslation({0.0f, 0.0f, aCameraZ}));
        Stack().SetCamera(camera);
        Qel::AmbientLight ambient;
        ambient.color = {0.5f, 0.5f, 0.5f, 1.0f};
        Stack().SetAmbientLight(ambient);
        Qel::DirectionalLight light;
        light.color = {1.0f, 1.0f, 1.0f, 1.0f};
        light.intensity = aLightIntensity;
        Stack().SetDirectionalLight(light);
    }

    // The camera distance at which a model of this bounds' radius fills about half the frame.
    static float FramingCameraZ(const Qel::MeshBounds& aBounds)
    {
        return aBounds.myCentre[2] - 3.5f * aBounds.myRadius;
    }

    void Draw(ModelFamily aFamily, Qel::ModelInstance& anInstance)
    {
        switch (aFamily)
        {
        case ModelFamily::Default:
            return Drawer().DrawModel(anInstance);
        case ModelFamily::Lambert:
            return Drawer().DrawModelLambert(anInstance);
        case ModelFamily::Pbr:
            return Drawer().DrawModelPbr(anInstance);
        }
    }

    void Draw(ModelFamily aFamily, Qel::AnimatedModelInstance& anInstance)
    {
        switch (aFamily)
        {
        case ModelFamily::Default:
            return Drawer().DrawAnimatedModel(anInstance);
        case ModelFamily::Lambert:
            return Drawer().DrawAnimatedModelLambert(anInstance);
        case ModelFamily::Pbr:
            return Drawer().DrawAnimatedModelPbr(anInstance);
        }
    }

    // Draw calls a callable issues.
    template <typename DrawCalls>
    static std::uint32_t CountDraws(DrawCalls aDraw)
    {
        const std::uint32_t before = Qel::Engine::GetDrawCallsThisFrame();
        aDraw();
        return Qel::Engine::GetDrawCallsThisFrame() - before;
    }

    static int LargestDifference(const std::vector<std::uint8_t>& aLeft,
                                 const std::vector<std::uint8_t>& aRight)
    {
        int largest = 0;
        for (std::size_t i = 0; i < std::min(aLeft.size(), aRight.size()); ++i)
        {
            largest = std::max(largest, std::abs(static_cast<int>(aLeft[i]) - static_cast<int>(aRight[i])));
        }
        return aLeft.size() == aRight.size() ? largest : 255;
    }

    // Pixels whose colour is not the black the frame was cleared to.
    static int CoveredPixels(const std::vector<std::uint8_t>& somePixels)
    {
        int covered = 0;
        for (std::size_t i = 0; i + 3 < somePixels.size(); i += 4)
        {
            covered += (somePixels[i] | somePixels[i + 1] | somePixels[i + 2]) != 0 ? 1 : 0;
        }
        return covered;
    }

    std::optional<Qel::ModelFactory> myFactory;
};
} // namespace QelTest
