// Hands a camera's web address to the default browser.
#pragma once

#include <QString>

// Why the camera-reported `url` is not handed to the desktop, empty when it
// may be: only an http or https address with a host is. Anything else could
// reach a browser's command line as an option ("-...") or another opener
// (file:, custom schemes).
QString webAddressRefusal(const QString& url);

// Opens `url` when it is a web address; otherwise, or when no browser takes
// it, the text to show the user. Tests replace the opener
// (dialogs_testing.h) so that no browser starts.
QString openWebPage(const QString& url);
