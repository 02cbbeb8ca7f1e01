// Velmora: a real-time audiovisual demo. The entry reads the command line and
// hands over to the show.
#include <malloc.h>

#include <cstdio>
#include <string>

#include "app/options.h"
#include "app/show.h"

// The software renderer allocates and frees large vertex buffers on every
// draw; with the C library's defaults the heap is trimmed and regrown each
// time, and the page faults cost the frame a third of its CPU time. Keep the
// memory once taken.
void keepFreedMemory()
{
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    mallopt(M_MMAP_THRESHOLD, 32 << 20); // the largest the library accepts
    mallopt(M_TOP_PAD, 64 << 20);
}

int main(int argc, char** argv)
{
    keepFreedMemory();
    Options options;
    std::string error;
    switch (parseOptions(argc, argv, options, error)) {
    case ParseResult::Help:
        std::fputs(kUsageLine, stdout);
        std::fputs("\n", stdout);
        std::fputs(kHelpText, stdout);
        return 0;
    case ParseResult::Version:
        std::printf("velmora %s\n", VELMORA_VERSION);
        return 0;
    case ParseResult::Error:
        std::fprintf(stderr, "velmora: %s\n%s", error.c_str(), kUsageLine);
        return 2;
    case ParseResult::Run:
        break;
    }
    return runShow(options);
}
