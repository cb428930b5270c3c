#include "platform/qt/qt_event_pump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <cmath>

namespace qb {

void QtEventPump::processEvents() {
    QCoreApplication::processEvents();
}

void QtEventPump::waitForEvents(double maxSeconds) {
    if (!(maxSeconds > 0)) {
        processEvents();
        return;
    }
    // The timer's event wakes the dispatcher when nothing else arrives in time.
    QTimer wakeUp;
    wakeUp.setSingleShot(true);
    wakeUp.setTimerType(Qt::PreciseTimer);
    wakeUp.start(static_cast<int>(std::ceil(maxSeconds * 1000.0)));
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace qb
