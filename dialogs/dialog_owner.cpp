#include "dialog_owner.h"

#include <QPointer>
#include <QWidget>

namespace {

QPointer<QWidget>& owner() {
    static QPointer<QWidget> o;
    return o;
}

}  // namespace

void setDialogOwner(QWidget* w) { owner() = w; }

QWidget* dialogOwner() { return owner().data(); }
