// Velmora: a real-time audiovisual demo. The entry reads the command line and
// hands over to the show.
#include <cstdio>
#include <string>

#include "app/capture_jobs.h"
#include "app/options.h"
#include "app/show.h"
#include "core/data_dir.h"
#include "core/log.h"
#include "platform/platform.h"

int main(int argc, char** argv)
{
    platform::keepFreedMemory();
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
    switch (chooseDataDir(options.dataDir, ownProgramPath(), error)) {
    case DataDirChoice::BadOption:
        std::fprintf(stderr, "velmora: %s\n%s", error.c_str(), kUsageLine);
        return 2;
    case DataDirChoice::NotFound:
        std::fprintf(stderr, "velmora: %s\n", error.c_str());
        return 1;
    case DataDirChoice::Found:
        break;
    }
    setLogFile(options.logPath);
    if (options.jobs)
        return runCaptureJobs(options, argc, argv);
    return runShow(options);
}
