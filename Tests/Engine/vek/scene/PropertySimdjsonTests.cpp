// The cache's simdjson property reader against the property types' own json readers: every text is
// read both ways as every one of the thirteen types, and both must agree on whether it reads and, when
// it does, on the value (compared through ToJson, which writes every field of every type).
#include "vek/scene/PropertySimdjson.h"
#include "vek/scene/PropertyValue.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

namespace
{
using nlohmann::json;
using Qel::PropertyTypeBase;
using Qel::PropertyTypeRegistry;
using Qel::PropertyValue;

// Written by ToJson when the text reads; nothing when it is rejected.
std::optional<json> ByJsonLibrary(const PropertyTypeBase* aType, const std::string& aText)
{
    try
    {
        const PropertyValue value(aType, json::parse(aText));
        json written;
        value.ToJson(written);
        return written;
    }
    catch (const json::exception&)
    {
        return std::nullopt;
    }
}

std::optional<json> BySimdjson(const PropertyTypeBase* aType, const std::string& aText)
{
    simdjson::dom::parser parser;
    simdjson::dom::element element;
    if (parser.parse(aText).get(element) != simdjson::SUCCESS)
    {
        ADD_FAILURE() << "simdjson does not parse " << aText;
        return std::nullopt;
    }
    try
    {
        const PropertyValue value = Qel::impl::ReadPropertyValue(aType, element);
        EXPECT_EQ(value.GetType(), aType) << aText;
        json written;
        value.ToJson(written);
        return written;
    }
    catch (const Qel::impl::PropertyReadError&)
    {
        return std::nullopt;
    }
}

// Plain values of every json kind, arrays of every length the vectors care about, and the object
// forms of the asset references with each of their keys right, wrong, repeated or missing.
const std::vector<std::string> TEXTS = {"null",
                                        "true",
                                        "false",
                                        "0",
                                        "-0",
                                        "7",
                                        "-3",
                                        "2.9",
                                        "-2.9",
                                        "-0.0",
                                        "0.1",
                                        "1e-5",
                                        "1e20",
                                        "-1e20",
                                        "1e300",
                                        "-1e300",
                                        "3.4028235e38",
                                        "2147483647",
                                        "2147483648",
                                        "-2147483649",
                                        "9223372036854775807",
                                        "-9223372036854775808",
                                        "18446744073709551615",
                                        "\"Player\"",
                                        "\"\"",
                                        "\"caf\\u00e9\"",
                                        "[]",
                                        "[1]",
                                        "[1,2]",
                                        "[1,2.5,3]",
                                        "[1,2,3,4]",
                                        "[1,2,3,4,5]",
                                        "[true,false,-1,0.25]",
                                        "[1,\"2\",3,4]",
                                        "[null,1,2,3]",
                                        "[[1],2,3,4]",
                                        "{}",
                                        "{\"path\":\"models/a.fbx\"}",
                                        "{\"path\":5}",
                                        "{\"path\":null}",
                                        "{\"path\":\"first\",\"path\":\"last\"}",
                                        "{\"path\":\"m\",\"textures\":[[\"a\",\"b\",\"c\",\"d\",\"e\"],["
                                        "\"x\"],[],[\"1\",\"2\",\"3\",\"4\"],[\"late\"]]}",
                                        "{\"textures\":\"x\"}",
                                        "{\"textures\":[5]}",
                                        "{\"textures\":[[5]]}",
                                        "{\"textures\":[[\"a\"]],\"z\":null}",
                                        "{\"texturePath\":\"t.dds\"}",
                                        "{\"textures\":[\"a\",\"\",\"c\"],\"texturePath\":\"t.dds\"}",
                                        "{\"textures\":[\"a\",\"b\",\"c\",\"d\",\"e\"]}",
                                        "{\"pivot\":[0.1,0.2],\"size\":[3,4,5]}",
                                        "{\"pivot\":[1]}",
                                        "{\"size\":5}",
                                        "{\"texturePath\":5}",
                                        "{\"pivot\":{\"x\":1}}",
                                        "{\"scene_path\":\"levels/a.vks\"}",
                                        "{\"scene_path\":1}",
                                        "{\"clip_path\":\"anims/run.fbx\"}",
                                        "{\"clip_path\":[]}",
                                        "{\"clip_path\":\"a\",\"scene_path\":\"b\",\"path\":\"c\"}"};

TEST(PropertySimdjson, ReadsExactlyWhatTheJsonReadersReadForEveryTypeAndText)
{
    for (std::uint32_t index = 0; index < PropertyTypeRegistry::GetTypeCount(); ++index)
    {
        const PropertyTypeBase* type = PropertyTypeRegistry::GetType(index);
        int reads = 0;
        for (const std::string& text : TEXTS)
        {
            const std::optional<json> expected = ByJsonLibrary(type, text);
            const std::optional<json> actual = BySimdjson(type, text);
            ASSERT_EQ(actual.has_value(), expected.has_value())
                << type->GetDisplayName() << " from " << text << (expected ? " reads" : " is rejected")
                << " by the json reader";
            if (expected)
            {
                EXPECT_EQ(*actual, *expected) << type->GetDisplayName() << " from " << text;
                ++reads;
            }
        }
        // Each type both reads some texts and, but for "Pose", rejects others.
        EXPECT_GT(reads, 0) << type->GetDisplayName();
        if (type != &Qel::POSE_PROPERTY_TYPE)
        {
            EXPECT_LT(reads, static_cast<int>(TEXTS.size())) << type->GetDisplayName();
        }
    }
}

TEST(PropertySimdjson, ANullTypeGivesTheEmptyValueWithoutReading)
{
    simdjson::dom::parser parser;
    simdjson::dom::element element;
    ASSERT_EQ(parser.parse(std::string("[1,2]")).get(element), simdjson::SUCCESS);
    EXPECT_TRUE(Qel::impl::ReadPropertyValue(nullptr, element).IsEmpty());
}

TEST(PropertySimdjson, ValuesOfPooledTypesArePrivateObjects)
{
    simdjson::dom::parser parser;
    simdjson::dom::element element;
    ASSERT_EQ(parser.parse(std::string(R"({"path":"models/b.fbx"})")).get(element), simdjson::SUCCESS);
    const PropertyValue first = Qel::impl::ReadPropertyValue(&Qel::MODEL_PROPERTY_TYPE, element);
    const PropertyValue second = Qel::impl::ReadPropertyValue(&Qel::MODEL_PROPERTY_TYPE, element);
    const auto* firstModel = first.As<Qel::SceneModelHandle>();
    const auto* secondModel = second.As<Qel::SceneModelHandle>();
    ASSERT_NE(firstModel, nullptr);
    ASSERT_NE(secondModel, nullptr);
    EXPECT_NE(firstModel->GetObject(), secondModel->GetObject());
    EXPECT_EQ(firstModel->GetReferenceCount(), 1u);
    EXPECT_EQ(firstModel->Get(), secondModel->Get());
}
} // namespace
