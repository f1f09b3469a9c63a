#include "app/Controls.h"

#include <array>

namespace wb {
namespace {

using C = Control;
using K = ControlKind;

constexpr int kCount = static_cast<int>(Control::Count);

constexpr std::array<ControlInfo, kCount> kControls = {{
    {C::None, "", K::None, 0, C::None, false, std::nullopt},
    {C::Text1, "Text1", K::Text, 0, C::Text2, true, Field::Tail},
    {C::Text2, "Text2", K::Text, 0, C::Text3, true, Field::Serial},
    {C::Text3, "Text3", K::Text, 0, C::Text4, true, Field::Make},
    {C::Text4, "Text4", K::Text, 0, C::Text5, true, Field::Model},
    {C::Text5, "Text5", K::Text, 0, C::Text8, true, Field::Year},
    {C::Text6, "Text6", K::Text, 0, C::Text22, true, Field::By},
    {C::Text7, "Text7", K::Text, 0, C::Grid1, true, Field::Date},
    {C::Text8, "Text8", K::Text, 0, C::Text9, true, Field::Tach},
    {C::Text9, "Text9", K::Text, 0, C::Text10, true, Field::Empty},
    {C::Text10, "Text10", K::Text, 0, C::Text11, true, Field::CG},
    {C::Text11, "Text11", K::Text, 0, C::Text6, true, Field::MaxWt},
    {C::Text12, "Text12", K::Text, 0, C::Text7, true, Field::Work},
    {C::Text13, "Text13", K::Text, 0, C::None, false, Field::Memo},
    {C::Text14, "Text14", K::Text, 0, C::Text15, false, Field::Range1},
    {C::Text15, "Text15", K::Text, 0, C::Text16, false, Field::Range2},
    {C::Text16, "Text16", K::Text, 0, C::Grid2, false, Field::Range3},
    {C::Text17, "Text17", K::Text, 40, C::Text18, false, std::nullopt},
    {C::Text18, "Text18", K::Text, 40, C::Text19, false, std::nullopt},
    {C::Text19, "Text19", K::Text, 40, C::Text20, false, std::nullopt},
    {C::Text20, "Text20", K::Text, 40, C::Text21, false, std::nullopt},
    {C::Text21, "Text21", K::Text, 40, C::Text29, false, std::nullopt},
    {C::Text22, "Text22", K::Text, 0, C::Text12, false, Field::Cert},
    {C::Text23, "Text23", K::Text, 0, C::None, false, Field::Text23},
    {C::Text24, "Text24", K::Text, 0, C::None, false, Field::Text24},
    {C::Text25, "Text25", K::Text, 15, C::Text26, false, std::nullopt},
    {C::Text26, "Text26", K::Text, 10, C::Check3D1, false, std::nullopt},
    {C::Text27, "Text27", K::Text, 0, C::None, false, Field::Text27},
    {C::Text28, "Text28", K::Text, 0, C::None, false, std::nullopt},
    {C::Text29, "Text29", K::Text, 40, C::Text25, false, std::nullopt},
    {C::Text30, "Text30", K::Text, 0, C::Grid2, false, Field::BallastArm},
    {C::Text31, "Text31", K::Text, 255, C::Text32, false, std::nullopt},
    {C::Text32, "Text32", K::Text, 5, C::Text33, false, std::nullopt},
    {C::Text33, "Text33", K::Text, 63, C::Text34, false, std::nullopt},
    {C::Text34, "Text34", K::Text, 63, C::Check3D5, false, std::nullopt},
    {C::Text35, "Text35", K::Text, 0, C::Text36, false, Field::Lemac},
    {C::Text36, "Text36", K::Text, 0, C::Grid2, false, Field::Mac},
    {C::Grid1, "Grid1", K::Grid, 0, C::None, false, std::nullopt},
    {C::Grid2, "Grid2", K::Grid, 0, C::None, false, std::nullopt},
    {C::Grid3, "Grid3", K::Grid, 0, C::None, false, std::nullopt},
    {C::Grid4, "Grid4", K::Grid, 0, C::None, false, std::nullopt},
    {C::Check3D1, "Check3D1", K::Check, 0, C::Check3D2, false, std::nullopt},
    {C::Check3D2, "Check3D2", K::Check, 0, C::Check3D3, false, std::nullopt},
    {C::Check3D3, "Check3D3", K::Check, 0, C::Check3D4, false, std::nullopt},
    {C::Check3D4, "Check3D4", K::Check, 0, C::None, false, std::nullopt},
    {C::Check3D5, "Check3D5", K::Check, 0, C::None, false, std::nullopt},
    {C::UnitChoice, "UnitChoice", K::Choice, 0, C::None, false, std::nullopt},
    {C::Command3D12, "Command3D12", K::Button, 0, C::None, false, std::nullopt},
    {C::Command3D13, "Command3D13", K::Button, 0, C::None, false, std::nullopt},
    {C::Command3D14, "Command3D14", K::Button, 0, C::None, false, std::nullopt},
    {C::Command3D15, "Command3D15", K::Button, 0, C::None, false, std::nullopt},
    {C::Command3D16, "Command3D16", K::Button, 0, C::None, false, std::nullopt},
    {C::Command3D17, "Command3D17", K::Button, 0, C::None, false, std::nullopt},
    {C::Command3D18, "Command3D18", K::Button, 0, C::None, false, std::nullopt},
    {C::Command3D19, "Command3D19", K::Button, 0, C::None, false, std::nullopt},
    {C::Command3D20, "Command3D20", K::Button, 0, C::None, false, std::nullopt},
    {C::Command3D23, "Command3D23", K::Button, 0, C::None, false, std::nullopt},
    {C::Command3D26, "Command3D26", K::Button, 0, C::None, false, std::nullopt},
    {C::Command3D27, "Command3D27", K::Button, 0, C::None, false, std::nullopt},
    {C::Command3D28, "Command3D28", K::Button, 0, C::None, false, std::nullopt},
    {C::Command3D29, "Command3D29", K::Button, 0, C::None, false, std::nullopt},
    {C::Command3D31, "Command3D31", K::Button, 0, C::None, false, std::nullopt},
    {C::Command3D32, "Command3D32", K::Button, 0, C::None, false, std::nullopt},
    {C::Command3D39, "Command3D39", K::Button, 0, C::None, false, std::nullopt},
    {C::Command3D40, "Command3D40", K::Button, 0, C::None, false, std::nullopt},
    {C::Command3D41, "Command3D41", K::Button, 0, C::None, false, std::nullopt},
    {C::Command3D42, "Command3D42", K::Button, 0, C::None, false, std::nullopt},
    {C::Command3D43, "Command3D43", K::Button, 0, C::None, false, std::nullopt},
    {C::Command3D44, "Command3D44", K::Button, 0, C::None, false, std::nullopt},
    {C::Command3D45, "Command3D45", K::Button, 0, C::None, false, std::nullopt},
    {C::Command3D46, "Command3D46", K::Button, 0, C::None, false, std::nullopt},
    {C::Command3D47, "Command3D47", K::Button, 0, C::None, false, std::nullopt},
    {C::Command3D48, "Command3D48", K::Button, 0, C::None, false, std::nullopt},
    {C::Command3D49, "Command3D49", K::Button, 0, C::None, false, std::nullopt},
    {C::Command3D50, "Command3D50", K::Button, 0, C::None, false, std::nullopt},
    {C::SignButton, "SignButton", K::Button, 0, C::None, false, std::nullopt},
    {C::SignersButton, "SignersButton", K::Button, 0, C::None, false, std::nullopt},
    {C::LoadingButton, "LoadingButton", K::Button, 0, C::None, false, std::nullopt},
    {C::LoadingClose, "LoadingClose", K::Button, 0, C::None, false, std::nullopt},
    {C::AboutHelp, "AboutHelp", K::Button, 0, C::None, false, std::nullopt},
    {C::AboutClose, "AboutClose", K::Button, 0, C::None, false, std::nullopt},
    {C::SetupClose, "SetupClose", K::Button, 0, C::None, false, std::nullopt},
    {C::Panel3D1, "Panel3D1", K::Panel, 0, C::None, false, std::nullopt},
    {C::Panel3D4, "Panel3D4", K::Panel, 0, C::None, false, std::nullopt},
    {C::Panel3D5, "Panel3D5", K::Panel, 0, C::None, false, std::nullopt},
    {C::Panel3D6, "Panel3D6", K::Panel, 0, C::None, false, std::nullopt},
    {C::Panel3D7, "Panel3D7", K::Panel, 0, C::None, false, std::nullopt},
    {C::Panel3D11, "Panel3D11", K::Panel, 0, C::None, false, std::nullopt},
    {C::Panel3D12, "Panel3D12", K::Panel, 0, C::None, false, std::nullopt},
    {C::Panel3D13, "Panel3D13", K::Panel, 0, C::None, false, std::nullopt},
    {C::WeighingButton, "WeighingButton", K::Button, 0, C::None, false, std::nullopt},
    {C::WeighingClose, "WeighingClose", K::Button, 0, C::None, false, std::nullopt},
    {C::ScalesButton, "ScalesButton", K::Button, 0, C::None, false, std::nullopt},
    {C::ScaleKeep, "ScaleKeep", K::Button, 0, C::None, false, std::nullopt},
    {C::ScaleRemove, "ScaleRemove", K::Button, 0, C::None, false, std::nullopt},
    {C::ScalesClose, "ScalesClose", K::Button, 0, C::None, false, std::nullopt},
    {C::DueButton, "DueButton", K::Button, 0, C::None, false, std::nullopt},
    {C::DuePrint, "DuePrint", K::Button, 0, C::None, false, std::nullopt},
    {C::DueClose, "DueClose", K::Button, 0, C::None, false, std::nullopt},
    {C::WeighingPanel, "WeighingPanel", K::Panel, 0, C::None, false, std::nullopt},
    {C::ScalesPanel, "ScalesPanel", K::Panel, 0, C::None, false, std::nullopt},
    {C::DuePanel, "DuePanel", K::Panel, 0, C::None, false, std::nullopt},
    {C::LoadingPanel, "LoadingPanel", K::Panel, 0, C::None, false, std::nullopt},
    {C::HistoryExport, "HistoryExport", K::Button, 0, C::None, false, std::nullopt},
    {C::HistoryImport, "HistoryImport", K::Button, 0, C::None, false, std::nullopt},
}};

constexpr bool TableInOrder() {
    for (int i = 0; i < kCount; ++i)
        if (static_cast<int>(kControls[static_cast<size_t>(i)].control) != i) return false;
    return true;
}
static_assert(TableInOrder(), "the control table follows the Control enumeration");

}  // namespace

const ControlInfo& InfoOf(Control c) { return kControls[static_cast<size_t>(c)]; }

int MaxChars(Control c) {
    const ControlInfo& info = InfoOf(c);
    return info.field ? InfoOf(*info.field).maxChars : info.maxChars;
}

std::optional<Control> ControlFromName(std::string_view name) {
    for (const auto& info : kControls)
        if (info.control != C::None && info.name == name) return info.control;
    return std::nullopt;
}

std::optional<Control> ControlOfField(Field f) {
    for (const auto& info : kControls)
        if (info.field == f) return info.control;
    return std::nullopt;
}

std::optional<GridId> GridOf(Control c) {
    switch (c) {
        case C::Grid1: return GridId::Grid1;
        case C::Grid2: return GridId::Grid2;
        case C::Grid3: return GridId::Grid3;
        case C::Grid4: return GridId::Grid4;
        default: return std::nullopt;
    }
}

Control ControlOfGrid(GridId g) {
    switch (g) {
        case GridId::Grid1: return C::Grid1;
        case GridId::Grid2: return C::Grid2;
        case GridId::Grid3: return C::Grid3;
        case GridId::Grid4: return C::Grid4;
    }
    return C::None;
}

}  // namespace wb
