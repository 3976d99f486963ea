#include "vek/scene/PropertyJson.h"

#include "vek/stringRegistry/StringRegistry.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <utility>

namespace Qel::impl
{
namespace
{
constexpr auto INT_MIN_VALUE = std::numeric_limits<std::int32_t>::min();
constexpr auto INT_MAX_VALUE = std::numeric_limits<std::int32_t>::max();

std::int32_t Saturated(std::int32_t aValue, const nlohmann::json& aJson)
{
    std::printf("[Property] The Int value %s is out of range and was saturated to %d\n", aJson.dump().c_str(),
                aValue);
    return aValue;
}
} // namespace

bool ReadBoolJson(const nlohmann::json& aJson)
{
    return aJson.get<bool>();
}

std::int32_t ReadIntJson(const nlohmann::json& aJson)
{
    switch (aJson.type())
    {
    case nlohmann::json::value_t::boolean:
        return aJson.get<bool>() ? 1 : 0;
    case nlohmann::json::value_t::number_integer:
    {
        const auto value = aJson.get<std::int64_t>();
        if (value < INT_MIN_VALUE || value > INT_MAX_VALUE)
        {
            return Saturated(value < 0 ? INT_MIN_VALUE : INT_MAX_VALUE, aJson);
        }
        return static_cast<std::int32_t>(value);
    }
    case nlohmann::json::value_t::number_unsigned:
    {
        const auto value = aJson.get<std::uint64_t>();
        return value > static_cast<std::uint64_t>(INT_MAX_VALUE) ? Saturated(INT_MAX_VALUE, aJson)
                                                                 : static_cast<std::int32_t>(value);
    }
    case nlohmann::json::value_t::number_float:
    {
        const double value = std::trunc(aJson.get<double>());
        if (std::isnan(value))
        {
            return Saturated(0, aJson);
        }
        if (value < static_cast<double>(INT_MIN_VALUE) || value > static_cast<double>(INT_MAX_VALUE))
        {
            return Saturated(value < 0.0 ? INT_MIN_VALUE : INT_MAX_VALUE, aJson);
        }
        return static_cast<std::int32_t>(value);
    }
    default:
        // The library's own "type must be number, but is ..." error.
        return aJson.get<std::int32_t>();
    }
}

float ReadFloatJson(const nlohmann::json& aJson)
{
    if (aJson.is_number_float())
    {
        constexpr double FLOAT_MAX = std::numeric_limits<float>::max();
        const double value = aJson.get<double>();
        if (std::isfinite(value) && std::abs(value) > FLOAT_MAX)
        {
            return static_cast<float>(value < 0.0 ? -FLOAT_MAX : FLOAT_MAX);
        }
        return static_cast<float>(value);
    }
    return aJson.get<float>();
}

void RequireArrayJson(const nlohmann::json& aJson)
{
    if (!aJson.is_array())
    {
        throw nlohmann::json::type_error::create(
            302, std::string("type must be array, but is ") + aJson.type_name(), &aJson);
    }
}

void ReadFloatsJson(const nlohmann::json& aJson, float* aOut, std::size_t aCount)
{
    if (!aJson.is_array())
    {
        // Indexing the constant json raises the library's 305 for anything but an array.
        static_cast<void>(std::as_const(aJson)[0]);
    }
    for (std::size_t index = 0; index < aCount; ++index)
    {
        aOut[index] = ReadFloatJson(aJson.at(index));
    }
}

void ReadFloatArrayJson(const nlohmann::json& aJson, float* aOut, std::size_t aCount)
{
    RequireArrayJson(aJson);
    ReadFloatsJson(aJson, aOut, aCount);
}

StringId ReadStringIdJson(const nlohmann::json& aJson)
{
    if (aJson.is_string())
    {
        return StringRegistry::RegisterOrGetString(aJson.get_ref<const std::string&>());
    }
    // The library's own "type must be string, but is ..." error.
    return StringRegistry::RegisterOrGetString(aJson.get<std::string>());
}
} // namespace Qel::impl
