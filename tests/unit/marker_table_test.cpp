#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "script_windows.h"
#include "timeline/marker_table.h"

namespace {

void expectWindow(const MarkerWindows& w, Marker which, int32_t start, int32_t end)
{
    EXPECT_EQ(w[which].start, start) << "window " << static_cast<int>(which);
    EXPECT_EQ(w[which].end, end) << "window " << static_cast<int>(which);
}

} // namespace

TEST(MarkerWindows, OnePairMovesOnlyItsOwnBoundAndTheLaterOfTwoWins)
{
    MarkerWindows w = windowsFrom("roots.start 100000\n");
    expectWindow(w, Marker::Roots, 100000, 143940);
    EXPECT_EQ(w[Marker::Iterations].end, 120000);
    EXPECT_EQ(windowsFrom("citation2.end 12000\nroots.end 1\ncitation2.end 13000\n")[Marker::Citation2].end, 13000);
}

TEST(MarkerWindows, FractionsAreCutTowardZeroAndHugeNumbersClampToTheIntegerRange)
{
    EXPECT_EQ(windowsFrom("citation.end 5500.9")[Marker::Citation].end, 5500);
    EXPECT_EQ(windowsFrom("citation.start -12.7")[Marker::Citation].start, -12);
    EXPECT_EQ(windowsFrom("citation.end 5.5e3")[Marker::Citation].end, 5500);
    MarkerWindows w = windowsFrom("roots.start 1e30 roots.end -1e30 rappel.start 1e999");
    expectWindow(w, Marker::Roots, INT32_MAX, INT32_MIN);
    EXPECT_EQ(w[Marker::Rappel].start, INT32_MAX);
}

TEST(MarkerWindows, PairsAreSeparatedByAnyWhiteSpace)
{
    expectWindow(windowsFrom("  \t\r\ngreetings.start\n\n170000\tgreetings.end   190000  \r\n\n"), Marker::Greetings,
                 170000, 190000);
}

TEST(MarkerWindows, ReadingStopsAtATokenThatIsNotANumberOrAtANameWithoutOne)
{
    MarkerWindows w = windowsFrom("noname.start 1000 noname.end abc noname2.start 2000");
    expectWindow(w, Marker::Noname, 1000, 155970);
    EXPECT_EQ(w[Marker::Noname2].start, 155970);
    MarkerTable table = tableFrom("noname.start 1000\nnoname.end");
    EXPECT_EQ(table.size(), 1u);
    EXPECT_EQ(table.lookup("noname.end", -1.0f), -1.0f);
}

TEST(MarkerWindows, AccentedNamesMatchInUtf8AndInWindows1252ButNotUnaccented)
{
    auto read = [](const std::string& script) {
        MarkerWindows w = windowsFrom(script);
        return std::vector<int32_t>{w[Marker::OuGitLaBete].start, w[Marker::LaBeteSeDechaine].end,
                                    w[Marker::DansLesNuees].start};
    };
    EXPECT_EQ(read("o\xC3\xB9_g\xC3\xAEt_la_b\xC3\xAAte.start 37000\n"
                   "la_b\xC3\xAAte_se_d\xC3\xA9" "cha\xC3\xAEne.end 71000\n"
                   "dans_les_nu\xC3\xA9" "es.start 73000\n"),
              (std::vector<int32_t>{37000, 71000, 73000}));
    EXPECT_EQ(read("o\xF9_g\xEEt_la_b\xEAte.start 38000\n"
                   "la_b\xEAte_se_d\xE9" "cha\xEEne.end 70000\n"
                   "dans_les_nu\xE9" "es.start 74000\n"),
              (std::vector<int32_t>{38000, 70000, 74000}));

    EXPECT_EQ(windowsFrom("ou_git_la_bete.start 1")[Marker::OuGitLaBete].start, 36000);
}

TEST(MarkerWindows, TheEndOfShowHasAnEndKeyOfItsOwn)
{
    expectWindow(windowsFrom("demoend.start 4000\n"), Marker::Demoend, 4000, 5000);
    EXPECT_EQ(windowsFrom("demoend.start 4000 demoend.end 4500")[Marker::Demoend].end, 4500);
}

TEST(MarkerTable, AMissingFileGivesAnEmptyTableAndNamesCompareAsBytes)
{
    EXPECT_EQ(MarkerTable("/nonexistent/heaven.scpt").size(), 0u);
    MarkerTable table = tableFrom("b 2 a 1 \xE9 3");
    EXPECT_EQ(table.lookup("a", 0), 1.0f);
    EXPECT_EQ(table.lookup("\xE9", 0), 3.0f);
    EXPECT_EQ(table.lookup("A", 9.0f), 9.0f);
}

TEST(MarkerTable, RandomBytesAndEnormousTokensNeverBreakTheReader)
{
    std::mt19937 random(1234);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(static_cast<size_t>(random() % 4000), '\0');
        for (char& c : bytes)
            c = static_cast<char>(random());
        // Sprinkle in digits and blanks so that some pairs get read.
        for (size_t i = 0; i < bytes.size(); i += 7)
            bytes[i] = " 0123456789.e-\n"[random() % 15];
        EXPECT_EQ(windowsFrom(bytes)[Marker::Demoend].start, 203000) << "no random name should hit demoend.start";
    }
    // Read in bounded memory and time.
    std::string script = "rappel.start 100 " + std::string(20 * 1024 * 1024, 'x') + " 5 " +
                         std::string(4 * 1024 * 1024, '7') + "x";
    EXPECT_EQ(windowsFrom(script)[Marker::Rappel].start, 100);
}

TEST(TimelineReload, AFileThatCannotBeReadKeepsTheWindowsInUseAndAnyReadableOneReplacesThem)
{
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("velmora-reload-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::string script = (dir / "heaven.scpt").string();
    auto write = [&](const char* text) { std::ofstream(script, std::ios::trunc) << text; };
    std::string why;

    write("citation.end 1000\n");
    MarkerWindows windows = buildMarkerWindows(MarkerTable(script.c_str()));
    write("citation.end 2000\n");
    ASSERT_TRUE(reloadTimeline(script.c_str(), windows, why));
    EXPECT_EQ(windows[Marker::Citation].end, 2000);

    fs::remove(script);
    EXPECT_FALSE(reloadTimeline(script.c_str(), windows, why));
    EXPECT_EQ(why, "no such file");
    fs::create_directory(script);
    EXPECT_FALSE(reloadTimeline(script.c_str(), windows, why));
    EXPECT_EQ(why, "a directory");
    fs::remove(script);
    write("citation.end 3000\n");
    fs::permissions(script, fs::perms::none);
    if (geteuid() != 0) { // root reads it all the same
        EXPECT_FALSE(reloadTimeline(script.c_str(), windows, why));
    }
    EXPECT_EQ(windows[Marker::Citation].end, 2000);

    // Nonsense and an empty file are read by the start-up rules.
    fs::permissions(script, fs::perms::owner_read | fs::perms::owner_write);
    write("citation.end 4000 nonsense here\n");
    ASSERT_TRUE(reloadTimeline(script.c_str(), windows, why));
    EXPECT_EQ(windows[Marker::Citation].end, 4000);
    write("");
    ASSERT_TRUE(reloadTimeline(script.c_str(), windows, why));
    expectWindow(windows, Marker::Citation, 0, 5500);

    fs::remove_all(dir);
}
