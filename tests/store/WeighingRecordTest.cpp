// The shop's scales and the weighing record, stored and read back on both engines.
#include "store/Scales.h"

#include "StoreFixture.h"

namespace wb {
namespace {

class WeighingRecordTest : public test::BothEnginesTest {};

wb::ShopScale MakeScale(const char* serial, const char* makeModel, double capacity, const char* calibrated) {
    wb::ShopScale s;
    s.serial = serial;
    s.makeModel = makeModel;
    s.capacity = capacity;
    s.calibrated = ParseTypedDate(calibrated);
    return s;
}

TEST_P(WeighingRecordTest, ScalesAndTheWeighingRecordRoundTrip) {
    wb::ShopScale acme = MakeScale("A-100", "Acme WS-1", 1000, "01-10-2024");
    wb::ShopScale spare = MakeScale("B-200", "Brand P-5", 2500.5, "06-01-2025");
    spare.intervalMonths = 12;
    acme.id = StoreScale(db(), acme);
    spare.id = StoreScale(db(), spare);
    EXPECT_THROW(StoreScale(db(), MakeScale("A-100", "Other", 1, "01-01-2025")), ScaleRefused);

    const std::vector<wb::ShopScale> kept = ReadScales(db());
    ASSERT_EQ(kept.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const wb::ShopScale& want = i == 0 ? acme : spare;
        EXPECT_EQ(kept[i].id, want.id);
        EXPECT_EQ(kept[i].Name(), want.Name());
        EXPECT_EQ(kept[i].capacity, want.capacity);
        EXPECT_EQ(kept[i].calibrated, want.calibrated);
        EXPECT_EQ(kept[i].intervalMonths, want.intervalMonths);
        EXPECT_FALSE(kept[i].retired);
    }

    // A weighing naming the first scale, with its conditions and a reweigh interval.
    New();
    FillWorksheet();
    const std::vector<std::pair<Field, std::string>> record = {
        {Field::Scale1, "A-100"},
        {Field::Scale2, "A-100"},
        {Field::Levelling, "Plumb bob on the door sill"},
        {Field::FuelState, std::string(kFuelFull)},
        {Field::FuelPerGallon, "6"},
        {Field::Oil, std::string(kOilFull)},
        {Field::OtherFluids, "Hydraulic full"},
        {Field::WeighPlace, std::string(kIndoors)},
        {Field::WeighedBy, "J. O'Neil"},
        {Field::Temperature,
         "18 \xC2\xB0"
         "C"},
        {Field::ReweighMonths, "48"},
    };
    for (const auto& [field, text] : record)
        form.ws.Set(field, text);
    Save();
    ASSERT_EQ(form.ScreenSaved, 1) << ::testing::PrintToString(dialogs.Titles());

    New();
    ClearCriteria();
    Next();
    ASSERT_EQ(OnScreen(), "O'NEIL 06-10-2001");
    for (const auto& [field, text] : record)
        EXPECT_EQ(form.ws.Get(field), text) << InfoOf(field).column;
    EXPECT_EQ(form.ws.Get(Field::Scale3), "");

    // A scale a weighing names keeps its serial and is retired, never deleted; another goes.
    acme.serial = "A-101";
    EXPECT_THROW(StoreScale(db(), acme), ScaleRefused);
    EXPECT_FALSE(RemoveScale(db(), acme.id));
    EXPECT_TRUE(RemoveScale(db(), spare.id));
    const std::vector<wb::ShopScale> after = ReadScales(db());
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0].serial, "A-100");
    EXPECT_TRUE(after[0].retired);

    // The due list: weighed 06-10-2001, every 48 months; +12 installed and 5 removed since.
    const std::vector<DueLine> due = DueForReweighing(db(), {2026, 12, 7});
    ASSERT_EQ(due.size(), 1u);
    EXPECT_EQ(DueCells(due[0]), (std::vector<std::string>{"O'NEIL", "06-10-2001", "+7.00 lb", "0.30",
                                                          "06-10-2005 (past due)"}));
    // Each aircraft's change in its own units: the list spans aircraft of every unit system.
    db().Exec("UPDATE Aircraft SET Units = 'kg-mm'");
    EXPECT_EQ(DueCells(DueForReweighing(db(), {2026, 12, 7}).at(0)).at(2), "+7.00 kg");
}

INSTANTIATE_TEST_SUITE_P(Engines, WeighingRecordTest, test::BothEngines(), test::EngineName);

}  // namespace
}  // namespace wb
