#include "error_box.h"

#include "dialog_owner.h"
#include "dialogs_testing.h"

#include <QMessageBox>

namespace {

std::function<void(const QMessageBox&)>& answerer() {
    static std::function<void(const QMessageBox&)> a;
    return a;
}

}  // namespace

void showErrorBox(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Ostrel"), text, QMessageBox::Ok,
                    parent != nullptr ? parent : dialogOwner());
    box.setTextFormat(Qt::PlainText);  // messages may quote camera texts, which must not become markup
    if (answerer()) {
        answerer()(box);
        return;
    }
    box.exec();
}

void setErrorBoxAnswererForTests(std::function<void(const QMessageBox&)> a) { answerer() = std::move(a); }
