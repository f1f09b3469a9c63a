// What the command line starts, answers or refuses. The program itself is run without any
// display: whatever answers without the window must never reach the window system.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "app/qt/CommandLine.h"
#include "store/MainDatabase.h"

using wb::gui::ReadCommandLine;
using wb::gui::StartOptions;
using Outcome = StartOptions::Outcome;

class CommandLineTest : public QObject {
    Q_OBJECT

    QTemporaryDir temp;

  private slots:
    void initTestCase() {
        wb::gui::NameApplication();
        QVERIFY(QDir(temp.path()).mkdir(QStringLiteral("data")));
        QVERIFY(QDir(temp.path()).mkdir(QStringLiteral("shop")));
        wb::MainDatabase(std::filesystem::path(temp.path().toStdString()) / "shop" / "VELK.MDB")
            .db()
            .Exec(
                "INSERT INTO Aircraft (Tail, \"Date\", FoldedTail, Empty, CG) VALUES ('N1', '2001-06-10', "
                "'n1', "
                "1200, 35)");
        QVERIFY(QDir(temp.path()).mkdir(QStringLiteral("other")));
        wb::MainDatabase(std::filesystem::path(temp.path().toStdString()) / "other" / "VELK.MDB");
        QFile bad(temp.filePath(QStringLiteral("bad.zip")));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("no package");
        bad.close();
        QDir::setCurrent(temp.path());
    }

    void answeredWithoutADisplay_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::newRow("help") << QStringList{"--help"} << 0 << QStringLiteral("--data-folder <DIR>")
                              << QString();
        QTest::newRow("help wins over a wrong folder") << QStringList{"--data-folder", "missing", "-h"} << 0
                                                       << QStringLiteral("--settings <DIR>") << QString();
        QTest::newRow("help-all names the window system's options")
            << QStringList{"--help-all"} << 0 << QStringLiteral("-platform <value>") << QString();
        QTest::newRow("version") << QStringList{"--version"} << 0
                                 << QStringLiteral("weightbalance " WB_VERSION "\n") << QString();
        QTest::newRow("version after a window system option")
            << QStringList{"-style", "Fusion", "--platform=xcb", "-v"} << 0
            << QStringLiteral("weightbalance ") << QString();
        QTest::newRow("unknown option")
            << QStringList{"--bogus"} << 2 << QString() << QStringLiteral("Unknown option 'bogus'");
        QTest::newRow("unknown single-dash option")
            << QStringList{"-bogus"} << 2 << QString() << QStringLiteral("Unknown option");
        QTest::newRow("missing folder") << QStringList{"--data-folder", "missing"} << 2 << QString()
                                        << QStringLiteral("--data-folder: no such folder: missing");
        QTest::newRow("missing value") << QStringList{"--settings"} << 2 << QString()
                                       << QStringLiteral("Missing value after '--settings'");
        QTest::newRow("stray argument")
            << QStringList{"file.mdb"} << 2 << QString() << QStringLiteral("unexpected argument: file.mdb");
        // The record package's verbs: 2 when nothing could be done, 1 when refused.
        QTest::newRow("export without a file")
            << QStringList{"--export", "N1"} << 2 << QString() << QStringLiteral("--export TAIL FILE");
        QTest::newRow("import of two files")
            << QStringList{"--import", "a.zip", "b.zip"} << 2 << QString() << QStringLiteral("--import FILE");
        QTest::newRow("two verbs") << QStringList{"--verify", "--import", "bad.zip"} << 2 << QString()
                                   << QStringLiteral("each run alone");
        QTest::newRow("no data folder chosen")
            << QStringList{"--export", "N1", "out.zip", "--settings", "data"} << 2 << QString()
            << QStringLiteral("No data folder has been chosen yet");
        QTest::newRow("no database") << QStringList{"--export", "N1", "out.zip", "--data-folder", "data"} << 2
                                     << QString() << QStringLiteral("No database ");
        QTest::newRow("import of a missing file")
            << QStringList{"--import", "missing.zip", "--data-folder", "shop"} << 2 << QString()
            << QStringLiteral("No such file: missing.zip");
        QTest::newRow("export of an aircraft not stored")
            << QStringList{"--export", "N9", "out.zip", "--data-folder", "shop"} << 1 << QString()
            << QStringLiteral("Not exported: ");
        QTest::newRow("import of what is no package")
            << QStringList{"--import", "bad.zip", "--data-folder", "shop"} << 1 << QString()
            << QStringLiteral("Not imported: ");
        // And done: the aircraft goes to another shop, where a second import stores nothing.
        QTest::newRow("export") << QStringList{"--export", "n1", "n1.zip", "--data-folder", "shop"} << 0
                                << QStringLiteral("Exported N1 into ") << QString();
        QTest::newRow("import") << QStringList{"--import", "n1.zip", "--data-folder", "other"} << 0
                                << QStringLiteral("1 Worksheet of N1 imported") << QString();
        QTest::newRow("import again") << QStringList{"--import", "n1.zip", "--data-folder", "other"} << 0
                                      << QStringLiteral("Nothing new") << QString();
    }
    void answeredWithoutADisplay() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        // A login session has its runtime folder; without one Qt says so on stderr.
        QDir(temp.path()).mkdir(QStringLiteral("runtime"));
        QFile::setPermissions(temp.filePath(QStringLiteral("runtime")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), temp.filePath(QStringLiteral("runtime")));
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(WB_PROGRAM), arguments);
        QVERIFY(program.waitForFinished(20000));
        const QString stdOut = QString::fromLocal8Bit(program.readAllStandardOutput());
        const QString stdErr = QString::fromLocal8Bit(program.readAllStandardError());
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QVERIFY2(program.exitCode() == exitCode, qPrintable(stdErr));
        QVERIFY2(stdOut.contains(out), qPrintable(stdOut));
        QVERIFY2(stdErr.contains(err), qPrintable(stdErr));
        if (exitCode == 0) QVERIFY2(stdErr.isEmpty(), qPrintable(stdErr));
    }

    // The window system's options are left to it; folders come back absolute, so nothing later
    // depends on where the program was started.
    void aStartKeepsTheWindowSystemsOptionsAndAbsoluteFolders() {
        const StartOptions options =
            ReadCommandLine({"weightbalance", "-platform", "offscreen", "--style=Fusion", "-reverse",
                             "--settings", "./data/.."});
        QCOMPARE(options.outcome, Outcome::Run);
        QVERIFY(options.settingsFolder);
        QCOMPARE(QString::fromStdString(options.settingsFolder->string()), QDir(temp.path()).canonicalPath());
    }

    // The window system gives the window the application's name as its class; a dock ties the
    // window to the menu entry only when the entry names the same class.
    void theDesktopEntryNamesTheWindowsClass() {
        QFile entry(QStringLiteral(WB_DESKTOP_FILE));
        QVERIFY(entry.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList lines = QString::fromUtf8(entry.readAll()).split(QLatin1Char('\n'));
        QVERIFY(lines.contains(QStringLiteral("StartupWMClass=") + QCoreApplication::applicationName()));
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
