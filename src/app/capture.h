// Capture: every frame read back from GL and written as a PNG, or piped into
// ffmpeg for a video with the music. The drawing does not wait for the
// writing: a frame is read back while the next one draws, then written by
// threads of its own.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "app/options.h"

// Opens the capture target for frames of width x height and starts its
// writers; false with error on failure.
bool openCapture(const Options& options, int width, int height, std::string& error);
// Reads back the frame just drawn and hands it to the writers. False with
// error once a writer has failed; the capture is then over, and the frames
// already written stay.
bool captureFrame(std::string& error);
// The ffmpeg command line of a video capture of width x height frames; with
// the music, its sound starts at the first frame's music time.
std::vector<std::string> encoderArgs(const Options& options, int width, int height, bool withMusic);
// The ffmpeg command line that joins the videos named in partList (ffmpeg's
// concat list) into output, their streams as they are, with the music under
// them from the first frame's music time.
std::vector<std::string> joinArgs(const Options& options, const std::string& partList, const std::string& output);
// Hands on the last frame, waits for the writers and the video encoder, and
// ends the capture; false with error on failure.
bool closeCapture(std::string& error);
// Prints "frame k of n, x fps, m:ss left" on stderr, over itself.
void showProgress(int64_t frame, int64_t total, double fps);

// Writes rows given top-down as an 8-bit RGB PNG.
bool writePng(const std::string& path, int width, int height, const uint8_t* rgb, std::string& error);
