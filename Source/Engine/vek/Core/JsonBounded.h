// Json text parsed with a bound on how deeply its arrays and objects nest. The library's parser, the
// value's copies and every later walk of a document (the cache writer among them) recurse once per
// level, so a file nested tens of thousands deep would overflow the stack; no data file of ours
// comes near the bound.
#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <istream>
#include <stdexcept>
#include <string>

namespace Qel::impl
{
inline constexpr std::size_t MAX_JSON_DEPTH = 128;

class JsonTooDeepError : public std::runtime_error
{
public:
    JsonTooDeepError();
};

// One value from [aBegin, aEnd) as the library parses it (its parse errors included). Strict: only
// whitespace may follow the value; otherwise the text after it is not looked at. Throws
// JsonTooDeepError for nesting deeper than MAX_JSON_DEPTH.
nlohmann::json ParseBoundedJson(const char* aBegin, const char* aEnd, bool aStrict);

// What is left of the stream, as text to parse.
std::string ReadRemainingText(std::istream& aStream);
} // namespace Qel::impl
