#include "vek/scene/CopyOnWriteWrapper.h"

#include <gtest/gtest.h>

#include <optional>
#include <thread>
#include <vector>

namespace
{
using Qel::impl::PINNED_REFERENCE_COUNT;
using Qel::impl::POOL_BUCKET_OBJECT_COUNT;

// Records of their own, so that each group starts from a pool no other test touches.
template <int TAG>
struct Record
{
    int myValue = 0;
    friend bool operator==(const Record&, const Record&) = default;
};

template <int TAG>
using Handle = Qel::CopyOnWriteWrapper<Record<TAG>>;

template <int TAG>
Qel::impl::StaticObjectPool<Record<TAG>>& PoolOf()
{
    return Qel::impl::StaticObjectPool<Record<TAG>>::GetInstance();
}

// Destroyed at exit after the pool it refers to, since it was constant-initialised before the pool existed.
std::optional<Handle<9>> theHandleOutlivingItsPool;
} // namespace

TEST(StaticObjectPoolDefault, IsObjectZeroOfTheFirstBucketAndStaysPinned)
{
    const Handle<1> first;
    EXPECT_EQ(first.GetBucket()->IndexOf(first.GetObject()), 0u);
    EXPECT_EQ(first.GetBucket()->myFirstObject, first.GetObject());
    EXPECT_EQ(first.GetBucket()->myObjectSize, sizeof(Record<1>));
    {
        std::vector<Handle<1>> copies(100, first);
        Handle<1> assigned;
        assigned = first;
        EXPECT_EQ(first.GetReferenceCount(), PINNED_REFERENCE_COUNT);
    }
    EXPECT_EQ(first.GetReferenceCount(), PINNED_REFERENCE_COUNT);
    EXPECT_EQ(PoolOf<1>().GetLiveObjectCount(), 0u);
}

TEST(StaticObjectPoolCopyOnWrite, WritingTheDefaultMakesOnePrivateObject)
{
    Handle<2> handle;
    const Handle<2> untouched;
    Record<2>& mutableRecord = handle.GetMutable();
    mutableRecord.myValue = 7;
    EXPECT_NE(handle.GetObject(), untouched.GetObject());
    EXPECT_EQ(handle.GetReferenceCount(), 1u);
    EXPECT_EQ(untouched->myValue, 0) << "the default object is never written";
    EXPECT_EQ(&handle.GetMutable(), &mutableRecord) << "a sole owner writes in place";
    EXPECT_EQ(PoolOf<2>().GetLiveObjectCount(), 1u);
}

TEST(StaticObjectPoolCopyOnWrite, ClonesOnlyOnASharedWrite)
{
    Handle<3> a = Handle<3>::Make(Record<3>{5});
    Handle<3> b = a;
    ASSERT_EQ(a.GetObject(), b.GetObject());
    EXPECT_EQ(a.GetReferenceCount(), 2u);
    const Record<3>* shared = a.GetObject();
    a.GetMutable().myValue = 6;
    EXPECT_NE(a.GetObject(), shared);
    EXPECT_EQ(b.GetObject(), shared);
    EXPECT_EQ(b.GetReferenceCount(), 1u);
    EXPECT_EQ(a.GetReferenceCount(), 1u);
    EXPECT_EQ(b->myValue, 5);
    EXPECT_EQ(a->myValue, 6);
    // Now b is alone: its write does not clone.
    b.GetMutable().myValue = 8;
    EXPECT_EQ(b.GetObject(), shared);
}

TEST(StaticObjectPoolCounts, CopyMoveAndAssignmentStayExactAndFreeEverySlot)
{
    {
        Handle<4> a = Handle<4>::Make(Record<4>{1});
        Handle<4> b = Handle<4>::Make(Record<4>{2});
        Handle<4> copy(a);
        Handle<4> moved(std::move(copy));
        EXPECT_EQ(a.GetReferenceCount(), 3u) << "a moved-from handle still holds its reference";
        EXPECT_EQ(copy->myValue, 1);
        copy = b;
        EXPECT_EQ(a.GetReferenceCount(), 2u);
        EXPECT_EQ(b.GetReferenceCount(), 2u);
        moved = std::move(b);
        EXPECT_EQ(a.GetReferenceCount(), 1u);
        EXPECT_EQ(b.GetReferenceCount(), 3u);
        const Record<4>* before = a.GetObject();
        a = a;
        EXPECT_EQ(a.GetObject(), before);
        EXPECT_EQ(a.GetReferenceCount(), 1u);
        a = Handle<4>::Make(Record<4>{3});
        EXPECT_EQ(a->myValue, 3);
        EXPECT_EQ(PoolOf<4>().GetLiveObjectCount(), 2u)
            << "the first object was freed when a took the fresh one";
    }
    EXPECT_EQ(PoolOf<4>().GetLiveObjectCount(), 0u);
}

TEST(StaticObjectPoolBuckets, The1025thObjectStartsABucketAndFreedSlotsAreReusedLastInFirstOut)
{
    std::vector<Handle<5>> live;
    for (std::uint32_t index = 1; index < POOL_BUCKET_OBJECT_COUNT; ++index)
    {
        live.push_back(Handle<5>::Make(Record<5>{static_cast<int>(index)}));
    }
    EXPECT_EQ(PoolOf<5>().GetBucketCount(), 1u) << "the default and 1023 objects fill the first bucket";
    live.push_back(Handle<5>::Make(Record<5>{1024}));
    EXPECT_EQ(PoolOf<5>().GetBucketCount(), 2u);
    EXPECT_NE(live.back().GetBucket(), live.front().GetBucket());
    EXPECT_EQ(live.back().GetBucket()->IndexOf(live.back().GetObject()), 0u);

    const Record<5>* freedFirst = live[10].GetObject();
    const Record<5>* freedSecond = live[20].GetObject();
    live[10] = Handle<5>();
    live[20] = Handle<5>();
    const Handle<5> reuse = Handle<5>::Make(Record<5>{-1});
    EXPECT_EQ(reuse.GetObject(), freedSecond);
    const Handle<5> reuseAgain = Handle<5>::Make(Record<5>{-2});
    EXPECT_EQ(reuseAgain.GetObject(), freedFirst);
    EXPECT_EQ(PoolOf<5>().GetBucketCount(), 2u);
}

TEST(StaticObjectPoolShutDown, AHandleReleasedAfterItsPoolIsGoneDoesNothing)
{
    EXPECT_FALSE(Qel::impl::StaticObjectPool<Record<9>>::IsShutDown());
    theHandleOutlivingItsPool.emplace(Handle<9>::Make(Record<9>{1}));
    EXPECT_EQ(theHandleOutlivingItsPool->GetReferenceCount(), 1u);
    // Its release runs at exit, after the pool's destructor; the sanitizers check that it touches nothing.
}

TEST(StaticObjectPoolThreads, CopiesOnSeveralThreadsKeepCountsExact)
{
    const Handle<6> shared = Handle<6>::Make(Record<6>{42});
    constexpr int THREAD_COUNT = 4;
    std::vector<std::thread> threads;
    for (int thread = 0; thread < THREAD_COUNT; ++thread)
    {
        threads.emplace_back(
            [&shared]
            {
                for (int round = 0; round < 2000; ++round)
                {
                    Handle<6> copy = shared;
                    Handle<6> fresh = Handle<6>::Make(Record<6>{round});
                    fresh.GetMutable().myValue += copy->myValue;
                }
            });
    }
    for (std::thread& thread : threads)
    {
        thread.join();
    }
    EXPECT_EQ(shared.GetReferenceCount(), 1u);
    EXPECT_EQ(PoolOf<6>().GetLiveObjectCount(), 1u);
}
