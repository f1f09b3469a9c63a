// The main window "Weight and Balance": the Worksheet panel, the button bar and the panels
// that lie over the Worksheet. It decides nothing: every event goes to the MainForm, and
// afterwards every widget is shown again from the form's state with its signals blocked.
#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "app/MainForm.h"

class QComboBox;
class QLabel;
class QFileSystemModel;
class QPrinter;
class QTreeView;

namespace wb::gui {

class CgChartView;
class GridView;

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

    // ---- events from the controls, each forwarded to the form ----------------------
    KeyResult Key(Control c, char32_t key);
    void TextEdited(Control c, const QString& text);
    void Click(Control c);
    void Delete(Control grid);
    void MoveCurrent(Control grid, int row, int col);
    void PressCell(Control grid, int row, int col);  // a mouse press on a cell
    void Scrolled(Control grid, int topRow);
    void CheckClicked(Control check, bool on);
    void FolderPicked(const QString& folder);  // a folder in the folder list, or a drive

    // Shows the form's state in every widget.
    void Refresh();

  protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    template <class F>
    void Forward(F&& toForm);
    void FocusChanged(QWidget* now);
    Control ControlOf(QWidget* w) const;
    void ShowText(Control c);
    void ShowFolder();
    void ShowSample();
    void PrintFromScreen(Control button);
    void ShowLimits();

    void Register(Control c, QWidget* w);
    void BuildWorksheet();
    void BuildButtonBar();
    void BuildSpecifications();
    void BuildNotes();
    void BuildAbout();
    void BuildSetup();
    void BuildDataFolder();
    void BuildLimits(QWidget* specs);

    MainForm& form_;
    std::array<QWidget*, static_cast<size_t>(Control::Count)> widgets_{};
    QWidget* worksheet_ = nullptr;
    CgChartView* cgChart_ = nullptr;
    QLabel* cgIndication_ = nullptr;       // beside the "New values"
    QLabel* cgSpecsIndication_ = nullptr;  // on the specifications panel
    QLabel* cgBallast_ = nullptr;
    std::unique_ptr<QPrinter> printer_;
    QComboBox* drives_ = nullptr;
    QFileSystemModel* folders_ = nullptr;
    QTreeView* folderTree_ = nullptr;
    QMetaObject::Connection focusWatch_;
    bool busy_ = false;        // the form is handling an event (a message box may be up)
    bool refreshing_ = false;  // the window is writing the form's state into the widgets
    bool hourglass_ = false;
    bool activated_ = false;
};

}  // namespace wb::gui
