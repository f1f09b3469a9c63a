// The user's guide in a window of its own beside the main window: the Markdown guide built into
// the program, with its pictures.
#pragma once

#include <QWidget>

class QTextBrowser;

namespace wb::gui {

class HelpWindow : public QWidget {
    Q_OBJECT

  public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the guide from its start, raised over the main window.
    void ShowGuide();
    QTextBrowser* Browser() const { return browser_; }

  private:
    QTextBrowser* browser_;
};

}  // namespace wb::gui
