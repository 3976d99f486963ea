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

} // namespace

IntConversion IntFromSigned(std::int64_t aValue)
{
    if (aValue < INT_MIN_VALUE || aValue > INT_MAX_VALUE)
    {
        return {aValue < 0 ? INT_MIN_VALUE : INT_MAX_VALUE, true};
    }
    return {static_cast<std::int32_t>(aValue), false};
}

IntConversion IntFromUnsigned(std::uint64_t aValue)
{
    if (aValue > static_cast<std::uint64_t>(INT_MAX_VALUE))
    {
        return {INT_MAX_VALUE, true};
    }
    return {static_cast<std::int32_t>(aValue), false};
}

IntConversion IntFromDouble(double aValue)
{
    const double value = std::trunc(aValue);
    if (std::isnan(value))
    {
        return {0, true};
    }
    if (value < static_cast<double>(INT_MIN_VALUE) || value > static_cast<double>(INT_MAX_VALUE))
    {
        return {value < 0.0 ? INT_MIN_VALUE : INT_MAX_VALUE, true};
    }
    return {static_cast<std::int32_t>(value), false};
}

std::int32_t ReportSaturatedInt(const IntConversion& aConversion, std::string_view aJsonText)
{
    std::printf("[Property] The Int value %.*s is out of range and was saturated to %d\n",
                static_cast<int>(aJsonText.size()), aJsonText.data(), aConversion.myValue);
    return aConversion.myValue;
}

float FloatFromDouble(double aValue)
{
    constexpr double FLOAT_MAX = std::numeric_limits<float>::max();
    if (std::isfinite(aValue) && std::abs(aValue) > FLOAT_MAX)
    {
        return static_cast<float>(aValue < 0.0 ? -FLOAT_MAX : FLOAT_MAX);
    }
    return static_cast<float>(aValue);
}

bool ReadBoolJson(const nlohmann::json& aJson)
{
    return aJson.get<bool>();
}

std::int32_t ReadIntJson(const nlohmann::json& aJson)
{
    IntConversion conversion;
    switch (aJson.type())
    {
    case nlohmann::json::value_t::boolean:
        return aJson.get<bool>() ? 1 : 0;
    case nlohmann::json::value_t::number_integer:
        conversion = IntFromSigned(aJson.get<std::int64_t>());
        break;
    case nlohmann::json::value_t::number_unsigned:
        conversion = IntFromUnsigned(aJson.get<std::uint64_t>());
        break;
    case nlohmann::json::value_t::number_float:
        conversion = IntFromDouble(aJson.get<double>());
        break;
    default:
        // The library's own "type must be number, but is ..." error.
        return aJson.get<std::int32_t>();
    }
    return conversion.mySaturated ? ReportSaturatedInt(conversion, aJson.dump()) : conversion.myValue;
}

float ReadFloatJson(const nlohmann::json& aJson)
{
    return aJson.is_number_float() ? FloatFromDouble(aJson.get<double>()) : aJson.get<float>();
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
