// The empty-weight C.G. range on screen: the chart on the specifications panel, drawn by the
// same code as on paper, and the words that say where the new empty C.G. stands.
#pragma once

#include <QWidget>
#include <memory>
#include <optional>

#include "worksheet/Limits.h"
#include "worksheet/Loading.h"

class QLabel;

namespace wb::gui {

class CgChartView : public QWidget {
  public:
    explicit CgChartView(QWidget* parent);
    void Show(const std::optional<EmptyCgLimits>& limits);

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    std::optional<EmptyCgLimits> limits_;
};

// The loading panel's chart of weight against C.G.: the envelope, the extreme conditions and
// the schedule's cases, drawn by the same code as the calculation report's loading check.
class LoadingChartView : public QWidget {
  public:
    explicit LoadingChartView(QWidget* parent);
    void Show(std::shared_ptr<const LoadingEvaluation> evaluation);

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    std::shared_ptr<const LoadingEvaluation> evaluation_;
};

// The indication in words and colour, after the new empty C.G. itself when `withCg`; a hidden
// label without a new empty C.G. and a range.
void ShowIndication(QLabel* label, const std::optional<EmptyCgLimits>& limits, bool withCg);

}  // namespace wb::gui
