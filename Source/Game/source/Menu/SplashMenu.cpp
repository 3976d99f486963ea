#include "Menu/SplashMenu.h"

#include "Menu/MenuLayout.h"
#include "Menu/StateStack.h"
#include "vek/Core/Engine.h"
#include "vek/graphics/DX11.h"
#include "vek/graphics/RenderTarget.h"

#include <algorithm>

namespace
{
constexpr float LOGO_ASPECT = 16.0f / 9.0f;
constexpr float MAX_WIDTH_SHARE = 0.9f;

float ReadSeconds(const nlohmann::json& aSection, const char* aKey, float aDefault)
{
    // Optional keys: only one that is there with the wrong type is reported.
    return aSection.contains(aKey) ? MenuLayout::Number(aSection, aKey, aDefault) : aDefault;
}

constexpr const char* LOGO1_DEFAULT = "qel-1920x1080-splash-logo.dds";
constexpr const char* LOGO2_DEFAULT = "S_Logo_T.dds";

std::string LogoPath(const std::string& aName)
{
    return "UI\\" + aName;
}

std::string ReadName(const nlohmann::json& aSection, const char* aKey, const char* aDefault)
{
    if (!aSection.contains(aKey))
    {
        return aDefault;
    }
    const std::string name = MenuLayout::String(aSection, aKey);
    return name.empty() ? std::string(aDefault) : name;
}
} // namespace

void SplashMenu::PrefetchLogos(const nlohmann::json& aUISettings)
{
    const auto section = aUISettings.is_object() ? aUISettings.find("SplashSettings") : aUISettings.end();
    if (section == aUISettings.end() || !section->is_object())
    {
        return;
    }
    // As ReadName resolves them, without its reports: Init makes those.
    const auto name = [&section](const char* aKey, const char* aDefault)
    {
        const auto found = section->find(aKey);
        return found != section->end() && found->is_string() && !found->get_ref<const std::string&>().empty()
                   ? found->get<std::string>()
                   : std::string(aDefault);
    };
    MenuLayout::PrefetchTexture(LogoPath(name("Logo1", LOGO1_DEFAULT)));
    MenuLayout::PrefetchTexture(LogoPath(name("Logo2", LOGO2_DEFAULT)));
}

void SplashMenu::Init(StateStack& aStack, const nlohmann::json& aUISettings)
{
    myStack = &aStack;
    myElapsed = 0.0f;
    myCurrentLogo = -1;
    myLogoTime = 0.0f;
    myAlpha = 0.0f;

    const nlohmann::json& section = MenuLayout::Section(aUISettings, "SplashSettings");
    myFadeIn = std::max(0.0f, ReadSeconds(section, "FadeInSeconds", 0.5f));
    myHold = std::max(0.0f, ReadSeconds(section, "HoldSeconds", 2.0f));
    myFadeOut = std::max(0.0f, ReadSeconds(section, "FadeOutSeconds", 0.5f));
    myDisplayHeightRatio = std::clamp(ReadSeconds(section, "DisplayHeightRatio", 1.0f), 0.1f, 1.0f);
    myPerLogoDuration = myFadeIn + myHold + myFadeOut;

    myLogo1Data.texture = MenuLayout::LoadTexture(LogoPath(ReadName(section, "Logo1", LOGO1_DEFAULT)));
    myLogo2Data.texture = MenuLayout::LoadTexture(LogoPath(ReadName(section, "Logo2", LOGO2_DEFAULT)));
    myLogo1Data.alphaTestThreshold = 0.5f;
    myLogo2Data.alphaTestThreshold = 0.5f;
    // Without an engine there is nothing to show; the logos still run their time, as a placeholder would.
    const bool hasEngine = Qel::Engine::GetInstance() != nullptr;
    myHasLogo1 = myLogo1Data.texture != nullptr || !hasEngine;
    myHasLogo2 = myLogo2Data.texture != nullptr || !hasEngine;
    myLogo1Duration = myHasLogo1 ? myPerLogoDuration : 0.0f;
    myLogo2Duration = myHasLogo2 ? myPerLogoDuration : 0.0f;

    LayoutLogos(MenuLayout::GetScreenSize());
    UpdateFade();
}

void SplashMenu::LayoutLogos(const Qel::Vector2<float>& aScreen)
{
    float height = myDisplayHeightRatio * aScreen.y;
    float width = height * LOGO_ASPECT;
    if (width > MAX_WIDTH_SHARE * aScreen.x)
    {
        width = MAX_WIDTH_SHARE * aScreen.x;
        height = width / LOGO_ASPECT;
    }
    for (Qel::Sprite2DInstanceData* logo : {&myLogo1, &myLogo2})
    {
        const float alpha = logo->color.a;
        MenuLayout::PlaceSprite(*logo, {0.5f * aScreen.x, 0.5f * aScreen.y}, {width, height});
        logo->color.a = alpha;
    }
}

void SplashMenu::Update(InputHandler& aInput, const Qel::Vector2<float>& aMouse)
{
    static_cast<void>(aInput);
    static_cast<void>(aMouse);
    if (myLogo1Duration + myLogo2Duration <= 0.0f)
    {
        SetActive(false);
        return;
    }
    // The stack holds the engine's frame time of this frame.
    if (myStack != nullptr)
    {
        myElapsed += myStack->GetDeltaTime();
    }
    UpdateFade();
    if (myCurrentLogo == -1)
    {
        SetActive(false);
    }
}

void SplashMenu::UpdateFade()
{
    const float t = myElapsed;
    if (t >= myLogo1Duration + myLogo2Duration)
    {
        myCurrentLogo = -1;
        myLogoTime = 0.0f;
        myAlpha = 0.0f;
        return;
    }
    if (t < myLogo1Duration)
    {
        myCurrentLogo = 0;
        myLogoTime = t;
    }
    else
    {
        myCurrentLogo = 1;
        myLogoTime = t - myLogo1Duration;
    }
    if (myPerLogoDuration > 0.0f)
    {
        if (myFadeIn > 0.0f && myLogoTime < myFadeIn)
        {
            myAlpha = std::clamp(myLogoTime / myFadeIn, 0.0f, 1.0f);
            return;
        }
        if (myFadeOut > 0.0f && myLogoTime >= myFadeIn + myHold)
        {
            myAlpha = std::clamp(1.0f - (myLogoTime - myFadeIn - myHold) / myFadeOut, 0.0f, 1.0f);
            return;
        }
    }
    myAlpha = 1.0f;
}

void SplashMenu::Render(Qel::SpriteDrawer& aDrawer)
{
    if (!MenuLayout::BeginScreenPass())
    {
        return;
    }
    // Black around a logo narrower than the screen, whatever the game's clear colour.
    if (Qel::RenderTarget* backBuffer = Qel::DX11::GetBackBuffer())
    {
        backBuffer->Clear({0.0f, 0.0f, 0.0f, 1.0f});
    }
    if (myCurrentLogo < 0)
    {
        return;
    }
    const bool isFirst = myCurrentLogo == 0;
    if (!(isFirst ? myHasLogo1 : myHasLogo2))
    {
        return;
    }
    Qel::Sprite2DInstanceData& logo = isFirst ? myLogo1 : myLogo2;
    logo.color = {1.0f, 1.0f, 1.0f, myAlpha};
    MenuLayout::DrawSingleSprite(aDrawer, isFirst ? myLogo1Data : myLogo2Data, logo);
}

void SplashMenu::OnResolutionChanged(const nlohmann::json& aUISettings)
{
    static_cast<void>(aUISettings);
    LayoutLogos(MenuLayout::GetScreenSize());
}
