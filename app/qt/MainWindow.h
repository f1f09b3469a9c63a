// The main window "Weight and Balance": the Worksheet panel, the button bar and the panels
// that lie over the Worksheet. It decides nothing: every event goes to the MainForm, and
// afterwards every widget is shown again from the form's state with its signals blocked.
#pragma once

#include <QKeySequence>
#include <QWidget>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "app/MainForm.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;
class QTextBrowser;
class QTreeWidget;
class QFileSystemModel;
class QLabel;
class QPrinter;
class QTimer;
class QTreeView;

namespace wb::gui {

class CgChartView;
class LoadingChartView;
class GridView;
class HelpWindow;

// The desktop's usual key for a button, empty for none; its tooltip names it.
QKeySequence KeyOf(Control button);
// A button's tooltip with its key named after it.
QString TipWithKey(const QString& tip, Control button);

class WeighingViews;

class MainWindow : public QWidget {
    Q_OBJECT

  public:
    // Builds the window and runs the form's load step (a fresh Worksheet).
    explicit MainWindow(MainForm& form, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The widget that shows a control; nullptr for controls this window does not draw.
    QWidget* WidgetOf(Control c) const { return widgets_[static_cast<size_t>(c)]; }
    GridView* GridViewOf(Control grid) const;

    // The printer the reports go to, as the printer chooser leaves it.
    QPrinter& Printer() { return *printer_; }
    // The folder the folder list shows as current.
    QString ChosenFolderShown() const;

    // Runs once, when the window first becomes active: the start-up body's place.
    std::function<void()> onFirstActivation;

    // The whole window drawn at another zoom (percent), built afresh from the form's state.
    void SetZoomTo(int percent);
    // Told the zoom the mechanic chose with the keys, to keep for the next start (0: the one
    // that suits the screen).
    std::function<void(int percent)> onZoomChanged;

    // ---- events from the controls, each forwarded to the form ----------------------
    KeyResult Key(Control c, char32_t key);
    void TextEdited(Control c, const QString& text, std::optional<int> caret = std::nullopt);
    void Click(Control c);
    void Delete(Control grid);
    void MoveCurrent(Control grid, int row, int col);
    void PressCell(Control grid, int row, int col);  // a mouse press on a cell
    void Scrolled(Control grid, int topRow);
    void CheckClicked(Control check, bool on);
    void UnitsChosen(int index);               // the unit chooser: the index of a system in kAllUnitSystems
    void FolderPicked(const QString& folder);  // a folder in the folder list, or a drive
    // A cell of the loading panel's grids, or one of its boxes, after an edit.
    void LoadingCellTyped(LoadingGrid grid, int row, int col, const QString& text);
    void LoadingBoxTyped(LoadingBox box, const QString& text);

    // Shows the form's state in every widget.
    void Refresh();

    // Runs the work's job on a worker thread. Without a title, `done` follows later as one
    // event of the form's on this window's thread (later still while a message box of the
    // form's is up); with one, under a progress dialog, returning once `done` has run.
    void RunInBackground(AsideWork work);

    // The user's guide, in its own window (F1, and Help on the about panel).
    void ShowHelp();
    HelpWindow* Help() const { return help_; }

  protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    template <class F>
    void Forward(F&& toForm);
    void FocusChanged(QWidget* now);
    void WhenFree(std::function<void()> toForm);
    Control ControlOf(QWidget* w) const;
    void ShowText(Control c);
    void ShowFolder();
    void BringIntoView(const QModelIndex& folder);
    void ShowSample();
    void PrintFromScreen(Control button);
    void ShowLimits();
    // Every caption, heading and label that names a unit, in the Worksheet's units, and the new
    // C.G. in % MAC.
    void ShowUnits();

    void Register(Control c, QWidget* w);
    void BuildAll();
    void Rebuild();
    void ZoomStep(int step);  // +1, -1, or 0 for the zoom that suits the screen
    void BuildWorksheet();
    void BuildButtonBar();
    void BuildSpecifications();
    void BuildNotes();
    void BuildAbout();
    void BuildSetup();
    void BuildDataFolder();
    void BuildShopServer();
    void BuildHistory();
    void ShowHistory();
    void BuildLoading();
    void ShowLoading();
    void BuildLimits(QWidget* panel);
    // The weighing record's panels (app/qt/WeighingLayout.cpp).
    void BuildWeighingRecord();
    void ShowWeighingRecord();

    MainForm& form_;
    std::array<QWidget*, static_cast<size_t>(Control::Count)> widgets_{};
    QWidget* worksheet_ = nullptr;
    CgChartView* cgChart_ = nullptr;
    QLabel* cgIndication_ = nullptr;       // beside the "New values"
    QLabel* cgSpecsIndication_ = nullptr;  // on the specifications panel
    QLabel* cgBallast_ = nullptr;
    QLabel* percentMac_ = nullptr;       // beside the "New values": the new C.G. in % MAC
    QLabel* specsPercentMac_ = nullptr;  // on the specifications panel, under the chord
    std::unique_ptr<QPrinter> printer_;
    QComboBox* drives_ = nullptr;
    QFileSystemModel* folders_ = nullptr;
    QTreeView* folderTree_ = nullptr;
    QTreeWidget* historyList_ = nullptr;
    QLabel* historyTitle_ = nullptr;
    QLabel* historySummary_ = nullptr;
    WeighingViews* weighingViews_ = nullptr;
    int historyShown_ = -1;  // the form's historyReads last shown
    std::array<QTableWidget*, 3> loadingGrids_{};  // stations, normal and utility envelopes
    std::array<QLineEdit*, 5> loadingBoxes_{};     // in the order of kAllLoadingBoxes
    std::array<QLabel*, 5> loadingBoxLabels_{};
    std::optional<UnitSystem> loadingUnits_;       // the unit words the panel shows
    QLabel* loadingTitle_ = nullptr;
    QLabel* loadingNotice_ = nullptr;
    LoadingChartView* loadingChart_ = nullptr;
    QTextBrowser* loadingResults_ = nullptr;
    // What the checks shown were worked out from, and the checks themselves.
    struct LoadingInputs {
        LoadingTexts texts;
        double newWeight = 0, newArm = 0;
        std::string maxWeight;
        bool operator==(const LoadingInputs&) const = default;
    };
    std::optional<LoadingInputs> loadingShown_;
    std::shared_ptr<const LoadingEvaluation> loadingEvaluation_;
    QLabel* folderPath_ = nullptr;
    HelpWindow* help_ = nullptr;   // a window of its own, made when first asked for
    QTimer* savedNote_ = nullptr;  // runs while the title says the last save
    int savesShown_ = 0;
    QMetaObject::Connection focusWatch_;
    bool busy_ = false;        // the form is handling an event (a message box may be up)
    bool refreshing_ = false;  // the window is writing the form's state into the widgets
    // Work beside the window (the start-up check, the backup after it), each until joined
    // once it has ended: earlier work still running never holds the window's thread.
    struct Beside {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> ended;
    };
    std::vector<Beside> beside_;
    bool underDialog_ = false;  // long work runs under a progress dialog
    bool hourglass_ = false;
    bool activated_ = false;
};

}  // namespace wb::gui
