#pragma once

#include <QtGlobal>

namespace valdora {

/// Qt's own texts (the buttons and labels of the file, folder and colour dialogs) in the program's
/// language: loads qtbase_fr.qm or qtbase_de.qm from Qt's translations folder for a language base of
/// 1300 or 2300 and installs it on the application, replacing the one installed before. English, or
/// a system without Qt's translations, leaves Qt's own English. True when a translation is installed.
bool useQtTranslations(qint16 languageBase);

} // namespace valdora
