#include "export_file.h"

#include <QFileDialog>
#include <QSaveFile>

#include "dialogs_testing.h"
#include "error_box.h"

namespace {

const QString CSV_FILTER = QStringLiteral("CSV (*.csv)");
const QString JSON_FILTER = QStringLiteral("JSON (*.json)");

std::function<QString()>& chooser() {
    static std::function<QString()> c;
    return c;
}

QString chooseFile(QWidget* parent) {
    if (chooser()) return chooser()();
    QString filter = CSV_FILTER;
    QString name = QFileDialog::getSaveFileName(parent, QStringLiteral("Export"), QStringLiteral("cameras.csv"),
                                                CSV_FILTER + QStringLiteral(";;") + JSON_FILTER, &filter);
    const bool hasEnding = name.endsWith(".csv", Qt::CaseInsensitive) || name.endsWith(".json", Qt::CaseInsensitive);
    if (!name.isEmpty() && !hasEnding) name += filter == JSON_FILTER ? QStringLiteral(".json") : QStringLiteral(".csv");
    return name;
}

}  // namespace

void exportCameras(QWidget* parent, const std::vector<rules::ExportedCamera>& cameras) {
    const QString name = chooseFile(parent);
    if (name.isEmpty()) return;
    const std::string text = name.endsWith(".json", Qt::CaseInsensitive) ? rules::camerasJson(cameras)
                                                                          : rules::camerasCsv(cameras);
    QSaveFile file(name);  // all or nothing: an old file is not left half overwritten
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size()) &&
                         file.commit();
    if (!written)
        showErrorBox(parent, QStringLiteral("The list could not be written to \"%1\".\n%2").arg(name, file.errorString()));
}

void setExportFileChooserForTests(std::function<QString()> c) { chooser() = std::move(c); }
