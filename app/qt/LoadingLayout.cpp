// The loading panel over the Worksheet: the stations grid and the two envelope grids, the
// fuel, oil and occupant boxes, and from them the chart (drawn by the same code as on paper),
// the two extreme-condition tables and the loading schedule. Every edit goes to the form; the
// panel is then shown again from the form's state.
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTextBrowser>

#include "app/LoadingPanel.h"
#include "app/qt/LimitsView.h"
#include "app/qt/MainWindow.h"
#include "app/qt/Units.h"
#include "app/qt/Widgets.h"
#include "reports/LoadingCheck.h"
#include "reports/qt/PainterPage.h"
#include "worksheet/Format.h"

namespace wb::gui {
namespace {

using C = Control;

constexpr int kRawText = Qt::UserRole;  // a cell's text as typed; the display shows it formatted

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString Html(std::string_view text) {
    return Q(text).toHtmlEscaped();
}

// Edits a cell from its text as typed: a box for numbers and names, a list for the kind.
class LoadingDelegate : public QStyledItemDelegate {
  public:
    LoadingDelegate(LoadingGrid grid, QObject* parent) : QStyledItemDelegate(parent), grid_(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override {
        if (grid_ == LoadingGrid::Stations && index.column() == station::Kind) {
            auto* kinds = new QComboBox(parent);
            kinds->addItem(QString());
            for (StationKind k : kAllStationKinds)
                kinds->addItem(Q(KindName(k)));
            return kinds;
        }
        auto* box = new QLineEdit(parent);
        box->setMaxLength(LoadingCellLimit(grid_, index.column()));
        return box;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        const QString raw = index.data(kRawText).toString();
        if (auto* kinds = qobject_cast<QComboBox*>(editor)) {
            const int at = kinds->findText(raw, Qt::MatchFixedString);
            kinds->setCurrentIndex(at < 0 ? 0 : at);
        } else if (auto* box = qobject_cast<QLineEdit*>(editor)) {
            box->setText(raw);
        }
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
        if (auto* kinds = qobject_cast<QComboBox*>(editor))
            model->setData(index, kinds->currentText(), Qt::EditRole);
        else if (auto* box = qobject_cast<QLineEdit*>(editor))
            model->setData(index, box->text(), Qt::EditRole);
    }

  private:
    LoadingGrid grid_;
};

// A cell of a table in the results: right-aligned when it is a figure.
QString Cell(std::string_view text, bool figure, bool bold = false) {
    QString html = Html(text);
    if (bold) html = QStringLiteral("<b>%1</b>").arg(html);
    return figure ? QStringLiteral("<td align=\"right\">%1</td>").arg(html) : QStringLiteral("<td>%1</td>").arg(html);
}

QString VerdictHtml(const Verdict& v, const char* prefix = "") {
    const QString colour = v.within ? QStringLiteral("#007000") : QStringLiteral("#c00000");
    return QStringLiteral("%1%2<br><b><font color=\"%3\">%4</font></b>")
        .arg(QLatin1String(prefix), Html(v.limits), colour, Html(v.result));
}

QString TableHtml(const LoadingTable& t, UnitSystem u) {
    QString html = QStringLiteral("<p><b>%1</b></p><table border=\"1\" cellspacing=\"0\" cellpadding=\"2\">").arg(Html(t.title));
    html += QStringLiteral("<tr><th>Item</th><th>Weight (%1)</th><th>Arm (%2)</th><th>Moment (%3)</th></tr>")
                .arg(Q(WeightUnit(u)), Q(ArmUnit(u)), Q(MomentUnit(u)));
    for (const LoadingLine& l : t.lines)
        html += QStringLiteral("<tr>") + Cell(l.item, false) + Cell(l.weight, true) + Cell(l.arm, true) +
                Cell(l.moment, true) + QStringLiteral("</tr>");
    html += QStringLiteral("<tr>") + Cell("Total", false, true) + Cell(t.totalWeight, true, true) + Cell("", true) +
            Cell(t.totalMoment, true, true) + QStringLiteral("</tr>");
    html += QStringLiteral("<tr>") + Cell("C.G.", false, true) + Cell("", true) + Cell(t.cg, true, true) +
            Cell("", true) + QStringLiteral("</tr></table>");
    html += QStringLiteral("<p>") + VerdictHtml(t.normal);
    if (t.utility) html += QStringLiteral("<br>") + VerdictHtml(*t.utility, "Utility category. ");
    if (t.landing) html += QStringLiteral("<br>") + Html(*t.landing);
    return html + QStringLiteral("</p>");
}

QString ResultsHtml(const LoadingEvaluation& e) {
    QString html;
    const auto list = [&](const char* heading, const std::vector<std::string>& lines, const char* colour) {
        html += QStringLiteral("<p><b><font color=\"%1\">%2</font></b>").arg(QLatin1String(colour), QLatin1String(heading));
        for (const std::string& l : lines)
            html += QStringLiteral("<br><font color=\"%1\">%2</font>").arg(QLatin1String(colour), Html(l));
        html += QStringLiteral("</p>");
    };
    if (!e.HasData()) {
        return QStringLiteral("<p>Type the loading stations and the C.G. envelope: the most forward and most "
                              "rearward extreme conditions and the loading schedule are worked out here.</p>");
    }
    if (e.read.Refused()) list("Refused: this data cannot be stored.", e.read.refusals, "#c00000");
    if (!e.missing.empty()) list("The checks cannot be made yet:", e.missing, "#805000");
    if (e.forward) html += TableHtml(*e.forward, e.units);
    if (e.aft) html += TableHtml(*e.aft, e.units);
    if (!e.schedule.empty()) {
        html += QStringLiteral("<p><b>Loading schedule</b></p><table border=\"1\" cellspacing=\"0\" cellpadding=\"2\">"
                               "<tr><th>Case</th><th>Fuel</th><th>Passengers</th><th>Baggage</th><th>Weight</th>"
                               "<th>C.G.</th><th>Result</th></tr>");
        for (const ScheduleCase& s : e.schedule) {
            html += QStringLiteral("<tr>") + Cell(s.label, false) + Cell(s.fuel, false) + Cell(s.passengers, false) +
                    Cell(s.baggage, true) + Cell(s.weight, true) + Cell(s.cg, true) +
                    QStringLiteral("<td><font color=\"%1\">%2</font></td></tr>")
                        .arg(s.permissible ? QStringLiteral("#007000") : QStringLiteral("#c00000"), Html(s.result));
        }
        html += QStringLiteral("</table>");
    }
    if (e.forward) html += QStringLiteral("<p><small>%1</small></p>").arg(Html(RoundingNote(e.units)));
    return html;
}

}  // namespace

// ---- the chart -------------------------------------------------------------------------------

LoadingChartView::LoadingChartView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("LoadingChart"));
    setAccessibleName(QStringLiteral("Loading chart: weight against C.G."));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, p.color(QPalette::Base));
    setPalette(p);
}

void LoadingChartView::Show(std::shared_ptr<const LoadingEvaluation> evaluation) {
    evaluation_ = std::move(evaluation);
    update();
}

void LoadingChartView::paintEvent(QPaintEvent*) {
    if (!evaluation_) return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const double twipsPerPixel = kTwipsPerPixel * 100.0 / Zoom();
    PainterPage page(painter, twipsPerPixel, width() * twipsPerPixel, height() * twipsPerPixel);
    DrawLoadingChart(page, *evaluation_, 60, 60, page.PrintableWidth() - 120, page.PrintableHeight() - 120);
}

// ---- the panel -------------------------------------------------------------------------------

namespace {

// The headings with the unit words, under the heading where the header has two lines.
void SetHeadings(QTableWidget* table, LoadingGrid grid, UnitSystem units) {
    const bool twoLines = table->horizontalHeader()->maximumHeight() > RowHeight() * 3 / 2;
    QStringList headings;
    for (const std::string& h : LoadingHeadings(grid, units))
        headings << (twoLines ? Q(h).replace(QStringLiteral(" ("), QStringLiteral("\n(")) : Q(h));
    table->setHorizontalHeaderLabels(headings);
}

QTableWidget* LoadingTable(MainWindow& window, QWidget* panel, const char* name, const QString& accessible,
                           LoadingGrid grid, UnitSystem units, const std::vector<int>& widths, int headerTwips,
                           const QRect& at) {
    auto* table = new QTableWidget(LoadingGridRows(grid), LoadingGridColumns(grid), panel);
    table->setObjectName(QString::fromLatin1(name));
    table->setAccessibleName(accessible);
    table->setFont(ChangeListFont());
    table->setItemDelegate(new LoadingDelegate(grid, table));
    table->horizontalHeader()->setFont(ChangeListFont());
    table->verticalHeader()->setFont(ChangeListFont());
    table->verticalHeader()->setDefaultSectionSize(RowHeight());
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->horizontalHeader()->setFixedHeight(Px(headerTwips));
    SetHeadings(table, grid, units);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    for (size_t c = 0; c < widths.size(); ++c)
        table->setColumnWidth(static_cast<int>(c), Px(widths[c]));
    table->horizontalHeader()->setStretchLastSection(true);
    table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                           QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setGeometry(at);
    for (int r = 0; r < table->rowCount(); ++r)
        for (int c = 0; c < table->columnCount(); ++c) {
            auto* item = new QTableWidgetItem();
            const bool figure = !(grid == LoadingGrid::Stations && (c == station::Name || c == station::Kind));
            item->setTextAlignment(figure ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter);
            table->setItem(r, c, item);
        }
    QObject::connect(table, &QTableWidget::itemChanged, &window, [&window, grid](QTableWidgetItem* item) {
        window.LoadingCellTyped(grid, item->row(), item->column(), item->text());
    });
    return table;
}

}  // namespace

void MainWindow::BuildLoading() {
    QWidget* panel = MakePanel(this, "LoadingPanel", TwipRect(0, 0, 9615, 6315));
    Register(C::LoadingPanel, panel);
    loadingTitle_ = MakeLabel(panel, "LoadingTitle", QString(), TwipRect(120, 60, 9375, 285),
                              Qt::AlignHCenter | Qt::AlignVCenter);

    // The data on the left, what it comes to on the right; the unit words of the Worksheet's
    // unit system, shown afresh should it change.
    const UnitSystem units = LoadingUnits(form_.ws);
    loadingUnits_ = units;
    loadingGrids_[0] = LoadingTable(*this, panel, "LoadingStations", QStringLiteral("Loading stations"),
                                    LoadingGrid::Stations, units, {1060, 1480, 640, 480, 780, 700}, 420,
                                    TwipRect(120, 390, 5560, 1890));
    const struct {
        LoadingGrid grid;
        const char* name;
        const char* caption;
        int left;
    } envelopes[] = {{LoadingGrid::Normal, "LoadingNormal", "Envelope: normal category", 120},
                     {LoadingGrid::Utility, "LoadingUtility", "Utility category (optional)", 2940}};
    for (size_t i = 0; i < 2; ++i) {
        QLabel* caption = MakeLabel(panel, "LoadingEnvelopeCaption", Q(envelopes[i].caption),
                                    TwipRect(envelopes[i].left, 2330, 2740, 270));
        caption->setObjectName(QString::fromLatin1(envelopes[i].name) + QStringLiteral("Caption"));
        loadingGrids_[i + 1] = LoadingTable(*this, panel, envelopes[i].name, Q(envelopes[i].caption),
                                            envelopes[i].grid, units, {1080, 1000}, 270,
                                            TwipRect(envelopes[i].left, 2600, 2740, 1500));
        caption->setBuddy(loadingGrids_[i + 1]);
    }

    // The boxes in a row, each captioned above.
    for (size_t i = 0; i < kAllLoadingBoxes.size(); ++i) {
        const LoadingBox box = kAllLoadingBoxes[i];
        const int left = 120 + static_cast<int>(i) * 1120;
        QLabel* label = MakeLabel(panel, "LoadingBoxLabel", Q(LoadingBoxCaption(box, units)),
                                  TwipRect(left, 4150, 1060, 420), Qt::AlignHCenter | Qt::AlignBottom);
        label->setObjectName(QStringLiteral("LoadingBoxLabel%1").arg(i));
        label->setWordWrap(true);
        label->setFont(ChangeListFont());
        auto* edit = new QLineEdit(panel);
        edit->setObjectName(QStringLiteral("LoadingBox%1").arg(i));
        edit->setMaxLength(kLoadingBoxLimit);
        edit->setAlignment(Qt::AlignRight);
        edit->setPlaceholderText(Q(LoadingBoxDefault(box, units)));
        edit->setGeometry(TwipRect(left, 4590, 1060, 285));
        label->setBuddy(edit);
        connect(edit, &QLineEdit::textEdited, this, [this, box](const QString& text) { LoadingBoxTyped(box, text); });
        loadingBoxes_[i] = edit;
        loadingBoxLabels_[i] = label;
    }
    loadingNotice_ = MakeLabel(panel, "LoadingNotice", QString(), TwipRect(120, 4960, 5560, 780));
    loadingNotice_->setWordWrap(true);
    loadingNotice_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    loadingChart_ = new LoadingChartView(panel);
    loadingChart_->setGeometry(TwipRect(5760, 390, 3735, 2900));
    loadingResults_ = new QTextBrowser(panel);
    loadingResults_->setObjectName(QStringLiteral("LoadingResults"));
    loadingResults_->setAccessibleName(QStringLiteral("Extreme conditions and loading schedule"));
    loadingResults_->setFont(ChangeListFont());
    loadingResults_->setGeometry(TwipRect(5760, 3350, 3735, 2330));

    MakeLabel(panel, "LoadingHint", QStringLiteral("Ctrl+P prints the report with this check; Esc or Close goes back."),
              TwipRect(120, 5760, 5560, 435), Qt::AlignLeft | Qt::AlignVCenter)
        ->setFont(ChangeListFont());
    auto* close = new QPushButton(QStringLiteral("Close"), panel);
    close->setObjectName(QStringLiteral("LoadingClose"));
    close->setAutoDefault(true);
    close->setToolTip(QStringLiteral("Close the loading panel (Esc)"));
    close->setGeometry(TwipRect(8295, 5760, 1200, 435));
    connect(close, &QPushButton::clicked, this, [this] { Click(C::LoadingClose); });
    Register(C::LoadingClose, close);
    loadingShown_.reset();
    loadingEvaluation_.reset();
}

void MainWindow::ShowLoading() {
    if (loadingResults_ == nullptr || !form_.Visible(C::LoadingPanel)) return;
    const Worksheet& ws = form_.ws;
    // The unit words of the Worksheet's unit system.
    const UnitSystem units = LoadingUnits(ws);
    if (loadingUnits_ != units) {
        loadingUnits_ = units;
        const LoadingGrid kinds[] = {LoadingGrid::Stations, LoadingGrid::Normal, LoadingGrid::Utility};
        for (size_t g = 0; g < 3; ++g)
            SetHeadings(loadingGrids_[g], kinds[g], units);
        for (size_t i = 0; i < kAllLoadingBoxes.size(); ++i) {
            loadingBoxLabels_[i]->setText(Q(LoadingBoxCaption(kAllLoadingBoxes[i], units)));
            loadingBoxes_[i]->setPlaceholderText(Q(LoadingBoxDefault(kAllLoadingBoxes[i], units)));
        }
    }
    loadingTitle_->setText(QStringLiteral("Loading of %1: stations, C.G. envelope, extreme conditions and schedule")
                               .arg(Q(ws.Get(Field::Tail))));
    const LoadingGrid grids[] = {LoadingGrid::Stations, LoadingGrid::Normal, LoadingGrid::Utility};
    for (size_t g = 0; g < 3; ++g) {
        QTableWidget* table = loadingGrids_[g];
        const QSignalBlocker block(table);
        for (int r = 0; r < table->rowCount(); ++r)
            for (int c = 0; c < table->columnCount(); ++c) {
                QTableWidgetItem* item = table->item(r, c);
                const QString raw = Q(LoadingCell(ws.loading, grids[g], r, c));
                const QString shown = Q(LoadingCellShown(ws.loading, grids[g], r, c));
                if (item->data(kRawText).toString() != raw) item->setData(kRawText, raw);
                if (item->text() != shown) item->setText(shown);
            }
    }
    for (size_t i = 0; i < kAllLoadingBoxes.size(); ++i) {
        QLineEdit* box = loadingBoxes_[i];
        const QString text = Q(ws.loading.Box(kAllLoadingBoxes[i]));
        if (box->text() != text) {
            const QSignalBlocker block(box);
            const int caret = box->cursorPosition();
            box->setText(text);
            box->setCursorPosition(std::min(caret, static_cast<int>(text.size())));
        }
    }

    // The checks are worked out afresh only when what they are worked from has changed.
    LoadingInputs now{ws.loading, ws.values.NewWeight, ws.values.NewArm, ws.Get(Field::MaxWt)};
    if (loadingShown_ && *loadingShown_ == now) return;
    loadingShown_ = now;
    loadingEvaluation_ = std::make_shared<const LoadingEvaluation>(EvaluateLoading(ws));
    const LoadingEvaluation& e = *loadingEvaluation_;
    loadingChart_->Show(loadingEvaluation_);
    const int scroll = loadingResults_->verticalScrollBar() ? loadingResults_->verticalScrollBar()->value() : 0;
    loadingResults_->setHtml(ResultsHtml(e));
    if (loadingResults_->verticalScrollBar()) loadingResults_->verticalScrollBar()->setValue(scroll);

    QString notice;
    QColor colour(0, 0x70, 0);
    if (e.read.Refused()) {
        notice = QStringLiteral("Refused, not to be stored: %1").arg(Q(e.read.refusals.front()));
        if (e.read.refusals.size() > 1)
            notice += QStringLiteral(" (and %1 more: see the list on the right)").arg(e.read.refusals.size() - 1);
        colour = QColor(0xc0, 0, 0);
    } else if (!e.missing.empty()) {
        notice = Q(e.missing.front());
        colour = QColor(0x80, 0x50, 0);
    } else if (e.forward && e.aft) {
        const bool both = e.forward->normal.within && e.aft->normal.within;
        notice = both ? QStringLiteral("Both extreme conditions are satisfactory.")
                      : QStringLiteral("An extreme condition is OUTSIDE the limits: a loading schedule or placard is needed.");
        if (!both) colour = QColor(0xc0, 0, 0);
    }
    if (e.maxWeight)
        notice += QStringLiteral("\nMaximum weight %1 %2 (Max Wgt on the Worksheet).")
                      .arg(Q(FormatNumber(*e.maxWeight, pattern::NewWeight)), Q(WeightUnit(e.units)));
    QPalette p = loadingNotice_->palette();
    p.setColor(QPalette::WindowText, colour);
    loadingNotice_->setPalette(p);
    loadingNotice_->setText(notice.trimmed());
}

}  // namespace wb::gui
