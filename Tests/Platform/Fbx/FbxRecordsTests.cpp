#include "RecordWriter.h"

#include "Platform/Fbx/FbxRecords.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>

using namespace Qel::Fbx;

namespace
{
std::string SampleFile(uint32_t aVersion)
{
    FbxTest::Writer writer(aVersion);
    FbxTest::Node objects = FbxTest::Make("Objects");
    FbxTest::Node model = FbxTest::Make("Model");
    model.Long(42).Text(std::string("Hip\0\1Model", 10)).Text("LimbNode");
    model.Add(std::move(FbxTest::Make("Plain").Doubles({1.0, 2.0, 3.0}, false)));
    std::vector<double> many(300);
    for (size_t i = 0; i < many.size(); ++i)
    {
        many[i] = static_cast<double>(i) * 0.5;
    }
    model.Add(std::move(FbxTest::Make("Packed").Doubles(many, true)));
    objects.Add(std::move(model));
    return writer.Finish({FbxTest::Make("Version").Int(7), objects});
}
} // namespace

TEST(FbxRecords, NestedRecordsAndArraysReadBackInBothHeaderWidths)
{
    for (const uint32_t version : {7400u, 7500u})
    {
        const std::vector<uint8_t> bytes = FbxTest::Bytes(SampleFile(version));
        ASSERT_TRUE(IsBinaryFbx(bytes));
        Record root;
        std::string error;
        ASSERT_TRUE(ParseRecords(bytes, root, error)) << error;
        ASSERT_EQ(root.children.size(), 2u);
        EXPECT_EQ(root.Find("Version")->values[0].AsInteger(), 7);
        const Record* model = root.Find("Objects")->Find("Model");
        ASSERT_NE(model, nullptr);
        ASSERT_EQ(model->values.size(), 3u);
        EXPECT_EQ(model->values[0].AsInteger(), 42);
        EXPECT_EQ(model->values[1].text, std::string_view("Hip\0\1Model", 10));
        EXPECT_EQ(model->values[2].text, "LimbNode");
        EXPECT_EQ(root.Find("Missing"), nullptr);

        std::vector<double> plain;
        ASSERT_TRUE(DecodeArray(model->Find("Plain")->values[0], plain, error));
        EXPECT_EQ(plain, (std::vector<double>{1.0, 2.0, 3.0}));
        std::vector<int64_t> packed;
        ASSERT_TRUE(DecodeArray(model->Find("Packed")->values[0], packed, error)) << error;
        ASSERT_EQ(packed.size(), 300u);
        EXPECT_EQ(packed[299], 149);                               // 149.5 truncated
        EXPECT_FALSE(DecodeArray(model->values[0], plain, error)); // a scalar is no array
    }
}

TEST(FbxRecords, EveryTruncationFailsCleanly)
{
    const std::string whole = SampleFile(7500);
    for (size_t length = 0; length + 14 < whole.size(); ++length)
    {
        const std::vector<uint8_t> bytes = FbxTest::Bytes(whole.substr(0, length));
        Record root;
        std::string error;
        EXPECT_FALSE(ParseRecords(bytes, root, error)) << length;
        EXPECT_FALSE(error.empty()) << length;
    }
}

TEST(FbxRecords, DamagedLengthsAndDepthAreRejected)
{
    std::string error;
    Record root;
    // A record nested far deeper than any real file.
    FbxTest::Node deep = FbxTest::Make("Leaf").Int(1);
    for (int i = 0; i < 100; ++i)
    {
        FbxTest::Node parent = FbxTest::Make("Level");
        parent.Add(std::move(deep));
        deep = std::move(parent);
    }
    EXPECT_FALSE(ParseRecords(FbxTest::Bytes(FbxTest::Writer(7400).Finish({deep})), root, error));
    EXPECT_EQ(error, "records are nested too deeply");

    // A compressed array whose claimed length no deflate stream could produce is refused before
    // anything is allocated for it, and so is a raw array whose payload is shorter than its length says.
    const std::string huge =
        FbxTest::Writer(7400).Finish({FbxTest::Make("A").Doubles({1.0, 2.0}, true, 0x7fffffffu)});
    EXPECT_FALSE(ParseRecords(FbxTest::Bytes(huge), root, error));
    EXPECT_EQ(error, "an array claims a length its data cannot hold (in A)");
    const std::string shortArray =
        FbxTest::Writer(7400).Finish({FbxTest::Make("A").Doubles({1.0, 2.0}, false, 3)});
    EXPECT_FALSE(ParseRecords(FbxTest::Bytes(shortArray), root, error));

    // A record whose end lies past the file's.
    std::string overrun = FbxTest::Writer(7400).Finish({FbxTest::Make("A").Int(5)});
    overrun[27] = static_cast<char>(0x7f);
    EXPECT_FALSE(ParseRecords(FbxTest::Bytes(overrun), root, error));

    EXPECT_FALSE(ParseRecords(FbxTest::Bytes("; FBX 7.4.0 project file"), root, error));
    EXPECT_TRUE(IsTextFbx(FbxTest::Bytes("; FBX 7.4.0 project file")));
}

TEST(FbxTextRecords, BlocksValuesAndArraysAreRead)
{
    const std::string text = "; FBX 7.4.0 project file\n"
                             "Objects:  {\n"
                             "\tModel: 42, \"Model::rig:Hip\", \"LimbNode\" {\n"
                             "\t\tP: \"Lcl Translation\", \"Lcl Translation\", \"\", \"A\",1.5,-2,3e1\n"
                             "\t\tShading: T ; a comment\n"
                             "\t\tKeys: *4 {\n\t\t\ta: 1,2,\n\t\t\t3.5,4\n\t\t}\n"
                             "\t}\n"
                             "}\n";
    const std::vector<uint8_t> bytes = FbxTest::Bytes(text);
    EXPECT_TRUE(IsTextFbx(bytes));
    Record root;
    std::string error;
    ASSERT_TRUE(ParseTextRecords(bytes, root, error)) << error;
    const Record* model = root.Find("Objects")->Find("Model");
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->values[0].AsInteger(), 42);
    EXPECT_EQ(model->values[1].text, "Model::rig:Hip");
    const Record& p = model->children[0];
    ASSERT_EQ(p.values.size(), 7u);
    EXPECT_EQ(p.values[4].AsDouble(), 1.5);
    EXPECT_EQ(p.values[5].AsInteger(), -2);
    EXPECT_EQ(p.values[6].AsDouble(), 30.0);
    EXPECT_EQ(model->Find("Shading")->values[0].text, "T");
    std::vector<double> keys;
    ASSERT_TRUE(DecodeArray(model->Find("Keys")->values[0], keys, error)) << error;
    EXPECT_EQ(keys, (std::vector<double>{1, 2, 3.5, 4}));
}

TEST(FbxTextRecords, DamagedTextFailsCleanly)
{
    Record root;
    std::string error;
    for (const char* damaged : {"Objects:  {\n\tModel: 1\n", "}\n", "Objects: \"open\n", "Keys: *x {\n}\n",
                                "no colon here\n", "Keys: *2 {\n a: 1,2\n"})
    {
        EXPECT_FALSE(ParseTextRecords(FbxTest::Bytes(damaged), root, error)) << damaged;
        EXPECT_FALSE(error.empty());
    }
    // Records point into the bytes, which stay alive while they are read.
    const std::vector<uint8_t> shortArray = FbxTest::Bytes("Keys: *3 {\n a: 1,2\n}\n");
    ASSERT_TRUE(ParseTextRecords(shortArray, root, error));
    std::vector<double> values;
    EXPECT_FALSE(DecodeArray(root.children[0].values[0], values, error)); // fewer numbers than counted
    const std::vector<uint8_t> notNumbers = FbxTest::Bytes("Keys: *2 {\n a: 1,x\n}\n");
    ASSERT_TRUE(ParseTextRecords(notNumbers, root, error));
    EXPECT_FALSE(DecodeArray(root.children[0].values[0], values, error));

    // Nesting deeper than any real file.
    std::string deep;
    for (int i = 0; i < 100; ++i)
    {
        deep += "A: {\n";
    }
    EXPECT_FALSE(ParseTextRecords(FbxTest::Bytes(deep), root, error));
}

TEST(FbxRecords, ArraysThatTogetherClaimMoreThanTheBudgetAreRefusedBeforeDecoding)
{
    // Each payload could, by its size alone, inflate to the length it claims; five of them together
    // claim more elements than a file may hold.
    std::vector<double> noise(7700);
    uint64_t state = 88172645463325252ull;
    for (double& value : noise)
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        std::memcpy(&value, &state, sizeof(value));
    }
    FbxTest::Node arrays = FbxTest::Make("Arrays");
    for (int i = 0; i < 5; ++i)
    {
        arrays.Add(std::move(FbxTest::Make("A").Doubles(noise, true, 8u << 20)));
    }
    std::string error;
    Record root;
    EXPECT_FALSE(ParseRecords(FbxTest::Bytes(FbxTest::Writer(7400).Finish({arrays})), root, error));
    EXPECT_NE(error.find("more than"), std::string::npos) << error;

    // Four of them fit the budget; decoding one finds its payload damaged.
    arrays.children.pop_back();
    const std::vector<uint8_t> fits = FbxTest::Bytes(FbxTest::Writer(7400).Finish({arrays}));
    ASSERT_TRUE(ParseRecords(fits, root, error)) << error;
    std::vector<double> values;
    EXPECT_FALSE(DecodeArray(root.children[0].children[0].values[0], values, error));
}

TEST(FbxRecords, RealsBecomeIntegersOnlyWhenInRange)
{
    int64_t value = 7;
    EXPECT_TRUE(RealToInteger(-2.9, value));
    EXPECT_EQ(value, -2);
    EXPECT_TRUE(RealToInteger(-9223372036854775808.0, value));
    EXPECT_EQ(value, INT64_MIN);
    for (const double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL, 9223372036854775808.0, -1e19})
    {
        value = 7;
        EXPECT_FALSE(RealToInteger(bad, value)) << bad;
        EXPECT_EQ(value, 7);
    }
    RecordValue real;
    real.type = 'D';
    real.real = std::nan("");
    EXPECT_EQ(real.AsInteger(), 0);
    real.real = 41.7;
    EXPECT_EQ(real.AsInteger(), 41);

    // Whole-number arrays read from reals refuse what no integer holds.
    const std::string bytes =
        FbxTest::Writer(7400).Finish({FbxTest::Make("A").Doubles({1.5, std::nan("")}, false)});
    const std::vector<uint8_t> data = FbxTest::Bytes(bytes);
    std::string error;
    Record root;
    ASSERT_TRUE(ParseRecords(data, root, error)) << error;
    std::vector<int64_t> whole;
    EXPECT_FALSE(DecodeArray(root.children[0].values[0], whole, error));
    std::vector<double> reals;
    EXPECT_TRUE(DecodeArray(root.children[0].values[0], reals, error));
}
