// An aircraft's record package at the window: the printed record drawn from the store, and
// Export and Import driven through the history panel with scripted file choosers.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <memory>

#include "app/MainForm.h"
#include "app/qt/RecordPdf.h"
#include "store/MainDatabase.h"
#include "store/Records.h"
#include "store/SettingsDatabase.h"
#include "store/Signing.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/WindowDriver.h"
#include "worksheet/Balance.h"

using wb::Control;

namespace {

// What a tool that is not ours prints, and whether it ended well.
QString Run(const QString& program, const QStringList& arguments, bool* ok = nullptr,
            const QString& folder = {}) {
    QProcess tool;
    tool.setWorkingDirectory(folder);
    tool.start(program, arguments);
    const bool ended = tool.waitForFinished(30000);
    if (ok) *ok = ended && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
    return QString::fromUtf8(tool.readAllStandardOutput());
}

QString PdfText(const QString& pdf) {
    return Run(QStringLiteral(WB_PDFTOTEXT), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
}

}  // namespace

class RecordExchangeTest : public QObject, public wb::test::WindowDriver {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void thePrintedRecordHoldsEveryWorksheetOldestFirst();
    void aPackageThatIsNoPackageIsRefusedAndNothingStored();
    void anExportedRecordImportsIntoAnotherShop();

  private:
    // A window over a data folder of its own, with the company printed on the reports.
    void Open(const std::filesystem::path& folder) {
        std::filesystem::create_directories(folder);
        wb::SettingsDatabase(folder).SetDataPath(folder.string());
        wb::MainDatabase(folder / "VELK.MDB")
            .WriteCompanyRow(
                {"Shop", "1 Field Rd", {}, {}, "Weight and Balance", {}, {}, {}, true, {}, {}, {}});
        form = std::make_unique<wb::MainForm>(dialogs, clock);
        form->workingFolder = folder;
        window = std::make_unique<wb::gui::MainWindow>(*form);
        form->Activate();
    }
    void Close() {
        window.reset();
        form.reset();
    }
    void Store(const char* tail, const char* date, const char* empty, const char* weight) {
        dialogs.answers.assign(4, true);
        StoreRadio(*form, tail, date, empty, "35", weight);
    }
    // The history panel of the tail, on a fresh screen.
    void ShowHistory(const char* tail) {
        form->Clicked(Control::Command3D19);
        form->SetText(Control::Text1, tail);
        window->show();
        window->Refresh();
        click("Command3D41");
    }
    std::filesystem::path Path(const char* name) const {
        return std::filesystem::path(temp.path().toStdString()) / name;
    }

    QTemporaryDir temp;
    wb::test::ScriptedDialogs dialogs;
    wb::test::FixedClock clock{{2026, 12, 6}};
    std::unique_ptr<wb::MainForm> form;
};

void RecordExchangeTest::init() {
    dialogs.Clear();
    dialogs.files.clear();
}

void RecordExchangeTest::cleanup() {
    Close();
}

// The record report first, then one calculation report per stored Worksheet of the tail and
// none of another, oldest first, each with what its print button adds from the store.
void RecordExchangeTest::thePrintedRecordHoldsEveryWorksheetOldestFirst() {
    Open(Path("pdf"));
    Store("N1", "03-01-2022", "1210", "5");
    // Weighed on a scale the shop does not keep: its weighing section names the scale.
    form->Clicked(Control::Command3D19);
    form->SetText(Control::Text1, "N1");
    form->SetText(Control::Text7, "06-01-2023");
    for (int row = 0; row < 3; ++row) {
        form->ws.ScaleRows().At(row, wb::scale::Wgt) = row < 2 ? "612" : "290";
        form->ws.ScaleRows().At(row, wb::scale::Arm) = row < 2 ? "80" : "30";
    }
    form->ws.Set(wb::Field::Scale1, "A-100");
    wb::Recalculate(form->ws);
    form->Clicked(Control::Command3D13);
    Store("N1", "01-10-2020", "1200", "12");
    const std::int64_t signedId = *form->records->OnScreen();
    Store("N2", "02-01-2021", "900", "3");
    Store("N1", "02-10-2021", "1000", "3");
    wb::SealingCost() = {1, 8192};
    const std::int64_t signer =
        wb::AddSigner(form->records->db(), "Ann Signer", "A&P", "3456789", "a long passphrase");
    QCOMPARE(wb::SignWorksheet(form->records->db(), signedId, signer, "a long passphrase"),
             wb::SignOutcome::Signed);

    const QString pdf = QString::fromStdString(Path("record.pdf").string());
    {
        wb::Database db(Path("pdf") / "VELK.MDB", wb::Database::Mode::ReadOnly);
        wb::gui::WriteRecordPdf(db, "n1", pdf.toStdString(), wb::NoProgress(), clock.today);
    }
    const QString text = PdfText(pdf);
    QCOMPARE(text.count(QStringLiteral("Weight and Balance Record")), 1);
    QCOMPARE(text.count(QStringLiteral("New A/C Empty Weight:")), 4);
    QCOMPARE(text.count(QStringLiteral("Weighed Aircraft Values")), 1);
    QVERIFY(text.contains(QStringLiteral(": scale A-100")));
    QVERIFY2(!text.contains(QStringLiteral("02-01-2021")), "another tail's Worksheet");
    // The record on the first sheet, then each Worksheet on sheets of its own, oldest first
    // whatever order they were stored in.
    const QStringList sheets = text.split(QLatin1Char('\f'));
    QVERIFY(sheets[0].contains(QStringLiteral("Weight and Balance Record")));
    // Named as stored, however it was asked for.
    QVERIFY(sheets[0].contains(QRegularExpression(QStringLiteral("Reg. Number: +N1 "))));
    QStringList order;
    for (const QString& sheet : sheets) {
        if (!sheet.contains(QStringLiteral("New A/C Empty Weight:"))) continue;
        QString first;
        for (const char* date : {"01-10-2020", "02-10-2021", "03-01-2022", "06-01-2023"})
            if (sheet.contains(QLatin1String(date)) &&
                (first.isEmpty() || sheet.indexOf(QLatin1String(date)) < sheet.indexOf(first)))
                first = QLatin1String(date);
        order << first;
    }
    QCOMPARE(order, (QStringList{"01-10-2020", "02-10-2021", "03-01-2022", "06-01-2023"}));
    QCOMPARE(text.count(QStringLiteral("Signed electronically by Ann Signer")), 1);
    // The record report's audit trail names the signature.
    QVERIFY(sheets[0].contains(QRegularExpression(QStringLiteral("01-10-2020 +sign "))));
}

void RecordExchangeTest::aPackageThatIsNoPackageIsRefusedAndNothingStored() {
    Open(Path("refused"));
    Store("N1", "01-10-2020", "1200", "12");
    ShowHistory("N1");
    const std::string bogus = Path("bogus.zip").string();
    QFile file(QString::fromStdString(bogus));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a package");
    file.close();

    dialogs.Clear();
    dialogs.files = {std::nullopt};  // Cancel: nothing is done, nothing said
    click("HistoryImport");
    QCOMPARE(dialogs.shown.size(), size_t{1});
    QCOMPARE(dialogs.shown[0].kind, wb::test::Shown::OpenFile);

    dialogs.Clear();
    dialogs.files = {bogus};
    click("HistoryImport");
    QCOMPARE(dialogs.Titles().back(), std::string("Record not imported"));
    QCOMPARE(find<QTreeWidget>("HistoryList")->topLevelItemCount(), 2);  // the record and its audit trail
    QVERIFY(find("Panel3D12")->isVisible());
}

void RecordExchangeTest::anExportedRecordImportsIntoAnotherShop() {
    Open(Path("from"));
    Store("N1", "01-10-2020", "1200", "12");
    Store("N1", "02-10-2021", "1000", "3");
    ShowHistory("N1");
    const std::string package = Path("N1 record.zip").string();
    dialogs.Clear();
    dialogs.files = {package};
    click("HistoryExport");
    QCOMPARE(dialogs.shown[0].kind, wb::test::Shown::SaveFile);
    QCOMPARE(dialogs.shown[0].text, wb::PackageFileName("N1"));
    QCOMPARE(dialogs.Titles().back(), std::string("Record exported"));
    QVERIFY(std::filesystem::exists(package));
    Close();

    // Checked from outside: the manifest by sha256sum, the printed record as PDF/A with every
    // font embedded.
    const QString unpacked = QString::fromStdString(Path("unpacked").string());
    bool ok = false;
    Run(QStringLiteral("python3"),
        {QStringLiteral("-m"), QStringLiteral("zipfile"), QStringLiteral("-e"),
         QString::fromStdString(package), unpacked},
        &ok);
    QVERIFY(ok);
    Run(QStringLiteral("sha256sum"), {QStringLiteral("-c"), QStringLiteral("SHA256SUMS")}, &ok, unpacked);
    QVERIFY(ok);
    const QString pdf = unpacked + QStringLiteral("/record.pdf");
    QVERIFY(PdfText(pdf).contains(QStringLiteral("02-10-2021")));
    const QStringList fonts =
        Run(QStringLiteral(WB_PDFFONTS), {pdf}).split('\n', Qt::SkipEmptyParts).mid(2);  // past the heading
    QVERIFY(!fonts.isEmpty());
    for (const QString& font : fonts)  // the "emb" column
        QVERIFY2(font.contains(QRegularExpression(R"(\s+yes\s+(yes|no)\s+(yes|no)\s+\d+\s+\d+$)")),
                 qPrintable(font));
    QVERIFY(Run(QStringLiteral(WB_PDFINFO), {QStringLiteral("-meta"), pdf})
                .contains(QStringLiteral("pdfaid:part")));

    // Another shop, its database new, takes the aircraft in: browsing reaches it at once.
    Open(Path("to"));
    ShowHistory("N1");
    QCOMPARE(find<QTreeWidget>("HistoryList")->topLevelItemCount(), 0);
    for (int round = 0; round < 2; ++round) {
        dialogs.Clear();
        dialogs.files = {package};
        click("HistoryImport");
        QCOMPARE(dialogs.Titles().back(), std::string("Record imported"));
        // The two records and their audit trail; a second import changes nothing.
        QCOMPARE(find<QTreeWidget>("HistoryList")->topLevelItemCount(), 3);
    }
    // The first shop's two saves kept as they came, then one import entry per Worksheet saying
    // from where.
    const QTreeWidgetItem* trail = find<QTreeWidget>("HistoryList")->topLevelItem(2);
    QCOMPARE(trail->childCount(), 4);
    QCOMPARE(trail->child(0)->text(1), QStringLiteral("save"));
    QCOMPARE(trail->child(3)->text(1), QStringLiteral("import"));
    QVERIFY(trail->child(3)
                ->text(trail->treeWidget()->columnCount() - 1)
                .contains(QStringLiteral("from \"N1 record.zip\"")));
    click("Command3D41");
    dialogs.answers = {true};  // the tail typed to reach the history is not kept
    form->Clicked(Control::Command3D19);
    form->SetText(Control::Text7, "");  // a new Worksheet is dated today: browse them all
    click("Command3D17");
    QCOMPARE(text("Text1"), QStringLiteral("N1"));
    QCOMPARE(text("Text7"), QStringLiteral("02-10-2021"));
}

QTEST_MAIN(RecordExchangeTest)
#include "RecordExchangeTest.moc"
