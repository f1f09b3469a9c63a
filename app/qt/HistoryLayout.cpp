// The history panel over the Worksheet: the tail's chain of Worksheets, their superseded
// versions under them, the change since the last weighing and the panel's two actions.
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "app/HistoryPanel.h"
#include "app/qt/Icons.h"
#include "app/qt/MainWindow.h"
#include "app/qt/Units.h"
#include "app/qt/Widgets.h"
#include "worksheet/Units.h"

namespace wb::gui {

QString ReweighSummary(const MainForm& form);

namespace {

using C = Control;

constexpr int kFirstNumberColumn = 3, kLastNumberColumn = 10;

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QTreeWidgetItem* ItemOf(const HistoryRow& row) {
    auto* item = new QTreeWidgetItem();
    for (size_t c = 0; c < row.cells.size(); ++c) {
        const int col = static_cast<int>(c);
        item->setText(col, Q(row.cells[c]));
        if (col >= kFirstNumberColumn && col <= kLastNumberColumn)
            item->setTextAlignment(col, Qt::AlignRight | Qt::AlignVCenter);
    }
    const int last = static_cast<int>(row.cells.size());
    if (row.kind != HistoryRow::Kind::Worksheet) {
        for (int col = 0; col < last; ++col) {
            QFont f = item->font(col);
            f.setItalic(true);
            item->setFont(col, f);
            item->setForeground(col, QColor(0x60, 0x60, 0x60));
        }
    }
    if (row.altered) {
        // Changed after it was signed or saved: the whole line, so that it cannot be missed.
        for (int col = 0; col < last; ++col) {
            QFont f = item->font(col);
            f.setBold(true);
            item->setFont(col, f);
            item->setForeground(col, QColor(0xc0, 0, 0));
        }
    }
    if (row.breaks) {
        // The start and the note say where the chain breaks.
        for (int col : {kFirstNumberColumn, kFirstNumberColumn + 1, last - 1}) {
            QFont f = item->font(col);
            f.setBold(true);
            item->setFont(col, f);
            item->setForeground(col, QColor(0xc0, 0, 0));
        }
    }
    return item;
}

}  // namespace

void MainWindow::BuildHistory() {
    QWidget* panel = MakePanel(this, "Panel3D12", TwipRect(0, 0, 9615, 6315));
    Register(C::Panel3D12, panel);
    historyTitle_ = MakeLabel(panel, "HistoryTitle", QString(), TwipRect(120, 90, 9375, 285),
                              Qt::AlignHCenter | Qt::AlignVCenter);

    historyList_ = new QTreeWidget(panel);
    historyList_->setObjectName(QStringLiteral("HistoryList"));
    historyList_->setAccessibleName(QStringLiteral("History"));
    historyList_->setFont(ChangeListFont());
    historyList_->setGeometry(TwipRect(120, 420, 9375, 4380));
    historyList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    historyList_->setSelectionMode(QAbstractItemView::SingleSelection);
    historyList_->setAlternatingRowColors(true);
    historyList_->setUniformRowHeights(true);
    historyList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    historyList_->header()->setStretchLastSection(true);
    QStringList headings;
    for (std::string_view column : HistoryColumns())
        headings << Q(column);
    historyList_->setHeaderLabels(headings);

    // The audit trail opens folded: its columns fit once it is opened.
    connect(historyList_, &QTreeWidget::itemExpanded, this, [this] {
        for (int c = 0; c < historyList_->columnCount(); ++c)
            historyList_->resizeColumnToContents(c);
    });

    historySummary_ = MakeLabel(panel, "HistorySummary", QString(), TwipRect(120, 4830, 9375, 795));
    historySummary_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* start = new QPushButton(QStringLiteral("Start from latest record"), panel);
    start->setObjectName(QStringLiteral("Command3D42"));
    start->setAutoDefault(true);
    start->setToolTip(
        QStringLiteral("Put the latest record's new empty weight and C.G. into Empty and C.G."));
    start->setGeometry(TwipRect(120, 5670, 1900, 495));
    connect(start, &QPushButton::clicked, this, [this] { Click(C::Command3D42); });
    Register(C::Command3D42, start);

    auto* print = new QPushButton(panel);
    print->setObjectName(QStringLiteral("Command3D43"));
    print->setAutoDefault(true);
    print->setIcon(PictureIcon(Picture::RecordReport));
    print->setIconSize(QSize(24, 24));
    print->setToolTip(QStringLiteral("Print the weight and balance record"));
    print->setAccessibleName(print->toolTip());
    print->setGeometry(TwipRect(2110, 5670, 735, 495));
    connect(print, &QPushButton::clicked, this, [this] { Click(C::Command3D43); });
    Register(C::Command3D43, print);

    auto* sign = new QPushButton(QStringLiteral("Sign..."), panel);
    sign->setObjectName(QStringLiteral("SignButton"));
    sign->setAutoDefault(true);
    sign->setToolTip(QStringLiteral("Sign the stored Worksheet on screen electronically; it is then locked"));
    sign->setGeometry(TwipRect(2935, 5670, 960, 495));
    connect(sign, &QPushButton::clicked, this, [this] { Click(C::SignButton); });
    Register(C::SignButton, sign);

    // The record package: the tail's record out to another shop, another shop's in.
    auto* exportButton = new QPushButton(QStringLiteral("Export..."), panel);
    exportButton->setObjectName(QStringLiteral("HistoryExport"));
    exportButton->setAutoDefault(true);
    exportButton->setToolTip(QStringLiteral(
        "Export this aircraft's record into one package file that goes with the aircraft: the printed "
        "record as PDF/A, the records as data and a checksum list"));
    exportButton->setGeometry(TwipRect(3985, 5670, 960, 495));
    connect(exportButton, &QPushButton::clicked, this, [this] { Click(C::HistoryExport); });
    Register(C::HistoryExport, exportButton);

    auto* importButton = new QPushButton(QStringLiteral("Import..."), panel);
    importButton->setObjectName(QStringLiteral("HistoryImport"));
    importButton->setAutoDefault(true);
    importButton->setToolTip(QStringLiteral(
        "Import an aircraft's record package from another shop; it is checked whole before anything is "
        "stored"));
    importButton->setGeometry(TwipRect(5035, 5670, 960, 495));
    connect(importButton, &QPushButton::clicked, this, [this] { Click(C::HistoryImport); });
    Register(C::HistoryImport, importButton);

    QLabel* hint =
        MakeLabel(panel, "HistoryHint", QStringLiteral("Esc or the history button closes this panel."),
                  TwipRect(6085, 5670, 3410, 495), Qt::AlignRight | Qt::AlignVCenter);
    hint->setWordWrap(true);
}

void MainWindow::ShowHistory() {
    if (historyList_ == nullptr || form_.historyReads == historyShown_) return;
    historyShown_ = form_.historyReads;
    // In the units of the latest Worksheet; a version in others says so in its note.
    historyTitle_->setText(QStringLiteral("Weight and Balance History of %1, in %2")
                               .arg(Q(form_.history.tail), Q(UnitsName(form_.history.units))));
    historySummary_->setText(ReweighSummary(form_));
    historyList_->clear();
    QTreeWidgetItem* lastRecord = nullptr;
    for (const HistoryRow& row : HistoryRows(form_.history, form_.historyMarks)) {
        QTreeWidgetItem* item = ItemOf(row);
        for (const HistoryRow& earlier : row.earlier)
            item->addChild(ItemOf(earlier));
        historyList_->addTopLevelItem(item);
        lastRecord = item;
    }
    historyList_->expandAll();
    // The audit trail under the records, folded until asked for.
    if (!form_.historyAudit.empty()) {
        auto* trail = new QTreeWidgetItem();
        trail->setText(0, QStringLiteral("Audit trail (%1 entries)").arg(form_.historyAudit.size()));
        trail->setFirstColumnSpanned(true);
        for (const HistoryRow& row : AuditRows(form_.historyAudit))
            trail->addChild(ItemOf(row));
        historyList_->addTopLevelItem(trail);
        trail->setFirstColumnSpanned(true);
    }
    for (int c = 0; c < historyList_->columnCount(); ++c)
        historyList_->resizeColumnToContents(c);
    if (lastRecord != nullptr) historyList_->scrollToItem(lastRecord);
}

}  // namespace wb::gui
