// Driving the real main window in Qt tests: controls found by name, keys typed into whatever
// has the focus (Enter written as \r) and clicks on controls and grid cells.
#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QStyleFactory>
#include <QTest>
#include <filesystem>

#include "app/qt/MainWindow.h"
#include "app/qt/Widgets.h"
#include "store/MainDatabase.h"
#include "store/SettingsDatabase.h"
#include "worksheet/Balance.h"

namespace wb::test {

class WindowDriver {
  public:
    // The style the pixel checks and pictures were made in; a closed window ends no test.
    static void UseFusion() {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setQuitOnLastWindowClosed(false);
    }
    // A working folder that is its own data folder, with a shop's company row.
    static void MakeShopFolder(const std::filesystem::path& folder) {
        SettingsDatabase(folder).SetDataPath(folder.string());
        MainDatabase(folder / "VELK.MDB")
            .WriteCompanyRow(
                {"Shop", "1 Field Rd", {}, {}, "Weight and Balance", {}, {}, {}, {}, {}, {}, {}});
    }
    // Shows the window and waits until it is active (a bare X server has no window manager to
    // activate it).
    void ShowActive() {
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    template <class T = QWidget>
    T* find(const char* name) {
        T* w = window->findChild<T*>(QString::fromLatin1(name));
        if (w == nullptr) qFatal("no control %s", name);
        return w;
    }
    static QString focusName() {
        QWidget* f = QApplication::focusWidget();
        return f ? f->objectName() : QStringLiteral("(none)");
    }
    void click(const char* name) { QTest::mouseClick(find(name), Qt::LeftButton); }
    void clickCell(const char* grid, int row, int col) {
        gui::GridView* g = find<gui::GridView>(grid);
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {},
                          g->visualRect(g->model()->index(row, col)).center());
    }
    static void type(const QString& keys) {
        for (QChar k : keys) {
            QWidget* f = QApplication::focusWidget();
            QVERIFY(f != nullptr);
            if (k == QLatin1Char('\r'))
                QTest::keyClick(f, Qt::Key_Return);
            else
                QTest::keyClicks(f, QString(k));
        }
    }
    // A fresh Worksheet with its previous empty weight and C.G. and one radio installed, saved.
    static void StoreRadio(MainForm& form, const char* tail, const char* date, const char* empty,
                           const char* cg, const char* weight) {
        form.Clicked(Control::Command3D19);
        form.SetText(Control::Text1, tail);
        form.SetText(Control::Text7, date);
        form.SetText(Control::Text9, empty);
        form.SetText(Control::Text10, cg);
        RebuildPreviousEmptyRow(form.ws, Field::Empty);
        RowStore& list = form.ws.InstalledList();
        list.At(1, installed::Description) = "Radio";
        list.At(1, installed::Weight) = weight;
        list.At(1, installed::Arm) = "40";
        list.At(1, installed::Install) = "X";
        Recalculate(form.ws);
        form.Clicked(Control::Command3D13);
    }

    QString text(const char* box) { return find<QLineEdit>(box)->text(); }
    QString cell(const char* grid, int row, int col) {
        return find<gui::GridView>(grid)->item(row, col)->text();
    }

    std::unique_ptr<gui::MainWindow> window;
};

}  // namespace wb::test
