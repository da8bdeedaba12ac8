// Loading of Qt's own Chinese translations, so standard buttons read 确定 / 取消.
#pragma once

class QCoreApplication;

// Installs qtbase_zh_CN from Qt's translation folder into `app` and makes Chinese the default
// locale of the program's texts; false when the translation file is missing.
bool installChineseTranslations(QCoreApplication &app);
