// A plain four-component vector, by value: homogeneous points and rows of a matrix. No shared state.
#pragma once

#include <cmath>

namespace Qel
{
template <typename T = float>
struct Vector4
{
    T x{};
    T y{};
    T z{};
    T w{};

    constexpr Vector4() = default;
    constexpr Vector4(T aX, T aY, T aZ, T aW) : x(aX), y(aY), z(aZ), w(aW) {}
    template <typename U>
    constexpr explicit Vector4(const Vector4<U>& aOther)
        : x(static_cast<T>(aOther.x)), y(static_cast<T>(aOther.y)), z(static_cast<T>(aOther.z)),
          w(static_cast<T>(aOther.w))
    {
    }

    constexpr Vector4& operator+=(const Vector4& aOther)
    {
        x += aOther.x;
        y += aOther.y;
        z += aOther.z;
        w += aOther.w;
        return *this;
    }
    constexpr Vector4& operator-=(const Vector4& aOther)
    {
        x -= aOther.x;
        y -= aOther.y;
        z -= aOther.z;
        w -= aOther.w;
        return *this;
    }
    constexpr Vector4& operator*=(T aScalar)
    {
        x *= aScalar;
        y *= aScalar;
        z *= aScalar;
        w *= aScalar;
        return *this;
    }
    constexpr Vector4& operator/=(T aScalar)
    {
        x /= aScalar;
        y /= aScalar;
        z /= aScalar;
        w /= aScalar;
        return *this;
    }

    constexpr T LengthSqr() const { return x * x + y * y + z * z + w * w; }
    T Length() const { return std::sqrt(LengthSqr()); }
    constexpr T Dot(const Vector4& aOther) const
    {
        return x * aOther.x + y * aOther.y + z * aOther.z + w * aOther.w;
    }

    // A zero vector stays zero rather than turning into NaN.
    Vector4 GetNormalized() const
    {
        const T length = Length();
        return length > T{} ? Vector4(x / length, y / length, z / length, w / length) : Vector4();
    }
    void Normalize() { *this = GetNormalized(); }

    friend constexpr bool operator==(const Vector4&, const Vector4&) = default;
    friend constexpr Vector4 operator+(Vector4 aLeft, const Vector4& aRight) { return aLeft += aRight; }
    friend constexpr Vector4 operator-(Vector4 aLeft, const Vector4& aRight) { return aLeft -= aRight; }
    friend constexpr Vector4 operator-(const Vector4& aVector)
    {
        return Vector4(-aVector.x, -aVector.y, -aVector.z, -aVector.w);
    }
    friend constexpr Vector4 operator*(Vector4 aVector, T aScalar) { return aVector *= aScalar; }
    friend constexpr Vector4 operator*(T aScalar, Vector4 aVector) { return aVector *= aScalar; }
    friend constexpr Vector4 operator/(Vector4 aVector, T aScalar) { return aVector /= aScalar; }
};
} // namespace Qel
