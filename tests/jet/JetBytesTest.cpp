// The byte-level rules: recognising the file, stored text, day serials.
#include "store/jet/JetBytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace wb::jet {
namespace {

using namespace std::string_literals;

std::string Header(std::string_view magic, unsigned char version) {
    std::string h("\x00\x01\x00\x00", 4);
    h += magic;
    h.resize(0x14, '\0');
    h.push_back(static_cast<char>(version));
    h.resize(64, '\0');
    return h;
}

TEST(FormatOfHeader, TellsJetVersionsApartAndRefusesOthers) {
    const std::pair<std::string, JetFormat> cases[] = {
        {Header("Standard Jet DB", 1), JetFormat::Jet4},
        {Header("Standard Jet DB", 0), JetFormat::Jet3},
        {Header("Standard ACE DB", 1), JetFormat::Ace},
        {"SQLite format 3" + std::string(60, '\0'), JetFormat::NotJet},
        {Header("Standard Jet DB", 1).substr(0, 20), JetFormat::NotJet},
    };
    for (const auto& [header, format] : cases)
        EXPECT_EQ(FormatOfHeader(header), format) << header.substr(4, 15);
}

// UTF-16, compressed runs (after FF FE) with two-byte runs between zero bytes, surrogates.
TEST(TextFromJet4, ReadsUtf16AndCompressedRuns) {
    const std::pair<std::string, const char*> cases[] = {
        {"M\0\xFC\0l\0"s, "M\xC3\xBCl"},
        {"\xFF\xFE\xD8st"s, "\xC3\x98st"},
        {"\xFF\xFE\x35\0\xAC\x20\0x"s, "5\xE2\x82\xACx"},
        {"\x3D\xD8\x08\xDE"s, "\xF0\x9F\x98\x88"},
        {"\x3D\xD8\x61\0"s, "\xEF\xBF\xBD\x61"},  // a lone high half, then "a"
        {"a\0b"s, "a"},
    };
    for (const auto& [stored, text] : cases)
        EXPECT_EQ(TextFromJet4(stored), text) << text;
}

// Days from the end of 1899, no 29 February 1900, the fraction the time of day, also before
// day zero; within Jet's range of years.
TEST(DateFromSerial, CountsDaysFromTheEndOf1899) {
    const std::pair<double, CalendarDate> cases[] = {
        {0, {1899, 12, 30}},     {35136, {1996, 3, 12}}, {39989, {2009, 6, 25}},     {61, {1900, 3, 1}},
        {-1.25, {1899, 12, 29}}, {-657434, {100, 1, 1}}, {2958465.5, {9999, 12, 31}}};
    for (const auto& [serial, date] : cases)
        EXPECT_EQ(DateFromSerial(serial), date) << serial;
    for (double outside : {-657435.0, 2958466.0, std::nan(""), static_cast<double>(INFINITY)})
        EXPECT_FALSE(DateFromSerial(outside)) << outside;
}

}  // namespace
}  // namespace wb::jet
