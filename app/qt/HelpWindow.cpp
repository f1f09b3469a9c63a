#include "app/qt/HelpWindow.h"

#include <QFile>
#include <QKeySequence>
#include <QShortcut>
#include <QTextBrowser>
#include <QTextCursor>
#include <QVBoxLayout>

#include "app/qt/Units.h"

namespace wb::gui {
namespace {

// The guide and its pictures, built in so that help never depends on where the program is.
const QString kGuideFolder = QStringLiteral(":/guide");

QString GuideText() {
    QFile file(kGuideFolder + QStringLiteral("/guide.md"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("# User's guide\n\nThe guide is missing from this build of the program.");
    return QString::fromUtf8(file.readAll());
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Weight and Balance - User's guide"));
    browser_->setObjectName(QStringLiteral("HelpText"));
    browser_->setAccessibleName(QStringLiteral("User's guide"));
    browser_->setOpenExternalLinks(true);
    browser_->setSearchPaths({kGuideFolder});
    browser_->setMarkdown(GuideText());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(Px(9615), Px(6900));
    // Esc and the usual close key leave the guide; the main window stays as it was.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Escape), QKeySequence(QKeySequence::Close)}) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, &QWidget::close);
    }
}

void HelpWindow::ShowGuide() {
    // A little larger than the window's own font: this is reading, not a form.
    QFont f = WindowFont();
    f.setPointSizeF(f.pointSizeF() * 1.25);
    browser_->setFont(f);
    browser_->moveCursor(QTextCursor::Start);
    show();
    raise();
    activateWindow();
}

}  // namespace wb::gui
