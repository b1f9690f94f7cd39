// A row of the camera list: it keeps the camera it shows and sorts by the
// list's order rule.
#pragma once

#include <QTreeWidgetItem>

class CameraRow : public QTreeWidgetItem {
public:
    CameraRow(int camera, const QStringList& cells);

    int camera() const;
    // The warning of the row's mark, empty for none.
    QString warning() const;
    void setWarning(const QString& text);

    bool operator<(const QTreeWidgetItem& other) const override;
};
