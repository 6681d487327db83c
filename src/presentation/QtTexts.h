#pragma once

class QCoreApplication;

namespace Tempolane {

// Qt's own texts in German (key names in shortcuts such as "Strg+N", the standard context
// menus of text fields), where the system has Qt's translations. Returns whether they loaded.
bool installGermanQtTexts(QCoreApplication& application);

} // namespace Tempolane
