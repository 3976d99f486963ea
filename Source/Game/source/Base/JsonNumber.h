// Json numbers as the game's own files give them: a json number may lie far beyond what a float or an
// int holds, and converting it as it is would give an infinity or undefined behaviour.
#pragma once

#include <nlohmann/json.hpp>

// Beyond a float's range the number stands at the largest float of its sign.
float JsonNumberToFloat(const nlohmann::json& aNumber);
// Integers as they are, fractions cut toward zero; both kept within int.
int JsonNumberToInt(const nlohmann::json& aNumber);
