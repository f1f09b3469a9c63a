// The message boxes of the program: modal QMessageBoxes over the main window.
#pragma once

#include <QMessageBox>
#include <QPointer>
#include <memory>

#include "worksheet/Ports.h"

namespace wb::gui {

class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    // The window the boxes are modal over.
    void SetParent(QWidget* parent) { parent_ = parent; }

    void Notice(std::string_view title, std::string_view text, Icon icon) override;
    bool AskYesNo(std::string_view title, std::string_view text) override;

    // The boxes as they are built, before they are shown.
    static std::unique_ptr<QMessageBox> MakeNotice(QWidget* parent, std::string_view title,
                                                   std::string_view text, Icon icon);
    static std::unique_ptr<QMessageBox> MakeQuestion(QWidget* parent, std::string_view title,
                                                     std::string_view text);

  private:
    QPointer<QWidget> parent_;
};

}  // namespace wb::gui
