// The text form of FBX: "Name: value, value {" lines with nested blocks, ';' comments and arrays
// written as "*N { a: ... }". It fills the same record tree as the binary form; array values keep
// their text, which DecodeArray parses on request.
#include "Platform/Fbx/FbxRecords.h"

#include <charconv>

namespace Qel::Fbx
{
namespace
{
constexpr int MAX_DEPTH = 64;

class TextParser
{
public:
    explicit TextParser(std::string_view aText) : myText(aText) {}

    bool ReadList(std::vector<Record>& aOut, int aDepth, std::string& aError)
    {
        if (aDepth > MAX_DEPTH)
        {
            aError = "records are nested too deeply";
            return false;
        }
        while (true)
        {
            SkipSpace(true);
            if (AtEnd())
            {
                if (aDepth > 0)
                {
                    aError = "a block is not closed";
                    return false;
                }
                return true;
            }
            if (Peek() == '}')
            {
                if (aDepth == 0)
                {
                    aError = "a block is closed that was never opened";
                    return false;
                }
                ++myOffset;
                return true;
            }
            Record& record = aOut.emplace_back();
            if (!ReadName(record.name, aError) || !ReadValues(record, aDepth, aError))
            {
                return false;
            }
        }
    }

private:
    bool AtEnd() const { return myOffset >= myText.size(); }
    char Peek() const { return myText[myOffset]; }

    // Skips blanks and comments; with aLines also line breaks.
    void SkipSpace(bool aLines)
    {
        while (!AtEnd())
        {
            const char c = Peek();
            if (c == ';')
            {
                while (!AtEnd() && Peek() != '\n')
                {
                    ++myOffset;
                }
            }
            else if (c == ' ' || c == '\t' || (aLines && (c == '\n' || c == '\r')))
            {
                ++myOffset;
            }
            else
            {
                return;
            }
        }
    }

    bool ReadName(std::string_view& aName, std::string& aError)
    {
        const size_t start = myOffset;
        while (!AtEnd() && Peek() != ':' && Peek() != '\n' && Peek() != '{' && Peek() != '}')
        {
            ++myOffset;
        }
        if (AtEnd() || Peek() != ':' || myOffset == start)
        {
            aError = "a line does not start with a record name";
            return false;
        }
        aName = myText.substr(start, myOffset - start);
        ++myOffset;
        return true;
    }

    bool ReadValues(Record& aRecord, int aDepth, std::string& aError)
    {
        while (true)
        {
            SkipSpace(false);
            if (AtEnd() || Peek() == '\n' || Peek() == '\r' || Peek() == '}')
            {
                return true;
            }
            if (Peek() == '{')
            {
                ++myOffset;
                return ReadList(aRecord.children, aDepth + 1, aError);
            }
            RecordValue& value = aRecord.values.emplace_back();
            if (!(Peek() == '*' ? ReadArray(value, aError) : ReadScalar(value, aError)))
            {
                return false;
            }
            SkipSpace(false);
            if (!AtEnd() && Peek() == ',')
            {
                ++myOffset;
                SkipSpace(true); // a value list may go on on the next line
            }
        }
    }

    bool ReadScalar(RecordValue& aValue, std::string& aError)
    {
        if (Peek() == '"')
        {
            const size_t close = myText.find('"', myOffset + 1);
            if (close == std::string_view::npos)
            {
                aError = "a string is not closed";
                return false;
            }
            aValue.type = 'S';
            aValue.text = myText.substr(myOffset + 1, close - myOffset - 1);
            myOffset = close + 1;
            return true;
        }
        const size_t start = myOffset;
        while (!AtEnd() && Peek() != ',' && Peek() != '\n' && Peek() != '\r' && Peek() != '{' &&
               Peek() != '}' && Peek() != ' ' && Peek() != '\t' && Peek() != ';')
        {
            ++myOffset;
        }
        const std::string_view token = myText.substr(start, myOffset - start);
        if (token.empty())
        {
            aError = "a value is missing";
            return false;
        }
        if (token.find_first_of(".eE") == std::string_view::npos)
        {
            int64_t integer = 0;
            const auto [end, status] = std::from_chars(token.data(), token.data() + token.size(), integer);
            if (status == std::errc{} && end == token.data() + token.size())
            {
                aValue.type = 'L';
                aValue.integer = integer;
                return true;
            }
        }
        double real = 0.0;
        const auto [end, status] = std::from_chars(token.data(), token.data() + token.size(), real);
        if (status == std::errc{} && end == token.data() + token.size())
        {
            aValue.type = 'D';
            aValue.real = real;
            return true;
        }
        // A bare word such as the T or F of a flag.
        aValue.type = 'S';
        aValue.text = token;
        return true;
    }

    bool ReadArray(RecordValue& aValue, std::string& aError)
    {
        ++myOffset; // '*'
        const size_t start = myOffset;
        while (!AtEnd() && Peek() >= '0' && Peek() <= '9')
        {
            ++myOffset;
        }
        uint32_t count = 0;
        const auto [end, status] = std::from_chars(myText.data() + start, myText.data() + myOffset, count);
        const bool counted = status == std::errc{} && end == myText.data() + myOffset;
        SkipSpace(true);
        if (!counted || AtEnd() || Peek() != '{')
        {
            aError = "an array has no element count or block";
            return false;
        }
        ++myOffset;
        SkipSpace(true);
        const size_t body = myText.find('}', myOffset);
        if (body == std::string_view::npos)
        {
            aError = "an array block is not closed";
            return false;
        }
        std::string_view content = myText.substr(myOffset, body - myOffset);
        if (content.starts_with("a:"))
        {
            content.remove_prefix(2);
        }
        aValue.type = 'a';
        aValue.arrayLength = count;
        aValue.text = content;
        myOffset = body + 1;
        return true;
    }

    std::string_view myText;
    size_t myOffset = 0;
};
} // namespace

bool ParseTextRecords(std::span<const uint8_t> aBytes, Record& aRoot, std::string& aError)
{
    aRoot = Record{};
    TextParser parser({reinterpret_cast<const char*>(aBytes.data()), aBytes.size()});
    return parser.ReadList(aRoot.children, 0, aError);
}

bool DecodeTextArray(const RecordValue& aValue, std::vector<double>& aOut, std::string& aError)
{
    aOut.clear();
    aOut.reserve(std::min<size_t>(aValue.arrayLength, aValue.text.size()));
    const char* cursor = aValue.text.data();
    const char* const end = cursor + aValue.text.size();
    while (cursor < end)
    {
        while (cursor < end &&
               (*cursor == ',' || *cursor == ' ' || *cursor == '\t' || *cursor == '\n' || *cursor == '\r'))
        {
            ++cursor;
        }
        if (cursor == end)
        {
            break;
        }
        double value = 0.0;
        const auto [next, status] = std::from_chars(cursor, end, value);
        if (status != std::errc{})
        {
            aError = "an array holds something that is not a number";
            return false;
        }
        aOut.push_back(value);
        cursor = next;
    }
    if (aOut.size() != aValue.arrayLength)
    {
        aError = "an array holds another number of elements than it says";
        return false;
    }
    return true;
}
} // namespace Qel::Fbx
