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

QString webAddressRefusal(const QString& url) {
    if (url.isEmpty()) return QStringLiteral("The camera reported no web address, so no web page was opened.");
    const QUrl parsed(url, QUrl::StrictMode);
    const QString scheme = parsed.scheme().toLower();
    const bool web = url == url.trimmed() && parsed.isValid() && (scheme == "http" || scheme == "https") &&
                     !parsed.host().isEmpty();
    if (web) return {};
    return QStringLiteral("The camera reported the web address \"%1\".\nIt is not an http or https address with a "
                          "host, so it was not opened.")
        .arg(url);
}

QString openWebPage(const QString& url) {
    if (QString refusal = webAddressRefusal(url); !refusal.isEmpty()) return refusal;
    if (opener()) {
        opener()(url);
        return {};
    }
    if (QDesktopServices::openUrl(QUrl(url, QUrl::StrictMode))) return {};
    return QStringLiteral("No web browser could open \"%1\".\nPlease set a default web browser on this computer.")
        .arg(url);
}

void setWebPageOpenerForTests(std::function<void(const QString&)> o) { opener() = std::move(o); }
