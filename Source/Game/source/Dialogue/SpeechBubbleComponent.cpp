#include "Dialogue/SpeechBubbleComponent.h"

#include "Dialogue/DialogueTable.h"
#include "Objects/GameObject.h"
#include "Sound/SoundBank.h"
#include "vek/Core/Engine.h"
#include "vek/drawers/SpriteDrawer.h"
#include "vek/graphics/DX11.h"
#include "vek/graphics/GraphicsEngine.h"
#include "vek/graphics/RenderTarget.h"
#include "vek/graphics/TextureManager.h"
#include "vek/text/Text.h"

#include <algorithm>
#include <vector>

namespace
{
constexpr float TEXT_WIDTH_SHARE = 0.25f;
constexpr float TEXT_HEIGHT_SHARE = 0.2f;

std::vector<SpeechBubbleComponent*>& Queue()
{
    static std::vector<SpeechBubbleComponent*> queue;
    return queue;
}

float ScreenHeight()
{
    const Qel::Engine* engine = Qel::Engine::GetInstance();
    return engine == nullptr ? 0.0f : static_cast<float>(engine->GetRenderSize().y);
}
} // namespace

SpeechBubbleComponent::SpeechBubbleComponent(bool aShouldDisappear, std::uint8_t aFollowMode)
    : myFollowMode(aFollowMode), myShouldDisappear(aShouldDisappear)
{
}

SpeechBubbleComponent::~SpeechBubbleComponent()
{
    std::vector<SpeechBubbleComponent*>& queue = Queue();
    queue.erase(std::remove(queue.begin(), queue.end(), this), queue.end());
}

GameObject* SpeechBubbleComponent::GetTarget() const
{
    return myTarget != nullptr ? myTarget : GetOwner();
}

Qel::Vector2<float> SpeechBubbleComponent::GetAnchor() const
{
    const GameObject* target = GetTarget();
    Qel::Vector3<float> position{0.0f, 0.0f, 0.0f};
    if (target != nullptr)
    {
        position = target->GetTransform().GetPosition();
    }
    return {position.x + myOffset.x, position.y + myOffset.y};
}

void SpeechBubbleComponent::PlaceAt(const Qel::Vector2<float>& anAnchor, bool aWithScreenOffset)
{
    myTextAnchor = anAnchor;
    myIsTextScreenOffset = aWithScreenOffset;
}

void SpeechBubbleComponent::OnStart()
{
    myIsVisible = false;
    if (myBubbleSpriteName.empty())
    {
        // A file without the picture is reported once, when the state stack loads it.
        if (const std::optional<std::string> picture = FindDefaultBubblePicture(GetDialogueDocument()))
        {
            SetBubbleSprite(*picture);
        }
    }
    const Qel::Vector2<float> anchor = GetAnchor();
    if (mySpritePosition.x == 0.0f && mySpritePosition.y == 0.0f)
    {
        mySpritePosition = anchor;
    }
    if (mySize.x == 1.0f && mySize.y == 1.0f)
    {
        myIsSizedByText = true;
    }
    PlaceAt(anchor, true);
}

void SpeechBubbleComponent::OnUpdate(float aDeltaTime)
{
    if (!myIsVisible)
    {
        return;
    }
    if (myShouldDisappear)
    {
        if (myDisplayTimer >= 0.0f)
        {
            myDisplayTimer -= aDeltaTime;
        }
        if (myDisplayTimer < 0.0f)
        {
            myIsVisible = false;
        }
    }
    else if (myDisplayTimer < 0.0f)
    {
        myIsVisible = false;
    }
    if (myFollowMode != 0)
    {
        const Qel::Vector2<float> anchor = GetAnchor();
        PlaceAt(anchor, true);
        mySpritePosition = anchor;
        SoundBank::GetInstance().Play(TALK_SOUND);
    }
}

void SpeechBubbleComponent::SetText(const std::string& aText)
{
    myText = aText;
    myIsTextDirty = true;
    myIsSizedByText = true;
    PlaceAt(GetAnchor(), false);
}

void SpeechBubbleComponent::WarmCaches()
{
    if (!myBubbleSpriteName.empty())
    {
        Qel::TextureManager::WarmActive("sprites/" + myBubbleSpriteName, 1);
    }
}

void SpeechBubbleComponent::SetBubbleSprite(const std::string& aName)
{
    myBubbleSpriteName = aName;
    myIsTextureDirty = true;
}

void SpeechBubbleComponent::SetTarget(GameObject* aTarget)
{
    myTarget = aTarget;
    const Qel::Vector2<float> anchor = GetAnchor();
    PlaceAt(anchor, false);
    mySpritePosition = anchor;
}

void SpeechBubbleComponent::SetSizeFromScreen(float aWidthFraction, float aHeightFraction)
{
    const float height = ScreenHeight();
    mySize = {height * aWidthFraction, height * aHeightFraction};
    myIsSizedByText = false;
}

void SpeechBubbleComponent::SetDisplayTime(float aTime)
{
    myDisplayTime = aTime;
    myDisplayTimer = aTime;
}

void SpeechBubbleComponent::Render()
{
    if (!myIsVisible)
    {
        return;
    }
    std::vector<SpeechBubbleComponent*>& queue = Queue();
    if (std::find(queue.begin(), queue.end(), this) == queue.end())
    {
        queue.push_back(this);
    }
}

std::size_t SpeechBubbleComponent::GetQueuedCount()
{
    return Queue().size();
}

void SpeechBubbleComponent::RenderAll(const Qel::RenderTarget* aTarget, const Qel::DepthBuffer* aDepth)
{
    // The back buffer without the depth buffer: a bubble stays in front of the scenery around it.
    Qel::RenderTarget* backBuffer = Qel::DX11::GetBackBuffer();
    const bool isDrawing = backBuffer != nullptr && !Queue().empty();
    if (isDrawing)
    {
        backBuffer->SetAsActiveTarget();
    }
    for (SpeechBubbleComponent* bubble : Queue())
    {
        if (bubble->myIsVisible)
        {
            bubble->Draw();
        }
    }
    if (isDrawing && aTarget != nullptr)
    {
        aTarget->SetAsActiveTarget(aDepth);
    }
    Queue().clear();
}

void SpeechBubbleComponent::PrepareGraphics()
{
    Qel::Engine* engine = Qel::Engine::GetInstance();
    if (engine == nullptr)
    {
        return;
    }
    if (myIsTextureDirty && engine->GetTextureManager() != nullptr)
    {
        const std::string path = "sprites/" + myBubbleSpriteName;
        myBubbleTexture = engine->GetTextureManager()->GetTexture(path.c_str(), 1, false);
        myIsTextureDirty = false;
    }
    if (myIsTextDirty)
    {
        if (myTextElement == nullptr)
        {
            myTextElement = std::make_unique<Qel::Text>(FONT_PATH, FONT_SIZE, static_cast<unsigned char>(0));
        }
        myTextElement->SetText(myText);
        myIsTextDirty = false;
    }
}

void SpeechBubbleComponent::Draw()
{
    PrepareGraphics();
    Qel::Engine* engine = Qel::Engine::GetInstance();
    if (engine == nullptr || engine->GetGraphicsEngine() == nullptr || myTextElement == nullptr)
    {
        return;
    }
    const float textWidth = myTextElement->GetWidth();
    const float textHeight = myTextElement->GetHeight();
    const float height = ScreenHeight();
    Qel::Sprite2DInstanceData sprite;
    sprite.position = mySpritePosition;
    sprite.size = myIsSizedByText ? Qel::Vector2<float>{TEXT_WIDTH_SHARE * height + textWidth,
                                                        TEXT_HEIGHT_SHARE * height + textHeight}
                                  : mySize;
    if (myBubbleTexture != nullptr)
    {
        Qel::SpriteSharedData shared;
        shared.texture = myBubbleTexture;
        Qel::SpriteBatchScope batch = engine->GetGraphicsEngine()->GetSpriteDrawer().BeginBatch(shared);
        batch.Draw2D(sprite);
    }
    Qel::Vector2<float> textPosition{myTextAnchor.x - textWidth * 0.5f, myTextAnchor.y};
    if (myIsTextScreenOffset)
    {
        textPosition = textPosition + myScreenOffset;
    }
    myTextElement->SetPosition(textPosition);
    myTextElement->Render();
}
