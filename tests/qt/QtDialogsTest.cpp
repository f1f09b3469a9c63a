// How the message boxes are built; none is shown (a modal box never returns here).
#include <QPushButton>
#include <QTest>

#include "app/qt/QtDialogs.h"

using wb::gui::QtDialogs;

class QtDialogsTest : public QObject {
    Q_OBJECT

  private slots:
    void theQuestionDefaultsToNo() {
        auto box = QtDialogs::MakeQuestion(nullptr, "Weight & Balance on screen not saved",
                                           "OK to exit program without saving?");
        QCOMPARE(box->windowTitle(), QStringLiteral("Weight & Balance on screen not saved"));
        QCOMPARE(box->text(), QStringLiteral("OK to exit program without saving?"));
        QCOMPARE(box->icon(), QMessageBox::Question);
        QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::No));
        QCOMPARE(box->escapeButton(), static_cast<QAbstractButton*>(box->button(QMessageBox::No)));
    }

    void aNoticeHasOnlyOk() {
        auto box = QtDialogs::MakeNotice(nullptr, "No aircraft identified.", "Press OK to continue",
                                         wb::Icon::Information);
        QCOMPARE(box->windowTitle(), QStringLiteral("No aircraft identified."));
        QCOMPARE(box->text(), QStringLiteral("Press OK to continue"));
        QCOMPARE(box->icon(), QMessageBox::Information);
        QCOMPARE(box->standardButtons(), QMessageBox::Ok);
        QCOMPARE(box->textFormat(), Qt::PlainText);  // a "<" in a text is shown, not taken as markup
    }

    void iconsAndTextsArriveUnchanged() {
        QCOMPARE(QtDialogs::MakeNotice(nullptr, "t", "x", wb::Icon::Exclamation)->icon(),
                 QMessageBox::Warning);
        QCOMPARE(QtDialogs::MakeNotice(nullptr, "t", "x", wb::Icon::Critical)->icon(), QMessageBox::Critical);
        // Titles are UTF-8 and keep their ampersands.
        auto box = QtDialogs::MakeNotice(nullptr,
                                         "Pr\xC3\xBC"
                                         "fung & Co",
                                         "x", wb::Icon::Information);
        QCOMPARE(box->windowTitle(), QString::fromUtf8("Pr\xC3\xBC"
                                                       "fung & Co"));
    }
};

QTEST_MAIN(QtDialogsTest)
#include "QtDialogsTest.moc"
