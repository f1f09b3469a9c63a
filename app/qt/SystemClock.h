// Today's date from the machine's clock.
#pragma once

#include <QDate>

#include "worksheet/Ports.h"

namespace wb::gui {

class SystemClock : public Clock {
  public:
    CalendarDate Today() const override {
        const QDate d = QDate::currentDate();
        return {d.year(), d.month(), d.day()};
    }
};

}  // namespace wb::gui
