// The controls of the main window. None edits anything by itself: each hands its events to
// the window, which forwards them to the form and then shows the form's state again.
#pragma once

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <optional>
#include <vector>

#include "app/MainForm.h"
#include "app/qt/Units.h"

class QLabel;
class QPushButton;

namespace wb::gui {

class MainWindow;

// The character a key press types, as the form counts it: Enter 13, Backspace 8, a
// printable character as itself; nothing for other keys and for shortcuts.
std::optional<char32_t> TypedCharacter(const QKeyEvent& e);
// A printable key pressed with Alt or Meta: a shortcut, which must type nothing into a box.
bool TypesWithAModifier(const QKeyEvent& e);

// A header or range box. Each character key goes to the form first; what the form lets
// through (a capital in the tail number) is typed here, and the edited text goes back.
class FieldEdit : public QLineEdit {
  public:
    FieldEdit(Control control, MainWindow& window, QWidget* parent);

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

  private:
    Control control_;
    MainWindow& window_;
};

// A "New values" box: only the computation writes it. A click is the form's to refuse; the
// box never takes the focus, so no caret ever shows in it.
class ResultBox : public QLineEdit {
  public:
    ResultBox(Control control, MainWindow& window, QWidget* parent);

  protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

  private:
    Control control_;
    MainWindow& window_;
};

// The notes box: several lines, no Enter rule, every change forwarded.
class NotesEdit : public QPlainTextEdit {
  public:
    NotesEdit(Control control, MainWindow& window, QWidget* parent);

  protected:
    void keyPressEvent(QKeyEvent* e) override;

  private:
    Control control_;
    MainWindow& window_;
};

// A print option of the set-up panel: a click or the space bar ticks it through the form;
// Enter walks on to the next box.
class OptionBox : public QCheckBox {
  public:
    OptionBox(Control control, const QString& caption, MainWindow& window, QWidget* parent);

  protected:
    void keyPressEvent(QKeyEvent* e) override;

  private:
    Control control_;
    MainWindow& window_;
};

// One column of a grid as it is drawn: its caption button and its cells.
struct GridColumn {
    const char* captionName;  // "Command3D1"
    const char* caption;
    Ink ink;
    int widthTwips;
    Qt::Alignment align;
};

// A grid that is never edited in place: keys, Delete, clicks, arrow moves and scrolling go
// to the form; the cells, current cell and top row are the form's.
class GridView : public QTableWidget {
  public:
    GridView(Control control, const std::vector<GridColumn>& columns, int rows, int visibleRows,
             bool scrollBar, MainWindow& window, QWidget* parent);

    // Shows the form's cells, current cell (also the selection) and top visible row.
    void Show(const Grid& grid);
    // Left edge of column c within the widget, in pixels.
    int ColumnLeft(int c) const;
    int TopRow() const;

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

  private:
    Control control_;
    MainWindow& window_;
};

// A button-styled caption in the given colour; it takes no focus and does nothing.
QPushButton* MakeCaption(QWidget* parent, const char* name, const QString& text, Ink ink, const QRect& at);
// A bold label.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& at,
                  Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
// A raised 3-D panel.
QWidget* MakePanel(QWidget* parent, const char* name, const QRect& at);

}  // namespace wb::gui
