#include "background_search.h"

#include "window_testing.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <system_error>
#include <thread>

namespace {

constexpr int RECEIVE_WINDOW_MS = 4000;
constexpr int PROGRESS_PERIOD_MS = 40;

std::chrono::milliseconds progressPeriod{PROGRESS_PERIOD_MS};

// Swallows every user input while it lives; paint and timer events still flow.
class InputBlocker : public QObject {
public:
    InputBlocker() { qApp->installEventFilter(this); }
    ~InputBlocker() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::Shortcut:
        case QEvent::Close:
            return true;
        default:
            return false;
        }
    }
};

}  // namespace

SearchOutcome searchKeepingWindowAlive(const std::string& localAddress, DeviceInfo* devices,
                                       const std::function<void(int, int)>& progress) {
    SearchOutcome outcome;

    InputBlocker blocker;
    QEventLoop loop;
    const auto search = [&] {
        outcome = zelk::searchCameras(localAddress);
        // Queued, so the loop ends the moment the library returns, also when that is before it started.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    };
    std::thread worker;
    try {
        worker = std::thread(search);
    } catch (const std::system_error&) {
        search();  // no thread to be had: the window stands still for the search, but it searches
    }
    QElapsedTimer elapsed;
    elapsed.start();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        progress(std::max<int>(0, RECEIVE_WINDOW_MS - static_cast<int>(elapsed.elapsed())), RECEIVE_WINDOW_MS);
    });
    progress(RECEIVE_WINDOW_MS, RECEIVE_WINDOW_MS);
    tick.start(progressPeriod);
    loop.exec();
    if (worker.joinable()) worker.join();
    if (outcome.result == ZELK_OK) std::copy_n(outcome.devices.begin(), outcome.count, devices);
    return outcome;
}

void setSearchProgressPeriodForTests(std::chrono::milliseconds period) {
    progressPeriod = period.count() > 0 ? period : std::chrono::milliseconds(PROGRESS_PERIOD_MS);
}
