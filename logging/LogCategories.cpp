#include "logging/LogCategories.h"

Q_LOGGING_CATEGORY(lcStore, "termix.store", QtWarningMsg)
Q_LOGGING_CATEGORY(lcPlatform, "termix.platform", QtWarningMsg)
Q_LOGGING_CATEGORY(lcUi, "termix.ui", QtWarningMsg)
