#include "error_box.h"

#include <QMessageBox>

void showErrorBox(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Ostrel"), text, QMessageBox::Ok, parent);
    box.exec();
}
