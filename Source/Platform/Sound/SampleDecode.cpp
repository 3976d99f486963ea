#include "Platform/Sound/SampleDecode.h"

#include "Platform/Files/WholeFile.h"
#include "Platform/Sound/SampleMixer.h"

#include <SDL2/SDL.h>
#include <mpg123.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

namespace Qel
{
namespace
{
constexpr int OUTPUT_CHANNELS = 2;

bool StartsWith(const std::vector<std::uint8_t>& someBytes, const char* aMagic, std::size_t anOffset = 0)
{
    const std::size_t length = std::strlen(aMagic);
    return someBytes.size() >= anOffset + length &&
           std::memcmp(someBytes.data() + anOffset, aMagic, length) == 0;
}

// SDL's converter, as the mixer's loader runs it, to the mixer's format. Takes over someSamples, an
// SDL allocation.
std::optional<DecodedSample> Convert(std::uint8_t* someSamples, std::size_t aLength, SDL_AudioFormat aFormat,
                                     int aChannels, int aRate)
{
    DecodedSample result;
    result.bytes.reset(someSamples);
    SDL_AudioCVT converter;
    const int built = SDL_BuildAudioCVT(&converter, aFormat, static_cast<Uint8>(aChannels), aRate,
                                        AUDIO_S16SYS, OUTPUT_CHANNELS, SampleMixer::FREQUENCY);
    const std::size_t frameBytes = static_cast<std::size_t>(SDL_AUDIO_BITSIZE(aFormat) / 8 * aChannels);
    if (built < 0 || frameBytes == 0 || aLength > static_cast<std::size_t>(INT32_MAX / 8))
    {
        return std::nullopt;
    }
    result.size = aLength - aLength % frameBytes;
    if (built == 0)
    {
        return result;
    }
    auto* buffer =
        static_cast<std::uint8_t*>(SDL_malloc(result.size * static_cast<std::size_t>(converter.len_mult)));
    if (buffer == nullptr)
    {
        return std::nullopt;
    }
    std::memcpy(buffer, result.bytes.get(), result.size);
    result.bytes.reset(buffer);
    converter.buf = buffer;
    converter.len = static_cast<int>(result.size);
    if (SDL_ConvertAudio(&converter) < 0)
    {
        return std::nullopt;
    }
    result.size = static_cast<std::size_t>(converter.len_cvt);
    return result;
}

std::optional<DecodedSample> DecodeWav(const std::vector<std::uint8_t>& someBytes)
{
    SDL_RWops* source = SDL_RWFromConstMem(someBytes.data(), static_cast<int>(someBytes.size()));
    SDL_AudioSpec spec;
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (source == nullptr || SDL_LoadWAV_RW(source, 1, &spec, &samples, &length) == nullptr)
    {
        return std::nullopt;
    }
    return Convert(samples, length, spec.format, spec.channels, spec.freq);
}

std::optional<DecodedSample> DecodeMp3(const std::string& aPath)
{
    // Older libraries want one initialisation before any handle; later ones ignore it.
    static std::once_flag theInit;
    std::call_once(theInit, [] { mpg123_init(); });
    mpg123_handle* handle = mpg123_new(nullptr, nullptr);
    if (handle == nullptr)
    {
        return std::nullopt;
    }
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    // The file's own rate and channels in 16 bits: SDL's converter does the rest, as for a WAV file.
    mpg123_format_none(handle);
    const long* rates = nullptr;
    std::size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (std::size_t index = 0; index < rateCount; ++index)
    {
        mpg123_format(handle, rates[index], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    }
    std::optional<DecodedSample> result;
    if (mpg123_open(handle, aPath.c_str()) == MPG123_OK)
    {
        long rate = 0;
        int channels = 0;
        int encoding = 0;
        // Decoded straight into SDL's allocator, sized from the stream's length, so the PCM is not
        // copied again and its pages are touched once.
        const off_t frames = mpg123_length(handle);
        std::size_t capacity =
            std::max<std::size_t>(frames > 0 ? static_cast<std::size_t>(frames) * 4 : 0, 1 << 20);
        std::unique_ptr<std::uint8_t, SdlFree> pcm(static_cast<std::uint8_t*>(SDL_malloc(capacity)));
        std::size_t size = 0;
        int status = pcm != nullptr ? MPG123_OK : MPG123_ERR;
        while (status == MPG123_OK || status == MPG123_NEW_FORMAT)
        {
            constexpr std::size_t READ_BYTES = 64 * 1024;
            if (capacity - size < READ_BYTES)
            {
                auto* grown = static_cast<std::uint8_t*>(SDL_realloc(pcm.get(), capacity * 2));
                if (grown == nullptr)
                {
                    status = MPG123_ERR;
                    break;
                }
                pcm.release();
                pcm.reset(grown);
                capacity *= 2;
            }
            std::size_t done = 0;
            status = mpg123_read(handle, pcm.get() + size, READ_BYTES, &done);
            size += done;
            if (status == MPG123_NEW_FORMAT)
            {
                mpg123_getformat(handle, &rate, &channels, &encoding);
            }
        }
        if (status == MPG123_DONE && size > 0 && rate > 0 && channels > 0)
        {
            result = Convert(pcm.release(), size, AUDIO_S16SYS, channels, static_cast<int>(rate));
        }
        mpg123_close(handle);
    }
    mpg123_delete(handle);
    return result;
}

bool IsMp3(const std::vector<std::uint8_t>& someBytes)
{
    // An ID3 tag, or an MPEG audio frame sync.
    return StartsWith(someBytes, "ID3") ||
           (someBytes.size() >= 2 && someBytes[0] == 0xFF && (someBytes[1] & 0xE0) == 0xE0);
}
} // namespace

void SdlFree::operator()(std::uint8_t* someBytes) const
{
    SDL_free(someBytes);
}

std::optional<DecodedSample> DecodeSampleFile(const std::string& aPath)
{
    const std::vector<std::uint8_t> bytes = Platform::ReadWholeFile<std::vector<std::uint8_t>>(aPath);
    if (StartsWith(bytes, "RIFF") || StartsWith(bytes, "WAVE"))
    {
        return DecodeWav(bytes);
    }
    if (IsMp3(bytes))
    {
        return DecodeMp3(aPath);
    }
    return std::nullopt;
}
} // namespace Qel
