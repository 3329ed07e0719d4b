#pragma once

#include <QLoggingCategory>

// The program's logging categories. Each failure the user may have to diagnose is logged once
// as a warning, with the file or the X call involved:
//   termix.store     loading or saving a data file
//   termix.platform  key grabs, X calls, the notification area
//   termix.ui        windows: opening folders and web addresses, reading shown files
// Enable more with QT_LOGGING_RULES, e.g. "termix.*.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcStore)
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)
Q_DECLARE_LOGGING_CATEGORY(lcUi)
