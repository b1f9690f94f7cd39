#include "address_walk_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <atomic>
#include <mutex>
#include <system_error>
#include <thread>

namespace {
constexpr int PROGRESS_PERIOD_MS = 40;
}

// Written by the walk's thread, read by the window's timer.
struct CAddressWalkDlg::Progress {
    std::mutex mutex;
    std::string probed;
    int placed = 0;
    std::atomic<bool> done{false};
    std::thread worker;
};

CAddressWalkDlg::CAddressWalkDlg(std::function<void(const zelk::WalkProgress&)> work, int cameraCount)
    : CModalDialog(CloseBox::Hidden),
      m_work(std::move(work)),
      m_cameraCount(cameraCount),
      m_progress(std::make_shared<Progress>()),
      m_staticProgress(new QLabel(this)),
      m_buttonCancel(new QPushButton(QStringLiteral("Cancel"), this)) {
    setWindowTitle(QStringLiteral("IP Setup"));
    m_staticProgress->setObjectName(QStringLiteral("walkProgress"));
    m_staticProgress->setTextFormat(Qt::PlainText);
    m_staticProgress->setMinimumWidth(320);
    m_buttonCancel->setAutoDefault(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_staticProgress);
    layout->addWidget(m_buttonCancel, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(m_buttonCancel, &QPushButton::clicked, this, &CAddressWalkDlg::reject);
    connect(&m_timer, &QTimer::timeout, this, &CAddressWalkDlg::OnTimer);
}

CAddressWalkDlg::~CAddressWalkDlg() {
    if (m_progress->worker.joinable()) m_progress->worker.join();
}

void CAddressWalkDlg::OnInitDialog() {
    m_staticProgress->setText(QStringLiteral("Looking for free addresses for %1 cameras...").arg(m_cameraCount));
    const std::shared_ptr<Progress> progress = m_progress;
    const auto walk = [work = m_work, progress] {
        work([progress](const std::string& probed, int placed) {
            const std::lock_guard<std::mutex> lock(progress->mutex);
            progress->probed = probed;
            progress->placed = placed;
        });
        progress->done = true;
    };
    try {
        progress->worker = std::thread(walk);
    } catch (const std::system_error&) {
        walk();  // no thread to be had: the walk holds the window, but it is done
    }
    m_timer.start(PROGRESS_PERIOD_MS);
}

void CAddressWalkDlg::OnTimer() {
    if (m_progress->done) {
        m_timer.stop();
        if (m_progress->worker.joinable()) m_progress->worker.join();
        if (m_cancelled) QDialog::reject();
        else accept();
        return;
    }
    if (m_cancelled) return;
    std::string probed;
    int placed;
    {
        const std::lock_guard<std::mutex> lock(m_progress->mutex);
        probed = m_progress->probed;
        placed = m_progress->placed;
    }
    if (probed.empty()) return;
    m_staticProgress->setText(QStringLiteral("Probing %1: %2 of %3 cameras placed")
                                  .arg(QString::fromLocal8Bit(probed))
                                  .arg(placed)
                                  .arg(m_cameraCount));
}

void CAddressWalkDlg::reject() {
    if (!m_timer.isActive()) {  // not started, or already ended
        QDialog::reject();
        return;
    }
    m_cancelled = true;
    m_buttonCancel->setEnabled(false);
    m_staticProgress->setText(QStringLiteral("Cancelled: nothing will be sent. Waiting for the last answers..."));
}
