// Ogg Vorbis decoding of an encoded file held in memory, so that the
// generator can measure what it wrote.
#pragma once
#include <string>
#include <vector>

namespace assetgen {

// Decodes bytes into interleaved float samples; false when they are not a Vorbis stream.
bool decodeOggVorbis(const std::string& bytes, std::vector<float>& samples, int& channels, int& rate);

} // namespace assetgen
