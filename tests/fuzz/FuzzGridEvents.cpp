// Byte strings as sequences of window events on the main form: whatever the order, the grids
// keep their shape, the current cells stay on the grid and nothing crashes.
#include <cstdint>
#include <cstdlib>

#include "app/MainForm.h"
#include "tests/support/ScriptedDialogs.h"

namespace {

constexpr wb::Control kTargets[] = {
    wb::Control::Grid1,       wb::Control::Grid2,       wb::Control::Grid3,       wb::Control::Grid4,
    wb::Control::Text1,       wb::Control::Text2,       wb::Control::Text7,       wb::Control::Text9,
    wb::Control::Text10,      wb::Control::Text13,      wb::Control::Text14,      wb::Control::Text17,
    wb::Control::Text23,      wb::Control::Check3D4,    wb::Control::Command3D12, wb::Control::Command3D13,
    wb::Control::Command3D15, wb::Control::Command3D19, wb::Control::Command3D20, wb::Control::Command3D23,
    wb::Control::Command3D26, wb::Control::Command3D18};

void CheckShape(const wb::MainForm& form) {
    for (wb::GridId id : wb::kAllGrids) {
        const wb::Grid& g = form.ws.grid(id);
        const wb::GridShape& shape = wb::ShapeOf(id);
        if (g.rows != shape.rows || static_cast<int>(g.cells.size()) != shape.rows * shape.cols) std::abort();
        if (g.row < 0 || g.row >= g.rows || g.col < 0 || g.col >= g.cols) std::abort();
        if (g.topRow < 0 || g.topRow > g.row) std::abort();
        if (static_cast<int>(form.ws.store(id).entries.size()) != shape.storeRows * shape.cols) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    wb::test::ScriptedDialogs dialogs;
    wb::test::FixedClock clock;
    wb::MainForm form(dialogs, clock);
    form.Load();
    for (size_t i = 0; i + 1 < size && !form.Ended(); i += 2) {
        const uint8_t op = data[i] % 8;
        const uint8_t arg = data[i + 1];
        const wb::Control target = kTargets[arg % std::size(kTargets)];
        switch (op) {
            case 0:
            case 1:
            case 2: {
                // Mostly digits, points, signs, marks and Enter, sometimes anything.
                static constexpr char32_t kKeys[] = {U'0', U'1', U'5', U'9', U'.', U'-', U' ', U'x',
                                                     U'X', U'y', U'a', 13,   8,    U'E', U'é', U'\u05D0'};
                form.KeyTyped(form.Focus(), arg < 240 ? kKeys[arg % std::size(kKeys)] : char32_t(arg));
                break;
            }
            case 3:
                form.GridMoveCurrent(wb::ControlOfGrid(wb::kAllGrids[arg % 4]), arg % 101, arg % 8);
                break;
            case 4:
                form.FocusTo(target);
                break;
            case 5:
                form.Clicked(target);
                break;
            case 6:
                form.DeleteKey(target);
                break;
            case 7:
                dialogs.answers.push_back(arg & 1);
                form.TextChanged(target, std::string(arg % 50, static_cast<char>('0' + arg % 10)));
                break;
        }
        CheckShape(form);
    }
    return 0;
}
