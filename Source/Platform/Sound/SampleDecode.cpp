#include "Platform/Sound/SampleDecode.h"

#include "Platform/Files/WholeFile.h"
#include "Platform/Sound/SampleMixer.h"

#include <SDL2/SDL.h>
#include <mpg123.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>
#include <utility>
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

std::optional<DecodedSample> Fail(std::string& aFailure, const std::string& aWhy)
{
    aFailure = aWhy;
    return std::nullopt;
}

// SDL's error text is per thread, so it is read on the thread whose call failed.
std::optional<DecodedSample> FailInSdl(std::string& aFailure, const char* aStep)
{
    return Fail(aFailure, std::string(aStep) + ": " + SDL_GetError());
}

// SDL's converter, as the mixer's loader runs it, to the mixer's format. Takes over someSamples, an
// SDL allocation.
std::optional<DecodedSample> Convert(std::uint8_t* someSamples, std::size_t aLength, SDL_AudioFormat aFormat,
                                     int aChannels, int aRate, std::string& aFailure)
{
    DecodedSample result;
    result.bytes.reset(someSamples);
    SDL_AudioCVT converter;
    const int built = SDL_BuildAudioCVT(&converter, aFormat, static_cast<Uint8>(aChannels), aRate,
                                        AUDIO_S16SYS, OUTPUT_CHANNELS, SampleMixer::FREQUENCY);
    const std::size_t frameBytes = static_cast<std::size_t>(SDL_AUDIO_BITSIZE(aFormat) / 8 * aChannels);
    if (built < 0)
    {
        return FailInSdl(aFailure, "SDL's converter");
    }
    if (frameBytes == 0 || aLength > static_cast<std::size_t>(INT32_MAX / 8))
    {
        return Fail(aFailure, "its sample layout cannot be converted");
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
        return Fail(aFailure, "out of memory");
    }
    std::memcpy(buffer, result.bytes.get(), result.size);
    result.bytes.reset(buffer);
    converter.buf = buffer;
    converter.len = static_cast<int>(result.size);
    if (SDL_ConvertAudio(&converter) < 0)
    {
        return FailInSdl(aFailure, "SDL's converter");
    }
    result.size = static_cast<std::size_t>(converter.len_cvt);
    return result;
}

std::optional<DecodedSample> DecodeWav(const std::vector<std::uint8_t>& someBytes, std::string& aFailure)
{
    SDL_RWops* source = SDL_RWFromConstMem(someBytes.data(), static_cast<int>(someBytes.size()));
    SDL_AudioSpec spec;
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (source == nullptr || SDL_LoadWAV_RW(source, 1, &spec, &samples, &length) == nullptr)
    {
        return FailInSdl(aFailure, "SDL's WAV reader");
    }
    return Convert(samples, length, spec.format, spec.channels, spec.freq, aFailure);
}

std::optional<DecodedSample> DecodeMp3(const std::string& aPath, std::string& aFailure)
{
    int error = MPG123_OK;
    mpg123_handle* handle = mpg123_new(nullptr, &error);
    if (handle == nullptr)
    {
        return Fail(aFailure, std::string("libmpg123: ") + mpg123_plain_strerror(error));
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
        bool outOfMemory = pcm == nullptr;
        int status = outOfMemory ? MPG123_ERR : MPG123_OK;
        while (status == MPG123_OK || status == MPG123_NEW_FORMAT)
        {
            constexpr std::size_t READ_BYTES = 64 * 1024;
            if (capacity - size < READ_BYTES)
            {
                auto* grown = static_cast<std::uint8_t*>(SDL_realloc(pcm.get(), capacity * 2));
                if (grown == nullptr)
                {
                    outOfMemory = true;
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
            result = Convert(pcm.release(), size, AUDIO_S16SYS, channels, static_cast<int>(rate), aFailure);
        }
        else if (outOfMemory)
        {
            Fail(aFailure, "out of memory");
        }
        else
        {
            Fail(aFailure, status == MPG123_DONE ? "libmpg123: no audio in the stream"
                                                 : std::string("libmpg123: ") + mpg123_strerror(handle));
        }
        mpg123_close(handle);
    }
    else
    {
        Fail(aFailure, std::string("libmpg123: ") + mpg123_strerror(handle));
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

void PrepareSampleDecoding()
{
    static std::once_flag theOnce;
    std::call_once(theOnce,
                   []
                   {
                       // Older libraries want one initialisation before any handle; later ones ignore it.
                       mpg123_init();
                       // Building one converter that changes rate and channels, as every decode does,
                       // makes SDL detect the CPU and choose its converters here, on one thread.
                       SDL_AudioCVT converter;
                       SDL_BuildAudioCVT(&converter, AUDIO_S16SYS, 1, SampleMixer::FREQUENCY / 2,
                                         AUDIO_S16SYS, OUTPUT_CHANNELS, SampleMixer::FREQUENCY);
                   });
}

std::optional<DecodedSample> DecodeSampleFile(const std::string& aPath, std::string* aOutFailure)
{
    PrepareSampleDecoding();
    std::string failure;
    std::optional<DecodedSample> result;
    const std::vector<std::uint8_t> bytes = Platform::ReadWholeFile<std::vector<std::uint8_t>>(aPath);
    if (StartsWith(bytes, "RIFF") || StartsWith(bytes, "WAVE"))
    {
        result = DecodeWav(bytes, failure);
    }
    else if (IsMp3(bytes))
    {
        result = DecodeMp3(aPath, failure);
    }
    if (aOutFailure != nullptr)
    {
        *aOutFailure = std::move(failure);
    }
    return result;
}
} // namespace Qel
