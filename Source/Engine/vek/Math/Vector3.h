// A plain three-component vector, by value: positions, directions, Euler angles and scales. The
// scene properties name it CommonUtilities::Vector3, which is the same type. No shared state.
#pragma once

#include <cmath>

namespace Qel
{
template <typename T = float>
struct Vector3
{
    T x{};
    T y{};
    T z{};

    constexpr Vector3() = default;
    constexpr Vector3(T aX, T aY, T aZ) : x(aX), y(aY), z(aZ) {}
    template <typename U>
    constexpr explicit Vector3(const Vector3<U>& aOther)
        : x(static_cast<T>(aOther.x)), y(static_cast<T>(aOther.y)), z(static_cast<T>(aOther.z))
    {
    }

    constexpr Vector3& operator+=(const Vector3& aOther)
    {
        x += aOther.x;
        y += aOther.y;
        z += aOther.z;
        return *this;
    }
    constexpr Vector3& operator-=(const Vector3& aOther)
    {
        x -= aOther.x;
        y -= aOther.y;
        z -= aOther.z;
        return *this;
    }
    constexpr Vector3& operator*=(T aScalar)
    {
        x *= aScalar;
        y *= aScalar;
        z *= aScalar;
        return *this;
    }
    constexpr Vector3& operator/=(T aScalar)
    {
        x /= aScalar;
        y /= aScalar;
        z /= aScalar;
        return *this;
    }

    constexpr T LengthSqr() const { return x * x + y * y + z * z; }
    T Length() const { return std::sqrt(LengthSqr()); }
    constexpr T Dot(const Vector3& aOther) const { return x * aOther.x + y * aOther.y + z * aOther.z; }
    constexpr Vector3 Cross(const Vector3& aOther) const
    {
        return Vector3(y * aOther.z - z * aOther.y, z * aOther.x - x * aOther.z, x * aOther.y - y * aOther.x);
    }

    // A zero vector stays zero rather than turning into NaN.
    Vector3 GetNormalized() const
    {
        const T length = Length();
        return length > T{} ? Vector3(x / length, y / length, z / length) : Vector3();
    }
    void Normalize() { *this = GetNormalized(); }

    friend constexpr bool operator==(const Vector3&, const Vector3&) = default;
    friend constexpr Vector3 operator+(Vector3 aLeft, const Vector3& aRight) { return aLeft += aRight; }
    friend constexpr Vector3 operator-(Vector3 aLeft, const Vector3& aRight) { return aLeft -= aRight; }
    friend constexpr Vector3 operator-(const Vector3& aVector)
    {
        return Vector3(-aVector.x, -aVector.y, -aVector.z);
    }
    friend constexpr Vector3 operator*(Vector3 aVector, T aScalar) { return aVector *= aScalar; }
    friend constexpr Vector3 operator*(T aScalar, Vector3 aVector) { return aVector *= aScalar; }
    friend constexpr Vector3 operator/(Vector3 aVector, T aScalar) { return aVector /= aScalar; }
};
} // namespace Qel

namespace CommonUtilities
{
template <typename T = float>
using Vector3 = Qel::Vector3<T>;
} // namespace CommonUtilities
