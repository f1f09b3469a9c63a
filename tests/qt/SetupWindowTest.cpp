// A new shop's whole first day in the real window, and the start-up check beside it.
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTreeView>
#include <memory>

#include "app/MainForm.h"
#include "reports/qt/PrintReport.h"
#include "store/MainDatabase.h"
#include "store/SettingsDatabase.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/WindowDriver.h"

using wb::Control;

class SetupWindowTest : public QObject, public wb::test::WindowDriver {
    Q_OBJECT

  private slots:
    void initTestCase() { UseFusion(); }
    void init();
    void cleanup();

    void aWholeFirstDay();
    void theStartUpCheckRunsBesideTheWindowAndDamageShowsInTheTitle_data();
    void theStartUpCheckRunsBesideTheWindowAndDamageShowsInTheTitle();

  private:
    // One start of the program over the working folder: load, show, the start-up body.
    // The program starts in its working folder, which it names "." (here: that folder + "/.").
    void start(const QString& workingFolder = {}, bool checkBeside = false) {
        window.reset();
        form.reset();
        form = std::make_unique<wb::MainForm>(*dialogs, clock);
        form->workingFolder = (workingFolder.isEmpty() ? work->path() : workingFolder).toStdString();
        window = std::make_unique<wb::gui::MainWindow>(*form);
        if (checkBeside)
            form->runInBackground = [w = window.get()](wb::AsideWork work) {
                w->RunInBackground(std::move(work));
            };
        window->onFirstActivation = [this] { form->Activate(); };
        ShowActive();
    }
    QString dataFolder() const { return work->filePath(QStringLiteral("shop data")); }

    std::unique_ptr<QTemporaryDir> work;
    std::unique_ptr<wb::test::ScriptedDialogs> dialogs;
    wb::test::FixedClock clock{{2026, 12, 6}};
    std::unique_ptr<wb::MainForm> form;
};

void SetupWindowTest::init() {
    work = std::make_unique<QTemporaryDir>();
    QVERIFY(work->isValid());
    dialogs = std::make_unique<wb::test::ScriptedDialogs>();
}

void SetupWindowTest::cleanup() {
    window.reset();
    form.reset();
    dialogs.reset();
    work.reset();
}

void SetupWindowTest::aWholeFirstDay() {
    if (wb::SystemHasPrinter()) QSKIP("a real printer is installed; the report would go to it");
    // First start, no data folder yet: the user picks the shop's folder in the tree and saves it.
    start(work->path() + QStringLiteral("/."));
    auto* tree = find<QTreeView>("Dir1");
    auto* model = static_cast<QFileSystemModel*>(tree->model());
    QVERIFY(QDir().mkpath(dataFolder()));
    tree->setFocus();
    tree->setCurrentIndex(model->index(dataFolder()));
    click("Command3D39");

    // No restart: the database is made in the chosen folder at once, the panel closes, the
    // message says where the records are, and the company is asked for.
    QVERIFY(QFileInfo::exists(dataFolder() + QStringLiteral("/VELK.MDB")));
    QVERIFY(!find("Panel3D11")->isVisible());
    QCOMPARE(dialogs->Titles(), std::vector<std::string>{"Data folder saved"});
    QVERIFY(find("Panel3D7")->isVisible());
    QCOMPARE(focusName(), QStringLiteral("Text17"));
    type(
        QStringLiteral("Skyline Avionics\r1 Field Rd\rDayton, OH 45401\r937-555-0100\rWeight and Balance\r"
                       "Equipment List\rJ. Smith\rA&P 123"));
    click("Check3D1");  // the company on the reports
    click("Command3D18");

    // A Worksheet typed and saved.
    type(QStringLiteral("n733bm\r17265432\rCessna\r172N\r1978\r"));
    click("Command3D13");
    QCOMPARE(form->ScreenSaved, 1);
    QCOMPARE(window->windowTitle(),
             QStringLiteral("Weight and Balance - Worksheet N733BM of 12-06-2026 saved"));

    // The full change report, into the PDF file the user names; its header is the company.
    const QString pdf = work->filePath(QStringLiteral("report.pdf"));
    dialogs->pdfFiles = {pdf.toStdString()};
    dialogs->Clear();
    click("Command3D14");
    QCOMPARE(dialogs->Titles(), std::vector<std::string>{""});  // only the file was asked for
    QProcess reader;
    reader.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    QVERIFY(reader.waitForFinished(30000));
    const QString printed = QString::fromUtf8(reader.readAllStandardOutput());
    QVERIFY2(
        printed.contains(QStringLiteral("Skyline Avionics")) && printed.contains(QStringLiteral("N733BM")),
        qPrintable(printed));

    // A report that cannot be written is told, never taken for printed.
    dialogs->pdfFiles = {work->filePath(QStringLiteral("no such folder/report.pdf")).toStdString()};
    dialogs->Clear();
    click("Command3D14");
    QCOMPARE(dialogs->Titles(), (std::vector<std::string>{"", "Report not printed"}));
}

QTEST_MAIN(SetupWindowTest)

// The check runs on a worker and reports back as one event: damage shows in the title.
void SetupWindowTest::theStartUpCheckRunsBesideTheWindowAndDamageShowsInTheTitle_data() {
    QTest::addColumn<bool>("restore");
    QTest::newRow("read-only") << false;
    // The restore runs on a worker under the window's progress dialog.
    QTest::newRow("restored") << true;
}

void SetupWindowTest::theStartUpCheckRunsBesideTheWindowAndDamageShowsInTheTitle() {
    QFETCH(bool, restore);
    QVERIFY(QDir().mkpath(dataFolder()));
    wb::SettingsDatabase(work->path().toStdString()).SetDataPath(dataFolder().toStdString());
    const QString mainFile = dataFolder() + QStringLiteral("/VELK.MDB");
    wb::MainDatabase(mainFile.toStdString())
        .WriteCompanyRow({"Shop", "1 Field Rd", {}, {}, "W&B", {}, {}, {}, {}, {}, {}, {}});
    if (restore) QVERIFY(wb::MakeBackup(mainFile.toStdString(), {{2026, 12, 1}, 9, 0, 0}).made);
    // The equipment table's page, which opening the file does not read.
    QFile file(mainFile);
    QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(4 * 4096 + 3) && file.putChar('\x7f'));
    file.close();
    if (restore) dialogs->choices = {0};  // "Restore backup"
    start({}, true);
    if (restore) {
        QTRY_COMPARE(dialogs->Titles(), (std::vector<std::string>{"Database damaged", "Backup restored"}));
        QCOMPARE(window->windowTitle(), QStringLiteral("Weight and Balance"));
        QVERIFY(QFileInfo::exists(mainFile));
        return;
    }
    QTRY_COMPARE(window->windowTitle(),
                 QStringLiteral("Weight and Balance - read-only: the database is damaged"));
    QCOMPARE(dialogs->Titles(), std::vector<std::string>{"Database damaged"});
}

#include "SetupWindowTest.moc"
