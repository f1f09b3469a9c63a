// The splash window: artwork under the hourglass for 1500 ms, then the main window.
#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>

namespace wb::gui {

class SplashWindow : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kShowMs = 1500;

    explicit SplashWindow(QWidget* parent = nullptr);
    // Loads and shows the main window; runs once, when the timer first elapses.
    std::function<void()> onElapsed;

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    void Tick();
    QTimer timer_;  // Timer1
};

}  // namespace wb::gui
