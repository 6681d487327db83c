#include "QtTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace Tempolane {

bool installGermanQtTexts(QCoreApplication& application)
{
    auto* translator = new QTranslator(&application);
    if (!translator->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

void prepareGermanApplication(QCoreApplication& application, const QString& version)
{
    QCoreApplication::setApplicationName(QStringLiteral("Tempolane"));
    QCoreApplication::setApplicationVersion(version);
    // Every text is German; a system without a chosen locale ("C") gets German dates and
    // numbers to match, instead of the C locale's English ones.
    if (QLocale::system().language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    installGermanQtTexts(application);
}

} // namespace Tempolane
