#include "background_search.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

constexpr int RECEIVE_WINDOW_MS = 4000;
constexpr int PROGRESS_PERIOD_MS = 40;

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
    std::atomic<bool> done{false};

    InputBlocker blocker;
    std::thread worker([&] {
        outcome = zelk::searchCameras(localAddress);
        done = true;
    });
    QEventLoop loop;
    QElapsedTimer elapsed;
    elapsed.start();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (done) {
            loop.quit();
            return;
        }
        progress(std::max<int>(0, RECEIVE_WINDOW_MS - static_cast<int>(elapsed.elapsed())), RECEIVE_WINDOW_MS);
    });
    progress(RECEIVE_WINDOW_MS, RECEIVE_WINDOW_MS);
    tick.start(PROGRESS_PERIOD_MS);
    loop.exec();
    worker.join();
    if (outcome.result == ZELK_OK) std::copy_n(outcome.devices.begin(), outcome.count, devices);
    return outcome;
}
