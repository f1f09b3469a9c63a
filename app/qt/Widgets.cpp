#include "app/qt/Widgets.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <memory>

#include "app/qt/MainWindow.h"

namespace wb::gui {

bool TypesWithAModifier(const QKeyEvent& e) {
    // Ctrl+Alt together is how some keyboards type their third-level characters.
    const Qt::KeyboardModifiers m = e.modifiers();
    const bool altGr = (m & Qt::ControlModifier) && (m & Qt::AltModifier);
    if (altGr || !(m & (Qt::AltModifier | Qt::MetaModifier))) return false;
    // Only the key's own character is a shortcut; a character the modifier makes (Option+s
    // giving "ß" on some keyboards) is typing.
    const QString text = e.text();
    return text.size() == 1 && text.at(0).isPrint() &&
           static_cast<int>(text.at(0).toUpper().unicode()) == e.key();
}

std::optional<char32_t> TypedCharacter(const QKeyEvent& e) {
    const Qt::KeyboardModifiers shortcut = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (e.modifiers() & shortcut) return std::nullopt;
    if (e.key() == Qt::Key_Return || e.key() == Qt::Key_Enter) return 13;
    if (e.key() == Qt::Key_Backspace) return 8;
    const QList<uint> chars = e.text().toUcs4();
    if (chars.size() != 1 || !QChar::isPrint(static_cast<char32_t>(chars[0]))) return std::nullopt;
    return static_cast<char32_t>(chars[0]);
}

namespace {

// The key the form let through, carrying the character the form chose (a capital in the tail
// number); nothing when it is the key as pressed.
std::unique_ptr<QKeyEvent> Retyped(const QKeyEvent& e, char32_t key) {
    if (key == 8 || key == 13 || static_cast<uint>(key) == e.text().toUcs4().value(0)) return nullptr;
    return std::make_unique<QKeyEvent>(e.type(), e.key(), e.modifiers(), QString::fromUcs4(&key, 1),
                                       e.isAutoRepeat(), static_cast<quint16>(e.count()));
}

QString NameOf(Control c) {
    const std::string_view name = InfoOf(c).name;
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

int TwipsBefore(const std::vector<GridColumn>& columns, int count) {
    int twips = 0;
    for (int c = 0; c < count; ++c)
        twips += columns[static_cast<size_t>(c)].widthTwips;
    return twips;
}

}  // namespace

// ---- FieldEdit ---------------------------------------------------------------------------

FieldEdit::FieldEdit(Control control, MainWindow& window, QWidget* parent)
    : QLineEdit(parent), control_(control), window_(window) {
    setObjectName(NameOf(control));
    connect(this, &QLineEdit::textEdited, this,
            [this](const QString& text) { window_.TextEdited(control_, text, cursorPosition()); });
}

void FieldEdit::keyPressEvent(QKeyEvent* e) {
    // Alt+letter is a shortcut, never a character in the box.
    if (TypesWithAModifier(*e)) {
        e->ignore();
        return;
    }
    const std::optional<char32_t> key = TypedCharacter(*e);
    if (!key) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    const KeyResult r = window_.Key(control_, *key);
    // Enter never types into a single-line box, whether the form consumed it or not.
    if (r.consumed || *key == 13) {
        e->accept();
        return;
    }
    if (auto typed = Retyped(*e, r.key)) {
        QLineEdit::keyPressEvent(typed.get());
        e->setAccepted(typed->isAccepted());
    } else {
        QLineEdit::keyPressEvent(e);
    }
}

void FieldEdit::mousePressEvent(QMouseEvent* e) {
    QLineEdit::mousePressEvent(e);
    if (e->button() == Qt::LeftButton) window_.Click(control_);
}

// ---- ResultBox ---------------------------------------------------------------------------

ResultBox::ResultBox(Control control, MainWindow& window, QWidget* parent)
    : QLineEdit(parent), control_(control), window_(window) {
    setObjectName(NameOf(control));
    setReadOnly(true);
    setFocusPolicy(Qt::NoFocus);
    setContextMenuPolicy(Qt::NoContextMenu);
    setCursor(Qt::ArrowCursor);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void ResultBox::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) window_.Click(control_);
    e->accept();
}

void ResultBox::mouseDoubleClickEvent(QMouseEvent* e) {
    e->accept();
}

// ---- NotesEdit ---------------------------------------------------------------------------

NotesEdit::NotesEdit(Control control, MainWindow& window, QWidget* parent)
    : QPlainTextEdit(parent), control_(control), window_(window) {
    setObjectName(NameOf(control));
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this,
            [this] { window_.TextEdited(control_, toPlainText()); });
}

void NotesEdit::keyPressEvent(QKeyEvent* e) {
    if (TypesWithAModifier(*e)) {
        e->ignore();
        return;
    }
    const std::optional<char32_t> key = TypedCharacter(*e);
    if (!key) {
        QPlainTextEdit::keyPressEvent(e);
        return;
    }
    const KeyResult r = window_.Key(control_, *key);
    if (r.consumed) {
        e->accept();
        return;
    }
    if (auto typed = Retyped(*e, r.key)) {
        QPlainTextEdit::keyPressEvent(typed.get());
        e->setAccepted(typed->isAccepted());
    } else {
        QPlainTextEdit::keyPressEvent(e);
    }
}

// ---- OptionBox ---------------------------------------------------------------------------

OptionBox::OptionBox(Control control, const QString& caption, MainWindow& window, QWidget* parent)
    : QCheckBox(caption, parent), control_(control), window_(window) {
    setObjectName(NameOf(control));
    setFont(LabelFont());
    connect(this, &QCheckBox::clicked, this, [this](bool on) { window_.CheckClicked(control_, on); });
}

void OptionBox::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        window_.Key(control_, 13);
        e->accept();
        return;
    }
    QCheckBox::keyPressEvent(e);
}

// ---- GridView ----------------------------------------------------------------------------

GridView::GridView(Control control, const std::vector<GridColumn>& columns, int rows, int visibleRows,
                   bool scrollBar, MainWindow& window, QWidget* parent)
    : QTableWidget(rows, static_cast<int>(columns.size()), parent), control_(control), window_(window) {
    setObjectName(NameOf(control));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(RowHeight());
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);  // Tab leaves the grid, as it leaves every other control
    setAutoScroll(false);        // the form says which row is on top
    setDragEnabled(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(scrollBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::white);
    setPalette(p);

    int width = 0;
    for (int c = 0; c < columnCount(); ++c) {
        const int w = Px(TwipsBefore(columns, c + 1)) - Px(TwipsBefore(columns, c));
        setColumnWidth(c, w);
        width += w;
        for (int r = 0; r < rows; ++r) {
            auto* item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            item->setTextAlignment(columns[static_cast<size_t>(c)].align | Qt::AlignVCenter);
            setItem(r, c, item);
        }
    }
    const int frame = 2 * frameWidth();
    const int bar = scrollBar ? style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) : 0;
    setFixedSize(width + frame + bar, visibleRows * RowHeight() + frame);

    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this](int top) { window_.Scrolled(control_, top); });
}

int GridView::ColumnLeft(int c) const {
    return frameWidth() + columnViewportPosition(c) + horizontalOffset();
}

int GridView::TopRow() const {
    return rowAt(0);
}

void GridView::Show(const Grid& grid) {
    for (int r = 0; r < rowCount() && r < grid.rows; ++r)
        for (int c = 0; c < columnCount() && c < grid.cols; ++c) {
            const QString text = QString::fromStdString(grid.Cell(r, c));
            QTableWidgetItem* it = item(r, c);
            if (it->text() != text) it->setText(text);
        }
    const QModelIndex current = model()->index(grid.row, grid.col);
    if (currentIndex() != current || selectionModel()->selectedIndexes() != QModelIndexList{current})
        selectionModel()->setCurrentIndex(current, QItemSelectionModel::ClearAndSelect);
    if (verticalScrollBar()->value() != grid.topRow) verticalScrollBar()->setValue(grid.topRow);
}

void GridView::keyPressEvent(QKeyEvent* e) {
    // The keypad's Delete is the same key.
    if (e->key() == Qt::Key_Delete && (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        window_.Delete(control_);
        return;
    }
    if (const std::optional<char32_t> key = TypedCharacter(*e)) {
        window_.Key(control_, *key);
        return;
    }
    std::optional<CursorAction> move;
    switch (e->key()) {
        case Qt::Key_Up:
            move = MoveUp;
            break;
        case Qt::Key_Down:
            move = MoveDown;
            break;
        case Qt::Key_Left:
            move = MoveLeft;
            break;
        case Qt::Key_Right:
            move = MoveRight;
            break;
        case Qt::Key_Home:
            move = MoveHome;
            break;
        case Qt::Key_End:
            move = MoveEnd;
            break;
        case Qt::Key_PageUp:
            move = MovePageUp;
            break;
        case Qt::Key_PageDown:
            move = MovePageDown;
            break;
        default:
            break;
    }
    if (!move) {
        e->ignore();
        return;
    }
    const QModelIndex to = moveCursor(*move, e->modifiers());
    if (to.isValid()) window_.MoveCurrent(control_, to.row(), to.column());
}

void GridView::mousePressEvent(QMouseEvent* e) {
    const QModelIndex at = indexAt(e->position().toPoint());
    if (e->button() == Qt::LeftButton && at.isValid()) window_.PressCell(control_, at.row(), at.column());
    e->accept();
}

// The grid's own drag selection and double-click editing stay off.
void GridView::mouseMoveEvent(QMouseEvent* e) {
    e->accept();
}
void GridView::mouseReleaseEvent(QMouseEvent* e) {
    e->accept();
}
void GridView::mouseDoubleClickEvent(QMouseEvent* e) {
    e->accept();
}

// ---- captions, labels, panels ------------------------------------------------------------

QPushButton* MakeCaption(QWidget* parent, const char* name, const QString& text, Ink ink, const QRect& at) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoDefault(false);
    QPalette p = b->palette();
    p.setColor(QPalette::ButtonText, InkColour(ink));
    p.setColor(QPalette::Button, GroundFor(ink));
    b->setPalette(p);
    b->setGeometry(at);
    return b;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& at,
                  Qt::Alignment align) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(LabelFont());
    l->setAlignment(align);
    l->setGeometry(at);
    return l;
}

QWidget* MakePanel(QWidget* parent, const char* name, const QRect& at) {
    auto* f = new QFrame(parent);
    f->setObjectName(QString::fromLatin1(name));
    f->setFrameStyle(QFrame::Panel | QFrame::Raised);
    f->setLineWidth(2);
    f->setAutoFillBackground(true);
    f->setGeometry(at);
    return f;
}

}  // namespace wb::gui
