// The one weight and balance form on screen: header fields, the four grids (cells as shown)
// and, separately, the row stores behind them that the computation, saving, loading and the
// reports read. Cells and stores are kept in step by the editing rules.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "worksheet/Loading.h"

namespace wb {

// Header fields, named by their Aircraft column; the three result boxes by their controls.
enum class Field {
    Tail,    // Text1
    Serial,  // Text2
    Make,    // Text3
    Model,   // Text4
    Year,    // Text5
    By,      // Text6
    Date,    // Text7
    Tach,    // Text8
    Empty,   // Text9
    CG,      // Text10
    MaxWt,   // Text11
    Work,    // Text12
    Memo,    // Text13
    Range1,  // Text14
    Range2,  // Text15
    Range3,  // Text16
    Cert,    // Text22
    Text23,  // new empty weight
    Text24,  // new empty arm
    Text27,  // new empty moment
    // Text30, where ballast would go (specifications panel); stored with the Worksheet, so
    // a change of it is a change to save.
    BallastArm,
    // The unit system the figures are typed in (worksheet/Units.h): no box of its own, the
    // specifications panel's chooser sets it; "" for lb and in.
    Units,
    Lemac,  // Text35, the leading edge of the mean aerodynamic chord (specifications panel)
    Mac,    // Text36, the length of the mean aerodynamic chord
    // The weighing record (specifications panel): the serial of the scale under each scale
    // row, and the conditions the aircraft was weighed in.
    Scale1,
    Scale2,
    Scale3,
    Scale4,
    Scale5,
    Levelling,      // how the aircraft was levelled
    FuelState,      // kFuelDrained, kFuelFull or empty
    FuelPerGallon,  // the fuel's weight per gallon, when weighed full
    Oil,            // kOilFull, kOilDrained or empty
    OtherFluids,
    WeighPlace,  // kIndoors, kOutdoors or empty
    WeighedBy,
    Temperature,
    // The aircraft's reweigh interval in months; empty for none.
    ReweighMonths,
};
inline constexpr int kFieldCount = 38;

struct FieldInfo {
    Field field;
    std::string_view column;   // Aircraft column, empty for the result boxes
    std::string_view control;  // "Text1" ...
    int maxChars;              // input limit in characters, 0 = none
    bool marksUnsaved;         // a change sets ScreenSaved to 0
};
const FieldInfo& InfoOf(Field f);
const std::array<FieldInfo, kFieldCount>& AllFields();
std::optional<Field> FieldFromControl(std::string_view control);
std::optional<Field> FieldFromColumn(std::string_view column);

// A row-store entry: the text as typed, or a number where the computation stored one.
class Entry {
  public:
    Entry() = default;
    Entry(std::string text) : value_(std::move(text)) {}
    Entry(const char* text) : value_(std::string(text)) {}
    // A number the computation stored (a row moment, the weighed previous values).
    static Entry Number(double v) {
        Entry e;
        e.value_ = v;
        return e;
    }

    bool IsNumber() const { return std::holds_alternative<double>(value_); }
    double Number() const { return IsNumber() ? std::get<double>(value_) : 0.0; }
    // The entry as text: a number written with up to 15 significant digits, all a double
    // holds reliably, so that a heavy aircraft's weighed values keep their last digits.
    std::string Text() const;
    // True only for an empty text; a number is never empty.
    bool IsEmpty() const;
    // The entry's value by LeadingNumber (a number entry first written as Text()).
    double Value() const;
    // The entry through a display pattern: text as FormatText does, a number as itself.
    std::string Formatted(std::string_view pattern) const;
    bool operator==(const Entry&) const = default;

  private:
    std::variant<std::string, double> value_;
};

enum class GridId { Grid1, Grid2, Grid3, Grid4 };
inline constexpr std::array<GridId, 4> kAllGrids = {GridId::Grid1, GridId::Grid2, GridId::Grid3,
                                                    GridId::Grid4};

// Columns of each grid; a store has the same columns as its grid.
namespace installed {  // Grid1, the InstalledList; row 0 is the PreviousEmptyRow
enum : int { Description, Serial, Weight, Arm, Moment, Install, Remove, Count };
}
namespace scale {  // Grid2, the ScaleRows (J1..J5)
enum : int { Dsc, Tar, Wgt, Arm, Mom, Count };
}
namespace fluid {  // Grid4, the FluidRows (F1..F5)
enum : int { Dsc, Wgt, Arm, Mom, Count };
}
namespace equipment {  // Grid3, the EquipmentList
enum : int { Description, Serial, Weight, Arm, Moment, Count };
}

inline constexpr std::string_view kPreviousEmpty = "Previous A/C Empty";
inline constexpr std::string_view kNoMark = "//////";

// What the grid rules need to know of each grid.
struct GridShape {
    GridId id;
    std::string_view name;       // "Grid1"
    std::string_view storeName;  // "InstalledList"
    int rows;                    // rows shown
    int storeRows;               // store capacity
    int cols;
    int visibleRows;
    int computedCol;
    std::vector<int> textCols, numericCols, markCols, inputCols;
};
const GridShape& ShapeOf(GridId id);

// The cells a grid shows, its current cell and top visible row.
struct Grid {
    int rows = 0, cols = 0;
    std::vector<std::string> cells;
    int row = 0, col = 0;
    int topRow = 0;
    std::string& Cell(int r, int c) { return cells[static_cast<size_t>(r * cols + c)]; }
    const std::string& Cell(int r, int c) const { return cells[static_cast<size_t>(r * cols + c)]; }
};

// The entries behind a grid.
struct RowStore {
    int rows = 0, cols = 0;
    std::vector<Entry> entries;
    Entry& At(int r, int c) { return entries[static_cast<size_t>(r * cols + c)]; }
    const Entry& At(int r, int c) const { return entries[static_cast<size_t>(r * cols + c)]; }
};

// The six results of the computation, in double precision: rounded only where shown.
struct Computed {
    double ScaleWeight = 0, ScaleArm = 0, ScaleMoment = 0;
    double NewWeight = 0, NewArm = 0, NewMoment = 0;
};

// Per-grid editing state: the cell of the last key typed in the grid (EditCol -1: nothing
// waiting to be committed).
struct EditState {
    int EditRow = 0;
    int EditCol = -1;
};

class Worksheet {
  public:
    Worksheet();

    const std::string& Get(Field f) const { return fields_[static_cast<size_t>(f)]; }
    // Writes a header field; returns true and tells the observer when the text changed.
    bool Set(Field f, std::string text);
    // Called after every real change of a header field (typed or written by the program).
    std::function<void(Field)> onFieldChanged;

    Grid& grid(GridId id) { return grids_[static_cast<size_t>(id)]; }
    const Grid& grid(GridId id) const { return grids_[static_cast<size_t>(id)]; }
    RowStore& store(GridId id) { return stores_[static_cast<size_t>(id)]; }
    const RowStore& store(GridId id) const { return stores_[static_cast<size_t>(id)]; }
    EditState& edit(GridId id) { return edits_[static_cast<size_t>(id)]; }
    const EditState& edit(GridId id) const { return edits_[static_cast<size_t>(id)]; }

    RowStore& InstalledList() { return store(GridId::Grid1); }
    RowStore& ScaleRows() { return store(GridId::Grid2); }
    RowStore& EquipmentList() { return store(GridId::Grid3); }
    RowStore& FluidRows() { return store(GridId::Grid4); }
    const RowStore& InstalledList() const { return store(GridId::Grid1); }
    const RowStore& ScaleRows() const { return store(GridId::Grid2); }
    const RowStore& EquipmentList() const { return store(GridId::Grid3); }
    const RowStore& FluidRows() const { return store(GridId::Grid4); }

    Computed values;
    // The aircraft's loading data as typed on the loading panel: stored with the Worksheet and
    // carried into the tail's next one, as the equipment list is.
    LoadingTexts loading;
    bool TypingStarted = false;
    // A weighing found a typed change in row 0 and no room to move it down: the weighed values
    // are the start all the same, and row 0 counts as a change until a row is freed.
    bool FirstRowBlocked = false;

  private:
    std::array<std::string, kFieldCount> fields_;
    std::array<Grid, 4> grids_;
    std::array<RowStore, 4> stores_;
    std::array<EditState, 4> edits_;
};

// Resets the Worksheet to a new form's defaults. While a search is armed (searchActive) the
// identity fields that hold the criteria keep their text. The computed values and the typing
// state stay; an edit waiting to be committed is dropped with the cells it was made in.
void ClearWorksheet(Worksheet& ws, bool searchActive);

}  // namespace wb
