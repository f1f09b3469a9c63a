#include "app/qt/MainWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>
#include <algorithm>

#include "app/ReportFromScreen.h"
#include "app/qt/HelpWindow.h"
#include "app/qt/RecordPdf.h"
#include "app/qt/Units.h"
#include "app/qt/Widgets.h"
#include "app/qt/WorkAside.h"
#include "app/qt/Zoom.h"
#include "reports/qt/PrintReport.h"
#include "worksheet/Units.h"

namespace wb::gui {
namespace {

// How long the title says that the Worksheet was stored.
constexpr int kSavedNoteMs = 5000;

}  // namespace

MainWindow::MainWindow(MainForm& form, QWidget* parent)
    : QWidget(parent), form_(form), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Weight and Balance"));
    // The layout has one size per zoom: no maximise button that would do nothing.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    BuildAll();

    // Ctrl+plus, Ctrl+minus and Ctrl+0 zoom the whole window, as in most desktop programs.
    const std::pair<QKeySequence, int> zoomKeys[] = {{QKeySequence::ZoomIn, 1},
                                                     {QKeySequence(Qt::CTRL | Qt::Key_Equal), 1},
                                                     {QKeySequence::ZoomOut, -1},
                                                     {QKeySequence(Qt::CTRL | Qt::Key_0), 0}};
    for (const auto& [keys, step] : zoomKeys) {
        auto* shortcut = new QShortcut(keys, this);
        const int s = step;
        connect(shortcut, &QShortcut::activated, this, [this, s] { ZoomStep(s); });
    }

    // The desktop's usual keys do what their buttons do; Esc closes the panel on top. Made once
    // here, not with the widgets, so that a zoom's rebuild never doubles a key.
    for (Control button :
         {Control::Command3D13, Control::Command3D19, Control::Command3D32, Control::Command3D12}) {
        auto* shortcut = new QShortcut(KeyOf(button), this);
        connect(shortcut, &QShortcut::activated, this,
                [this, button] { Forward([&] { form_.KeyForButton(button); }); });
    }
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { ShowHelp(); });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] { Forward([&] { form_.EscapeKey(); }); });

    focusWatch_ = connect(qApp, &QApplication::focusChanged, this,
                          [this](QWidget*, QWidget* now) { FocusChanged(now); });

    savedNote_ = new QTimer(this);
    savedNote_->setSingleShot(true);
    savedNote_->setInterval(kSavedNoteMs);
    connect(savedNote_, &QTimer::timeout, this, [this] {
        if (!busy_ && !refreshing_) Refresh();
    });

    form_.onPrint = [this](Control button) { PrintFromScreen(button); };
    form_.onHelp = [this] { ShowHelp(); };
    // The package's printed record is drawn on the worker that exports it.
    form_.recordPdf = [clock = &form_.clock()](Database& db, const std::string& tail,
                                               const std::filesystem::path& pdf, Progress& progress) {
        WriteRecordPdf(db, tail, pdf, progress, clock->Today());
    };

    // The main window's load step.
    Forward([this] { form_.Load(); });
}

MainWindow::~MainWindow() {
    // The children about to go may still hand the focus around or move a scroll bar; this
    // window no longer listens.
    disconnect(focusWatch_);
    // The work's result would have nowhere to go; it never waits on this window, so waiting
    // for it is safe.
    for (Beside& w : beside_)
        w.thread.join();
    form_.onPrint = nullptr;
    form_.onHelp = nullptr;
    form_.recordPdf = nullptr;
    for (QObject* child : findChildren<QObject*>())
        child->blockSignals(true);
    if (hourglass_) QApplication::restoreOverrideCursor();
}

// Every control placed in twips at the current zoom. Creation order is the Tab order: header,
// change list, button bar, then the panels.
void MainWindow::BuildAll() {
    setFont(WindowFont());
    setFixedSize(Px(9615), Px(6900));
    BuildWorksheet();
    BuildButtonBar();
    BuildSpecifications();
    BuildNotes();
    BuildAbout();
    BuildSetup();
    BuildDataFolder();  // over the set-up panel: "Path" opens it from there
    BuildShopServer();
    BuildHistory();
    BuildWeighingRecord();
    BuildLoading();
}

void MainWindow::ZoomStep(int step) {
    if (busy_ || refreshing_) return;
    const QSize available = screen() ? screen()->availableGeometry().size() : QSize();
    const int percent = step == 0 ? FittingZoom(available) : ClampZoom(Zoom() + step * kZoomStep, available);
    // The key that asked for it is still being delivered to a control about to go: the
    // rebuild waits until that has ended.
    if (percent != Zoom())
        QMetaObject::invokeMethod(
            this, [this, percent] { SetZoomTo(percent); }, Qt::QueuedConnection);
    // Ctrl+0 goes back to what suits the screen, also at the next start.
    if (onZoomChanged) onZoomChanged(step == 0 ? 0 : percent);
}

// The form holds every piece of state, so the window is simply built again at the new size
// and shown from the form.
void MainWindow::SetZoomTo(int percent) {
    if (busy_) return;
    SetZoom(percent);
    Rebuild();
}

void MainWindow::Rebuild() {
    refreshing_ = true;  // the focus moving off the dying controls is no move of the form's
    std::vector<QObject*> old;
    for (QObject* child : children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if ((w != nullptr && !w->isWindow()) || child == folders_) old.push_back(child);
    }
    for (QObject* o : old)
        o->blockSignals(true);
    for (QObject* o : old)
        delete o;
    widgets_.fill(nullptr);
    worksheet_ = nullptr;
    drives_ = nullptr;
    folders_ = nullptr;
    folderTree_ = nullptr;
    folderPath_ = nullptr;
    historyList_ = nullptr;
    historyTitle_ = nullptr;
    historySummary_ = nullptr;
    historyShown_ = -1;
    loadingGrids_.fill(nullptr);
    loadingBoxes_.fill(nullptr);
    loadingBoxLabels_.fill(nullptr);
    loadingTitle_ = loadingNotice_ = nullptr;
    loadingChart_ = nullptr;
    loadingResults_ = nullptr;
    QApplication::setFont(WindowFont());  // message boxes and choosers follow the zoom
    BuildAll();
    refreshing_ = false;
    Refresh();
}

void MainWindow::Register(Control c, QWidget* w) {
    widgets_[static_cast<size_t>(c)] = w;
}

GridView* MainWindow::GridViewOf(Control grid) const {
    return GridOf(grid) ? static_cast<GridView*>(WidgetOf(grid)) : nullptr;
}

// ---- forwarding ------------------------------------------------------------------------

// One event to the form, then the whole window shown again. While the form handles an event
// (and a message box of its own may be up), and while the window writes the form's state
// into the widgets, the widgets' own reactions are not events of the mechanic's.
template <class F>
void MainWindow::Forward(F&& toForm) {
    if (busy_ || refreshing_) return;
    busy_ = true;
    toForm();
    busy_ = false;
    Refresh();
}

void MainWindow::WhenFree(std::function<void()> toForm) {
    if (busy_ || refreshing_) {
        QTimer::singleShot(100, this, [this, toForm] { WhenFree(toForm); });
        return;
    }
    Forward(toForm);
}

void MainWindow::RunInBackground(AsideWork work) {
    if (!work.title.empty()) {
        underDialog_ = true;
        RunUnderDialog(this, work);
        underDialog_ = false;
        return;
    }
    // Work still running (the check of a data folder left since) goes on beside the new.
    std::erase_if(beside_, [](Beside& w) {
        if (!*w.ended) return false;
        w.thread.join();
        return true;
    });
    auto ended = std::make_shared<std::atomic<bool>>(false);
    std::thread thread([this, ended, work = std::move(work)] {
        // A job tells its own failures in its result; anything else thrown must not end the
        // program from a worker: the result then says nothing, as a check never run.
        try {
            work.job(NoProgress());
        } catch (...) {
        }
        QMetaObject::invokeMethod(
            this, [this, done = work.done] { WhenFree(done); }, Qt::QueuedConnection);
        *ended = true;
    });
    beside_.push_back({std::move(thread), std::move(ended)});
}

KeyResult MainWindow::Key(Control c, char32_t key) {
    KeyResult r{true, 0};  // dropped while the form is busy
    Forward([&] { r = form_.KeyTyped(c, key); });
    return r;
}

void MainWindow::TextEdited(Control c, const QString& text, std::optional<int> caret) {
    // The form counts characters; the box counts UTF-16 units.
    std::optional<size_t> chars;
    if (caret) chars = static_cast<size_t>(text.left(*caret).toUcs4().size());
    Forward([&] { form_.TextChanged(c, text.toStdString(), chars); });
}

void MainWindow::Click(Control c) {
    Forward([&] { form_.Clicked(c); });
}

void MainWindow::UnitsChosen(int index) {
    if (index < 0 || index >= static_cast<int>(kAllUnitSystems.size())) return;
    Forward([&] { form_.ChooseUnits(kAllUnitSystems[static_cast<size_t>(index)]); });
}

void MainWindow::Delete(Control grid) {
    Forward([&] { form_.DeleteKey(grid); });
}

void MainWindow::MoveCurrent(Control grid, int row, int col) {
    Forward([&] { form_.GridMoveCurrent(grid, row, col); });
}

void MainWindow::PressCell(Control grid, int row, int col) {
    Forward([&] {
        form_.GridMoveCurrent(grid, row, col);
        form_.Clicked(grid);
    });
}

void MainWindow::Scrolled(Control grid, int topRow) {
    Forward([&] { form_.GridScrolled(grid, topRow); });
}

void MainWindow::CheckClicked(Control check, bool on) {
    Forward([&] {
        form_.SetChecked(check, on);
        form_.FocusTo(check);
    });
}

void MainWindow::LoadingCellTyped(LoadingGrid grid, int row, int col, const QString& text) {
    Forward([&] { form_.LoadingCellEdited(grid, row, col, text.toStdString()); });
}

void MainWindow::LoadingBoxTyped(LoadingBox box, const QString& text) {
    Forward([&] { form_.LoadingBoxEdited(box, text.toStdString()); });
}

void MainWindow::FolderPicked(const QString& folder) {
    Forward([&] { form_.FolderChosen(QDir::toNativeSeparators(folder).toStdString()); });
}

QKeySequence KeyOf(Control button) {
    switch (button) {
        case Control::Command3D13:
            return QKeySequence(Qt::CTRL | Qt::Key_S);
        case Control::Command3D19:
            return QKeySequence(Qt::CTRL | Qt::Key_N);
        case Control::Command3D32:
            return QKeySequence(Qt::CTRL | Qt::Key_P);
        case Control::Command3D12:
            return QKeySequence(Qt::CTRL | Qt::Key_Q);
        case Control::AboutHelp:
            return QKeySequence(Qt::Key_F1);
        default:
            return {};
    }
}

QString TipWithKey(const QString& tip, Control button) {
    const QKeySequence key = KeyOf(button);
    if (key.isEmpty()) return tip;
    return QStringLiteral("%1 (%2)").arg(tip, key.toString(QKeySequence::NativeText));
}

void MainWindow::ShowHelp() {
    if (help_ == nullptr) help_ = new HelpWindow(this);
    help_->ShowGuide();
}

// ---- printing --------------------------------------------------------------------------

// The report goes to the printer chosen in set-up; a system without any printer writes it
// into a PDF file the user names. A failure is told; the screen stays as it is.
void MainWindow::PrintFromScreen(Control button) {
    const ReportDrawing report = ReportOfButton(button);
    if (report == nullptr) return;
    const ReportInput input = ReportFromScreen(form_);
    const bool toChosenFile =
        printer_->outputFormat() == QPrinter::PdfFormat && !printer_->outputFileName().isEmpty();
    std::optional<std::string> file;
    if (!toChosenFile && !SystemHasPrinter()) {
        file = form_.dialogs().ChoosePdfFile(ReportFileName(button, form_));
        if (!file) return;
    }
    // Sheets handed to a printer cannot be taken back: no Cancel. The worker draws on the
    // printer alone; the window takes no events until it has finished.
    PrintOutcome outcome;
    RunInBackground({[&outcome, &input, report, file, printer = printer_.get()](Progress& p) {
                         outcome = file ? PrintToPdfFile(*file, input, report, p)
                                        : PrintOnPrinter(*printer, input, report, p);
                     },
                     {},
                     "Printing the report",
                     false});
    if (outcome.status == PrintOutcome::Failed)
        form_.dialogs().Notice("Report not printed", outcome.message + "\n\nPress OK to continue",
                               Icon::Critical);
}

Control MainWindow::ControlOf(QWidget* w) const {
    for (; w != nullptr && w != this; w = w->parentWidget()) {
        for (size_t i = 0; i < widgets_.size(); ++i) {
            if (widgets_[i] != w) continue;
            const Control c = static_cast<Control>(i);
            return InfoOf(c).kind == ControlKind::Panel ? Control::None : c;
        }
    }
    return Control::None;
}

void MainWindow::FocusChanged(QWidget* now) {
    // Losing the focus to another application, or to a message box, is no move of the form's.
    if (now == nullptr || now->window() != this) return;
    const Control c = ControlOf(now);
    if (c == Control::None) return;
    Forward([&] { form_.FocusTo(c); });
}

bool MainWindow::event(QEvent* e) {
    const bool handled = QWidget::event(e);
    if (e->type() == QEvent::WindowActivate && !activated_) {
        activated_ = true;
        // The start-up body (settings, main database, company settings) runs here.
        if (onFirstActivation) Forward([this] { onFirstActivation(); });
    }
    return handled;
}

void MainWindow::closeEvent(QCloseEvent* e) {
    // Long work ends first: by itself, or cancelled from its dialog.
    if (underDialog_) {
        e->ignore();
        return;
    }
    // While the form handles an event (its message box is up) the window stays; an ended form
    // (Exit, or the close box answered) closes it.
    if (!form_.Ended() && !busy_ && !refreshing_) {
        busy_ = true;
        form_.CloseBox();
        busy_ = false;
    }
    if (form_.Ended()) {
        e->accept();
        return;
    }
    e->ignore();
    Refresh();
}

// ---- showing the form's state ----------------------------------------------------------

void MainWindow::ShowText(Control c) {
    QWidget* w = WidgetOf(c);
    const QString text = QString::fromStdString(form_.Text(c));
    if (auto* notes = qobject_cast<QPlainTextEdit*>(w)) {
        if (notes->toPlainText() != text) notes->setPlainText(text);
        return;
    }
    auto* box = qobject_cast<QLineEdit*>(w);
    if (box == nullptr) return;
    // The input limit stops typing and pasting only: a longer text the program wrote
    // (a stored one) shows whole.
    // Only a real change: setting the limit rewrites the box, which loses the caret, the
    // selection and the undo steps.
    if (const int limit = MaxChars(c); limit > 0 && !box->isReadOnly()) {
        const int maxLength = std::max(limit, static_cast<int>(text.size()));
        if (box->maxLength() != maxLength) box->setMaxLength(maxLength);
    }
    if (box->text() != text) {
        // The caret stays where the mechanic had it; in a box that was empty (a new one, or
        // one the program fills) it stands at the end.
        const int caret = box->text().isEmpty() ? static_cast<int>(text.size()) : box->cursorPosition();
        box->setText(text);
        box->setCursorPosition(std::min(caret, static_cast<int>(text.size())));
    }
    // A figure longer than its box (one a conversion wrote at full precision) is shown whole, in
    // a smaller size of the window's font, so that no digit is hidden.
    if (c == Control::Text9 || c == Control::Text10 || c == Control::Text11 || c == Control::Text30 ||
        c == Control::Text35 || c == Control::Text36) {
        QFont f = box->parentWidget()->font();
        const int room = box->width() - 10;
        while (QFontMetrics(f).horizontalAdvance(text) > room && f.pointSizeF() > 4)
            f.setPointSizeF(f.pointSizeF() - 0.25);
        if (box->font() != f) box->setFont(f);
    }
}

void MainWindow::Refresh() {
    refreshing_ = true;
    for (size_t i = 1; i < widgets_.size(); ++i) {
        QWidget* w = widgets_[i];
        if (w == nullptr) continue;
        const Control c = static_cast<Control>(i);
        const QSignalBlocker block(w);
        switch (InfoOf(c).kind) {
            case ControlKind::Text:
                ShowText(c);
                break;
            case ControlKind::Grid:
                static_cast<GridView*>(w)->Show(form_.ws.grid(*GridOf(c)));
                break;
            case ControlKind::Check:
                static_cast<QAbstractButton*>(w)->setChecked(form_.Checked(c));
                break;
            case ControlKind::Choice:
                if (auto* choice = qobject_cast<QComboBox*>(w)) {
                    const auto at = std::find(kAllUnitSystems.begin(), kAllUnitSystems.end(), form_.Units());
                    choice->setCurrentIndex(static_cast<int>(at - kAllUnitSystems.begin()));
                }
                break;
            default:
                break;
        }
        if (w->isHidden() == form_.Visible(c)) w->setVisible(form_.Visible(c));
        w->setEnabled(form_.Enabled(c));
    }
    if (auto* tach = qobject_cast<QAbstractButton*>(WidgetOf(Control::Command3D20)))
        tach->setText(QString::fromStdString(form_.TachCaption()));
    ShowSample();
    ShowFolder();
    ShowHistory();
    ShowWeighingRecord();
    ShowLoading();
    // The store's state stays in sight while it is being checked or is read-only; otherwise a
    // save is told there for a few seconds.
    if (form_.Saves != savesShown_) {
        savesShown_ = form_.Saves;
        savedNote_->start();
    }
    std::string status = form_.StoreStatus();
    if (status.empty() && savedNote_->isActive()) status = form_.LastSaved;
    const QString title = status.empty()
                              ? QStringLiteral("Weight and Balance")
                              : QStringLiteral("Weight and Balance - ") + QString::fromStdString(status);
    if (windowTitle() != title) setWindowTitle(title);
    ShowLimits();
    ShowUnits();

    if (form_.Hourglass() != hourglass_) {
        hourglass_ = form_.Hourglass();
        if (hourglass_)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    }

    QWidget* focus = WidgetOf(form_.Focus());
    if (focus != nullptr && focus->isEnabled() && focus != focusWidget())
        focus->setFocus(Qt::OtherFocusReason);
    refreshing_ = false;

    if (form_.Ended() && isVisible()) close();
}

}  // namespace wb::gui
