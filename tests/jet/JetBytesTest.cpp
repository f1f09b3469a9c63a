// The byte-level rules: recognising the file, stored text, day serials.
#include "store/jet/JetBytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace wb::jet {
namespace {

std::string Header(std::string_view magic, unsigned char version) {
    std::string h("\x00\x01\x00\x00", 4);
    h += magic;
    h.resize(0x14, '\0');
    h.push_back(static_cast<char>(version));
    h.resize(64, '\0');
    return h;
}

TEST(FormatOfHeader, TellsJetVersionsApartAndRefusesOthers) {
    EXPECT_EQ(FormatOfHeader(Header("Standard Jet DB", 1)), JetFormat::Jet4);
    EXPECT_EQ(FormatOfHeader(Header("Standard Jet DB", 0)), JetFormat::Jet3);
    EXPECT_EQ(FormatOfHeader(Header("Standard Jet DB", 2)), JetFormat::Ace);
    EXPECT_EQ(FormatOfHeader(Header("Standard ACE DB", 1)), JetFormat::Ace);
    EXPECT_EQ(FormatOfHeader(Header("Standard Jet XX", 1)), JetFormat::NotJet);
    EXPECT_EQ(FormatOfHeader("SQLite format 3" + std::string(60, '\0')), JetFormat::NotJet);
    EXPECT_EQ(FormatOfHeader(Header("Standard Jet DB", 1).substr(0, 20)), JetFormat::NotJet);
    EXPECT_EQ(FormatOfHeader(""), JetFormat::NotJet);
}

std::string Bytes(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes)
        s.push_back(static_cast<char>(b));
    return s;
}

TEST(TextFromJet4, ReadsUtf16AndCompressedRuns) {
    EXPECT_EQ(TextFromJet4(""), "");
    EXPECT_EQ(TextFromJet4(Bytes({'M', 0, 0xFC, 0, 'l', 0})), "M\xC3\xBCl");     // Mül
    EXPECT_EQ(TextFromJet4(Bytes({0xFF, 0xFE, 0xD8, 's', 't'})), "\xC3\x98st");  // Øst
    EXPECT_EQ(TextFromJet4(Bytes({0xFF, 0xFE})), "");
    // Compressed, then a two-byte run for the euro sign, then compressed again.
    EXPECT_EQ(TextFromJet4(Bytes({0xFF, 0xFE, '5', 0, 0xAC, 0x20, 0, 'x'})),
              "5\xE2\x82\xAC"
              "x");
}

TEST(TextFromJet4, SurrogatesAndOddBytes) {
    EXPECT_EQ(TextFromJet4(Bytes({0x3D, 0xD8, 0x08, 0xDE})), "\xF0\x9F\x98\x88");  // U+1F608
    EXPECT_EQ(TextFromJet4(Bytes({0x3D, 0xD8, 'a', 0})),
              "\xEF\xBF\xBD"
              "a");  // lone high half
    EXPECT_EQ(TextFromJet4(Bytes({'a', 0, 'b'})), "a");
}

TEST(DateFromSerial, CountsDaysFromTheEndOf1899) {
    EXPECT_EQ(DateFromSerial(0), (CalendarDate{1899, 12, 30}));
    EXPECT_EQ(DateFromSerial(35136), (CalendarDate{1996, 3, 12}));
    EXPECT_EQ(DateFromSerial(39989), (CalendarDate{2009, 6, 25}));
    // No 29 February 1900 in this count.
    EXPECT_EQ(DateFromSerial(60), (CalendarDate{1900, 2, 28}));
    EXPECT_EQ(DateFromSerial(61), (CalendarDate{1900, 3, 1}));
    // The fraction is the time of day, also before day zero.
    EXPECT_EQ(DateFromSerial(35136.999), (CalendarDate{1996, 3, 12}));
    EXPECT_EQ(DateFromSerial(-1.25), (CalendarDate{1899, 12, 29}));
}

TEST(DateFromSerial, KeepsToJetsRangeOfYears) {
    EXPECT_EQ(DateFromSerial(-657434), (CalendarDate{100, 1, 1}));
    EXPECT_EQ(DateFromSerial(2958465.5), (CalendarDate{9999, 12, 31}));
    EXPECT_FALSE(DateFromSerial(-657435));
    EXPECT_FALSE(DateFromSerial(2958466));
    EXPECT_FALSE(DateFromSerial(std::nan("")));
    EXPECT_FALSE(DateFromSerial(INFINITY));
}

}  // namespace
}  // namespace wb::jet
