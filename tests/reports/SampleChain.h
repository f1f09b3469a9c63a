// One aircraft's record: a weighing, changes (one breaking the chain), a superseded and a deleted version.
#pragma once

#include "worksheet/RecordChain.h"

namespace wb::test {

inline ChainEntry SampleEntry(const char* date, const char* work, bool weighed, const char* startWeight,
                              const char* startArm, double installed, double removed, double weight,
                              double arm, double moment) {
    ChainEntry e;
    e.tail = "N123AB";
    e.date = date;
    e.work = work;
    e.weighed = weighed;
    e.startWeight = startWeight;
    e.startArm = startArm;
    e.installed = installed;
    e.removed = removed;
    e.newWeight = weight;
    e.newArm = arm;
    e.newMoment = moment;
    e.usefulLoad = 2300 - weight;
    e.by = "J. Smith";
    e.cert = "A&P 1234567";
    return e;
}

inline RecordChain SampleChain() {
    RecordChain chain;
    chain.tail = "N123AB";
    auto add = [&](ChainEntry e) {
        chain.lines.push_back(ChainLine{std::move(e), {}, false, false, {}, {}, {}});
    };
    add(SampleEntry("01-10-2020", "WO-1", true, "1507.50", "70.38", 0, 0, 1507.5f, 70.38142f, 106100));
    add(SampleEntry("03-05-2021", "WO-2", false, "1507.50", "70.38", 12, 0, 1519.5f, 70.14008f, 106577.85f));
    add(SampleEntry("08-12-2022", "WO-3", false, "1519.50", "70.14", 0, 5, 1514.5f, 70.17347f, 106277.73f));
    add(SampleEntry("02-01-2023", "WO-4", false, "1500.00", "70.00", 2, 0, 1502, 70.10652f, 105300));
    add(SampleEntry("06-30-2024", "WO-5", false, "1502.00", "70.11", 3, 0, 1505, 70.36891f, 105905.22f));
    ChainEntry earlier = chain.lines[2].entry;
    earlier.work = "WO-3 first";
    earlier.reason = "replaced";
    earlier.supersededAt = "2022-08-13 09:15:00";
    chain.lines[2].earlier.push_back(earlier);
    ChainEntry deleted =
        SampleEntry("05-05-2023", "WO-X", false, "1502.00", "70.11", 40, 0, 1542, 70.5f, 108711);
    deleted.reason = "deleted";
    deleted.supersededAt = "2023-05-06 08:00:00";
    chain.lines.insert(chain.lines.begin() + 4, ChainLine{deleted, {}, true, false, {}, {}, {}});
    LinkChain(chain);
    return chain;
}

}  // namespace wb::test
