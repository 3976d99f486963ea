// A two-pointer handle (bucket, object) to a value record in its type's static pool.
//
// Copies share the object and add one reference; a moved-from handle keeps its value, as a copy would.
// Writers go through GetMutable, which clones the object first when any other handle still shares it,
// so the pinned default object is never written. Thread rules are the pool's.
#pragma once

#include "vek/scene/StaticObjectPool.h"

namespace Qel
{
template <typename T>
class CopyOnWriteWrapper
{
public:
    using Pool = impl::StaticObjectPool<T>;

    // The shared default object; no count changes.
    CopyOnWriteWrapper() : CopyOnWriteWrapper(Pool::GetInstance().GetDefault()) {}

    // A handle to a fresh private object holding aValue.
    static CopyOnWriteWrapper Make(const T& aValue)
    {
        return CopyOnWriteWrapper(Pool::GetInstance().Allocate(aValue));
    }

    CopyOnWriteWrapper(const CopyOnWriteWrapper& aOther)
        : myBucket(aOther.myBucket), myObject(aOther.myObject)
    {
        Pool::GetInstance().AddReference(myBucket, myObject);
    }
    CopyOnWriteWrapper(CopyOnWriteWrapper&& aOther) noexcept
        : CopyOnWriteWrapper(static_cast<const CopyOnWriteWrapper&>(aOther))
    {
    }
    CopyOnWriteWrapper& operator=(const CopyOnWriteWrapper& aOther)
    {
        if (myObject != aOther.myObject)
        {
            Pool::GetInstance().AddReference(aOther.myBucket, aOther.myObject);
            Pool::Release(myBucket, myObject);
            myBucket = aOther.myBucket;
            myObject = aOther.myObject;
        }
        return *this;
    }
    CopyOnWriteWrapper& operator=(CopyOnWriteWrapper&& aOther) noexcept
    {
        return *this = static_cast<const CopyOnWriteWrapper&>(aOther);
    }
    ~CopyOnWriteWrapper() { Pool::Release(myBucket, myObject); }

    // A handle that refers to nothing reads as the default value.
    const T& Get() const { return myObject != nullptr ? *myObject : Pool::GetInstance().GetDefaultObject(); }
    const T& operator*() const { return Get(); }
    const T* operator->() const { return &Get(); }

    T& GetMutable()
    {
        Pool::GetInstance().MakeUnique(myBucket, myObject);
        return *myObject;
    }

    impl::StaticPoolBucketBase* GetBucket() const { return myBucket; }
    const T* GetObject() const { return myObject; }
    std::uint32_t GetReferenceCount() const
    {
        return Pool::GetInstance().GetReferenceCount(myBucket, myObject);
    }

private:
    // Takes over the slot's reference.
    explicit CopyOnWriteWrapper(impl::PoolSlot aSlot)
        : myBucket(aSlot.myBucket), myObject(static_cast<T*>(aSlot.myObject))
    {
    }

    impl::StaticPoolBucketBase* myBucket = nullptr;
    T* myObject = nullptr;
};
} // namespace Qel
