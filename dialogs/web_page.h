// Hands a camera's web address to the default browser.
#pragma once

#include <QString>

// Opens `url` as it is; tests replace the opener (dialogs_testing.h) so
// that no browser starts.
void openWebPage(const QString& url);
