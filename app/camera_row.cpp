#include "camera_row.h"

#include "list_order.h"

namespace {

const int CAMERA_ROLE = Qt::UserRole;
const int WARNING_ROLE = Qt::UserRole + 1;

}  // namespace

CameraRow::CameraRow(int camera, const QStringList& cells) : QTreeWidgetItem(cells) {
    setData(0, CAMERA_ROLE, camera);
}

int CameraRow::camera() const { return data(0, CAMERA_ROLE).toInt(); }

QString CameraRow::warning() const { return data(0, WARNING_ROLE).toString(); }

void CameraRow::setWarning(const QString& text) { setData(0, WARNING_ROLE, text); }

bool CameraRow::operator<(const QTreeWidgetItem& other) const {
    const int column = treeWidget() != nullptr ? treeWidget()->sortColumn() : 0;
    return rules::cellBefore(static_cast<rules::ListColumn>(column), text(column).toStdU16String(),
                             other.text(column).toStdU16String());
}
