#include "Objects/ObjectLists.h"

#include <algorithm>

void FilterPickups(std::vector<GameObject*>& outPickups,
                   const std::vector<std::unique_ptr<GameObject>>& aObjects)
{
    outPickups.clear();
    for (const std::unique_ptr<GameObject>& object : aObjects)
    {
        if (object == nullptr || !object->IsActive())
        {
            continue;
        }
        const std::string& tag = object->GetTag();
        if (tag == "Coin" || tag == "Key" || tag == "PowerUp")
        {
            outPickups.push_back(object.get());
        }
    }
}

bool RemoveObjectPointer(std::vector<GameObject*>& aList, GameObject* aObject)
{
    if (aObject == nullptr)
    {
        return false;
    }
    const auto found = std::find(aList.begin(), aList.end(), aObject);
    if (found == aList.end())
    {
        return false;
    }
    aList.erase(found);
    return true;
}
