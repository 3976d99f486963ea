#include "Menu/CreditsVideo.h"

#include "Base/InputHandler.h"
#include "Menu/StateStack.h"
#include "Sound/SoundBank.h"
#include "vek/Core/Engine.h"
#include "vek/input/XInputController.h"
#include "vek/settings/AssetPaths.h"
#include "vek/settings/EngineCreateParameters.h"
#include "vek/video/Video.h"

#include <cstdio>
#include <string>

namespace
{
constexpr std::uint32_t SOUND_MENU_MUSIC = 3;
// Names no level, so only the running level music stops.
constexpr const char* NO_LEVEL_MUSIC = "None";
} // namespace

CreditsVideo::CreditsVideo() = default;

CreditsVideo::~CreditsVideo() = default;

void CreditsVideo::Init(StateStack& aStack, const nlohmann::json& aUISettings)
{
    static_cast<void>(aUISettings);
    myStack = &aStack;
    myHasFinished = false;
    myVideo = std::make_shared<Qel::Video>();

    std::string path = Qel::ResolveGameAssetPath(FILM_PATH);
    if (path.empty())
    {
        path = FALLBACK_FILM_PATH;
    }
    if (myVideo->Init(path.c_str(), false))
    {
        myVideo->Play(false);
    }
    else
    {
        std::printf("[CreditsVideo] Could not open the credits film \"%s\"; back to the title\n",
                    path.c_str());
        std::fflush(stdout);
    }

    mySpriteData.texture = myVideo->GetTextureRef();
    const Qel::Engine* engine = Qel::Engine::GetInstance();
    const Qel::Vector2<std::uint32_t> render =
        engine != nullptr ? engine->GetRenderSize() : Qel::GetEngineCreateParameters().renderSize;
    const float frameWidth = static_cast<float>(myVideo->GetFrameWidth());
    const float frameHeight = static_cast<float>(myVideo->GetFrameHeight());
    mySprite.pivot = {0.0f, 0.0f};
    mySprite.position = {0.0f, static_cast<float>(render.y)};
    mySprite.size = {0.0f, 0.0f};
    // The texture is the picture rounded up to powers of two; scaled so the picture spans the screen.
    if (frameWidth > 0.0f && frameHeight > 0.0f && mySpriteData.texture != nullptr)
    {
        const Qel::Vector2<std::uint32_t> texture = Qel::GetTextureSize(*mySpriteData.texture);
        mySprite.size = {static_cast<float>(render.x) / frameWidth * static_cast<float>(texture.x),
                         static_cast<float>(render.y) / frameHeight * static_cast<float>(texture.y)};
    }
    aStack.SetPlayCreditsVideo(false);
}

void CreditsVideo::Update(InputHandler& aInput, const Qel::Vector2<float>& aMouse)
{
    static_cast<void>(aMouse);
    Qel::XInputController& pad = GetMenuPad();
    pad.Refresh();
    if (myStack == nullptr || myVideo == nullptr || myHasFinished)
    {
        return;
    }
    // A film that never opened has no end to wait for.
    if (myVideo->GetState() == Qel::VIDEO_STATE_NOT_OPENED)
    {
        Finish();
        return;
    }
    myVideo->Update(myStack->GetDeltaTime());
    if (myVideo->GetState() == Qel::VIDEO_STATE_ENDED || aInput.IsKeyDown(MenuInput::KEY_SPACE) ||
        pad.IsNewPressed(MenuInput::PAD_A))
    {
        Finish();
    }
}

void CreditsVideo::Finish()
{
    myHasFinished = true;
    myStack->PopToIndex(0);
    // The finished level would otherwise keep running behind the title, and choosing it again would be
    // taken for the level already loaded.
    myStack->InvokeUnloadScene();
    SoundBank& sounds = SoundBank::GetInstance();
    sounds.PlayMusicForLevel(NO_LEVEL_MUSIC);
    sounds.Play(SOUND_MENU_MUSIC);
}

void CreditsVideo::Render(Qel::SpriteDrawer& aDrawer)
{
    if (mySpriteData.texture == nullptr)
    {
        return;
    }
    Qel::SpriteBatchScope batch = aDrawer.BeginBatch(mySpriteData);
    batch.Draw2D(mySprite);
}

void CreditsVideo::OnResolutionChanged(const nlohmann::json& aUISettings)
{
    static_cast<void>(aUISettings);
}

void CreditsVideo::OnButtonDown(int aIndex)
{
    static_cast<void>(aIndex);
}

void CreditsVideo::OnButtonHeld(int aIndex)
{
    static_cast<void>(aIndex);
}

void CreditsVideo::OnButtonPressed(int aIndex)
{
    static_cast<void>(aIndex);
}

void CreditsVideo::SelectNext()
{
}

void CreditsVideo::SelectPrevious()
{
}
