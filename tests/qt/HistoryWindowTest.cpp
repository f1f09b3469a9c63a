// The history panel through the real window, over a chain stored through the form.
#include <QLabel>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <memory>

#include "app/MainForm.h"
#include "store/Records.h"
#include "store/SettingsDatabase.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/WindowDriver.h"
#include "worksheet/Balance.h"

using wb::Control;

class HistoryWindowTest : public QObject, public wb::test::WindowDriver {
    Q_OBJECT

  private slots:
    void theBarButtonShowsTheChain();

  private:
    void Store(const char* date, const char* empty, const char* cg, const char* weight) {
        StoreRadio(*form, "N1", date, empty, cg, weight);
    }

    QTemporaryDir temp;
    wb::test::ScriptedDialogs dialogs;
    wb::test::FixedClock clock{{2026, 12, 6}};
    std::unique_ptr<wb::MainForm> form;
};

void HistoryWindowTest::theBarButtonShowsTheChain() {
    MakeShopFolder(temp.path().toStdString());
    form = std::make_unique<wb::MainForm>(dialogs, clock);
    form->workingFolder = temp.path().toStdString();
    window = std::make_unique<wb::gui::MainWindow>(*form);
    form->Activate();
    dialogs.answers.assign(10, true);
    Store("01-10-2020", "1200", "35", "12");
    Store("02-10-2021", "1000", "35", "3");  // starts elsewhere: a break
    form->Clicked(Control::Command3D19);
    form->SetText(Control::Text1, "N1");
    ShowActive();
    window->Refresh();

    click("Command3D41");
    auto* list = find<QTreeWidget>("HistoryList");
    // The two records, then their audit trail.
    QCOMPARE(list->topLevelItemCount(), 3);
    QVERIFY(list->topLevelItem(2)->text(0).startsWith(QStringLiteral("Audit trail (2 entries)")));
    QCOMPARE(list->topLevelItem(0)->text(7), QStringLiteral("1212.00"));
    QCOMPARE(find<QLabel>("HistorySummary")->text(),
             QStringLiteral("Since the first record, 01-10-2020: weight +15.00 lb, C.G. +0.06 in"));

    // Esc closes the panel, also after zoom steps have rebuilt the window.
    for (int step = 0; step < 2; ++step) {
        const QSize before = window->size();
        QTest::keyClick(window.get(), Qt::Key_Plus, Qt::ControlModifier);
        QTRY_VERIFY(window->size().width() > before.width());
    }
    QVERIFY(find("Panel3D12")->isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!find("Panel3D12")->isVisible());
    window.reset();
    form.reset();
}

QTEST_MAIN(HistoryWindowTest)
#include "HistoryWindowTest.moc"
