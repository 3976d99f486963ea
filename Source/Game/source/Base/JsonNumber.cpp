#include "Base/JsonNumber.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>

float JsonNumberToFloat(const nlohmann::json& aNumber)
{
    constexpr double LARGEST = std::numeric_limits<float>::max();
    const double value = aNumber.get<double>();
    return std::isnan(value) ? 0.0f : static_cast<float>(std::clamp(value, -LARGEST, LARGEST));
}

int JsonNumberToInt(const nlohmann::json& aNumber)
{
    if (aNumber.is_number_unsigned())
    {
        return static_cast<int>(std::min<std::uint64_t>(aNumber.get<std::uint64_t>(), INT_MAX));
    }
    if (aNumber.is_number_integer())
    {
        return static_cast<int>(std::clamp<std::int64_t>(aNumber.get<std::int64_t>(), INT_MIN, INT_MAX));
    }
    const double value = std::trunc(aNumber.get<double>());
    if (std::isnan(value))
    {
        return 0;
    }
    return static_cast<int>(std::clamp(value, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}
