#include "voice/wav_data.h"

#include <cstring>

namespace {

uint32_t Le32(std::string_view b, size_t at) {
    return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8 |
           static_cast<uint8_t>(b[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}
uint16_t Le16(std::string_view b, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}
void Put32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}
void Put16(std::string& out, uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

}  // namespace

std::optional<SpeechPcm> DecodeWav(std::string_view bytes) {
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE") {
        return std::nullopt;
    }
    uint16_t format = 0, channels = 0, bits = 0;
    uint32_t rate = 0;
    bool haveFormat = false;
    size_t at = 12;
    while (at + 8 <= bytes.size()) {
        std::string_view id = bytes.substr(at, 4);
        uint32_t size = Le32(bytes, at + 4);
        size_t body = at + 8;
        if (id == "fmt " && size >= 16 && body + 16 <= bytes.size()) {
            format = Le16(bytes, body);
            channels = Le16(bytes, body + 2);
            rate = Le32(bytes, body + 4);
            bits = Le16(bytes, body + 14);
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat || format != 1 || bits != 16 || channels == 0 || rate == 0) {
                return std::nullopt;
            }
            // An engine killed while writing leaves a data size larger than the file.
            size_t available = std::min<size_t>(size, bytes.size() - body);
            size_t frameBytes = 2u * channels;
            size_t frames = available / frameBytes;
            if (frames == 0) return std::nullopt;
            SpeechPcm pcm;
            pcm.sampleRate = static_cast<int>(rate);
            pcm.samples.resize(frames);
            for (size_t i = 0; i < frames; ++i) {
                pcm.samples[i] = static_cast<int16_t>(Le16(bytes, body + i * frameBytes));
            }
            return pcm;
        }
        at = body + size + (size & 1);  // chunks are padded to even sizes
    }
    return std::nullopt;
}

std::string EncodeWav(const SpeechPcm& pcm) {
    uint32_t dataBytes = static_cast<uint32_t>(pcm.samples.size() * 2);
    std::string out;
    out.reserve(44 + dataBytes);
    out += "RIFF";
    Put32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, 1);  // mono
    Put32(out, static_cast<uint32_t>(pcm.sampleRate));
    Put32(out, static_cast<uint32_t>(pcm.sampleRate) * 2);
    Put16(out, 2);
    Put16(out, 16);
    out += "data";
    Put32(out, dataBytes);
    for (int16_t s : pcm.samples) Put16(out, static_cast<uint16_t>(s));
    return out;
}
