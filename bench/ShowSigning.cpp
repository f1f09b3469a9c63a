// A look at signed records in the real window: a tail with a signed, a superseded and an
// altered record; the sign dialog as the mechanic meets it; the history panel with its marks;
// and the calculation report of a signed Worksheet as a PDF.
// Usage (on a display, e.g. under xvfb-run): show_signing OUTDIR
#include <sodium.h>

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QStyleFactory>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>
#include <filesystem>

#include "app/MainForm.h"
#include "app/ReportFromScreen.h"
#include "app/qt/MainWindow.h"
#include "app/qt/QtDialogs.h"
#include "app/qt/Units.h"
#include "app/qt/Zoom.h"
#include "reports/Reports.h"
#include "reports/qt/PrintReport.h"
#include "store/History.h"
#include "store/MainDatabase.h"
#include "store/Records.h"
#include "store/SettingsDatabase.h"
#include "store/Signing.h"
#include "store/WorksheetRows.h"
#include "tests/support/ScriptedDialogs.h"
#include "worksheet/Balance.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kPassphrase = "hangar door 42";

// Scripted, but the passphrase is asked in the program's own box, so that it can be seen.
class ShowDialogs : public wb::test::ScriptedDialogs {
  public:
    std::optional<std::string> AskPassword(std::string_view title, std::string_view text) override {
        ScriptedDialogs::AskPassword(title, text);
        return real.AskPassword(title, text);
    }
    wb::gui::QtDialogs real;
};

// Each Worksheet starts where the one before ended, so that the chain has no break.
void Store(wb::Database& db, const char* date, const char* item, std::optional<std::string> corrects = {},
           std::string reason = {}) {
    wb::Worksheet ws;
    wb::ClearWorksheet(ws, false);
    ws.Set(wb::Field::Tail, "N123AB");
    ws.Set(wb::Field::Date, date);
    ws.Set(wb::Field::Make, "Piper");
    ws.Set(wb::Field::Model, "PA-28-181");
    ws.Set(wb::Field::Serial, "28-7890123");
    ws.Set(wb::Field::MaxWt, "2550");
    ws.Set(wb::Field::By, "J. Smith");
    ws.Set(wb::Field::Cert, "A&P 3456789");
    ws.InstalledList().At(0, wb::installed::Description) = std::string(wb::kPreviousEmpty);
    const wb::RecordChain chain = wb::ReadHistory(db, "N123AB");
    const wb::ChainEntry* latest = chain.Latest();
    ws.InstalledList().At(0, wb::installed::Weight) = latest ? wb::ChainWeight(latest->newWeight) : "1450.00";
    ws.InstalledList().At(0, wb::installed::Arm) = latest ? wb::ChainArm(latest->newArm) : "86.10";
    ws.InstalledList().At(1, wb::installed::Description) = std::string(item);
    ws.InstalledList().At(1, wb::installed::Weight) = std::string("4.2");
    ws.InstalledList().At(1, wb::installed::Arm) = std::string("62.0");
    ws.InstalledList().At(1, wb::installed::Install) = std::string("X");
    ws.EquipmentList().At(0, wb::equipment::Description) = std::string("Battery");
    ws.EquipmentList().At(0, wb::equipment::Weight) = std::string("25");
    ws.EquipmentList().At(0, wb::equipment::Arm) = std::string("10");
    wb::Recalculate(ws);
    wb::SaveRequest request;
    request.corrects = std::move(corrects);
    request.correctionReason = std::move(reason);
    wb::SaveWorksheet(db, ws, request);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: show_signing OUTDIR\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const fs::path work = fs::temp_directory_path() / "wb-show-signing";
    fs::remove_all(work);
    const fs::path data = work / "data";
    fs::create_directories(data);
    wb::SettingsDatabase(work).SetDataPath(data.string());
    {
        wb::MainDatabase main(data / "VELK.MDB");
        wb::CompanyRow company;
        company.CompName = "Valley Aero Service";
        company.CompAddress = "1 Airport Rd";
        company.CompCSZ = "Springfield";
        company.FormTitle = "Weight and Balance";
        company.Mechanic = "J. Smith";
        company.Cert = "A&P 3456789";
        company.PrintCo = company.PrintCG = company.PrintMech = company.PrintNotes = true;
        main.WriteCompanyRow(company);
        wb::Database& db = main.db();
        wb::SealingCost() = {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN};
        const std::int64_t signer = wb::AddSigner(db, "J. Smith", "A&P", "3456789", kPassphrase);
        auto sign = [&](const char* iso) {
            wb::SignWorksheet(db, wb::WorksheetsWithPair(db, "N123AB", iso).front(), signer, kPassphrase);
        };
        Store(db, "01-10-2020", "GPS antenna");
        sign("2020-01-10");
        Store(db, "02-10-2021", "ELT");
        sign("2021-02-10");
        Store(db, "02-12-2021", "ELT 406 MHz", "2021-02-10", "ELT weight was the old model's");
        Store(db, "03-10-2022", "Strobe");
        sign("2022-03-10");
        Store(db, "04-10-2023", "Intercom");
        // Changed with another tool after it was signed.
        db.Exec("UPDATE Aircraft SET MaxWt = 2600 WHERE \"Date\" = '2022-03-10'");
    }

    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    wb::gui::SetZoom(wb::gui::FittingZoom(QGuiApplication::primaryScreen()->availableGeometry().size()));
    QApplication::setFont(wb::gui::WindowFont());

    ShowDialogs dialogs;
    wb::test::FixedClock clock({2026, 12, 7});
    wb::MainForm form(dialogs, clock);
    form.workingFolder = work;
    wb::gui::MainWindow window(form);
    dialogs.real.SetParent(&window);
    form.runInBackground = [&window](wb::AsideWork w) { window.RunInBackground(std::move(w)); };
    window.onFirstActivation = [&form] { form.Activate(); };
    window.show();
    window.activateWindow();

    auto grab = [&](const char* name) {
        QGuiApplication::primaryScreen()->grabWindow(0).save(out + QStringLiteral("/") + QLatin1String(name));
    };
    // Loads the newest Worksheet of the tail, unsigned, and signs it.
    QTimer::singleShot(2500, [&] {
        form.Clicked(wb::Control::Command3D19);
        form.SetText(wb::Control::Text1, "N123AB");
        form.SetText(wb::Control::Text7, "04-10-2023");
        form.Clicked(wb::Control::Command3D16);
        form.Clicked(wb::Control::Command3D41);
        window.Refresh();
        dialogs.picks = {0};
        QTimer::singleShot(1200, [&] {
            if (auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
                grab("sign-dialog.png");
                box->setTextValue(QString::fromLatin1(kPassphrase));
                box->accept();
            }
        });
        form.Clicked(wb::Control::SignButton);
        form.Clicked(wb::Control::Command3D41);
        form.Clicked(wb::Control::Command3D41);
        window.Refresh();
        QTimer::singleShot(800, [&] {
            // The audit trail opened; then the notes, at the right end of the list.
            auto* list = window.findChild<QTreeWidget*>(QStringLiteral("HistoryList"));
            list->topLevelItem(list->topLevelItemCount() - 1)->setExpanded(true);
            QApplication::processEvents();
            grab("history.png");
            list->horizontalScrollBar()->setValue(list->horizontalScrollBar()->maximum() * 2 / 3);
            QApplication::processEvents();
            grab("history-notes.png");
            form.Clicked(wb::Control::Command3D41);
            window.Refresh();
            const wb::ReportInput in = wb::ReportFromScreen(form);
            wb::PrintToPdfFile((out + QStringLiteral("/signed-report.pdf")).toStdString(), in,
                               wb::PrintCalculationReport);
            wb::PrintToPdfFile((out + QStringLiteral("/record-report.pdf")).toStdString(), in,
                               wb::PrintRecordReport);
            for (const auto& s : dialogs.shown)
                std::printf("%s: %s\n", s.title.c_str(), s.text.c_str());
            QApplication::quit();
        });
    });
    return QApplication::exec();
}
