// The message boxes of the program: modal QMessageBoxes over the main window.
#pragma once

#include <QMessageBox>
#include <QPointer>
#include <memory>

class QPrinter;

#include "worksheet/Ports.h"

namespace wb::gui {

class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    // The window the boxes are modal over.
    void SetParent(QWidget* parent) { parent_ = parent; }

    // The printer the printer chooser sets up (the window's).
    void SetPrinter(QPrinter* printer) { printer_ = printer; }

    void Notice(std::string_view title, std::string_view text, Icon icon) override;
    bool AskYesNo(std::string_view title, std::string_view text) override;
    std::optional<std::string> AskPassword(std::string_view title, std::string_view text) override;
    std::optional<std::string> AskText(std::string_view title, std::string_view text) override;
    std::optional<ReportFont> ChooseFont(const ReportFont& initial) override;
    size_t Choose(std::string_view title, std::string_view text, const std::vector<std::string>& choices,
                  Icon icon) override;
    std::optional<size_t> PickFromList(std::string_view title, std::string_view text,
                                       const std::vector<std::string>& lines) override;
    void ChoosePrinter() override;
    std::optional<std::string> ChoosePdfFile(const std::string& suggested) override;
    std::optional<std::string> ChooseFileToSave(std::string_view title, const std::string& suggested,
                                                std::string_view filter) override;
    std::optional<std::string> ChooseFileToOpen(std::string_view title, std::string_view filter) override;

    // The report font as a Qt font, and back.
    static QFont ToQFont(const ReportFont& font);
    static ReportFont FromQFont(const QFont& font);

    // The boxes as they are built, before they are shown: the title in the title bar and, in
    // bold, inside the box; the text under it.
    static std::unique_ptr<QMessageBox> MakeNotice(QWidget* parent, std::string_view title,
                                                   std::string_view text, Icon icon);
    // One button per choice, the first the default; Escape presses the last.
    static std::unique_ptr<QMessageBox> MakeChoice(QWidget* parent, std::string_view title,
                                                   std::string_view text,
                                                   const std::vector<std::string>& choices, Icon icon);
    static std::unique_ptr<QMessageBox> MakeQuestion(QWidget* parent, std::string_view title,
                                                     std::string_view text);

    // Room beside a box's title for the title bar's icon and buttons, in pixels.
    static constexpr int kTitleBarRoom = 160;

  private:
    static std::unique_ptr<QMessageBox> MakeBox(QWidget* parent, QMessageBox::Icon icon,
                                                std::string_view title, std::string_view text,
                                                QMessageBox::StandardButtons buttons);

    QPointer<QWidget> parent_;
    QPrinter* printer_ = nullptr;
};

}  // namespace wb::gui
