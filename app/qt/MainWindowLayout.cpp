// Where every control of the main window stands, in twips, and what it shows.
#include <QLabel>
#include <QPushButton>
#include <optional>

#include "app/qt/Icons.h"
#include "app/qt/MainWindow.h"
#include "app/qt/Units.h"
#include "app/qt/Widgets.h"

namespace wb::gui {
namespace {

using C = Control;

constexpr Qt::Alignment kLeft = Qt::AlignLeft;
constexpr Qt::Alignment kCentre = Qt::AlignHCenter;
constexpr Qt::Alignment kRight = Qt::AlignRight;

// The top row of the header: a red button-styled caption over each box, centred text.
struct TopField {
    Control box;
    const char* captionName;  // nullptr: the caption is a control of its own (Tach)
    const char* caption;
    int left, width;
};
constexpr TopField kTopRow[] = {
    {C::Text1, "Command3D7", "Tail #", 60, 855},      {C::Text2, "Command3D8", "Serial #", 915, 1275},
    {C::Text3, "Command3D9", "Make", 2190, 1440},     {C::Text4, "Command3D10", "Model", 3630, 1320},
    {C::Text5, "Command3D11", "Year", 4950, 825},     {C::Text8, nullptr, "Tach", 5775, 975},
    {C::Text9, "Command3D21", "Empty", 6750, 915},    {C::Text10, "Command3D24", "C.G.", 7665, 870},
    {C::Text11, "Command3D25", "Max Wgt", 8535, 930},
};
constexpr int kCaptionTop = 90, kCaptionHeight = 255;
constexpr int kTopBoxTop = 345, kBoxHeight = 300;

// The second row: a bold label left of each box.
struct LabelledField {
    Control box;
    const char* labelName;
    const char* label;
    int labelLeft, labelWidth, boxWidth;
};
constexpr LabelledField kSecondRow[] = {
    {C::Text6, "Label2", "By", 60, 330, 1875},
    {C::Text22, "Label15", "Cert", 2385, 540, 1275},
    {C::Text12, "Label3", "Work Order", 4320, 1290, 1275},
    {C::Text7, "Label1", "Date", 7005, 630, 1275},
};
constexpr int kSecondRowTop = 735;

// The change list and the "New values" strip under its Weight, Arm and Moment columns.
constexpr int kGrid1Left = 60, kGrid1CaptionTop = 1155;
constexpr int kResultTop = 5850;

const std::vector<GridColumn> kGrid1Columns = {
    {"Command3D1", "Description", Ink::Yellow, 2590, kLeft},
    {"Command3D22", "Serial", Ink::Red, 1265, kCentre},
    {"Command3D2", "Weight", Ink::Yellow, 1080, kRight},
    {"Command3D3", "Arm", Ink::Yellow, 1085, kRight},
    {"Command3D4", "Moment", Ink::Yellow, 1285, kRight},  // room for the unit: "Moment (kg-mm)"
    {"Command3D5", "Installed", Ink::Blue, 850, kCentre},
    {"Command3D6_0", "Removed", Ink::Red, 845, kCentre},
};
const std::vector<GridColumn> kGrid2Columns = {
    {"Command3D30", "Jack Location", Ink::Black, 1575, kLeft},
    {"Command3D6_1", "Tare", Ink::Red, 850, kRight},
    {"Command3D6_3", "Weight", Ink::Blue, 1290, kRight},
    {"Command3D6_2", "Inches to Datum", Ink::Blue, 1590, kRight},
    {"Command3D6_4", "Moment", Ink::Blue, 1590, kRight},
};
const std::vector<GridColumn> kGrid4Columns = {
    {"Command3D33", "Fluid Description", Ink::Black, 2425, kLeft},
    {"Command3D6_6", "Weight", Ink::Blue, 1290, kRight},
    {"Command3D6_7", "Inches to Datum", Ink::Blue, 1590, kRight},
    {"Command3D6_5", "Moment", Ink::Red, 1590, kRight},
};
const std::vector<GridColumn> kGrid3Columns = {
    {"Command3D38", "Equipment List", Ink::Black, 1925, kLeft},
    {"Command3D34", "Serial", Ink::Yellow, 1105, kCentre},
    {"Command3D37", "Weight", Ink::Yellow, 1060, kRight},
    {"Command3D36", "Arm", Ink::Yellow, 1080, kRight},
    {"Command3D35", "Moment", Ink::Yellow, 1470, kRight},
};

// The button bar along the foot of the window.
struct BarButton {
    Control button;
    int left, width;
    const char* caption;  // nullptr: a picture face
    std::optional<Picture> picture;
    const char* tip;  // the key, if any, is added to it
};
constexpr BarButton kBar[] = {
    {C::Command3D17, 0, 495, nullptr, Picture::Previous, "Previous Worksheet"},
    {C::Command3D18, 480, 900, "Set-up", std::nullopt, "Company details, print options and the data folder"},
    {C::Command3D23, 1365, 1065, "SPECS", std::nullopt, "Scales, fluids, equipment list and C.G. ranges"},
    {C::Command3D15, 2415, 965, "Notes", std::nullopt, "Notes printed with the reports"},
    {C::Command3D27, 3360, 975, nullptr, Picture::CompactReport, "Print the compact equipment change report"},
    {C::Command3D26, 4290, 495, nullptr, Picture::About, "About this program, and its user's guide (F1)"},
    {C::Command3D41, 4770, 495, nullptr, Picture::History, "History of this aircraft's weight and balance"},
    {C::Command3D14, 5250, 1005, nullptr, Picture::FullReport, "Print the full equipment change report"},
    {C::Command3D19, 6240, 810, "New", std::nullopt, "Start a new Worksheet"},
    {C::Command3D13, 7035, 810, "Save", std::nullopt, "Store the Worksheet"},
    {C::Command3D12, 7830, 840, "Exit", std::nullopt, "End the program"},
    {C::DueButton, 8655, 510, "Due", std::nullopt, "Aircraft due for reweighing"},
    {C::Command3D16, 9150, 465, nullptr, Picture::Next, "Next Worksheet"},
};
constexpr int kBarTop = 6315, kBarHeight = 585;

// Caption buttons sit directly above the columns they name.
GridView* PlaceGrid(MainWindow& window, QWidget* parent, Control control,
                    const std::vector<GridColumn>& columns, int rows, int visibleRows, bool scrollBar,
                    int left, int captionTop) {
    auto* grid = new GridView(control, columns, rows, visibleRows, scrollBar, window, parent);
    const QPoint at(Px(left), Px(captionTop) + Px(kCaptionHeight));
    grid->move(at);
    for (size_t c = 0; c < columns.size(); ++c) {
        const int x = at.x() + grid->ColumnLeft(static_cast<int>(c));
        const int w = grid->columnWidth(static_cast<int>(c));
        MakeCaption(parent, columns[c].captionName, QString::fromLatin1(columns[c].caption), columns[c].ink,
                    QRect(x, Px(captionTop), w, Px(kCaptionHeight)));
    }
    return grid;
}

}  // namespace

void MainWindow::BuildWorksheet() {
    worksheet_ = MakePanel(this, "Panel3D1", TwipRect(0, 0, 9615, 6315));
    Register(C::Panel3D1, worksheet_);

    for (const TopField& f : kTopRow) {
        const QRect captionAt = TwipRect(f.left, kCaptionTop, f.width, kCaptionHeight);
        if (f.captionName != nullptr) {
            MakeCaption(worksheet_, f.captionName, QString::fromLatin1(f.caption), Ink::Red, captionAt);
        } else {
            // The tach/hobbs caption is a button of its own: a click toggles it.
            QPushButton* tach =
                MakeCaption(worksheet_, "Command3D20", QString::fromLatin1(f.caption), Ink::Red, captionAt);
            tach->setFocusPolicy(Qt::StrongFocus);
            connect(tach, &QPushButton::clicked, this, [this] { Click(C::Command3D20); });
            Register(C::Command3D20, tach);
        }
        auto* box = new FieldEdit(f.box, *this, worksheet_);
        box->setAccessibleName(QString::fromLatin1(f.caption));  // the caption above it is a button
        box->setAlignment(Qt::AlignHCenter);
        box->setGeometry(TwipRect(f.left, kTopBoxTop, f.width, kBoxHeight));
        Register(f.box, box);
    }
    for (const LabelledField& f : kSecondRow) {
        QLabel* label = MakeLabel(worksheet_, f.labelName, QString::fromLatin1(f.label),
                                  TwipRect(f.labelLeft, kSecondRowTop, f.labelWidth, kBoxHeight),
                                  Qt::AlignRight | Qt::AlignVCenter);
        auto* box = new FieldEdit(f.box, *this, worksheet_);
        label->setBuddy(box);  // a screen reader names the box by its label
        box->setGeometry(TwipRect(f.labelLeft + f.labelWidth + 45, kSecondRowTop, f.boxWidth, kBoxHeight));
        Register(f.box, box);
    }

    GridView* grid1 =
        PlaceGrid(*this, worksheet_, C::Grid1, kGrid1Columns, 30, 18, true, kGrid1Left, kGrid1CaptionTop);
    grid1->setFont(ChangeListFont());
    grid1->setAccessibleName(QStringLiteral("Equipment installed and removed"));
    Register(C::Grid1, grid1);

    const Control results[] = {C::Text23, C::Text24, C::Text27};
    const int resultColumns[] = {installed::Weight, installed::Arm, installed::Moment};
    const char* resultNames[] = {"New weight", "New arm", "New moment"};
    for (int i = 0; i < 3; ++i) {
        auto* box = new ResultBox(results[i], *this, worksheet_);
        box->setAccessibleName(QString::fromLatin1(resultNames[i]));
        box->setGeometry(grid1->x() + grid1->ColumnLeft(resultColumns[i]), Px(kResultTop),
                         grid1->columnWidth(resultColumns[i]), Px(kBoxHeight));
        Register(results[i], box);
    }
    const int weightLeft = grid1->x() + grid1->ColumnLeft(installed::Weight);
    MakeLabel(worksheet_, "Label18", QStringLiteral("New values"),
              QRect(weightLeft - Px(1560), Px(kResultTop), Px(1470), Px(kBoxHeight)),
              Qt::AlignRight | Qt::AlignVCenter);
}

void MainWindow::BuildButtonBar() {
    for (const BarButton& b : kBar) {
        auto* button = new QPushButton(this);
        button->setObjectName(QString::fromLatin1(InfoOf(b.button).name.data(),
                                                  static_cast<qsizetype>(InfoOf(b.button).name.size())));
        button->setAutoDefault(true);  // Enter presses the button that has the focus
        button->setGeometry(TwipRect(b.left, kBarTop, b.width, kBarHeight));
        if (b.caption != nullptr) {
            button->setText(QString::fromLatin1(b.caption));
        } else {
            button->setIcon(PictureIcon(*b.picture));
            button->setIconSize(IconSize());
            // A picture says nothing to a screen reader: it reads the tip.
            button->setAccessibleName(QString::fromLatin1(b.tip));
        }
        button->setToolTip(TipWithKey(QString::fromLatin1(b.tip), b.button));
        const Control c = b.button;
        connect(button, &QPushButton::clicked, this, [this, c] { Click(c); });
        Register(c, button);
    }
}

void MainWindow::BuildSpecifications() {
    // The whole width of the Worksheet: the right-hand side holds the range chart and the
    // ballast.
    QWidget* panel = MakePanel(this, "Panel3D6", TwipRect(0, -45, 9615, 6360));
    Register(C::Panel3D6, panel);
    MakeLabel(panel, "Label5", QStringLiteral("Aircraft Center of Gravity Specifications"),
              TwipRect(120, 105, 9375, 270), Qt::AlignHCenter | Qt::AlignVCenter);

    struct Range {
        Control box;
        const char* labelName;
        const char* label;
    };
    const Range ranges[] = {{C::Text14, "Label6", "C.G. range landing:"},
                            {C::Text15, "Label7", "C.G. range gear extended:"},
                            {C::Text16, "Label8", "Empty weight C.G. range:"}};
    int top = 420;
    for (const Range& r : ranges) {
        QLabel* label = MakeLabel(panel, r.labelName, QString::fromLatin1(r.label),
                                  TwipRect(120, top, 2640, 285), Qt::AlignRight | Qt::AlignVCenter);
        auto* box = new FieldEdit(r.box, *this, panel);
        label->setBuddy(box);
        box->setGeometry(TwipRect(2820, top, 3480, 285));
        Register(r.box, box);
        top += 315;
    }

    Register(C::Grid2, PlaceGrid(*this, panel, C::Grid2, kGrid2Columns, 5, 5, false, 195, 1410));
    Register(C::Grid4, PlaceGrid(*this, panel, C::Grid4, kGrid4Columns, 5, 5, false, 195, 2970));
    Register(C::Grid3, PlaceGrid(*this, panel, C::Grid3, kGrid3Columns, 100, 5, true, 195, 4530));
    WidgetOf(C::Grid2)->setAccessibleName(QStringLiteral("Scale readings"));
    WidgetOf(C::Grid4)->setAccessibleName(QStringLiteral("Fluids"));
    WidgetOf(C::Grid3)->setAccessibleName(QStringLiteral("Equipment list"));

    struct Legend {
        const char* name;
        const char* text;
        Ink ink;
        int left, width;
    };
    const Legend legend[] = {{"Label25", "Blue=To calculate CG", Ink::Blue, 195, 1995},
                             {"Label24", "Red=Subtracted automatically", Ink::Red, 2250, 2430},
                             {"Label23", "Yellow=For information only", Ink::Yellow, 4740, 2370}};
    for (const Legend& l : legend) {
        auto* label = new QLabel(QString::fromLatin1(l.text), panel);
        label->setObjectName(QString::fromLatin1(l.name));
        label->setAlignment(Qt::AlignCenter);
        label->setAutoFillBackground(true);
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, InkColour(l.ink));
        p.setColor(QPalette::Window, GroundFor(l.ink));
        label->setPalette(p);
        label->setGeometry(TwipRect(l.left, 6060, l.width, 240));
    }
    BuildLimits(panel);

    auto* loading = new QPushButton(QStringLiteral("Loading check..."), panel);
    loading->setObjectName(QStringLiteral("LoadingButton"));
    loading->setAutoDefault(true);
    loading->setToolTip(
        QStringLiteral("Stations and C.G. envelope; the most forward and most rearward extreme conditions "
                       "and the loading schedule"));
    loading->setGeometry(TwipRect(7230, 4965, 2265, 330));
    connect(loading, &QPushButton::clicked, this, [this] { Click(C::LoadingButton); });
    Register(C::LoadingButton, loading);
    // Tab reaches it where it is read: above "Convert units...".
    if (QWidget* convert = WidgetOf(C::Command3D50)) QWidget::setTabOrder(loading, convert);

    // Last: Tab reaches it where it is read, at the foot of the panel.
    auto* print = new QPushButton(panel);
    print->setObjectName(QStringLiteral("Command3D32"));
    print->setAutoDefault(true);
    print->setIcon(PictureIcon(Picture::CalculationReport));
    print->setIconSize(IconSize());
    print->setToolTip(TipWithKey(QStringLiteral("Print the weight and balance report"), C::Command3D32));
    print->setAccessibleName(QStringLiteral("Print the weight and balance report"));
    print->setGeometry(TwipRect(8760, 5310, 735, 690));
    connect(print, &QPushButton::clicked, this, [this] { Click(C::Command3D32); });
    Register(C::Command3D32, print);
}

void MainWindow::BuildNotes() {
    QWidget* panel = MakePanel(this, "Panel3D5", TwipRect(660, 2520, 8220, 1875));
    Register(C::Panel3D5, panel);
    auto* notes = new NotesEdit(C::Text13, *this, panel);
    notes->setAccessibleName(QStringLiteral("Notes"));
    notes->setGeometry(TwipRect(120, 120, 7980, 1635));
    Register(C::Text13, notes);
}

void MainWindow::BuildAbout() {
    QWidget* panel = MakePanel(this, "Panel3D4", TwipRect(1920, 510, 5160, 4965));
    Register(C::Panel3D4, panel);
    const char* lines[] = {
        "Weight and Balance", "Version " WB_VERSION,
        "Weight and balance for fixed-wing aircraft,\nworked out, stored and printed by the shop.",
        "For support, call the shop that installed\nthis program."};
    const int tops[] = {600, 1200, 2100, 3300};
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(QString::fromLatin1(lines[i]), panel);
        label->setObjectName(QStringLiteral("About%1").arg(i + 1));
        label->setAlignment(Qt::AlignCenter);
        if (i == 0) label->setFont(LabelFont());
        label->setGeometry(TwipRect(240, tops[i], 4680, i < 2 ? 360 : 720));
    }
    struct Button {
        Control control;
        const char* caption;
        const char* tip;
        int left;
    };
    for (const Button& b : {Button{C::AboutHelp, "Help", "The user's guide", 600},
                            Button{C::AboutClose, "Close", "Close this panel (Esc)", 2760}}) {
        auto* button = new QPushButton(QString::fromLatin1(b.caption), panel);
        button->setObjectName(QString::fromLatin1(InfoOf(b.control).name.data(),
                                                  static_cast<qsizetype>(InfoOf(b.control).name.size())));
        button->setAutoDefault(true);
        button->setToolTip(TipWithKey(QString::fromLatin1(b.tip), b.control));
        button->setGeometry(TwipRect(b.left, 4260, 1800, 495));
        connect(button, &QPushButton::clicked, this, [this, c = b.control] { Click(c); });
        Register(b.control, button);
    }
}

}  // namespace wb::gui
