#include "SceneLoadTestSupport.h"

#include "vek/scene/SceneCache.h"
#include "vek/scene/SceneObjectId.h"

#include <nlohmann/json.hpp>

#include <sstream>
#include <stdexcept>

namespace QelTest
{
std::filesystem::path SceneLoadTest::GetCachePath() const
{
    return Qel::GetSceneCachePath(myLevel.GetScenePath());
}

std::string DescribeObjects(const Qel::Scene& aScene)
{
    std::ostringstream text;
    for (const auto& [id, object] : aScene.GetObjects())
    {
        text << id << " '" << object->myName << "' path=" << object->myPath.GetText()
             << " def=" << object->myObjectDefinition.GetText() << " t=" << object->myTranslation.x << ","
             << object->myTranslation.y << "," << object->myTranslation.z << " r=" << object->myRotation.x
             << "," << object->myRotation.y << "," << object->myRotation.z << " s=" << object->myScale.x
             << "," << object->myScale.y << "," << object->myScale.z;
        for (const Qel::Property& property : object->myProperties)
        {
            nlohmann::json value;
            property.myValue.ToJson(value);
            text << " " << property.myName.GetText() << ":"
                 << (property.myType != nullptr ? property.myType->GetDisplayName() : "null") << "="
                 << value.dump();
        }
        text << "\n";
    }
    return text.str();
}

const Qel::SceneObject& ObjectOf(const Qel::Scene& aScene, const std::string& aUuid)
{
    const auto object = aScene.GetObjects().Find(Qel::GetSceneObjectIdFromUuid(aUuid.c_str()));
    if (object == nullptr)
    {
        throw std::runtime_error("the scene has no object " + aUuid);
    }
    return *object;
}
} // namespace QelTest
