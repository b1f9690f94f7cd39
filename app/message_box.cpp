#include "message_box.h"

#include <QMessageBox>

void showStopMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Ostrel"), text, QMessageBox::Ok, parent);
    box.exec();
}
