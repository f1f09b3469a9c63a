// The weighing record's panels: the weighing (the scale under each scale row and the
// conditions, with the warnings as they stand), the shop's scales from the set-up panel, and
// the aircraft due for reweighing from the bar. The form decides; these show and forward.
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "app/MainForm.h"
#include "app/qt/MainWindow.h"
#include "app/qt/Units.h"
#include "app/qt/Widgets.h"
#include "worksheet/Units.h"

namespace wb::gui {

using C = Control;

namespace {

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
std::string S(const QString& text) {
    return text.toStdString();
}

// A choice box over a field that holds a code: shown texts and the codes they stand for.
struct Choice {
    const char* shown;
    std::string_view code;
};
const Choice kFuel[] = {{"", ""}, {"Drained to unusable", kFuelDrained}, {"Full", kFuelFull}};
const Choice kOil[] = {{"", ""}, {"Full", kOilFull}, {"Drained", kOilDrained}};
const Choice kPlace[] = {{"", ""}, {"Indoors", kIndoors}, {"Outdoors", kOutdoors}};

QPushButton* MakeButton(QWidget* parent, Control c, const QString& caption, const QRect& at) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(Q(InfoOf(c).name));
    button->setAutoDefault(true);
    button->setGeometry(at);
    return button;
}

QString Lines(const std::vector<std::string>& lines) {
    QStringList all;
    for (const std::string& line : lines)
        all << Q(line);
    return all.join(QLatin1Char('\n'));
}

}  // namespace

// What the panels show beyond the registered controls, made afresh with them at each build.
class WeighingViews : public QObject {
  public:
    using QObject::QObject;
    struct Box {
        Field field;
        QLineEdit* edit = nullptr;
        QComboBox* combo = nullptr;
        std::vector<Choice> choices;
    };
    std::vector<Box> boxes;
    QComboBox* scaleChoice[5] = {};
    QLabel* rowName[5] = {};
    QLabel* reading[5] = {};
    QComboBox* reweigh = nullptr;
    QLabel* title = nullptr;
    QLabel* warnings = nullptr;
    QTreeWidget* scaleList = nullptr;
    QLineEdit* scaleBoxes[5] = {};  // serial, make and model, capacity, calibrated, interval
    std::int64_t chosenScale = 0;
    int scalesShown = -1;
    QTreeWidget* dueList = nullptr;
    int dueShown = -1;
};

void MainWindow::BuildWeighingRecord() {
    delete weighingViews_;
    weighingViews_ = new WeighingViews(this);
    WeighingViews& v = *weighingViews_;

    // The way in: on the specifications panel, beside the scale rows it completes.
    if (QWidget* specifications = WidgetOf(C::Panel3D6)) {
        QPushButton* open = MakeButton(specifications, C::WeighingButton, QStringLiteral("Weighing record..."),
                                       TwipRect(7230, 5670, 1470, 330));
        open->setToolTip(
            QStringLiteral("The scales used, the weighing's conditions and the reweigh interval"));
        open->setAccessibleName(QStringLiteral("Weighing record"));
        connect(open, &QPushButton::clicked, this, [this] { Click(C::WeighingButton); });
        Register(C::WeighingButton, open);
        // Tab reaches it where it is read: just before the print button beside it.
        if (QWidget* print = WidgetOf(C::Command3D32)) {
            QWidget::setTabOrder(print->previousInFocusChain(), open);
            QWidget::setTabOrder(open, print);
        }
    }
    if (QWidget* setup = WidgetOf(C::Panel3D7)) {
        QPushButton* open =
            MakeButton(setup, C::ScalesButton, QStringLiteral("Scales"), TwipRect(5010, 4560, 1005, 585));
        open->setToolTip(QStringLiteral("The shop's scales and their calibration"));
        connect(open, &QPushButton::clicked, this, [this] { Click(C::ScalesButton); });
        Register(C::ScalesButton, open);
        if (QWidget* fonts = WidgetOf(C::Command3D28)) QWidget::setTabOrder(fonts, open);
    }

    // ---- the weighing panel, over the Worksheet ----
    QWidget* panel = MakePanel(this, "WeighingPanel", TwipRect(0, 0, 9615, 6315));
    Register(C::WeighingPanel, panel);
    v.title = MakeLabel(panel, "WeighingTitle", QString(), TwipRect(120, 90, 9375, 285),
                        Qt::AlignHCenter | Qt::AlignVCenter);
    MakeLabel(panel, "WeighingRowHead", QStringLiteral("Scale row"), TwipRect(120, 420, 1800, 285));
    MakeLabel(panel, "WeighingReadingHead", QStringLiteral("Reading"), TwipRect(1950, 420, 1100, 285),
              Qt::AlignRight | Qt::AlignVCenter);
    MakeLabel(panel, "WeighingScaleHead", QStringLiteral("Scale"), TwipRect(3250, 420, 4000, 285));
    for (int n = 0; n < 5; ++n) {
        const int top = 735 + n * 345;
        v.rowName[n] = new QLabel(panel);
        v.rowName[n]->setGeometry(TwipRect(120, top, 1800, 315));
        v.reading[n] = new QLabel(panel);
        v.reading[n]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        v.reading[n]->setGeometry(TwipRect(1950, top, 1100, 315));
        auto* combo = new QComboBox(panel);
        combo->setObjectName(QStringLiteral("ScaleChoice%1").arg(n + 1));
        combo->setGeometry(TwipRect(3250, top, 4000, 315));
        const Field f = static_cast<Field>(static_cast<int>(Field::Scale1) + n);
        combo->setAccessibleName(QStringLiteral("Scale of row %1").arg(n + 1));
        connect(combo, qOverload<int>(&QComboBox::activated), this, [this, combo, f](int index) {
            const std::string serial = S(combo->itemData(index).toString());
            WhenFree([=, this] { form_.WeighingFieldChanged(f, serial); });
        });
        v.scaleChoice[n] = combo;
    }

    struct Condition {
        Field field;
        const char* label;
        int left, top;
        const Choice* choices;
        size_t count;
    };
    const Condition conditions[] = {
        {Field::Levelling, "Levelled by", 0, 2850, nullptr, 0},
        {Field::FuelState, "Fuel", 0, 3195, kFuel, std::size(kFuel)},
        {Field::FuelPerGallon, "Fuel weight per gallon", 0, 3540, nullptr, 0},
        {Field::Oil, "Oil", 0, 3885, kOil, std::size(kOil)},
        {Field::OtherFluids, "Other fluids", 4800, 2850, nullptr, 0},
        {Field::WeighPlace, "Weighed", 4800, 3195, kPlace, std::size(kPlace)},
        {Field::WeighedBy, "Weighed by", 4800, 3540, nullptr, 0},
        {Field::Temperature, "Temperature", 4800, 3885, nullptr, 0},
    };
    MakeLabel(panel, "WeighingConditions", QStringLiteral("Conditions of the weighing"),
              TwipRect(120, 2520, 9375, 285));
    for (const Condition& c : conditions) {
        QLabel* label =
            MakeLabel(panel, "WeighingLabel", QString::fromLatin1(c.label),
                      TwipRect(120 + c.left, c.top, 2100, 315), Qt::AlignRight | Qt::AlignVCenter);
        WeighingViews::Box box{c.field, nullptr, nullptr, {}};
        const QRect at = TwipRect(2300 + c.left, c.top, 2400, 315);
        const Field f = c.field;
        if (c.choices != nullptr) {
            box.combo = new QComboBox(panel);
            box.combo->setGeometry(at);
            box.choices.assign(c.choices, c.choices + c.count);
            for (const Choice& choice : box.choices)
                box.combo->addItem(QString::fromLatin1(choice.shown), Q(choice.code));
            connect(box.combo, qOverload<int>(&QComboBox::activated), this,
                    [this, f, combo = box.combo](int i) {
                        const std::string code = S(combo->itemData(i).toString());
                        WhenFree([=, this] { form_.WeighingFieldChanged(f, code); });
                    });
            label->setBuddy(box.combo);
        } else {
            box.edit = new QLineEdit(panel);
            box.edit->setGeometry(at);
            box.edit->setMaxLength(InfoOf(f).maxChars);
            connect(box.edit, &QLineEdit::textEdited, this, [this, f](const QString& text) {
                const std::string typed = S(text);
                WhenFree([=, this] { form_.WeighingFieldChanged(f, typed); });
            });
            label->setBuddy(box.edit);
        }
        v.boxes.push_back(box);
    }
    QLabel* reweighLabel = MakeLabel(panel, "ReweighLabel", QStringLiteral("Reweigh every"),
                                     TwipRect(120, 4300, 2100, 315), Qt::AlignRight | Qt::AlignVCenter);
    v.reweigh = new QComboBox(panel);
    v.reweigh->setObjectName(QStringLiteral("ReweighBox"));
    v.reweigh->setEditable(true);
    v.reweigh->setGeometry(TwipRect(2300, 4300, 2400, 315));
    v.reweigh->addItems({QStringLiteral("None"), QStringLiteral("48 months (4 years)"),
                         QStringLiteral("108 months (9 years)")});
    v.reweigh->setToolTip(QStringLiteral("None, 4 years, 9 years, or a number of months"));
    reweighLabel->setBuddy(v.reweigh);
    auto reweighChosen = [this](const QString& text) {
        const int months = ReweighMonthsOf(S(text));
        const std::string field = months > 0 ? std::to_string(months) : std::string();
        WhenFree([=, this] { form_.WeighingFieldChanged(Field::ReweighMonths, field); });
    };
    connect(v.reweigh, &QComboBox::textActivated, this, reweighChosen);
    connect(v.reweigh->lineEdit(), &QLineEdit::editingFinished, this,
            [this, reweighChosen] { reweighChosen(weighingViews_->reweigh->currentText()); });

    v.warnings = new QLabel(panel);
    v.warnings->setObjectName(QStringLiteral("WeighingWarnings"));
    v.warnings->setWordWrap(true);
    v.warnings->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    v.warnings->setStyleSheet(QStringLiteral("color: #c00000"));
    v.warnings->setGeometry(TwipRect(120, 4750, 7900, 1400));

    QPushButton* close =
        MakeButton(panel, C::WeighingClose, QStringLiteral("Close"), TwipRect(8100, 5670, 1395, 495));
    connect(close, &QPushButton::clicked, this, [this] { Click(C::WeighingClose); });
    Register(C::WeighingClose, close);

    // ---- the shop's scales, over the set-up panel ----
    QWidget* scales = MakePanel(this, "ScalesPanel", TwipRect(600, 540, 7800, 5715));
    Register(C::ScalesPanel, scales);
    MakeLabel(scales, "ScalesTitle", QStringLiteral("The Shop's Scales"), TwipRect(120, 90, 7560, 285),
              Qt::AlignHCenter | Qt::AlignVCenter);
    v.scaleList = new QTreeWidget(scales);
    v.scaleList->setObjectName(QStringLiteral("ScaleList"));
    v.scaleList->setAccessibleName(QStringLiteral("Scales"));
    v.scaleList->setRootIsDecorated(false);
    v.scaleList->setGeometry(TwipRect(120, 420, 7560, 2700));
    v.scaleList->setHeaderLabels({QStringLiteral("Serial"), QStringLiteral("Make and model"),
                                  QStringLiteral("Capacity"), QStringLiteral("Calibrated"),
                                  QStringLiteral("Months"), QStringLiteral("Due"), QStringLiteral("")});
    const char* boxLabels[] = {"Serial number", "Make and model", "Capacity", "Date last calibrated",
                               "Interval in months"};
    for (int i = 0; i < 5; ++i) {
        const int top = 3240 + i * 330;
        QLabel* label = MakeLabel(scales, "ScaleLabel", QString::fromLatin1(boxLabels[i]),
                                  TwipRect(120, top, 2300, 300), Qt::AlignRight | Qt::AlignVCenter);
        v.scaleBoxes[i] = new QLineEdit(scales);
        v.scaleBoxes[i]->setObjectName(QStringLiteral("ScaleBox%1").arg(i));
        v.scaleBoxes[i]->setGeometry(TwipRect(2500, top, 3000, 300));
        label->setBuddy(v.scaleBoxes[i]);
    }
    v.scaleBoxes[4]->setPlaceholderText(QStringLiteral("24"));
    v.scaleBoxes[3]->setPlaceholderText(QStringLiteral("mm-dd-yyyy"));
    connect(v.scaleList, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        WeighingViews& w = *weighingViews_;
        w.chosenScale = item ? item->data(0, Qt::UserRole).toLongLong() : 0;
        for (int i = 0; i < 5; ++i)
            w.scaleBoxes[i]->setText(item ? item->text(i) : QString());
    });
    QPushButton* fresh = new QPushButton(QStringLiteral("New"), scales);
    fresh->setObjectName(QStringLiteral("ScaleNew"));
    fresh->setGeometry(TwipRect(5700, 3240, 1980, 405));
    connect(fresh, &QPushButton::clicked, this, [this] {
        WeighingViews& w = *weighingViews_;
        w.scaleList->setCurrentItem(nullptr);
        w.chosenScale = 0;
        for (QLineEdit* box : w.scaleBoxes)
            box->clear();
        w.scaleBoxes[0]->setFocus();
    });
    QPushButton* keep =
        MakeButton(scales, C::ScaleKeep, QStringLiteral("Keep"), TwipRect(5700, 3705, 1980, 405));
    connect(keep, &QPushButton::clicked, this, [this] {
        WeighingViews& w = *weighingViews_;
        MainForm::TypedScale typed{w.chosenScale,
                                   S(w.scaleBoxes[0]->text()),
                                   S(w.scaleBoxes[1]->text()),
                                   S(w.scaleBoxes[2]->text()),
                                   S(w.scaleBoxes[3]->text()),
                                   S(w.scaleBoxes[4]->text())};
        WhenFree([=, this] {
            if (form_.Usable(C::ScaleKeep) && form_.KeepScale(typed)) weighingViews_->scalesShown = -1;
        });
    });
    Register(C::ScaleKeep, keep);
    QPushButton* remove = MakeButton(scales, C::ScaleRemove, QStringLiteral("Delete or retire"),
                                     TwipRect(5700, 4170, 1980, 405));
    remove->setToolTip(QStringLiteral("A scale that a stored weighing names is retired, not deleted"));
    connect(remove, &QPushButton::clicked, this, [this] {
        WeighingViews& w = *weighingViews_;
        if (w.chosenScale == 0) return;
        const std::int64_t id = w.chosenScale;
        WhenFree([=, this] {
            if (!form_.Usable(C::ScaleRemove)) return;
            form_.RemoveShopScale(id);
            weighingViews_->scalesShown = -1;
        });
    });
    Register(C::ScaleRemove, remove);
    QPushButton* closeScales =
        MakeButton(scales, C::ScalesClose, QStringLiteral("Close"), TwipRect(5700, 5100, 1980, 495));
    connect(closeScales, &QPushButton::clicked, this, [this] { Click(C::ScalesClose); });
    Register(C::ScalesClose, closeScales);

    // ---- the aircraft due for reweighing, over the Worksheet ----
    QWidget* due = MakePanel(this, "DuePanel", TwipRect(0, 0, 9615, 6315));
    Register(C::DuePanel, due);
    MakeLabel(due, "DueTitle", QStringLiteral("Due for Reweighing"), TwipRect(120, 90, 9375, 285),
              Qt::AlignHCenter | Qt::AlignVCenter);
    v.dueList = new QTreeWidget(due);
    v.dueList->setObjectName(QStringLiteral("DueList"));
    v.dueList->setAccessibleName(QStringLiteral("Due for reweighing"));
    v.dueList->setRootIsDecorated(false);
    v.dueList->setUniformRowHeights(true);
    v.dueList->setAlternatingRowColors(true);
    v.dueList->setGeometry(TwipRect(120, 420, 9375, 5100));
    QStringList headings;
    for (const std::string& column : DueColumns())
        headings << Q(column);
    v.dueList->setHeaderLabels(headings);
    QPushButton* print =
        MakeButton(due, C::DuePrint, QStringLiteral("Print"), TwipRect(120, 5670, 1400, 495));
    connect(print, &QPushButton::clicked, this, [this] { Click(C::DuePrint); });
    Register(C::DuePrint, print);
    QPushButton* closeDue =
        MakeButton(due, C::DueClose, QStringLiteral("Close"), TwipRect(8100, 5670, 1395, 495));
    connect(closeDue, &QPushButton::clicked, this, [this] { Click(C::DueClose); });
    Register(C::DueClose, closeDue);
}

void MainWindow::ShowWeighingRecord() {
    if (weighingViews_ == nullptr) return;
    WeighingViews& v = *weighingViews_;
    const Worksheet& ws = form_.ws;
    if (form_.Visible(C::WeighingPanel)) {
        v.title->setText(QStringLiteral("Weighing Record of %1 on %2")
                             .arg(Q(ws.Get(Field::Tail)), Q(ws.Get(Field::Date))));
        for (int n = 0; n < 5; ++n) {
            const std::string row = ws.ScaleRows().At(n, scale::Dsc).Text();
            v.rowName[n]->setText(row.empty() ? QStringLiteral("Row %1").arg(n + 1) : Q(row));
            v.reading[n]->setText(Q(ws.grid(GridId::Grid2).Cell(n, scale::Wgt)));
            const Field f = static_cast<Field>(static_cast<int>(Field::Scale1) + n);
            const std::string& chosen = ws.Get(f);
            QComboBox* combo = v.scaleChoice[n];
            const QSignalBlocker block(combo);
            combo->clear();
            combo->addItem(QString(), QString());
            for (const ShopScale& s : form_.shopScales)
                if (!s.retired || s.serial == chosen) combo->addItem(Q(s.Name()), Q(s.serial));
            int at = combo->findData(Q(chosen));
            if (at < 0) {
                combo->addItem(Q(chosen), Q(chosen));  // one the shop no longer keeps
                at = combo->count() - 1;
            }
            combo->setCurrentIndex(at);
        }
        for (WeighingViews::Box& box : v.boxes) {
            const std::string& text = ws.Get(box.field);
            if (box.edit != nullptr && S(box.edit->text()) != text) {
                const QSignalBlocker block(box.edit);
                box.edit->setText(Q(text));
            }
            if (box.combo != nullptr) {
                const QSignalBlocker block(box.combo);
                box.combo->setCurrentIndex(std::max(0, box.combo->findData(Q(text))));
            }
        }
        if (!v.reweigh->hasFocus()) {
            const QSignalBlocker block(v.reweigh);
            const std::string& months = ws.Get(Field::ReweighMonths);
            if (months.empty())
                v.reweigh->setCurrentIndex(0);
            else if (months == "48")
                v.reweigh->setCurrentIndex(1);
            else if (months == "108")
                v.reweigh->setCurrentIndex(2);
            else
                v.reweigh->setEditText(Q(months + " months"));
        }
        v.warnings->setText(Lines(form_.WeighingWarningsNow()));
    }
    if (form_.Visible(C::ScalesPanel) && v.scalesShown != static_cast<int>(form_.shopScales.size())) {
        v.scalesShown = static_cast<int>(form_.shopScales.size());
        const QSignalBlocker block(v.scaleList);
        v.scaleList->clear();
        for (const ShopScale& s : form_.shopScales) {
            const auto due = s.CalibrationDue();
            auto* item = new QTreeWidgetItem(QStringList{
                Q(s.serial), Q(s.makeModel), s.capacity ? QString::number(*s.capacity) : QString(),
                s.calibrated ? Q(ShownDate(*s.calibrated)) : QString(), QString::number(s.intervalMonths),
                due ? Q(ShownDate(*due)) : QString(), s.retired ? QStringLiteral("retired") : QString()});
            item->setData(0, Qt::UserRole, static_cast<qlonglong>(s.id));
            if (due && form_.clock().Today() > *due) item->setForeground(5, QColor(0xc0, 0, 0));
            if (s.retired)
                for (int c = 0; c < 7; ++c)
                    item->setForeground(c, QColor(0x80, 0x80, 0x80));
            v.scaleList->addTopLevelItem(item);
        }
        for (int c = 0; c < v.scaleList->columnCount(); ++c)
            v.scaleList->resizeColumnToContents(c);
    }
    if (form_.Visible(C::DuePanel) && v.dueShown != form_.dueReads) {
        v.dueShown = form_.dueReads;
        v.dueList->clear();
        for (const DueLine& line : form_.dueList) {
            QStringList cells;
            for (const std::string& cell : DueCells(line))
                cells << Q(cell);
            auto* item = new QTreeWidgetItem(cells);
            for (int c = 2; c <= 3; ++c)
                item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
            if (line.overdue) item->setForeground(4, QColor(0xc0, 0, 0));
            v.dueList->addTopLevelItem(item);
        }
        for (int c = 0; c < v.dueList->columnCount(); ++c)
            v.dueList->resizeColumnToContents(c);
    }
}

// The history panel's line under the list: the change since the weighing, the advice and the
// next due date, red once past.
QString ReweighSummary(const MainForm& form) {
    QString text = Q(ChainSummary(form.history)).toHtmlEscaped();
    const std::string advice = AdviceText(form.reweighInput, form.reweighAdvice, wb::Units(form.ws));
    if (!advice.empty()) text += QStringLiteral("<br><b>%1</b>").arg(Q(advice).toHtmlEscaped());
    const std::string due = DueText(form.reweighAdvice);
    if (!due.empty()) {
        const QString shown = Q(due).toHtmlEscaped();
        text += QStringLiteral("<br>") +
                (form.reweighAdvice.overdue
                     ? QStringLiteral("<span style=\"color:#c00000\"><b>%1</b></span>").arg(shown)
                     : shown);
    }
    return text;
}

}  // namespace wb::gui
