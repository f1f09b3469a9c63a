// Screen readers and the keyboard: every control of the main window has a name read through
// Qt's accessibility interface, and Tab walks each panel's controls in reading order.
#include <QAccessible>
#include <QAccessibleInterface>
#include <memory>

#include "app/MainForm.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/WindowDriver.h"

class AccessibilityTest : public QObject, public wb::test::WindowDriver {
    Q_OBJECT

  private slots:
    void initTestCase();
    void everyControlHasAName();
    void tabWalksEachPanelInReadingOrder();
    void cleanupTestCase();

  private:
    wb::test::ScriptedDialogs dialogs;
    wb::test::FixedClock clock{{2026, 12, 6}};
    std::unique_ptr<wb::MainForm> form;
};

void AccessibilityTest::initTestCase() {
    UseFusion();
    form = std::make_unique<wb::MainForm>(dialogs, clock);
    window = std::make_unique<wb::gui::MainWindow>(*form);
    window->show();
}

void AccessibilityTest::cleanupTestCase() {
    window.reset();
    form.reset();
}

namespace {

// The roles of what a user acts on or reads a value from; their insides (cells, rows) are the
// control's own.
bool IsControl(QAccessible::Role role) {
    switch (role) {
        case QAccessible::EditableText:
        case QAccessible::PushButton:
        case QAccessible::CheckBox:
        case QAccessible::ComboBox:
        case QAccessible::Table:
        case QAccessible::Tree:
        case QAccessible::List:
        case QAccessible::Graphic:
            return true;
        default:
            return false;
    }
}

// Every control under `node`, hidden panels included, without a name.
void Unnamed(QAccessibleInterface* node, QStringList& found) {
    if (node == nullptr) return;
    if (IsControl(node->role())) {
        if (node->text(QAccessible::Name).trimmed().isEmpty()) found << node->object()->objectName();
        return;
    }
    for (int i = 0; i < node->childCount(); ++i)
        Unnamed(node->child(i), found);
}

}  // namespace

void AccessibilityTest::everyControlHasAName() {
    QStringList unnamed;
    Unnamed(QAccessible::queryAccessibleInterface(window.get()), unnamed);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
}

// Two controls in Tab order are out of reading order when the later one stands wholly above
// the earlier one in the same column, or wholly left of it in the same row.
void AccessibilityTest::tabWalksEachPanelInReadingOrder() {
    for (const char* panelName : {"Panel3D1", "Panel3D4", "Panel3D5", "Panel3D6", "Panel3D7", "Panel3D11",
                                  "Panel3D12", "Panel3D13", "LoadingPanel", "Form1"}) {
        QWidget* panel = QByteArray(panelName) == "Form1" ? window.get() : find(panelName);
        QList<QWidget*> order;
        for (QWidget* w = window->nextInFocusChain(); w != window.get(); w = w->nextInFocusChain()) {
            const bool onPanel = panel == window.get() ? w->parentWidget() == panel : panel->isAncestorOf(w);
            if (onPanel && (w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(panel)) order << w;
        }
        QVERIFY2(!order.isEmpty(), panelName);
        for (int i = 0; i < order.size(); ++i)
            for (int j = i + 1; j < order.size(); ++j) {
                const QRect a(order[i]->mapTo(window.get(), QPoint()), order[i]->size());
                const QRect b(order[j]->mapTo(window.get(), QPoint()), order[j]->size());
                const bool sameColumn = b.left() < a.right() && a.left() < b.right();
                const bool sameRow = b.top() < a.bottom() && a.top() < b.bottom();
                const bool above = sameColumn && b.bottom() <= a.top();
                const bool leftOf = sameRow && b.right() <= a.left();
                QVERIFY2(!above && !leftOf,
                         qPrintable(QStringLiteral("%1: Tab reaches %2 after %3")
                                        .arg(QLatin1String(panelName), order[j]->objectName(),
                                             order[i]->objectName())));
            }
    }
}

QTEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"
