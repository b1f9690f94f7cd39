// A camera list that records what the commands ask of it, instead of a window.
#pragma once

#include <json/value.h>

#include <string>
#include <vector>

#include "camera_list_host.h"
#include "error_box.h"
#include "text.h"

class FakeCameraList : public CameraListHost {
public:
    // Cameras 0..count-1, camera k with password "pw<k>" and web page "http://cam<k>";
    // row r shows camera r until a test changes `list`.
    explicit FakeCameraList(int count) : records(static_cast<size_t>(count)) {
        list.searched = true;
        for (int k = 0; k < count; ++k) {
            const std::string n = std::to_string(k);
            zelk::setField(records[static_cast<size_t>(k)].password, "pw" + n);
            zelk::setField(records[static_cast<size_t>(k)].webUrl, "http://cam" + n);
            zelk::setField(records[static_cast<size_t>(k)].macAddress, "02-00-00-00-00-0" + n);
            zelk::setField(records[static_cast<size_t>(k)].ipAddress, "10.0.0." + n);
            list.cameras.push_back(cameraKey(k));
            documents.push_back(Json::Value(Json::objectValue));
            documents.back()["sPW"] = "pw" + n;
            list.rowCamera.push_back(k);
            list.rowChecked.push_back(false);
        }
    }

    rules::ListState listState() const override { return list; }
    const Json::Value& cameraDocument(int camera) const override { return documents[static_cast<size_t>(camera)]; }
    const DeviceInfo* cameraRecords() const override { return records.data(); }
    std::string localAddress() const override { return {}; }
    void searchAgain() override { ++searches; }
    void selectCamera(const rules::CameraKey& camera) override { selected.push_back(camera); }
    void showError(const QString& text) override { errors.push_back(text); }
    void showNotice(const QString& text) override { notices.push_back(text); }

    rules::ListState list;
    std::vector<DeviceInfo> records;
    std::vector<Json::Value> documents;
    int searches = 0;
    std::vector<rules::CameraKey> selected;
    std::vector<QString> errors;
    std::vector<QString> notices;
};
