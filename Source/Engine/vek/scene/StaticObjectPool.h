// Per-type pools of small value records that many holders share by reference count.
//
// Each pool is a process-wide singleton made on first use. It grows in buckets of 1024 objects that
// never move, reuses freed slots last-in first-out, and keeps one shared default object (object 0 of the
// first bucket) whose count is pinned so it is never freed or written. One mutex per pool serialises
// every change of a count or of the free list, so handles may be copied and dropped on any thread;
// the objects themselves are read without the lock, since they never move and readers never write.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <list>
#include <mutex>
#include <stdexcept>
#include <vector>

namespace Qel::impl
{
inline constexpr std::uint32_t POOL_BUCKET_OBJECT_COUNT = 1024;
inline constexpr std::uint32_t PINNED_REFERENCE_COUNT = 0x7FFFFFFF;

class StaticPoolBucketBase;

struct PoolSlot
{
    StaticPoolBucketBase* myBucket = nullptr;
    void* myObject = nullptr;
};

class StaticPoolBucketBase
{
public:
    StaticPoolBucketBase(const StaticPoolBucketBase&) = delete;
    StaticPoolBucketBase& operator=(const StaticPoolBucketBase&) = delete;

    // Both run with the owning pool's lock held.
    virtual void FreeObject(std::uint32_t aIndex) = 0;
    // A new object copying object aIndex, with one reference; then one reference of aIndex is released.
    virtual PoolSlot CloneObject(std::uint32_t aIndex) = 0;
    virtual ~StaticPoolBucketBase() = default;

    std::uint32_t IndexOf(const void* aObject) const
    {
        const auto offset =
            static_cast<const std::byte*>(aObject) - static_cast<const std::byte*>(myFirstObject);
        return static_cast<std::uint32_t>(static_cast<std::size_t>(offset) / myObjectSize);
    }

    void* myFirstObject = nullptr;
    std::uint32_t myObjectSize = 0;
    std::array<std::uint32_t, POOL_BUCKET_OBJECT_COUNT> myReferenceCounts{};

protected:
    explicit StaticPoolBucketBase(std::uint32_t aObjectSize) : myObjectSize(aObjectSize) {}
};

template <typename T>
class StaticObjectPool
{
public:
    static StaticObjectPool& GetInstance()
    {
        static StaticObjectPool pool;
        return pool;
    }

    StaticObjectPool(const StaticObjectPool&) = delete;
    StaticObjectPool& operator=(const StaticObjectPool&) = delete;

    ~StaticObjectPool()
    {
        // Holders destroyed after this point (other statics at exit) must not touch the buckets.
        ourIsShutDown.store(true);
    }

    static bool IsShutDown() { return ourIsShutDown.load(); }

    PoolSlot GetDefault() const { return myDefault; }
    const T& GetDefaultObject() const { return *static_cast<const T*>(myDefault.myObject); }

    // A fresh object holding a copy of aValue, with one reference.
    PoolSlot Allocate(const T& aValue)
    {
        const std::lock_guard lock(myMutex);
        return AllocateLocked(aValue);
    }

    void AddReference(StaticPoolBucketBase* aBucket, const T* aObject)
    {
        if (aBucket == nullptr)
        {
            return;
        }
        const std::lock_guard lock(myMutex);
        std::uint32_t& count = aBucket->myReferenceCounts[aBucket->IndexOf(aObject)];
        if (count != PINNED_REFERENCE_COUNT)
        {
            ++count;
        }
    }

    // Drops one reference; a null bucket, a pinned object or a pool already shut down is left alone.
    static void Release(StaticPoolBucketBase* aBucket, const T* aObject)
    {
        if (aBucket == nullptr || IsShutDown())
        {
            return;
        }
        StaticObjectPool& pool = GetInstance();
        const std::lock_guard lock(pool.myMutex);
        pool.ReleaseLocked(aBucket, aObject);
    }

    // Points the handle (aBucket, aObject) at an object only it uses, cloning a shared or pinned one.
    void MakeUnique(StaticPoolBucketBase*& aBucket, T*& aObject)
    {
        const std::lock_guard lock(myMutex);
        if (aBucket == nullptr)
        {
            const PoolSlot slot = AllocateLocked(GetDefaultObject());
            aBucket = slot.myBucket;
            aObject = static_cast<T*>(slot.myObject);
            return;
        }
        const std::uint32_t index = aBucket->IndexOf(aObject);
        if (static_cast<std::int32_t>(aBucket->myReferenceCounts[index]) < 2)
        {
            return;
        }
        const PoolSlot slot = aBucket->CloneObject(index);
        aBucket = slot.myBucket;
        aObject = static_cast<T*>(slot.myObject);
    }

    void AddBucket()
    {
        const std::lock_guard lock(myMutex);
        AddBucketLocked();
    }

    std::uint32_t GetReferenceCount(const StaticPoolBucketBase* aBucket, const T* aObject) const
    {
        if (aBucket == nullptr)
        {
            return 0;
        }
        const std::lock_guard lock(myMutex);
        return aBucket->myReferenceCounts[aBucket->IndexOf(aObject)];
    }

    std::size_t GetBucketCount() const
    {
        const std::lock_guard lock(myMutex);
        return myBuckets.size();
    }

    // Objects with at least one reference, the pinned default left out.
    std::size_t GetLiveObjectCount() const
    {
        const std::lock_guard lock(myMutex);
        std::size_t live = 0;
        for (const Bucket& bucket : myBuckets)
        {
            for (const std::uint32_t count : bucket.myReferenceCounts)
            {
                live += (count != 0 && count != PINNED_REFERENCE_COUNT) ? 1 : 0;
            }
        }
        return live;
    }

private:
    class Bucket final : public StaticPoolBucketBase
    {
    public:
        explicit Bucket(StaticObjectPool& aPool) : StaticPoolBucketBase(sizeof(T)), myPool(aPool)
        {
            myFirstObject = myObjects.data();
        }

        void FreeObject(std::uint32_t aIndex) override
        {
            myPool.myFreeList.push_back(PoolSlot{this, &myObjects[aIndex]});
        }

        PoolSlot CloneObject(std::uint32_t aIndex) override
        {
            const PoolSlot copy = myPool.AllocateLocked(myObjects[aIndex]);
            myPool.ReleaseLocked(this, &myObjects[aIndex]);
            return copy;
        }

        StaticObjectPool& myPool;
        std::array<T, POOL_BUCKET_OBJECT_COUNT> myObjects{};
    };

    StaticObjectPool()
    {
        AddBucketLocked();
        Bucket& first = myBuckets.front();
        first.myReferenceCounts[0] = PINNED_REFERENCE_COUNT;
        myHandedOutFromNewest = 1;
        // Set once here, so readers of the default need no lock.
        myDefault = PoolSlot{&first, &first.myObjects[0]};
    }

    void AddBucketLocked()
    {
        if (myBuckets.size() >= myBuckets.max_size())
        {
            throw std::length_error("list too long");
        }
        myBuckets.emplace_back(*this);
        myHandedOutFromNewest = 0;
    }

    PoolSlot AllocateLocked(const T& aValue)
    {
        PoolSlot slot;
        if (!myFreeList.empty())
        {
            slot = myFreeList.back();
            myFreeList.pop_back();
        }
        else
        {
            if (myHandedOutFromNewest == POOL_BUCKET_OBJECT_COUNT)
            {
                AddBucketLocked();
            }
            Bucket& newest = myBuckets.back();
            slot = PoolSlot{&newest, &newest.myObjects[myHandedOutFromNewest]};
            ++myHandedOutFromNewest;
        }
        *static_cast<T*>(slot.myObject) = aValue;
        slot.myBucket->myReferenceCounts[slot.myBucket->IndexOf(slot.myObject)] = 1;
        return slot;
    }

    void ReleaseLocked(StaticPoolBucketBase* aBucket, const T* aObject)
    {
        const std::uint32_t index = aBucket->IndexOf(aObject);
        std::uint32_t& count = aBucket->myReferenceCounts[index];
        if (count == PINNED_REFERENCE_COUNT || count == 0)
        {
            return;
        }
        if (--count == 0)
        {
            aBucket->FreeObject(index);
        }
    }

    mutable std::mutex myMutex;
    std::list<Bucket> myBuckets;
    std::vector<PoolSlot> myFreeList;
    std::uint32_t myHandedOutFromNewest = 0;
    PoolSlot myDefault;
    static inline std::atomic<bool> ourIsShutDown{false};
};
} // namespace Qel::impl
