#include "QtTexts.h"

#include "TextContext.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace Tempolane {

namespace {

constexpr TextContext tr{"Dialogs"};

// Qt's German names the button that shows an alert's details "Details einblenden...", with
// three dots; the alerts' other texts write an ellipsis after a space.
class AlertTexts final : public QTranslator
{
public:
    explicit AlertTexts(QObject* parent)
        : QTranslator(parent), m_show(tr("Details einblenden …")),
          m_hide(tr("Details ausblenden …"))
    {
    }

    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char*, int) const override
    {
        if (qstrcmp(context, "QMessageBox") != 0)
            return {};
        if (qstrcmp(sourceText, "Show Details...") == 0)
            return m_show;
        if (qstrcmp(sourceText, "Hide Details...") == 0)
            return m_hide;
        return {};
    }

private:
    QString m_show;
    QString m_hide;
};

} // namespace

bool installGermanQtTexts(QCoreApplication& application)
{
    auto* translator = new QTranslator(&application);
    if (!translator->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    // Installed last, asked first.
    return QCoreApplication::installTranslator(translator) &&
           QCoreApplication::installTranslator(new AlertTexts(&application));
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
