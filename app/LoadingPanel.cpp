#include "app/LoadingPanel.h"

#include "app/MainForm.h"
#include "worksheet/Format.h"
#include "worksheet/LeadingNumber.h"
#include "worksheet/Utf8.h"

namespace wb {
namespace {

std::string Units(std::string_view a, std::string_view b = {}) {
    return " (" + std::string(a) + (b.empty() ? "" : "/" + std::string(b)) + ")";
}

// Locked while the loading panel lies over the specifications panel: the specifications
// panel itself and its own button, so that the panel is closed before the specifications are.
constexpr Control kLockedByLoading[] = {Control::Panel3D6, Control::Command3D23};

}  // namespace

int LoadingGridRows(LoadingGrid grid) {
    return grid == LoadingGrid::Stations ? kStationRows : kEnvelopeRows;
}

int LoadingGridColumns(LoadingGrid grid) {
    return grid == LoadingGrid::Stations ? static_cast<int>(station::Count) : static_cast<int>(point::Count);
}

std::vector<std::string> LoadingHeadings(LoadingGrid grid, UnitSystem u) {
    if (grid == LoadingGrid::Stations)
        return {"Station", "Kind", "Arm" + Units(ArmUnit(u)), "Seats",
                "Capacity" + Units(FuelVolumeUnit(u), OilVolumeUnit(u)), "Placard" + Units(WeightUnit(u))};
    return {"Weight" + Units(WeightUnit(u)), "Arm" + Units(ArmUnit(u))};
}

std::string LoadingBoxCaption(LoadingBox box, UnitSystem u) {
    const std::string weight(WeightUnit(u));
    const std::string per(u == UnitSystem::PoundInch ? "gal" : "L");
    switch (box) {
        case LoadingBox::MaxLanding: return "Max landing weight" + Units(weight);
        case LoadingBox::FuelWeight: return "Fuel weight" + Units(weight, per);
        case LoadingBox::OilWeight: return "Oil weight" + Units(weight, per);
        case LoadingBox::MetoHp: return "Engine METO horsepower";
        case LoadingBox::Occupant: return "Pilot, passenger" + Units(weight);
    }
    return {};
}

std::string LoadingBoxDefault(LoadingBox box, UnitSystem u) {
    switch (box) {
        case LoadingBox::MaxLanding: return "none";
        case LoadingBox::FuelWeight: return NumberText(DefaultFuelWeight(u));
        case LoadingBox::OilWeight: return NumberText(DefaultOilWeight(u));
        case LoadingBox::MetoHp: return {};
        case LoadingBox::Occupant: return NumberText(DefaultOccupant(u));
    }
    return {};
}

std::string& LoadingCell(LoadingTexts& texts, LoadingGrid grid, int row, int col) {
    if (grid == LoadingGrid::Stations) return texts.stations[static_cast<size_t>(row)][static_cast<size_t>(col)];
    return texts.Points(grid == LoadingGrid::Normal ? Category::Normal : Category::Utility)[static_cast<size_t>(row)]
                       [static_cast<size_t>(col)];
}

const std::string& LoadingCell(const LoadingTexts& texts, LoadingGrid grid, int row, int col) {
    return LoadingCell(const_cast<LoadingTexts&>(texts), grid, row, col);
}

std::string LoadingCellShown(const LoadingTexts& texts, LoadingGrid grid, int row, int col) {
    const std::string& text = LoadingCell(texts, grid, row, col);
    if (grid == LoadingGrid::Stations && col == station::Name) return text;
    if (grid == LoadingGrid::Stations && col == station::Kind) {
        const std::optional<StationKind> kind = KindFromText(text);
        return kind ? std::string(KindName(*kind)) : text;
    }
    if (!NumericText(text)) return text;
    if (grid == LoadingGrid::Stations && col == station::Seats) return FormatText(text, "#####0");
    return FormatText(text, pattern::Weight);
}

int LoadingCellLimit(LoadingGrid grid, int col) {
    if (grid == LoadingGrid::Stations && col == station::Name) return 25;
    if (grid == LoadingGrid::Stations && col == station::Kind) return 20;
    return kLoadingBoxLimit;
}

// ---- the form's part ----------------------------------------------------------------------

void MainForm::ClickLoading() {
    if (Visible(Control::LoadingPanel)) {
        CloseLoading();
        return;
    }
    SetVisible(Control::LoadingPanel, true);
    for (Control c : kLockedByLoading)
        SetEnabled(c, false);
    SetFocus(Control::LoadingClose);
}

void MainForm::CloseLoading() {
    SetVisible(Control::LoadingPanel, false);
    for (Control c : kLockedByLoading)
        SetEnabled(c, true);
    SetFocus(Control::LoadingButton);
    // Told when the panel is left, so that it is not first met at the save.
    const LoadingRead read = ReadLoading(ws.loading, LoadingUnits(ws));
    if (!read.Refused()) return;
    std::string text = "This loading data cannot be stored:";
    for (const std::string& r : read.refusals)
        text += "\n- " + r;
    dialogs_.Notice("Loading data refused",
                    text + "\n\nThe Worksheet cannot be saved until it is corrected on the loading panel."
                           "\n\nPress OK to continue",
                    Icon::Exclamation);
}

void MainForm::LoadingCellEdited(LoadingGrid grid, int row, int col, std::string text) {
    if (!Usable(Control::LoadingClose)) return;
    if (row < 0 || row >= LoadingGridRows(grid) || col < 0 || col >= LoadingGridColumns(grid)) return;
    text = FirstChars(text, static_cast<size_t>(LoadingCellLimit(grid, col)));
    std::string& cell = LoadingCell(ws.loading, grid, row, col);
    if (cell == text) return;
    cell = std::move(text);
    LoadingChanged();
}

void MainForm::LoadingBoxEdited(LoadingBox box, std::string text) {
    if (!Usable(Control::LoadingClose)) return;
    text = FirstChars(text, kLoadingBoxLimit);
    std::string& kept = ws.loading.Box(box);
    if (kept == text) return;
    kept = std::move(text);
    LoadingChanged();
}

void MainForm::LoadingChanged() {
    ScreenSaved = 0;
    edited_ = rowsTyped_ = true;
}

}  // namespace wb
