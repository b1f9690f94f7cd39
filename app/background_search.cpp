#include "background_search.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>

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
    std::vector<char> buffer(ZELK_SCAN_TEXT_SIZE, 0);
    int textLength = static_cast<int>(buffer.size());
    std::atomic<bool> done{false};

    InputBlocker blocker;
    std::thread worker([&] {
        outcome.result = zelk_search_device(&outcome.count, devices, &textLength, buffer.data(), localAddress.c_str());
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
    if (outcome.result == ZELK_OK) outcome.text.assign(buffer.data(), static_cast<size_t>(textLength));
    return outcome;
}
