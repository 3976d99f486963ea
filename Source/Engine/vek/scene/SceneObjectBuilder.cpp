#include "vek/scene/SceneObjectBuilder.h"

#include "vek/Core/Profiler.h"
#include "vek/scene/PropertyTypeBase.h"
#include "vek/scene/SceneDataError.h"
#include "vek/stringRegistry/StringRegistry.h"

#include <cmath>
#include <exception>

namespace Qel
{
namespace
{
namespace fs = std::filesystem;

constexpr float GIMBAL_LIMIT = 0.9999f;
constexpr float HALF_PI = 1.570796f;
constexpr float DEGREES_PER_RADIAN = 57.295776f;

Vector3<float> ToVector(const std::array<float, 3>& aValues)
{
    return {aValues[0], aValues[1], aValues[2]};
}

Property BuildProperty(const ParsedProperty& aProperty)
{
    const PropertyTypeBase* type =
        PropertyTypeRegistry::FindByName(StringRegistry::RegisterOrGetString(aProperty.myTypeName));
    return Property{StringRegistry::RegisterOrGetString(aProperty.myName), type,
                    PropertyValue(type, aProperty.myValue)};
}

impl::SceneObjectFrame FrameOf(const ParsedSceneObject& aRecord)
{
    return {aRecord.myName, StringRegistry::RegisterOrGetString(aRecord.myPath),
            StringRegistry::RegisterOrGetString(aRecord.myObjectDefinition), &aRecord};
}

void BuildObject(const ParsedSceneObject& aRecord, SceneObject& aObject, const fs::path& aLevelDataPath)
{
    const fs::path file = aLevelDataPath / aRecord.myUuid;
    const StringRegistry::DataFileScope source(file);
    impl::BuildObjectFrame(FrameOf(aRecord), aObject);
    aObject.myProperties.reserve(aRecord.myProperties.size());
    for (const ParsedProperty& property : aRecord.myProperties)
    {
        try
        {
            aObject.myProperties.push_back(BuildProperty(property));
        }
        catch (const std::exception& error)
        {
            std::throw_with_nested(SceneDataError(file, "property \"" + property.myName + "\" of type \"" +
                                                            property.myTypeName + "\": " + error.what()));
        }
    }
}
} // namespace

void impl::BuildObjectFrame(const SceneObjectFrame& aFrame, SceneObject& aObject)
{
    aObject.myProperties.clear();
    aObject.myTranslation = {0.0f, 0.0f, 0.0f};
    aObject.myRotation = {0.0f, 0.0f, 0.0f};
    aObject.myScale = {1.0f, 1.0f, 1.0f};
    aObject.myName = aFrame.myName;
    aObject.SetPath(nullptr, aFrame.myPath);
    aObject.myObjectDefinition = aFrame.myObjectDefinition;
    if (aFrame.myTransform == nullptr)
    {
        return;
    }
    const ParsedTransform& transform = *aFrame.myTransform;
    if (transform.myHasMatrix)
    {
        Matrix4x4 matrix;
        std::copy(transform.myMatrix.begin(), transform.myMatrix.end(), matrix.GetData());
        DecomposeTransformMatrix(aObject, matrix);
    }
    // The separate parts win over the matrix.
    if (transform.myHasTranslation)
    {
        aObject.myTranslation = ToVector(transform.myTranslation);
    }
    if (transform.myHasRotation)
    {
        aObject.myRotation = ToVector(transform.myRotation);
    }
    if (transform.myHasScale)
    {
        aObject.myScale = ToVector(transform.myScale);
    }
}

void DecomposeTransformMatrix(SceneObject& aObject, const Matrix4x4& aMatrix)
{
    Quaternion q;
    Matrix4x4::Decompose(aMatrix, aObject.myTranslation, q, aObject.myScale);
    const float s = -2.0f * (q.z * q.x - q.y * q.w);
    float roll = 0.0f;
    float pitch = 0.0f;
    float yaw = 0.0f;
    if (std::abs(s) > GIMBAL_LIMIT)
    {
        pitch = s * HALF_PI;
        roll = std::atan2(q.w * q.x - q.z * q.y, 0.5f - q.x * q.x - q.z * q.z);
    }
    else
    {
        pitch = std::asin(s);
        roll = std::atan2(q.w * q.x + q.y * q.z, 0.5f - q.x * q.x - q.y * q.y);
        yaw = std::atan2(q.w * q.z + q.x * q.y, 0.5f - q.y * q.y - q.z * q.z);
    }
    aObject.myRotation = {roll * DEGREES_PER_RADIAN, pitch * DEGREES_PER_RADIAN, yaw * DEGREES_PER_RADIAN};
}

void CreateSceneObjectsFromParsedObjects(const std::vector<ParsedSceneObject>& aRecords, Scene& aScene,
                                         const fs::path& aLevelDataPath)
{
    const ProfilerScope scope("Qel::CreateSceneObjectsFromParsedObjects");
    SceneObject object;
    try
    {
        for (const ParsedSceneObject& record : aRecords)
        {
            BuildObject(record, object, aLevelDataPath);
            aScene.CreateSceneObject(record.myUuid.c_str(), object);
        }
    }
    catch (...)
    {
        aScene.ClearObjects();
        throw;
    }
}
} // namespace Qel
