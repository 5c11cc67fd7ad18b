#pragma once

class QCoreApplication;

// Qt's own texts (the standard buttons はい/いいえ/キャンセル, the file and print dialogs) in the
// program's language, from the system's Qt translations. False when Japanese was asked for and
// no translation could be loaded; English needs none.
bool installQtTranslations(QCoreApplication &app, bool japanese);
