// Json readers shared by the property value types and the scene's transform readers.
//
// Every rejection is the json library's own exception: type_error 302 for a value of the wrong kind,
// 305 for indexing a non-array where a vector is expected, out_of_range 401 for a short array.
// Pure functions; interning goes through the locked string registry.
#pragma once

#include "vek/stringRegistry/StringId.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace Qel::impl
{
// The number conversions of "Int" and "Float", shared by every json reader: truncation toward zero,
// and saturation where a value does not fit (NaN gives 0). A reader logs a saturated Int with
// ReportSaturatedInt, giving the value's json text.
struct IntConversion
{
    std::int32_t myValue = 0;
    bool mySaturated = false;
};
IntConversion IntFromSigned(std::int64_t aValue);
IntConversion IntFromUnsigned(std::uint64_t aValue);
IntConversion IntFromDouble(double aValue);
std::int32_t ReportSaturatedInt(const IntConversion& aConversion, std::string_view aJsonText);
float FloatFromDouble(double aValue);

bool ReadBoolJson(const nlohmann::json& aJson);
// A boolean, an integer or a floating number (truncated toward zero); values outside 32 bits saturate.
std::int32_t ReadIntJson(const nlohmann::json& aJson);
// A boolean, an integer or a floating number; a finite number beyond float's range saturates.
float ReadFloatJson(const nlohmann::json& aJson);
// Elements 0 .. aCount-1 of a json array, each read as ReadFloatJson; a non-array raises 305.
void ReadFloatsJson(const nlohmann::json& aJson, float* aOut, std::size_t aCount);
// As ReadFloatsJson, but a non-array raises 302 "type must be array, but is ".
void ReadFloatArrayJson(const nlohmann::json& aJson, float* aOut, std::size_t aCount);
// A json string, interned; an empty string gives the null id.
StringId ReadStringIdJson(const nlohmann::json& aJson);
// Raises 302 "type must be array, but is " unless aJson is an array.
void RequireArrayJson(const nlohmann::json& aJson);
} // namespace Qel::impl
