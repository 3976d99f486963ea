#include "vek/text/Text.h"

#include "vek/Core/Engine.h"
#include "vek/text/TextService.h"

namespace Qel
{
namespace
{
TextService* GetEngineTextService()
{
    Engine* engine = Engine::GetInstance();
    return engine == nullptr ? nullptr : engine->GetTextService();
}
} // namespace

Text::Text(const char* aFontPath, int aFontSize, unsigned char aBorderSize)
    : Text(GetEngineTextService(), aFontPath, aFontSize, aBorderSize)
{
}

Text::Text(TextService* aService, const char* aFontPath, int aFontSize, unsigned char aBorderSize)
    : myService(aService)
{
    if (myService != nullptr && aFontPath != nullptr)
    {
        myFont = myService->GetOrLoadFont(aFontPath, static_cast<std::uint32_t>(aFontSize), aBorderSize);
    }
}

void Text::SetText(const std::string& aText)
{
    if (&aText != &myText)
    {
        myText = aText;
    }
}

float Text::GetWidth() const
{
    return myService == nullptr ? 0.0f : myService->GetTextWidth(*this);
}

float Text::GetHeight() const
{
    return myService == nullptr ? 0.0f : myService->GetTextHeight(*this);
}

void Text::Render() const
{
    if (myService != nullptr)
    {
        myService->RenderText(*this, nullptr);
    }
}
} // namespace Qel
