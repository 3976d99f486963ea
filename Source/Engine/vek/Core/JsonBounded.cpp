#include "vek/Core/JsonBounded.h"

#include <array>
#include <string>

namespace Qel::impl
{
namespace
{
using Json = nlohmann::json;

// The library's own document builder, counting the open arrays and objects as it goes.
class BoundedBuilder : public nlohmann::detail::json_sax_dom_parser<Json>
{
public:
    using json_sax_dom_parser::json_sax_dom_parser;

    bool start_object(std::size_t aCount)
    {
        Enter();
        return json_sax_dom_parser::start_object(aCount);
    }

    bool end_object()
    {
        --myDepth;
        return json_sax_dom_parser::end_object();
    }

    bool start_array(std::size_t aCount)
    {
        Enter();
        return json_sax_dom_parser::start_array(aCount);
    }

    bool end_array()
    {
        --myDepth;
        return json_sax_dom_parser::end_array();
    }

private:
    void Enter()
    {
        if (++myDepth > MAX_JSON_DEPTH)
        {
            throw JsonTooDeepError();
        }
    }

    std::size_t myDepth = 0;
};
} // namespace

JsonTooDeepError::JsonTooDeepError()
    : std::runtime_error("the json nests deeper than " + std::to_string(MAX_JSON_DEPTH) + " levels")
{
}

Json ParseBoundedJson(const char* aBegin, const char* aEnd, bool aStrict)
{
    Json json;
    BoundedBuilder builder(json, true);
    Json::sax_parse(aBegin, aEnd, &builder, Json::input_format_t::json, aStrict);
    return json;
}

std::string ReadRemainingText(std::istream& aStream)
{
    std::string text;
    std::array<char, 16384> buffer;
    while (aStream.read(buffer.data(), buffer.size()) || aStream.gcount() > 0)
    {
        text.append(buffer.data(), static_cast<std::size_t>(aStream.gcount()));
    }
    return text;
}
} // namespace Qel::impl
