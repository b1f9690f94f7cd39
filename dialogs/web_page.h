// Hands a camera's web address to the default browser.
#pragma once

#include <QString>

#include <functional>

// Opens `url` as it is; tests replace the opener so that no browser starts.
void openWebPage(const QString& url);
void setWebPageOpenerForTests(std::function<void(const QString&)> opener);
