#include "app/qt/QtDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace wb::gui {
namespace {

QString FromUtf8(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// An input box's label takes "&" for a shortcut mark: "A&P" would show as "AP".
QString LabelText(std::string_view s) {
    return FromUtf8(s).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QMessageBox::Icon BoxIcon(Icon icon) {
    switch (icon) {
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::Critical:
            return QMessageBox::Critical;
        case Icon::Question:
            return QMessageBox::Question;
        case Icon::Exclamation:
            return QMessageBox::Warning;
        case Icon::None:
            return QMessageBox::NoIcon;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

// The title is the message ("No aircraft identified."): a window manager may cut it in the
// title bar, so the box shows it inside as well, above the text, and is at least as wide as
// the title with room for the title bar's icon and buttons.
std::unique_ptr<QMessageBox> QtDialogs::MakeBox(QWidget* parent, QMessageBox::Icon icon,
                                                std::string_view title, std::string_view text,
                                                QMessageBox::StandardButtons buttons) {
    const QString heading = FromUtf8(title);
    auto box = std::make_unique<QMessageBox>(icon, heading, heading, buttons, parent);
    box->setTextFormat(Qt::PlainText);  // a "<" in a text is shown, not taken as markup
    box->setInformativeText(FromUtf8(text));
    if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel")))
        label->setTextFormat(Qt::PlainText);
    QFont bold = box->font();
    bold.setBold(true);
    if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) label->setFont(bold);
    const int titleWidth = QFontMetrics(bold).horizontalAdvance(heading) + kTitleBarRoom;
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout()))
        grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    return box;
}

std::unique_ptr<QMessageBox> QtDialogs::MakeNotice(QWidget* parent, std::string_view title,
                                                   std::string_view text, Icon icon) {
    auto box = MakeBox(parent, BoxIcon(icon), title, text, QMessageBox::Ok);
    box->setDefaultButton(QMessageBox::Ok);
    return box;
}

std::unique_ptr<QMessageBox> QtDialogs::MakeQuestion(QWidget* parent, std::string_view title,
                                                     std::string_view text) {
    auto box = MakeBox(parent, QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No);
    // No is the safe answer: Enter alone must not discard the Worksheet.
    box->setDefaultButton(QMessageBox::No);
    box->setEscapeButton(QMessageBox::No);
    return box;
}

std::unique_ptr<QMessageBox> QtDialogs::MakeChoice(QWidget* parent, std::string_view title,
                                                   std::string_view text,
                                                   const std::vector<std::string>& choices, Icon icon) {
    auto box = std::make_unique<QMessageBox>(BoxIcon(icon), FromUtf8(title), FromUtf8(text),
                                             QMessageBox::NoButton, parent);
    box->setTextFormat(Qt::PlainText);
    for (const std::string& c : choices) {
        QPushButton* b = box->addButton(FromUtf8(c), QMessageBox::ActionRole);
        if (box->defaultButton() == nullptr) box->setDefaultButton(b);
        box->setEscapeButton(b);
    }
    return box;
}

size_t QtDialogs::Choose(std::string_view title, std::string_view text,
                         const std::vector<std::string>& choices, Icon icon) {
    auto box = MakeChoice(parent_, title, text, choices, icon);
    box->exec();
    for (size_t i = 0; i < choices.size(); ++i)
        if (box->clickedButton() != nullptr && box->clickedButton()->text() == FromUtf8(choices[i])) return i;
    return choices.empty() ? 0 : choices.size() - 1;
}

std::optional<size_t> QtDialogs::PickFromList(std::string_view title, std::string_view text,
                                              const std::vector<std::string>& lines) {
    QStringList items;
    for (const std::string& l : lines)
        items.append(FromUtf8(l));
    bool ok = false;
    // Newest last, and chosen at first: the usual pick.
    const QString picked = QInputDialog::getItem(parent_, FromUtf8(title), LabelText(text), items,
                                                 static_cast<int>(items.size()) - 1, false, &ok);
    if (!ok) return std::nullopt;
    const qsizetype at = items.indexOf(picked);
    if (at < 0) return std::nullopt;
    return static_cast<size_t>(at);
}

void QtDialogs::Notice(std::string_view title, std::string_view text, Icon icon) {
    MakeNotice(parent_, title, text, icon)->exec();
}

bool QtDialogs::AskYesNo(std::string_view title, std::string_view text) {
    return MakeQuestion(parent_, title, text)->exec() == QMessageBox::Yes;
}

std::optional<std::string> QtDialogs::AskPassword(std::string_view title, std::string_view text) {
    bool ok = false;
    const QString typed =
        QInputDialog::getText(parent_, FromUtf8(title), LabelText(text), QLineEdit::Password, QString(), &ok);
    if (!ok) return std::nullopt;
    return typed.toStdString();
}

std::optional<std::string> QtDialogs::AskText(std::string_view title, std::string_view text) {
    bool ok = false;
    const QString typed =
        QInputDialog::getText(parent_, FromUtf8(title), LabelText(text), QLineEdit::Normal, QString(), &ok);
    if (!ok) return std::nullopt;
    return typed.toStdString();
}

QFont QtDialogs::ToQFont(const ReportFont& font) {
    QFont f(QString::fromStdString(font.name));
    if (font.size > 0) f.setPointSizeF(font.size);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    return f;
}

ReportFont QtDialogs::FromQFont(const QFont& font) {
    return {font.family().toStdString(), font.pointSizeF(), font.bold(), font.italic()};
}

std::optional<ReportFont> QtDialogs::ChooseFont(const ReportFont& initial) {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, ToQFont(initial), parent_, QStringLiteral("Report font"));
    if (!ok) return std::nullopt;
    return FromQFont(chosen);
}

void QtDialogs::ChoosePrinter() {
    if (printer_ == nullptr) return;
    // The dialog sets the printer up; the reports use it as the dialog leaves it.
    QPrintDialog dialog(printer_, parent_);
    dialog.exec();
}

std::optional<std::string> QtDialogs::ChoosePdfFile(const std::string& suggested) {
    QString file =
        QFileDialog::getSaveFileName(parent_, QStringLiteral("Save the report as a PDF file"),
                                     QString::fromStdString(suggested), QStringLiteral("PDF files (*.pdf)"));
    if (file.isEmpty()) return std::nullopt;
    if (QFileInfo(file).suffix().isEmpty()) file += QStringLiteral(".pdf");
    return file.toStdString();
}

std::optional<std::string> QtDialogs::ChooseFileToSave(std::string_view title, const std::string& suggested,
                                                       std::string_view filter) {
    const QString kind = QString::fromUtf8(filter.data(), static_cast<qsizetype>(filter.size()));
    QString file = QFileDialog::getSaveFileName(
        parent_, QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())),
        QString::fromStdString(suggested), kind);
    if (file.isEmpty()) return std::nullopt;
    // "Record packages (*.zip)": a name typed without an extension takes ".zip".
    const QString extension = kind.section(QStringLiteral("(*"), 1).section(QLatin1Char(')'), 0, 0);
    if (QFileInfo(file).suffix().isEmpty() && extension.startsWith(QLatin1Char('.'))) file += extension;
    return file.toStdString();
}

std::optional<std::string> QtDialogs::ChooseFileToOpen(std::string_view title, std::string_view filter) {
    const QString file = QFileDialog::getOpenFileName(
        parent_, QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())), QString(),
        QString::fromUtf8(filter.data(), static_cast<qsizetype>(filter.size())));
    if (file.isEmpty()) return std::nullopt;
    return file.toStdString();
}

}  // namespace wb::gui
