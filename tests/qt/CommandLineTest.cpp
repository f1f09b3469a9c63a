// What the command line starts, answers or refuses.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "app/qt/CommandLine.h"

using wb::gui::ReadCommandLine;
using wb::gui::StartOptions;
using Outcome = StartOptions::Outcome;

Q_DECLARE_METATYPE(Outcome)

class CommandLineTest : public QObject {
    Q_OBJECT

    QTemporaryDir temp;

  private slots:
    void initTestCase() {
        wb::gui::NameApplication();
        QVERIFY(QDir(temp.path()).mkdir(QStringLiteral("data")));
        QDir::setCurrent(temp.path());
    }

    void outcomes_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QString>("says");
        QTest::addColumn<bool>("unknownOption");
        QTest::newRow("version") << QStringList{"--version"} << Outcome::Version
                                 << QStringLiteral("weightbalance " WB_VERSION "\n") << false;
        QTest::newRow("help wins over a wrong folder")
            << QStringList{"--data-folder", "missing", "-h"} << Outcome::Help
            << QStringLiteral("--data-folder <DIR>") << false;
        QTest::newRow("missing folder") << QStringList{"--data-folder", "missing"} << Outcome::Refused
                                        << QStringLiteral("--data-folder: no such folder: missing") << false;
        QTest::newRow("unknown option")
            << QStringList{"--bogus"} << Outcome::Refused << QStringLiteral("Unknown option 'bogus'") << true;
    }
    void outcomes() {
        QFETCH(QStringList, arguments);
        QFETCH(Outcome, outcome);
        QFETCH(QString, says);
        QFETCH(bool, unknownOption);
        arguments.prepend(QStringLiteral("weightbalance"));
        const StartOptions options = ReadCommandLine(arguments);
        QCOMPARE(options.outcome, outcome);
        QVERIFY2(options.text.contains(says), qPrintable(options.text));
        QCOMPARE(options.unknownOption, unknownOption);
    }

    // Folders come back absolute, so nothing later depends on where the program was started.
    void foldersComeBackAbsolute() {
        const StartOptions options = ReadCommandLine({"weightbalance", "--settings", "./data/.."});
        QCOMPARE(options.outcome, Outcome::Run);
        QVERIFY(options.settingsFolder);
        QCOMPARE(QString::fromStdString(options.settingsFolder->string()), QDir(temp.path()).canonicalPath());
    }
};

QTEST_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
