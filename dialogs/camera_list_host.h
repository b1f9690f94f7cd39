// What the camera commands need from the window that lists the cameras.
#pragma once

#include <json/value.h>

#include <QString>

#include <string>

#include "choosing_rule.h"
#include "text.h"
#include "zelk.h"

class CameraListHost {
public:
    // The rows, their check boxes, the current row, the cameras of the last
    // search and whether a search completed.
    virtual rules::ListState listState() const = 0;
    // Camera k's member "oDATA_k" of the last search's document.
    virtual const Json::Value& cameraDocument(int camera) const = 0;
    // The last search's records, camera k at index k, as the library's requests take them.
    virtual const DeviceInfo* cameraRecords() const = 0;
    // The address of the chosen LAN, empty for the default one.
    virtual std::string localAddress() const = 0;
    virtual void searchAgain() = 0;
    // Makes the row that shows `camera` the selected and current one; none when it is gone.
    virtual void selectCamera(const rules::CameraKey& camera) = 0;
    virtual void showError(const QString& text) = 0;
    // A short text in the window, no modal box, below those shown since the
    // last search; the next search clears them.
    virtual void showNotice(const QString& text) = 0;

    const DeviceInfo& cameraRecord(int camera) const { return cameraRecords()[camera]; }
    rules::CameraKey cameraKey(int camera) const {
        return {zelk::fieldText(cameraRecord(camera).macAddress), zelk::fieldText(cameraRecord(camera).ipAddress)};
    }

protected:
    ~CameraListHost() = default;
};
