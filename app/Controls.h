// The controls of the main window that a rule reads or writes, by their own names, and
// one table that drives both the rules and the widgets: kind, input limit, Enter target.
#pragma once

#include <optional>
#include <string_view>

#include "worksheet/Worksheet.h"

namespace wb {

enum class Control {
    None,
    // text boxes
    Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9, Text10,
    Text11, Text12, Text13, Text14, Text15, Text16, Text17, Text18, Text19, Text20,
    Text21, Text22, Text23, Text24, Text25, Text26, Text27, Text28, Text29,
    Text30,  // ballast arm
    Text31, Text32, Text33, Text34,  // shop server: host, port, database, user
    Text35, Text36,                  // LEMAC and MAC (specifications panel)
    // grids
    Grid1, Grid2, Grid3, Grid4,
    // print options on the set-up panel
    Check3D1, Check3D2, Check3D3, Check3D4,
    Check3D5,  // shop server: verify the server's certificate
    // choosers
    UnitChoice,  // the unit system (specifications panel)
    // buttons
    Command3D12,  // "Exit"
    Command3D13,  // "Save"
    Command3D14,  // full equipment change report
    Command3D15,  // "Notes"
    Command3D16,  // browse next
    Command3D17,  // browse previous
    Command3D18,  // "Set-up"
    Command3D19,  // "New"
    Command3D20,  // "Tach" / "Hobbs"
    Command3D23,  // opens and closes the specifications panel
    Command3D26,  // about
    Command3D27,  // compact equipment change report
    Command3D28,  // "Fonts"
    Command3D29,  // printer select
    Command3D31,  // data folder "Exit"
    Command3D32,  // weight and balance calculation report
    Command3D39,  // data folder "Save"
    Command3D40,  // "Path"
    Command3D41,  // opens and closes the history panel
    Command3D42,  // history: start from the latest record
    Command3D43,  // history: print the weight and balance record
    Command3D44,  // "Backups": back up now, restore a backup
    Command3D45,  // data folder: "Shop server..."
    Command3D46,  // shop server "Test"
    Command3D47,  // shop server "Save"
    Command3D48,  // shop server: move the local database up
    Command3D49,  // shop server "Back"
    Command3D50,  // specifications: "Convert units"
    SignButton,     // history: sign the stored Worksheet on screen
    SignersButton,  // set-up: add or retire signers
    LoadingButton,  // specifications: opens the loading panel
    LoadingClose,   // loading panel "Close"
    AboutHelp,    // about: shows the user's guide
    AboutClose,   // about: "Close"
    SetupClose,   // set-up: "Close", as "Set-up" pressed again
    // panels
    Panel3D1,   // the Worksheet
    Panel3D4,   // about
    Panel3D5,   // notes
    Panel3D6,   // specifications
    Panel3D7,   // set-up
    Panel3D11,  // data folder
    Panel3D12,  // history
    Panel3D13,  // shop server
    // the weighing record, the shop's scales and the aircraft due for reweighing
    WeighingButton,  // specifications: opens the weighing panel
    WeighingClose,
    ScalesButton,  // set-up: opens the scales panel
    ScaleKeep,     // scales: store the scale typed
    ScaleRemove,   // scales: delete the chosen scale, or retire it when a weighing names it
    ScalesClose,
    DueButton,  // the bar: the aircraft due for reweighing
    DuePrint,
    DueClose,
    WeighingPanel,
    ScalesPanel,
    DuePanel,
    LoadingPanel,  // loading data and checks
    HistoryExport,  // history: export the tail's record package
    HistoryImport,  // history: import a record package
    Count
};

enum class ControlKind { None, Text, Grid, Check, Choice, Button, Panel };

struct ControlInfo {
    Control control;
    std::string_view name;
    ControlKind kind;
    int maxChars;              // set-up boxes: input limit (Worksheet boxes: see FieldInfo)
    Control enterTarget;       // where Enter sends the focus, None = no Enter rule
    bool enterConsumed;        // the Enter key reaches no field as a character
    std::optional<Field> field;  // the Worksheet field the box shows
};

const ControlInfo& InfoOf(Control c);
// Input limit of a text box in characters, 0 = none.
int MaxChars(Control c);
std::optional<Control> ControlFromName(std::string_view name);
std::optional<Control> ControlOfField(Field f);
std::optional<GridId> GridOf(Control c);
Control ControlOfGrid(GridId g);

}  // namespace wb
