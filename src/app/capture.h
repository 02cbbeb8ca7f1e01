// Capture: every frame read back from GL and written as a PNG, or piped into
// ffmpeg for a video with the music.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "app/options.h"

// Opens the capture target for frames of width x height; false with error on failure.
bool openCapture(const Options& options, int width, int height, std::string& error);
// Reads the frame just drawn back from GL and writes it; false with error on failure.
bool captureFrame(std::string& error);
// The ffmpeg command line of a video capture of width x height frames; with
// the music, its sound starts at the first frame's music time.
std::vector<std::string> encoderArgs(const Options& options, int width, int height, bool withMusic);
// Ends the capture (waits for the video encoder); false with error on failure.
bool closeCapture(std::string& error);
// Prints "frame k of n, x fps" on stderr, over itself.
void showProgress(int64_t frame, int64_t total, double fps);

// Writes rows given top-down as an 8-bit RGB PNG.
bool writePng(const std::string& path, int width, int height, const uint8_t* rgb, std::string& error);

