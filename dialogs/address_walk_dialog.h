// The address walk of IP Setup for several cameras, off the window's thread:
// a small modal window shows the address just probed and the cameras placed,
// and Cancel or Escape stops the command before anything is sent.
#pragma once

#include <QTimer>

#include <functional>
#include <memory>
#include <string>

#include "address_walk.h"
#include "modal_dialog.h"

class QLabel;
class QPushButton;

class CAddressWalkDlg : public CModalDialog {
public:
    // `work` runs on a thread of its own while the dialog shows; DoModal
    // returns IDOK once it has ended, IDCANCEL when the user cancelled.
    CAddressWalkDlg(std::function<void(const zelk::WalkProgress&)> work, int cameraCount);
    ~CAddressWalkDlg() override;

    // Cancel and Escape: the walk cannot be stopped halfway, but once it has
    // ended nothing follows it. The dialog waits for that end, since the
    // library serves one operation at a time.
    void reject() override;

protected:
    void OnInitDialog() override;

private:
    struct Progress;
    void OnTimer();

    std::function<void(const zelk::WalkProgress&)> m_work;
    int m_cameraCount;
    std::shared_ptr<Progress> m_progress;
    bool m_cancelled = false;
    QLabel* m_staticProgress;
    QPushButton* m_buttonCancel;
    QTimer m_timer;
};
