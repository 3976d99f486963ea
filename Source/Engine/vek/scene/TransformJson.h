// Json readers of an object's transform parts, for the level-data and cache loaders.
//
// The json must be an array (else type_error 302); the first 16 (or 3) elements are read as "Float"
// values with bounds checks (a short array raises out_of_range 401); further elements are ignored.
#pragma once

#include "vek/Math/Matrix4x4.h"
#include "vek/Math/Vector3.h"

#include <nlohmann/json_fwd.hpp>

namespace Qel
{
// Fills the sixteen floats in the matrix's memory order, row by row.
void MatrixFromJson(const nlohmann::json& aJson, Matrix4x4& aOut);
void Vector3FromJson(const nlohmann::json& aJson, Vector3<float>& aOut);
} // namespace Qel
