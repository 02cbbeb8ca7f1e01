#include "music/ogg_writer.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>

namespace assetgen {

namespace {

void appendPage(std::string& out, const ogg_page& page)
{
    out.append(reinterpret_cast<const char*>(page.header), static_cast<size_t>(page.header_len));
    out.append(reinterpret_cast<const char*>(page.body), static_cast<size_t>(page.body_len));
}

} // namespace

std::string encodeOggVorbis(const std::vector<float>& samples, int channels, int rate, float quality, int serial)
{
    std::string out;
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, quality) != 0) {
        vorbis_info_clear(&info);
        return out;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "TITLE", "Velmora");
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, serial);

    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0)
        appendPage(out, page);

    const size_t frames = samples.size() / static_cast<size_t>(channels);
    const size_t chunk = 4096;
    size_t done = 0;
    bool ended = false;
    while (!ended) {
        size_t n = std::min(chunk, frames - done);
        if (n == 0) {
            vorbis_analysis_wrote(&dsp, 0); // the end of the stream
        } else {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
            for (size_t i = 0; i < n; ++i)
                for (int c = 0; c < channels; ++c)
                    buffer[c][i] = samples[(done + i) * static_cast<size_t>(channels) + static_cast<size_t>(c)];
            vorbis_analysis_wrote(&dsp, static_cast<int>(n));
            done += n;
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    appendPage(out, page);
                    if (ogg_page_eos(&page))
                        ended = true;
                }
            }
        }
        if (n == 0)
            ended = true;
    }
    while (ogg_stream_flush(&stream, &page) != 0)
        appendPage(out, page);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

} // namespace assetgen
