#include "Dialogue/DialogueTable.h"

#include "Session/GameFlow.h"

namespace
{
std::optional<DialogueLine> ReadLine(const nlohmann::json& anEntry)
{
    if (!anEntry.is_object())
    {
        return std::nullopt;
    }
    const auto text = anEntry.find("Text");
    const auto sprite = anEntry.find("BubbleSprite");
    if (text == anEntry.end() || sprite == anEntry.end() || !text->is_string() || !sprite->is_string())
    {
        return std::nullopt;
    }
    return DialogueLine{text->get<std::string>(), sprite->get<std::string>()};
}

const nlohmann::json* FindMember(const nlohmann::json* anObject, const std::string& aKey)
{
    if (anObject == nullptr || !anObject->is_object())
    {
        return nullptr;
    }
    const auto found = anObject->find(aKey);
    return found == anObject->end() ? nullptr : &*found;
}
} // namespace

const nlohmann::json* GetDialogueDocument()
{
    const GameFlow* flow = GameFlow::GetCurrent();
    return flow == nullptr ? nullptr : &flow->GetDialogues();
}

std::optional<DialogueLine> FindDialogueLine(const nlohmann::json* aDocument, const std::string& aKey)
{
    const nlohmann::json* entry = FindMember(aDocument, aKey);
    return entry == nullptr ? std::nullopt : ReadLine(*entry);
}

std::optional<DialogueLine> FindDialogueLine(const nlohmann::json* aDocument, const std::string& aGroup,
                                             const std::string& aKey)
{
    const nlohmann::json* entry = FindMember(FindMember(aDocument, aGroup), aKey);
    return entry == nullptr ? std::nullopt : ReadLine(*entry);
}

std::optional<std::string> FindDefaultBubblePicture(const nlohmann::json* aDocument)
{
    const nlohmann::json* bubble = FindMember(aDocument, "Bubble");
    if (bubble == nullptr || !bubble->is_string())
    {
        return std::nullopt;
    }
    return bubble->get<std::string>();
}
