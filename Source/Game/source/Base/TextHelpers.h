// The text helpers of tag and key lookup, shared by the builders and the mesh texture choice.
#pragma once

#include <string>

std::string ToLowerCopy(std::string aText);
// Without the leading and trailing characters isspace accepts.
std::string TrimCopy(std::string aText);
