// Everything the last search learned about one camera, as a table.
#pragma once

#include <QDialog>

class QTreeWidget;

class CDeviceInfoDlg : public QDialog {
public:
    CDeviceInfoDlg();

    int m_nIndex = -1;  // the camera, set before the dialog is shown
    QTreeWidget* m_listInfo;

    void FillInfoList();

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_filled = false;
};
