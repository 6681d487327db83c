#pragma once

class QCoreApplication;
class QString;

namespace Tempolane {

// Qt's own texts in German (key names in shortcuts such as "Strg+N", the standard context
// menus of text fields), where the system has Qt's translations. Returns whether they loaded.
bool installGermanQtTexts(QCoreApplication& application);

// What every Tempolane process sets first: its name and version, and German texts and dates
// even where the system chose no locale.
void prepareGermanApplication(QCoreApplication& application, const QString& version);

} // namespace Tempolane
