// A plain two-component vector, by value. Float is the common element type; int and unsigned are
// used for pixel sizes. No state beyond the components, so any thread may use its own copies.
#pragma once

#include <cmath>

namespace Qel
{
template <typename T = float>
struct Vector2
{
    T x{};
    T y{};

    constexpr Vector2() = default;
    constexpr Vector2(T aX, T aY) : x(aX), y(aY) {}
    template <typename U>
    constexpr explicit Vector2(const Vector2<U>& aOther)
        : x(static_cast<T>(aOther.x)), y(static_cast<T>(aOther.y))
    {
    }

    constexpr Vector2& operator+=(const Vector2& aOther)
    {
        x += aOther.x;
        y += aOther.y;
        return *this;
    }
    constexpr Vector2& operator-=(const Vector2& aOther)
    {
        x -= aOther.x;
        y -= aOther.y;
        return *this;
    }
    constexpr Vector2& operator*=(T aScalar)
    {
        x *= aScalar;
        y *= aScalar;
        return *this;
    }
    constexpr Vector2& operator/=(T aScalar)
    {
        x /= aScalar;
        y /= aScalar;
        return *this;
    }

    constexpr T LengthSqr() const { return x * x + y * y; }
    T Length() const { return std::sqrt(LengthSqr()); }
    constexpr T Dot(const Vector2& aOther) const { return x * aOther.x + y * aOther.y; }

    // A zero vector stays zero rather than turning into NaN.
    Vector2 GetNormalized() const
    {
        const T length = Length();
        return length > T{} ? Vector2(x / length, y / length) : Vector2();
    }
    void Normalize() { *this = GetNormalized(); }

    friend constexpr bool operator==(const Vector2&, const Vector2&) = default;
    friend constexpr Vector2 operator+(Vector2 aLeft, const Vector2& aRight) { return aLeft += aRight; }
    friend constexpr Vector2 operator-(Vector2 aLeft, const Vector2& aRight) { return aLeft -= aRight; }
    friend constexpr Vector2 operator-(const Vector2& aVector) { return Vector2(-aVector.x, -aVector.y); }
    friend constexpr Vector2 operator*(Vector2 aVector, T aScalar) { return aVector *= aScalar; }
    friend constexpr Vector2 operator*(T aScalar, Vector2 aVector) { return aVector *= aScalar; }
    friend constexpr Vector2 operator/(Vector2 aVector, T aScalar) { return aVector /= aScalar; }
};
} // namespace Qel
