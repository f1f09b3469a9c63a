// The aircraft of AC 43.13-1B figures 10-10 and 10-11 as the loading panel would hold it:
// limits +8.5 to +21.9 up to 2100 lb; oil 9 qt at -49; the pilot's seat at +16; two rear
// seats at +48; baggage placarded 100 lb at +75.5; one 40 gal tank at +22; METO 165 HP.
// With the empty weight 1169 lb at +10.6 the forward extreme is 1439 lb at +11.19 and the
// aft extreme 2036 lb at +21.33.
#pragma once

#include "worksheet/Loading.h"

namespace wb::test {

inline LoadingTexts Figure10Loading() {
    LoadingTexts t;
    t.stations[0] = {"Pilot's seat", "Seat with controls", "16", "1", "", ""};
    t.stations[1] = {"Rear seats", "Seat", "48", "2", "", ""};
    t.stations[2] = {"Baggage", "Baggage", "75.5", "", "", "100"};
    t.stations[3] = {"Fuel tank", "Fuel tank", "22", "", "40", ""};
    t.stations[4] = {"Oil", "Oil", "-49", "", "9", ""};
    t.normal[0] = {"1000", "8.5"};
    t.normal[1] = {"2100", "8.5"};
    t.normal[2] = {"2100", "21.9"};
    t.normal[3] = {"1000", "21.9"};
    t.metoHp = "165";
    return t;
}

// A four-seater with a sloped forward limit (+35.0 up to 1950 lb, then straight to +38.5 at
// 2300 lb), a utility category, two baggage areas and a maximum landing weight: with the empty
// weight 1450 lb at +39.0 its most rearward extreme is over the maximum weight and aft of the
// envelope, and the loading schedule must hold passengers or fuel back.
inline LoadingTexts SlopedLoading() {
    LoadingTexts t;
    t.stations[0] = {"Front seats", "Seat with controls", "37", "2", "", ""};
    t.stations[1] = {"Rear seats", "Seat", "73", "2", "", ""};
    t.stations[2] = {"Baggage area 1", "Baggage", "95", "", "", "120"};
    t.stations[3] = {"Baggage area 2", "Baggage", "123", "", "", "50"};
    t.stations[4] = {"Wing tanks", "Fuel tank", "48", "", "40", ""};
    t.stations[5] = {"Engine oil", "Oil", "-14", "", "8", ""};
    t.normal[0] = {"1500", "35"};
    t.normal[1] = {"1950", "35"};
    t.normal[2] = {"2300", "38.5"};
    t.normal[3] = {"2300", "47.3"};
    t.normal[4] = {"1500", "47.3"};
    t.utility[0] = {"1500", "35"};
    t.utility[1] = {"1950", "35"};
    t.utility[2] = {"2000", "35.5"};
    t.utility[3] = {"2000", "40.5"};
    t.utility[4] = {"1500", "40.5"};
    t.maxLanding = "2200";
    t.metoHp = "160";
    return t;
}

}  // namespace wb::test
