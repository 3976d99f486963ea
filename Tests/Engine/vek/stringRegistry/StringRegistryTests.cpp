#include "Support/AssertCapture.h"
#include "vek/stringRegistry/StringRegistry.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

namespace
{
using Qel::StringId;
using Qel::StringRegistry;

// Texts no other test interns, since the registry is shared by the whole test binary.
std::string UniqueText(const char* aPrefix)
{
    static std::atomic<int> counter{0};
    return std::string(aPrefix) + "#" + std::to_string(counter.fetch_add(1));
}

// Interned during static initialisation, before main, from another object's constructor.
struct EarlyInterning
{
    StringId myId = StringRegistry::RegisterOrGetLiteral("early-literal", 13);
};
const EarlyInterning theEarly;
} // namespace

TEST(StringRegistryInterning, EmptyTextsGiveTheNullIdThatReadsAsEmpty)
{
    const StringId fromString = StringRegistry::RegisterOrGetString("");
    const StringId fromLiteral = StringRegistry::RegisterOrGetLiteral("", 0);
    EXPECT_TRUE(fromString.IsNull());
    EXPECT_TRUE(fromLiteral.IsNull());
    EXPECT_EQ(fromString, StringId());
    EXPECT_STREQ(StringId().GetText(), "");
    EXPECT_EQ(Qel::StringIdHash()(StringId()), Qel::FNV1A64_OFFSET_BASIS);
}

TEST(StringRegistryInterning, EqualTextsFromDifferentBuffersShareOneCopy)
{
    const std::string first = UniqueText("same");
    const std::string second(first.begin(), first.end());
    ASSERT_NE(first.data(), second.data());
    const StringId a = StringRegistry::RegisterOrGetString(first);
    const std::int32_t freeAfterFirst = StringRegistry::GetFreeBytesInNewestBlock();
    const StringId b = StringRegistry::RegisterOrGetString(second);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.GetPointer(), b.GetPointer());
    EXPECT_EQ(StringRegistry::GetFreeBytesInNewestBlock(), freeAfterFirst) << "a hit allocates nothing";
    EXPECT_NE(a.GetPointer(), first.data()) << "run-time texts are copied";
    EXPECT_EQ(a.GetView(), first);
}

TEST(StringRegistryInterning, LiteralsAreStoredUncopiedAndWinOverLaterCopies)
{
    static const char literal[] = "literal-first-Tag";
    const StringId fromLiteral = StringRegistry::RegisterOrGetLiteral(literal, sizeof(literal) - 1);
    EXPECT_EQ(fromLiteral.GetPointer(), literal);
    const std::string runTime = "literal-first-Tag";
    EXPECT_EQ(StringRegistry::RegisterOrGetString(runTime).GetPointer(), literal);

    // In the other order the arena copy is the one handle.
    const std::string text = UniqueText("copy-first");
    const StringId copy = StringRegistry::RegisterOrGetString(text);
    static std::vector<std::string> keepAlive;
    keepAlive.push_back(text);
    EXPECT_EQ(StringRegistry::RegisterOrGetLiteral(keepAlive.back().c_str(), text.size()), copy);
    EXPECT_EQ(StringRegistry::RegisterOrGetString("early-literal"), theEarly.myId);
}

TEST(StringRegistryInterning, EmbeddedNulIsRefusedInsteadOfTruncated)
{
    const std::string prefix = UniqueText("nul");
    const std::string withNul = prefix + std::string("\0tail", 5);
    EXPECT_TRUE(StringRegistry::RegisterOrGetString(withNul).IsNull());
    EXPECT_TRUE(StringRegistry::RegisterOrGetLiteral("ab\0cd", 5).IsNull());
    // The prefix alone was never stored on the way.
    const auto arenaState = []
    {
        return std::pair(StringRegistry::GetBlockCount(), StringRegistry::GetFreeBytesInNewestBlock());
    };
    const auto before = arenaState();
    const StringId prefixId = StringRegistry::RegisterOrGetString(prefix);
    EXPECT_EQ(prefixId.GetView(), prefix);
    EXPECT_NE(arenaState(), before) << "the prefix was a miss, so it was copied now";
}

TEST(StringRegistryInterning, OrderingIsByTextAndHashingIsFnv1a)
{
    const StringId b = StringRegistry::RegisterOrGetString("order-b");
    const StringId a = StringRegistry::RegisterOrGetString("order-a");
    EXPECT_TRUE(a < b);
    EXPECT_FALSE(b < a);
    EXPECT_TRUE(StringId() < a) << "the null id orders as the empty text";
    std::map<StringId, int> sorted{{b, 2}, {a, 1}, {StringId(), 0}};
    EXPECT_EQ(sorted.begin()->first, StringId());
    EXPECT_EQ(std::next(sorted.begin())->first, a);
    // The published FNV-1a 64 test value of "a".
    EXPECT_EQ(Qel::Fnv1a64("a"), 0xaf63dc4c8601ec8cull);
    EXPECT_EQ(Qel::StringIdHash()(a), static_cast<std::size_t>(Qel::Fnv1a64("order-a")));
}

TEST(StringRegistrySizeLimit, At1023CharactersInternsAndAt1024AssertsWithTheNullId)
{
    QelTest::AssertCapture capture;
    const std::string longest = UniqueText("x") + std::string(1023, 'x');
    const std::string fits = longest.substr(0, 1023);
    const StringId kept = StringRegistry::RegisterOrGetString(fits);
    EXPECT_EQ(kept.GetView(), fits);
    EXPECT_EQ(capture.GetCount(), 0);

    const std::string tooLong = longest.substr(0, 1024);
    const std::int32_t freeBefore = StringRegistry::GetFreeBytesInNewestBlock();
    const std::size_t blocksBefore = StringRegistry::GetBlockCount();
    EXPECT_TRUE(StringRegistry::RegisterOrGetString(tooLong).IsNull());
    ASSERT_EQ(capture.GetCount(), 1);
    EXPECT_EQ(capture.GetFailures()[0], "aString.size() + 1 <= STRING_REGISTRY_SIZE_LIMIT");
    EXPECT_EQ(StringRegistry::GetFreeBytesInNewestBlock(), freeBefore);
    EXPECT_EQ(StringRegistry::GetBlockCount(), blocksBefore);
}

TEST(StringRegistrySizeLimit, ACopyThatDoesNotFitStartsANewBlockAndTheNextFollowsIt)
{
    // Fill the newest block until exactly 10 bytes are left.
    const auto internFiller = [](std::int32_t aLength)
    {
        std::string filler = UniqueText("fill");
        filler.resize(static_cast<std::size_t>(aLength), 'f');
        ASSERT_FALSE(StringRegistry::RegisterOrGetString(filler).IsNull());
    };
    if (StringRegistry::GetFreeBytesInNewestBlock() < 200)
    {
        internFiller(1000);
    }
    while (StringRegistry::GetFreeBytesInNewestBlock() > 1100)
    {
        internFiller(1000);
    }
    internFiller(StringRegistry::GetFreeBytesInNewestBlock() - 10 - 1);
    ASSERT_EQ(StringRegistry::GetFreeBytesInNewestBlock(), 10);

    const std::size_t blocks = StringRegistry::GetBlockCount();
    std::string paddedTwenty = UniqueText("twenty");
    paddedTwenty.resize(20, 'p');
    const StringId first = StringRegistry::RegisterOrGetString(paddedTwenty);
    EXPECT_EQ(StringRegistry::GetBlockCount(), blocks + 1);
    EXPECT_EQ(StringRegistry::GetFreeBytesInNewestBlock(),
              Qel::STRING_REGISTRY_BLOCK_SIZE - static_cast<std::int32_t>(paddedTwenty.size() + 1));
    const StringId second = StringRegistry::RegisterOrGetString(UniqueText("behind"));
    EXPECT_EQ(second.GetPointer(), first.GetPointer() + paddedTwenty.size() + 1);
}

TEST(StringRegistryThreads, ConcurrentInterningGivesOneHandlePerText)
{
    constexpr int THREAD_COUNT = 4;
    constexpr int TEXT_COUNT = 500;
    std::vector<std::vector<StringId>> results(THREAD_COUNT);
    std::vector<std::thread> threads;
    for (int thread = 0; thread < THREAD_COUNT; ++thread)
    {
        threads.emplace_back(
            [thread, &results]
            {
                for (int text = 0; text < TEXT_COUNT; ++text)
                {
                    results[thread].push_back(
                        StringRegistry::RegisterOrGetString("shared-" + std::to_string(text)));
                }
            });
    }
    for (std::thread& thread : threads)
    {
        thread.join();
    }
    std::unordered_set<const char*> distinct;
    for (int text = 0; text < TEXT_COUNT; ++text)
    {
        for (int thread = 1; thread < THREAD_COUNT; ++thread)
        {
            ASSERT_EQ(results[thread][text], results[0][text]);
        }
        EXPECT_EQ(results[0][text].GetView(), "shared-" + std::to_string(text));
        distinct.insert(results[0][text].GetPointer());
    }
    EXPECT_EQ(distinct.size(), static_cast<std::size_t>(TEXT_COUNT));
}
