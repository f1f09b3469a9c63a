#include "setup/CompanySettings.h"

#include "store/MainDatabase.h"
#include "store/SettingsDatabase.h"

namespace wb {

CompanySettings SettingsFromRow(const CompanyRow& row, const Nullable& phone) {
    CompanySettings s;
    s.name = row.CompName.value_or("");
    s.address = row.CompAddress.value_or("");
    s.cityStateZip = row.CompCSZ.value_or("");
    s.phone = phone.value_or("");
    s.formTitle = row.FormTitle.value_or("");
    s.equipTitle = row.EquipTitle.value_or("");
    s.mechanic = row.Mechanic.value_or("");
    s.cert = row.Cert.value_or("");
    s.printCompany = row.PrintCo.value_or(false);
    s.printRanges = row.PrintCG.value_or(false);
    s.printMechanic = row.PrintMech.value_or(false);
    s.printNotes = row.PrintNotes.value_or(false);
    return s;
}

CompanyRow RowFromSettings(const CompanySettings& s) {
    CompanyRow row;
    row.CompName = s.name;
    row.CompAddress = s.address;
    row.CompCSZ = s.cityStateZip;
    row.CompPhone = s.phone;
    row.FormTitle = s.formTitle;
    row.EquipTitle = s.equipTitle;
    row.Mechanic = s.mechanic;
    row.Cert = s.cert;
    row.PrintCo = s.printCompany;
    row.PrintCG = s.printRanges;
    row.PrintMech = s.printMechanic;
    row.PrintNotes = s.printNotes;
    return row;
}

MissingDetail FirstMissingDetail(const CompanyRow& row) {
    if (!row.CompName) return MissingDetail::Name;
    if (!row.CompAddress) return MissingDetail::Address;
    if (!row.FormTitle) return MissingDetail::Title;
    return MissingDetail::None;
}

std::vector<std::string> StoreCompanySettings(SettingsDatabase* settings, MainDatabase* main,
                                              const CompanySettings& s) {
    std::vector<std::string> failures;
    try {
        if (settings == nullptr) throw std::runtime_error("The settings database is not open.");
        settings->SetCompanyPhone(s.phone);
    } catch (const std::exception& e) {
        failures.push_back(std::string("Phone: ") + e.what());
    }
    try {
        if (main == nullptr)
            throw std::runtime_error("No database is open, so there is nowhere to store them.");
        main->WriteCompanyRow(RowFromSettings(s));
    } catch (const std::exception& e) {
        failures.push_back(std::string("Company details: ") + e.what());
    }
    return failures;
}

}  // namespace wb
