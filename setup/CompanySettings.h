// The company settings as the set-up panel shows and stores them: the first CompanyInfo row
// plus the telephone, which the settings row keeps as well.
#pragma once

#include <string>
#include <vector>

#include "worksheet/Company.h"

namespace wb {

class MainDatabase;
class SettingsDatabase;

struct CompanySettings {
    std::string name, address, cityStateZip, phone, formTitle, equipTitle, mechanic, cert;
    bool printCompany = false, printRanges = false, printMechanic = false, printNotes = false;
    bool operator==(const CompanySettings&) const = default;
};

// A Null column shows as empty text or an unticked box.
CompanySettings SettingsFromRow(const CompanyRow& row, const Nullable& phone);
// Every field is stored as its text, an empty field as empty text: once the panel has been
// stored, start-up no longer counts the company as missing.
CompanyRow RowFromSettings(const CompanySettings& s);

// The field start-up sends the user to: the first Null of name, address and title.
enum class MissingDetail { None, Name, Address, Title };
MissingDetail FirstMissingDetail(const CompanyRow& row);

// Stores the telephone in the settings row, then the whole company row (the telephone
// again in CompPhone). A step that fails does not stop the next; the failures come back in
// order, empty when everything was stored. A database that is not open is a failure.
std::vector<std::string> StoreCompanySettings(SettingsDatabase* settings, MainDatabase* main,
                                              const CompanySettings& s);

}  // namespace wb
