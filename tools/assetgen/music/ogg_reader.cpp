#include "music/ogg_reader.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstring>

namespace assetgen {

namespace {

struct Source {
    const std::string* bytes;
    size_t at = 0;
};

size_t readSource(void* out, size_t size, size_t count, void* data)
{
    Source& source = *static_cast<Source*>(data);
    size_t n = std::min(size * count, source.bytes->size() - source.at);
    std::memcpy(out, source.bytes->data() + source.at, n);
    source.at += n;
    return size ? n / size : 0;
}

} // namespace

bool decodeOggVorbis(const std::string& bytes, std::vector<float>& samples, int& channels, int& rate)
{
    Source source{&bytes};
    // No seeking: the stream is read once from its start.
    ov_callbacks callbacks = {readSource, nullptr, nullptr, nullptr};
    OggVorbis_File file;
    if (ov_open_callbacks(&source, &file, nullptr, 0, callbacks) != 0)
        return false;
    vorbis_info* info = ov_info(&file, -1);
    channels = info->channels;
    rate = static_cast<int>(info->rate);
    samples.clear();
    bool ok = true;
    for (;;) {
        float** pcm = nullptr;
        int section = 0;
        long frames = ov_read_float(&file, &pcm, 4096, &section);
        if (frames == 0)
            break;
        if (frames < 0) {
            ok = false;
            break;
        }
        for (long i = 0; i < frames; ++i)
            for (int c = 0; c < channels; ++c)
                samples.push_back(pcm[c][i]);
    }
    ov_clear(&file);
    return ok;
}

} // namespace assetgen
