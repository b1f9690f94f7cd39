#include "web_page.h"

#include "dialogs_testing.h"

#include <QDesktopServices>
#include <QUrl>

namespace {

std::function<void(const QString&)>& opener() {
    static std::function<void(const QString&)> o;
    return o;
}

}  // namespace

void openWebPage(const QString& url) {
    if (opener()) {
        opener()(url);
        return;
    }
    QDesktopServices::openUrl(QUrl(url));  // the outcome is not looked at
}

void setWebPageOpenerForTests(std::function<void(const QString&)> o) { opener() = std::move(o); }
