#include "Support/ToneWave.h"

#include <cmath>
#include <cstdint>
#include <fstream>
#include <numbers>

namespace QelTest
{
namespace
{
void AppendLittleEndian(std::string& aOut, std::uint32_t aValue, int aBytes)
{
    for (int byte = 0; byte < aBytes; ++byte)
    {
        aOut.push_back(static_cast<char>((aValue >> (8 * byte)) & 0xFFu));
    }
}
} // namespace

std::string MakeToneWav(const ToneSpec& aSpec)
{
    const auto frames = static_cast<std::uint32_t>(std::lround(aSpec.mySeconds * aSpec.mySampleRate));
    const std::uint32_t dataBytes = frames * 2;
    const auto rate = static_cast<std::uint32_t>(aSpec.mySampleRate);

    std::string out;
    out.reserve(44 + dataBytes);
    out += "RIFF";
    AppendLittleEndian(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    AppendLittleEndian(out, 16, 4); // format chunk size
    AppendLittleEndian(out, 1, 2);  // PCM
    AppendLittleEndian(out, 1, 2);  // mono
    AppendLittleEndian(out, rate, 4);
    AppendLittleEndian(out, rate * 2, 4); // bytes per second
    AppendLittleEndian(out, 2, 2);        // block align
    AppendLittleEndian(out, 16, 2);       // bits per sample
    out += "data";
    AppendLittleEndian(out, dataBytes, 4);
    for (std::uint32_t frame = 0; frame < frames; ++frame)
    {
        const double phase = 2.0 * std::numbers::pi * aSpec.myFrequency * frame / aSpec.mySampleRate;
        const auto value =
            static_cast<std::int16_t>(std::lround(32767.0 * aSpec.myAmplitude * std::sin(phase)));
        AppendLittleEndian(out, static_cast<std::uint16_t>(value), 2);
    }
    return out;
}
std::size_t CountHeardSamples(const std::filesystem::path& aFile)
{
    std::ifstream in(aFile, std::ios::binary);
    std::size_t count = 0;
    std::int16_t sample = 0;
    while (in.read(reinterpret_cast<char*>(&sample), sizeof(sample)))
    {
        count += sample != 0 ? 1u : 0u;
    }
    return count;
}
} // namespace QelTest
