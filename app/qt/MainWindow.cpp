#include "app/qt/MainWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QSignalBlocker>

#include "app/ReportFromScreen.h"
#include "app/qt/Units.h"
#include "app/qt/Widgets.h"
#include "reports/qt/PrintReport.h"

namespace wb::gui {

MainWindow::MainWindow(MainForm& form, QWidget* parent)
    : QWidget(parent), form_(form), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Weight and Balance"));
    setFont(WindowFont());
    setFixedSize(Px(9615), Px(6900));

    // Creation order is the Tab order: header, change list, button bar, then the panels.
    BuildWorksheet();
    BuildButtonBar();
    BuildSpecifications();
    BuildNotes();
    BuildAbout();
    BuildSetup();
    BuildDataFolder();  // over the set-up panel: "Path" opens it from there

    focusWatch_ = connect(qApp, &QApplication::focusChanged, this,
                          [this](QWidget*, QWidget* now) { FocusChanged(now); });

    form_.onPrint = [this](Control button) { PrintFromScreen(button); };

    // The main window's load step.
    Forward([this] { form_.Load(); });
}

MainWindow::~MainWindow() {
    // The children about to go may still hand the focus around or move a scroll bar; this
    // window no longer listens.
    disconnect(focusWatch_);
    form_.onPrint = nullptr;
    for (QObject* child : findChildren<QObject*>())
        child->blockSignals(true);
    if (hourglass_) QApplication::restoreOverrideCursor();
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

KeyResult MainWindow::Key(Control c, char32_t key) {
    KeyResult r{true, 0};  // dropped while the form is busy
    Forward([&] { r = form_.KeyTyped(c, key); });
    return r;
}

void MainWindow::TextEdited(Control c, const QString& text) {
    Forward([&] { form_.TextChanged(c, text.toStdString()); });
}

void MainWindow::Click(Control c) {
    Forward([&] { form_.Clicked(c); });
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

void MainWindow::FolderPicked(const QString& folder) {
    Forward([&] { form_.FolderChosen(QDir::toNativeSeparators(folder).toStdString()); });
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
    PrintOutcome outcome;
    if (toChosenFile || SystemHasPrinter()) {
        outcome = PrintOnPrinter(*printer_, input, report);
    } else {
        const std::optional<std::string> file = form_.dialogs().ChoosePdfFile(ReportFileName(button, form_));
        if (!file) return;
        outcome = PrintToPdfFile(*file, input, report);
    }
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
    // The close box ends the program at once, whatever is unsaved.
    form_.CloseBox();
    e->accept();
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
    if (const int limit = MaxChars(c); limit > 0 && !box->isReadOnly())
        box->setMaxLength(std::max(limit, static_cast<int>(text.size())));
    if (box->text() != text) {
        const int caret = box->cursorPosition();
        box->setText(text);
        box->setCursorPosition(std::min(caret, static_cast<int>(text.size())));
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
    ShowLimits();

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
