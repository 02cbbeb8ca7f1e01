// Ogg Vorbis encoding of generated sound, for the soundtrack and for tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

// Encodes interleaved samples in [-1, 1] (channels per frame) at the given
// rate with variable bit rate quality (0.5 gives about 130 kbit/s for the
// show's music at 44100 Hz stereo). The stream serial number is fixed, so the same samples give the
// same bytes. Returns the file's bytes; empty when the encoder refuses.
std::string encodeOggVorbis(const std::vector<float>& samples, int channels, int rate, float quality,
                            int serial = 0x56656c6d);

} // namespace assetgen
