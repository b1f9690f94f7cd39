// Everything the last search learned about one camera.
#pragma once

#include <json/value.h>

#include "modal_dialog.h"
#include "zelk.h"

class QTreeWidget;

class CDeviceInfoDlg : public CModalDialog {
public:
    CDeviceInfoDlg();

    // Set before DoModal: the camera's member "oDATA_%d" of the scan document
    // and its record of the last search.
    Json::Value m_camera;
    DeviceInfo m_device{};

    void FillInfoList();

protected:
    void OnInitDialog() override { FillInfoList(); }

private:
    QTreeWidget* m_listInfo;
};
