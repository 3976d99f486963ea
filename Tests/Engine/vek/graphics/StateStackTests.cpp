#include "Engine/vek/graphics/RenderFixture.h"
#include "Support/AssertCapture.h"

#include <epoxy/gl.h>

namespace
{
class StateStackTest : public QelTest::RenderFixture
{
protected:
    Qel::GraphicsStateStack& Stack() { return myGraphics->GetGraphicsStateStack(); }
    // What a shader bind sends: the stack's update without forcing.
    void BindShader() { Stack().UpdateGpuStates(false); }

    // The floats the GPU holds in the constant buffer bound at a register.
    std::vector<float> ReadConstants(std::uint32_t aSlot, std::size_t aFloats)
    {
        const Platform::Gfx::BufferPtr& buffer = Qel::DX11::GetContext()->GetConstantBuffer(aSlot);
        std::vector<float> values(aFloats);
        glGetNamedBufferSubData(buffer->Realise(), 0, static_cast<GLsizeiptr>(aFloats * sizeof(float)),
                                values.data());
        return values;
    }
};

TEST_F(StateStackTest, APushedCameraIsSentAndThePoppedOneSentAgainButNoOtherGroup)
{
    const Qel::GraphicsStateStack::SendCounts before = Stack().GetSendCounts();
    Stack().Push();
    Qel::Camera camera;
    camera.SetPerspectiveProjection(60.0f, {64.0f, 48.0f}, 1.0f, 50.0f);
    Stack().SetCamera(camera);
    BindShader();
    EXPECT_FLOAT_EQ(ReadConstants(1, 66)[64], 1.0f) << "near plane of the pushed camera";
    Stack().Pop();
    BindShader();
    const Qel::GraphicsStateStack::SendCounts& after = Stack().GetSendCounts();
    EXPECT_EQ(after.camera - before.camera, 2u);
    EXPECT_EQ(after.lights, before.lights);
    EXPECT_EQ(after.fog, before.fog);
    EXPECT_EQ(after.alphaTest, before.alphaTest);
    EXPECT_EQ(after.blend, before.blend);
    EXPECT_FLOAT_EQ(ReadConstants(1, 66)[64], -1.0f) << "near plane of the pixel camera";
}

TEST_F(StateStackTest, StateReachesTheGpuOnlyWhenItChanged)
{
    const Qel::GraphicsStateStack::SendCounts before = Stack().GetSendCounts();
    Qel::Fog fog;
    fog.color = {0.5f, 0.25f, 0.125f, 1.0f};
    fog.nearDistance = 1000.0f;
    fog.farDistance = 100000.0f;
    Stack().SetFog(fog);
    Stack().SetFog(fog);
    BindShader();
    BindShader();
    Stack().SetBlendState(1); // the value already sent
    Stack().SetDepthStencilState(2);
    BindShader();
    const Qel::GraphicsStateStack::SendCounts& after = Stack().GetSendCounts();
    EXPECT_EQ(after.fog - before.fog, 1u);
    EXPECT_EQ(after.depth - before.depth, 1u);
    EXPECT_EQ(after.blend, before.blend);
    EXPECT_EQ(after.camera, before.camera);
    EXPECT_EQ(after.bindings, before.bindings) << "registers are bound by the frame reset alone";
    const std::vector<float> fogConstants = ReadConstants(6, 6);
    EXPECT_FLOAT_EQ(fogConstants[0], 0.5f) << "the fog colour is sent as authored";
    EXPECT_FLOAT_EQ(fogConstants[4], 1000.0f);
    EXPECT_FLOAT_EQ(fogConstants[5], 100000.0f);
}

TEST_F(StateStackTest, TheFrameResetAppliesThePixelCameraAndTheTrilinearWrapSampler)
{
    const std::vector<float> camera = ReadConstants(1, 66);
    const Qel::Matrix4x4 identity;
    for (int index = 0; index < 16; ++index)
    {
        EXPECT_FLOAT_EQ(camera[static_cast<std::size_t>(index)], identity.GetData()[index])
            << "world to view";
        EXPECT_FLOAT_EQ(camera[static_cast<std::size_t>(16 + index)], identity.GetData()[index])
            << "view to world";
    }
    EXPECT_FLOAT_EQ(camera[32], 2.0f / WIDTH);
    EXPECT_FLOAT_EQ(camera[37], 2.0f / HEIGHT);
    EXPECT_FLOAT_EQ(camera[42], 0.5f);
    EXPECT_FLOAT_EQ(camera[44], -1.0f);
    EXPECT_FLOAT_EQ(camera[45], -1.0f);
    EXPECT_FLOAT_EQ(camera[46], 0.5f);
    const std::vector<float> frame = ReadConstants(0, 2);
    EXPECT_FLOAT_EQ(frame[0], static_cast<float>(WIDTH));
    EXPECT_FLOAT_EQ(frame[1], static_cast<float>(HEIGHT));

    const Platform::Gfx::SamplerStatePtr& sampler = Qel::DX11::GetContext()->GetSampler(0);
    ASSERT_NE(sampler, nullptr);
    EXPECT_EQ(sampler->GetDesc().filter, Platform::Gfx::Filter::MinMagMipLinear);
    EXPECT_EQ(sampler->GetDesc().addressU, Platform::Gfx::AddressMode::Wrap);
    EXPECT_EQ(Qel::DX11::GetContext()->GetSampler(4), sampler) << "every unit samples with the one sampler";

    // The last table entry: a bind that covered four slots from it would read past the table.
    Stack().SetSamplerState(2, 2);
    BindShader();
    EXPECT_EQ(Qel::DX11::GetContext()->GetSampler(0)->GetDesc().addressU, Platform::Gfx::AddressMode::Mirror);
    Stack().SetSamplerState(3, 0);
    BindShader();
    EXPECT_EQ(Qel::DX11::GetContext()->GetSampler(0), nullptr)
        << "an index outside the table binds no sampler";
}

TEST_F(StateStackTest, UnbalancedUseIsReportedAndTheStackStaysSound)
{
    QelTest::AssertCapture asserts;
    Stack().Pop();
    EXPECT_EQ(Stack().GetDepth(), 1u);
    Stack().Push();
    Stack().Push();
    Stack().SetBlendState(0);
    BeginFrame({0, 0, 0, 1});
    ASSERT_EQ(asserts.GetCount(), 2);
    EXPECT_EQ(asserts.GetFailures()[0], "myRenderStateStack.size() > 1");
    EXPECT_EQ(asserts.GetFailures()[1], "myRenderStateStack.size() == 1");
    EXPECT_EQ(Stack().GetDepth(), 1u) << "leftover pushes are cut off";
    EXPECT_EQ(Stack().GetTop().blendMode, 1);
    Stack().Pop();
    EXPECT_EQ(Stack().GetDepth(), 1u);
}

TEST_F(StateStackTest, TranslateAndScaleWorkInTheTransformsOwnFrame)
{
    Stack().Translate({1.0f, 2.0f, 3.0f});
    Stack().Scale(2.0f);
    const Qel::Matrix4x4& transform = Stack().GetTransform();
    EXPECT_FLOAT_EQ(transform(1, 1), 2.0f);
    EXPECT_FLOAT_EQ(transform(3, 3), 2.0f);
    EXPECT_FLOAT_EQ(transform(4, 1), 1.0f);
    EXPECT_FLOAT_EQ(transform(4, 2), 2.0f);
    EXPECT_FLOAT_EQ(transform(4, 3), 3.0f);
    EXPECT_FLOAT_EQ(transform(4, 4), 1.0f);
    Stack().Translate({1.0f, 0.0f, 0.0f});
    EXPECT_FLOAT_EQ(Stack().GetTransform()(4, 1), 3.0f) << "a scaled frame moves twice as far";
}

TEST_F(StateStackTest, LightsAreSentLinearWithNoPointLightsAndTheChosenCubeMap)
{
    Qel::DirectionalLight light;
    light.color = {0.5f, 0.5f, 0.5f, 1.0f};
    light.intensity = 3.0f;
    Stack().SetDirectionalLight(light);
    Stack().ClearPointLights();
    Qel::AmbientLight ambient;
    ambient.cubeMapMode = Qel::AMBIENT_CUBE_MAP_CUSTOM;
    Stack().SetAmbientLight(ambient);
    BindShader();
    const std::vector<float> lights = ReadConstants(2, 124);
    for (std::size_t index = 0; index < 96; ++index)
    {
        ASSERT_FLOAT_EQ(lights[index], 0.0f) << "point-light area at float " << index;
    }
    EXPECT_FLOAT_EQ(lights[97], 3.0f);
    EXPECT_NEAR(lights[104], 0.2140f, 1e-3) << "directional colour, linear";
    EXPECT_EQ(Qel::DX11::GetContext()->GetShaderResource(0), nullptr) << "no custom cube map binds no view";

    ambient.cubeMapMode = Qel::AMBIENT_CUBE_MAP_HORIZON;
    Stack().SetAmbientLight(ambient);
    BindShader();
    const Platform::Gfx::ShaderResourceViewPtr& cubeMap = Qel::DX11::GetContext()->GetShaderResource(0);
    ASSERT_NE(cubeMap, nullptr);
    EXPECT_TRUE(cubeMap->GetTexture()->IsCube()) << "the horizon cube map the build made";
}

TEST(StateStackMaths, WorldToViewInvertsARigidCameraTransform)
{
    Qel::Matrix4x4 transform = Qel::Matrix4x4::CreateRotation(Qel::Quaternion());
    transform.SetRow(1, {0.0f, 0.0f, -1.0f, 0.0f});
    transform.SetRow(3, {1.0f, 0.0f, 0.0f, 0.0f});
    transform.SetRow(4, {5.0f, 6.0f, 7.0f, 1.0f});
    const Qel::Matrix4x4 product = transform * Qel::GraphicsStateStack::MakeWorldToView(transform);
    const Qel::Matrix4x4 identity;
    for (int index = 0; index < 16; ++index)
    {
        EXPECT_NEAR(product.GetData()[index], identity.GetData()[index], 1e-5);
    }
}
} // namespace
