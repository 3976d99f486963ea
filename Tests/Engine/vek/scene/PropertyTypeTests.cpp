#include "Engine/vek/scene/PropertyTestValue.h"
#include "vek/scene/PropertyValue.h"
#include "vek/stringRegistry/StringRegistry.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cfloat>
#include <csignal>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{
using nlohmann::json;
using Qel::PropertyTypeBase;
using Qel::PropertyTypeRegistry;
using Qel::PropertyValue;
using QelTest::ValueOf;

const PropertyTypeBase* Find(const char* aName)
{
    return PropertyTypeRegistry::FindByName(Qel::StringRegistry::RegisterOrGetString(aName));
}

json RoundTrip(const char* aType, const json& aInput)
{
    const PropertyValue value(Find(aType), aInput);
    json written;
    value.ToJson(written);
    return written;
}

// The library error a read raises, as (id, message text); (0, "") when it reads.
std::pair<int, std::string> ReadError(const char* aType, const json& aInput)
{
    try
    {
        const PropertyValue value(Find(aType), aInput);
    }
    catch (const json::exception& aError)
    {
        return {aError.id, aError.what()};
    }
    return {0, ""};
}

void ExpectError(const char* aType, const json& aInput, int aId, const std::string& aText)
{
    const auto [id, message] = ReadError(aType, aInput);
    EXPECT_EQ(id, aId) << aType << " from " << aInput.dump();
    EXPECT_NE(message.find(aText), std::string::npos) << message;
}

// A type of the test's own, to show that registration closes once the registry is built.
class LateType final : public PropertyTypeBase
{
public:
    using PropertyTypeBase::PropertyTypeBase;
    void DefaultConstruct(void*) const override {}
    void CopyConstruct(const void*, void*) const override {}
    void MoveConstruct(void*, void*) const override {}
    void Destroy(void*) const override {}
    void FromJson(void*, const json&) const override {}
    void ToJson(const void*, json&) const override {}
    bool DrawEditor(void*, const char*, const char*) const override { return false; }
};
} // namespace

TEST(PropertyTypeRegistry, FindsEachOfTheThirteenTypesByNameWithItsIndex)
{
    const std::vector<std::pair<const char*, const PropertyTypeBase*>> expected = {
        {"Model", &Qel::MODEL_PROPERTY_TYPE},
        {"Sprite", &Qel::SPRITE_PROPERTY_TYPE},
        {"Scene", &Qel::SCENE_PROPERTY_TYPE},
        {"Animation Clip", &Qel::ANIMATION_CLIP_PROPERTY_TYPE},
        {"Pose", &Qel::POSE_PROPERTY_TYPE},
        {"Bool", &Qel::BOOL_PROPERTY_TYPE},
        {"Int", &Qel::INT_PROPERTY_TYPE},
        {"Float", &Qel::FLOAT_PROPERTY_TYPE},
        {"Float2", &Qel::FLOAT2_PROPERTY_TYPE},
        {"Float3", &Qel::FLOAT3_PROPERTY_TYPE},
        {"Float4", &Qel::FLOAT4_PROPERTY_TYPE},
        {"Color", &Qel::COLOR_PROPERTY_TYPE},
        {"StringId", &Qel::STRING_ID_PROPERTY_TYPE},
    };
    ASSERT_EQ(PropertyTypeRegistry::GetTypeCount(), expected.size());
    for (std::uint32_t index = 0; index < expected.size(); ++index)
    {
        const PropertyTypeBase* found = Find(expected[index].first);
        ASSERT_NE(found, nullptr) << expected[index].first;
        EXPECT_EQ(found, expected[index].second) << expected[index].first;
        EXPECT_EQ(found->GetIndex(), index) << expected[index].first;
        EXPECT_EQ(PropertyTypeRegistry::GetType(index), found);
        EXPECT_STREQ(found->GetDisplayName(), expected[index].first);
        EXPECT_EQ(found->GetName(), Qel::StringRegistry::RegisterOrGetString(expected[index].first));
    }
    EXPECT_EQ(&Qel::GetPropertyType<Qel::Vector3<float>>(), &Qel::FLOAT3_PROPERTY_TYPE);
    EXPECT_EQ(&Qel::GetPropertyType<CommonUtilities::Vector3<float>>(), &Qel::FLOAT3_PROPERTY_TYPE);
    EXPECT_TRUE(PropertyTypeRegistry::IsFrozen());
}

TEST(PropertyTypeRegistry, NamesAreExactAndCaseSensitive)
{
    EXPECT_EQ(Find("float3"), nullptr);
    EXPECT_EQ(Find("Float3 "), nullptr);
    EXPECT_EQ(PropertyTypeRegistry::FindByName(Qel::StringId()), nullptr);
    EXPECT_EQ(PropertyTypeRegistry::GetType(13), nullptr);
}

TEST(PropertyTypeRegistryDeathTest, RegisteringAfterTheBuildAborts)
{
    PropertyTypeRegistry::Build();
    // The reason goes to standard output with the other log lines; the process ends by SIGABRT.
    EXPECT_EXIT({ const LateType late("Late"); }, testing::KilledBySignal(SIGABRT), "");
}

TEST(PropertyJsonPlainTypes, ReadAndWriteEveryAcceptedForm)
{
    EXPECT_EQ(RoundTrip("Bool", true), json(true));
    EXPECT_EQ(RoundTrip("Bool", false), json(false));

    EXPECT_EQ(RoundTrip("Int", 7), json(7));
    EXPECT_EQ(RoundTrip("Int", 2.9), json(2));
    EXPECT_EQ(RoundTrip("Int", -2.9), json(-2));
    EXPECT_EQ(RoundTrip("Int", true), json(1));
    EXPECT_EQ(RoundTrip("Int", 4000000000u), json(std::numeric_limits<std::int32_t>::max()));
    EXPECT_TRUE(RoundTrip("Int", 7).is_number_integer());

    EXPECT_EQ(RoundTrip("Float", 1.5), json(1.5));
    EXPECT_EQ(RoundTrip("Float", 3), json(3.0));
    EXPECT_EQ(RoundTrip("Float", true), json(1.0));
    EXPECT_EQ(RoundTrip("Float", 0.1), json(static_cast<double>(0.1f)));
    EXPECT_TRUE(RoundTrip("Float", 3).is_number_float());

    EXPECT_EQ(RoundTrip("Float2", json::array({1, 2})), json::array({1.0, 2.0}));
    EXPECT_EQ(RoundTrip("Float3", json::array({1, 2, 3, 99})), json::array({1.0, 2.0, 3.0}));
    EXPECT_EQ(RoundTrip("Float4", json::array({1, 2, 3, 4})), json::array({1.0, 2.0, 3.0, 4.0}));
    EXPECT_EQ(RoundTrip("Color", json::array({0.5, 0.25, true, 1})), json::array({0.5, 0.25, 1.0, 1.0}));

    EXPECT_EQ(RoundTrip("StringId", "Player"), json("Player"));
    EXPECT_EQ(RoundTrip("StringId", ""), json(""));

    EXPECT_EQ(RoundTrip("Pose", json::array({1, 2})), json(nullptr));
    EXPECT_EQ(RoundTrip("Pose", "anything"), json(nullptr));
}

TEST(PropertyJsonPlainTypes, ValuesAreStoredAsTheirTypes)
{
    const PropertyValue vector(Find("Float3"), json::array({1, 2, 3}));
    EXPECT_EQ(ValueOf<CommonUtilities::Vector3<float>>(vector), Qel::Vector3<float>(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(vector.As<Qel::Color>(), nullptr);

    const PropertyValue colour(Find("Color"), json::array({0.1, 0.2, 0.3, 0.4}));
    EXPECT_EQ(ValueOf<Qel::Color>(colour), Qel::Color(0.1f, 0.2f, 0.3f, 0.4f));

    const PropertyValue tag(Find("StringId"), "Player");
    EXPECT_EQ(ValueOf<Qel::StringId>(tag), Qel::StringRegistry::RegisterOrGetString("Player"));
    const PropertyValue empty(Find("StringId"), "");
    EXPECT_TRUE(ValueOf<Qel::StringId>(empty).IsNull());

    const PropertyValue pose(Find("Pose"), 5);
    EXPECT_EQ(ValueOf<Qel::PoseAndMotion>(pose), Qel::PoseAndMotion{});
    const PropertyValue flag(Find("Bool"), true);
    EXPECT_TRUE(ValueOf<bool>(flag));
}

TEST(PropertyJsonPlainTypes, MalformedFormsRaiseTheLibrarysOwnErrors)
{
    ExpectError("Bool", 1, 302, "type must be boolean, but is number");
    ExpectError("Bool", "true", 302, "type must be boolean, but is string");
    ExpectError("Int", "2", 302, "type must be number, but is string");
    ExpectError("Int", nullptr, 302, "type must be number, but is null");
    ExpectError("Float", json::array({1}), 302, "type must be number, but is array");
    ExpectError("Float2", 5, 305, "cannot use operator[] with a numeric argument with number");
    ExpectError("Float3", json::object(), 305, "with object");
    ExpectError("Float3", json::array({1, 2}), 401, "array index 2 is out of range");
    ExpectError("Float4", json::array({1, 2, "3", 4}), 302, "type must be number, but is string");
    ExpectError("Color", nullptr, 305, "with null");
    ExpectError("Color", json::array({1, 2, 3}), 401, "array index 3 is out of range");
    ExpectError("StringId", 5, 302, "type must be string, but is number");
    EXPECT_EQ(ReadError("Pose", json::object()).first, 0);
}

TEST(PropertyJsonPlainTypes, OutOfRangeNumbersSaturateInsteadOfOverflowing)
{
    constexpr auto INT_MAX_VALUE = std::numeric_limits<std::int32_t>::max();
    constexpr auto INT_MIN_VALUE = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(RoundTrip("Int", 1e20), json(INT_MAX_VALUE));
    EXPECT_EQ(RoundTrip("Int", -1e20), json(INT_MIN_VALUE));
    EXPECT_EQ(RoundTrip("Int", 5000000000ll), json(INT_MAX_VALUE));
    EXPECT_EQ(RoundTrip("Int", -5000000000ll), json(INT_MIN_VALUE));
    EXPECT_EQ(RoundTrip("Int", std::numeric_limits<std::uint64_t>::max()), json(INT_MAX_VALUE));
    EXPECT_EQ(RoundTrip("Int", 2147483647.9), json(INT_MAX_VALUE));
    EXPECT_EQ(RoundTrip("Int", -2147483648.5), json(INT_MIN_VALUE));
    EXPECT_EQ(RoundTrip("Int", std::numeric_limits<double>::quiet_NaN()), json(0));
    EXPECT_EQ(RoundTrip("Float", 1e300), json(static_cast<double>(FLT_MAX)));
    EXPECT_EQ(RoundTrip("Float", -1e300), json(static_cast<double>(-FLT_MAX)));
}

TEST(PropertyValueNullType, EveryOperationIsANoOp)
{
    const PropertyValue unknown(Find("NoSuchType"), json::array({1, 2}));
    EXPECT_TRUE(unknown.IsEmpty());
    PropertyValue copy(unknown);
    PropertyValue moved(std::move(copy));
    PropertyValue assigned(Find("Int"), 3);
    assigned = unknown;
    EXPECT_TRUE(assigned.IsEmpty());
    EXPECT_EQ(assigned.As<std::int32_t>(), nullptr);
    json written = 5;
    moved.ToJson(written);
    EXPECT_TRUE(written.is_null());
    EXPECT_FALSE(moved.DrawEditor("label", nullptr));
}

TEST(PropertyValueCopyOnWrite, CopyMoveAndAssignmentKeepPoolCountsExact)
{
    using Pool = Qel::impl::StaticObjectPool<Qel::SceneReference>;
    const std::size_t liveBefore = Pool::GetInstance().GetLiveObjectCount();
    {
        PropertyValue original(Find("Scene"), json{{"scene_path", "levels/A.vks"}});
        const auto* handle = &ValueOf<Qel::SceneReferenceHandle>(original);
        EXPECT_EQ(handle->GetReferenceCount(), 1u);
        EXPECT_EQ(Pool::GetInstance().GetLiveObjectCount(), liveBefore + 1);

        PropertyValue copy(original);
        PropertyValue moved(std::move(copy));
        EXPECT_EQ(handle->GetReferenceCount(), 3u);
        EXPECT_EQ(ValueOf<Qel::SceneReferenceHandle>(copy).GetObject(), handle->GetObject());

        PropertyValue other(Find("Scene"), json{{"scene_path", "levels/B.vks"}});
        other = original;
        EXPECT_EQ(handle->GetReferenceCount(), 4u);
        EXPECT_EQ(Pool::GetInstance().GetLiveObjectCount(), liveBefore + 1)
            << "B was freed by the assignment";

        original = original;
        EXPECT_EQ(handle->GetReferenceCount(), 4u);
        PropertyValue& alias = original;
        original = std::move(alias);
        EXPECT_EQ(handle->GetReferenceCount(), 4u);

        PropertyValue plain(Find("Int"), 3);
        plain = original;
        EXPECT_EQ(handle->GetReferenceCount(), 5u);
        moved = PropertyValue(Find("Int"), 4);
        EXPECT_EQ(handle->GetReferenceCount(), 4u);
        EXPECT_EQ(ValueOf<std::int32_t>(moved), 4);

        std::vector<PropertyValue> many(50, original);
        many.resize(200, original);
        EXPECT_EQ(handle->GetReferenceCount(), 204u);
    }
    EXPECT_EQ(Pool::GetInstance().GetLiveObjectCount(), liveBefore);
}

TEST(PropertyValueCopyOnWrite, AFailedReadFreesTheHalfMadeValue)
{
    using Pool = Qel::impl::StaticObjectPool<Qel::SceneModel>;
    const std::size_t liveBefore = Pool::GetInstance().GetLiveObjectCount();
    EXPECT_THROW(
        PropertyValue(Find("Model"), json{{"path", "a.fbx"}, {"textures", json::array({json::array({1})})}}),
        json::type_error);
    EXPECT_EQ(Pool::GetInstance().GetLiveObjectCount(), liveBefore);
    const PropertyValue defaultModel(Find("Model"), json{{"path", ""}});
    EXPECT_TRUE(ValueOf<Qel::SceneModelHandle>(defaultModel)->myPath.IsNull());
}
