#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <sstream>

#include "timeline/marker_table.h"

namespace {

MarkerWindows windowsFrom(const std::string& script)
{
    std::istringstream in(script);
    return buildMarkerWindows(MarkerTable::fromStream(in));
}

const TimeWindow& defaultWindow(Window w)
{
    static MarkerWindows defaults = windowsFrom("");
    return defaults[w];
}

} // namespace

TEST(MarkerWindows, AnEmptyScriptGivesEveryDefault)
{
    MarkerWindows w = windowsFrom("");
    EXPECT_EQ(w[Window::SousLaBrume].start, 12000);
    EXPECT_EQ(w[Window::SousLaBrume].end, 24060);
    EXPECT_EQ(w[Window::OuGitLaBete].start, 36000);
    EXPECT_EQ(w[Window::OuGitLaBete].end, 52000);
    EXPECT_EQ(w[Window::Linkbeast2].start, 40000);
    EXPECT_EQ(w[Window::Citation].start, 0);
    EXPECT_EQ(w[Window::Citation].end, 5500);
    EXPECT_EQ(w[Window::Roots].start, 120000);
    EXPECT_EQ(w[Window::Roots].end, 143940);
    EXPECT_EQ(w[Window::Iterations].start, 95500);
    EXPECT_EQ(w[Window::Demoend].start, 203000);
    EXPECT_EQ(w[Window::Demoend].end, 204000);
    EXPECT_EQ(w[Window::Rappel].end, 204000);
}

TEST(MarkerWindows, OnePairMovesOnlyItsOwnBound)
{
    MarkerWindows w = windowsFrom("roots.start 100000\n");
    EXPECT_EQ(w[Window::Roots].start, 100000);
    EXPECT_EQ(w[Window::Roots].end, 143940);
    EXPECT_EQ(w[Window::Iterations].end, 120000);
}

TEST(MarkerWindows, FractionsAreCutTowardZero)
{
    EXPECT_EQ(windowsFrom("citation.end 5500.9")[Window::Citation].end, 5500);
    EXPECT_EQ(windowsFrom("citation.start -12.7")[Window::Citation].start, -12);
    EXPECT_EQ(windowsFrom("citation.end 5.5e3")[Window::Citation].end, 5500);
}

TEST(MarkerWindows, TheLaterOfTwoPairsWins)
{
    MarkerWindows w = windowsFrom("citation2.end 12000\nroots.end 1\ncitation2.end 13000\n");
    EXPECT_EQ(w[Window::Citation2].end, 13000);
}

TEST(MarkerWindows, PairsAreSeparatedByAnyWhiteSpace)
{
    MarkerWindows w = windowsFrom("  \t\r\ngreetings.start\n\n170000\tgreetings.end   190000  \r\n\n");
    EXPECT_EQ(w[Window::Greetings].start, 170000);
    EXPECT_EQ(w[Window::Greetings].end, 190000);
}

TEST(MarkerWindows, ReadingStopsAtATokenThatIsNotANumber)
{
    MarkerWindows w = windowsFrom("noname.start 1000 noname.end abc noname2.start 2000");
    EXPECT_EQ(w[Window::Noname].start, 1000);
    EXPECT_EQ(w[Window::Noname].end, 155970);
    EXPECT_EQ(w[Window::Noname2].start, 155970);
}

TEST(MarkerWindows, ATrailingNameWithNoNumberIsIgnored)
{
    std::istringstream in("noname.start 1000\nnoname.end");
    MarkerTable table = MarkerTable::fromStream(in);
    EXPECT_EQ(table.size(), 1u);
    EXPECT_EQ(table.lookup("noname.end", -1.0f), -1.0f);
}

TEST(MarkerWindows, AccentedNamesMatchInUtf8AndInWindows1252)
{
    MarkerWindows utf8 = windowsFrom("o\xC3\xB9_g\xC3\xAEt_la_b\xC3\xAAte.start 37000\n"
                                     "la_b\xC3\xAAte_se_d\xC3\xA9" "cha\xC3\xAEne.end 71000\n"
                                     "dans_les_nu\xC3\xA9" "es.start 73000\n");
    EXPECT_EQ(utf8[Window::OuGitLaBete].start, 37000);
    EXPECT_EQ(utf8[Window::LaBeteSeDechaine].end, 71000);
    EXPECT_EQ(utf8[Window::DansLesNuees].start, 73000);

    MarkerWindows legacy = windowsFrom("o\xF9_g\xEEt_la_b\xEAte.start 38000\n"
                                       "la_b\xEAte_se_d\xE9" "cha\xEEne.end 70000\n"
                                       "dans_les_nu\xE9" "es.start 74000\n");
    EXPECT_EQ(legacy[Window::OuGitLaBete].start, 38000);
    EXPECT_EQ(legacy[Window::LaBeteSeDechaine].end, 70000);
    EXPECT_EQ(legacy[Window::DansLesNuees].start, 74000);
}

TEST(MarkerWindows, AnUnaccentedSpellingDoesNotMatch)
{
    EXPECT_EQ(windowsFrom("ou_git_la_bete.start 1")[Window::OuGitLaBete].start, 36000);
}

TEST(MarkerWindows, TheEndOfShowHasAnEndKeyOfItsOwn)
{
    MarkerWindows moved = windowsFrom("demoend.start 4000\n");
    EXPECT_EQ(moved[Window::Demoend].start, 4000);
    EXPECT_EQ(moved[Window::Demoend].end, 5000);
    MarkerWindows both = windowsFrom("demoend.start 4000 demoend.end 4500");
    EXPECT_EQ(both[Window::Demoend].end, 4500);
}

TEST(MarkerWindows, HugeNumbersStayInsideTheIntegerRange)
{
    MarkerWindows w = windowsFrom("roots.start 1e30 roots.end -1e30 rappel.start 1e999");
    EXPECT_EQ(w[Window::Roots].start, INT32_MAX);
    EXPECT_EQ(w[Window::Roots].end, INT32_MIN);
    EXPECT_EQ(w[Window::Rappel].start, INT32_MAX);
}

TEST(MarkerTable, AMissingFileGivesAnEmptyTable)
{
    MarkerTable table("/nonexistent/heaven.scpt");
    EXPECT_EQ(table.size(), 0u);
}

TEST(MarkerTable, NamesCompareAsBytes)
{
    std::istringstream in("b 2 a 1 \xE9 3");
    MarkerTable table = MarkerTable::fromStream(in);
    EXPECT_EQ(table.lookup("a", 0), 1.0f);
    EXPECT_EQ(table.lookup("\xE9", 0), 3.0f);
    EXPECT_EQ(table.lookup("A", 9.0f), 9.0f);
}

TEST(MarkerTable, RandomBytesNeverBreakTheReader)
{
    std::mt19937 random(1234);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(static_cast<size_t>(random() % 4000), '\0');
        for (char& c : bytes)
            c = static_cast<char>(random());
        // Sprinkle in digits and blanks so that some pairs get read.
        for (size_t i = 0; i < bytes.size(); i += 7)
            bytes[i] = " 0123456789.e-\n"[random() % 15];
        MarkerWindows w = windowsFrom(bytes);
        EXPECT_EQ(w[Window::Demoend].start, defaultWindow(Window::Demoend).start)
            << "no random name should hit demoend.start";
    }
}

TEST(MarkerTable, AnEnormousTokenIsReadInBoundedMemoryAndTime)
{
    std::string script = "rappel.start 100 " + std::string(20 * 1024 * 1024, 'x') + " 5 " +
                         std::string(4 * 1024 * 1024, '7') + "x";
    MarkerWindows w = windowsFrom(script);
    EXPECT_EQ(w[Window::Rappel].start, 100);
}
