#include "Language.h"

#include "TextContext.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QPointer>
#include <QTextStream>
#include <QTranslator>
#include <mutex>

TEMPOLANE_TEXT_CONTEXT(Dialogs)

namespace Tempolane::Language {

namespace {

const QString cataloguePrefix = QStringLiteral("tempolane_");

// The locale name without its character set and modifier: "de_AT" of "de_AT.UTF-8@euro".
QStringView localeName(QStringView entry)
{
    qsizetype end = entry.size();
    for (const QChar separator : {u'.', u'@'}) {
        if (const auto at = entry.indexOf(separator); at >= 0)
            end = std::min(end, at);
    }
    return entry.first(end);
}

// "C" and "POSIX", with or without a character set, ask for no language at all.
bool isPortable(QStringView entry)
{
    const QStringView name = localeName(entry);
    return name == u"C" || name == u"POSIX";
}

bool namesTerritory(QStringView entry)
{
    const QStringView name = localeName(entry);
    return name.contains(u'_') || name.contains(u'-');
}

// The locale glibc reads for messages: the first of LC_ALL, LC_MESSAGES and LANG that is set.
QString messagesLocale(const QProcessEnvironment& environment)
{
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = environment.value(QString::fromLatin1(variable));
        if (!value.isEmpty())
            return value;
    }
    return QStringLiteral("C");
}

std::optional<QLocale::Language> spokenIn(QStringView entry,
                                          const QList<QLocale::Language>& catalogued)
{
    if (isPortable(entry))
        return QLocale::German;
    const QLocale::Language language = QLocale(localeName(entry).toString()).language();
    if (language == QLocale::German || catalogued.contains(language))
        return language;
    return std::nullopt;
}

QLocale localeFor(QLocale::Language language, std::initializer_list<QStringView> named)
{
    for (const QStringView entry : named) {
        if (!namesTerritory(entry))
            continue;
        const QLocale::Territory territory = QLocale(localeName(entry).toString()).territory();
        const QLocale combined(language, territory);
        if (combined.language() == language && combined.territory() == territory)
            return combined;
    }
    return QLocale(language);
}

// What install() put in place, so that the next call replaces it.
struct Installed
{
    std::mutex guard;
    Choice choice;
    QList<QPointer<QTranslator>> translators;
};

Installed& installed()
{
    static Installed state;
    return state;
}

QString code(QLocale::Language language)
{
    return QLocale::languageToCode(language, QLocale::ISO639Part1);
}

QTranslator* loaded(QCoreApplication& application, const QString& name, const QString& folder)
{
    auto* translator = new QTranslator(&application);
    // A file cut short after its header loads, but translates nothing.
    if (translator->load(name, folder) && !translator->isEmpty() &&
        QCoreApplication::installTranslator(translator))
        return translator;
    delete translator;
    return nullptr;
}

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

QTranslator* loadedQtTexts(QCoreApplication& application, QLocale::Language language)
{
    QTranslator* qtTexts = loaded(application, QStringLiteral("qtbase_") + code(language),
                                  QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    // Installed last, asked first; it goes with Qt's texts.
    if (qtTexts)
        QCoreApplication::installTranslator(new AlertTexts(qtTexts));
    return qtTexts;
}

} // namespace

Choice choose(const QProcessEnvironment& environment, const QList<QLocale::Language>& catalogued)
{
    const QString messages = messagesLocale(environment);
    if (isPortable(messages))
        return {};
    QStringList entries =
        environment.value(QStringLiteral("LANGUAGE")).split(u':', Qt::SkipEmptyParts);
    if (entries.isEmpty())
        entries = {messages};
    for (const QString& entry : std::as_const(entries)) {
        if (const auto language = spokenIn(entry, catalogued))
            return {*language, localeFor(*language, {entry, messages})};
    }
    return {QLocale::English, localeFor(QLocale::English, {messages})};
}

QList<QLocale::Language> cataloguesIn(const QString& folder)
{
    QList<QLocale::Language> languages;
    const QStringList files =
        QDir(folder).entryList({cataloguePrefix + QStringLiteral("*.qm")}, QDir::Files);
    for (const QString& file : files) {
        const QString languageCode = file.sliced(cataloguePrefix.size()).chopped(3);
        const QLocale::Language language = QLocale::codeToLanguage(languageCode);
        if (language != QLocale::AnyLanguage && language != QLocale::German)
            languages.append(language);
    }
    return languages;
}

Choice shown()
{
    Installed& state = installed();
    const std::lock_guard lock(state.guard);
    return state.choice;
}

Choice install(QCoreApplication& application, const Choice& choice, QTextStream& errors,
               const QString& folder, QtTexts qtTexts)
{
    Installed& state = installed();
    const std::lock_guard lock(state.guard);
    for (const QPointer<QTranslator>& translator : std::as_const(state.translators))
        delete translator.data();
    state.translators.clear();

    state.choice = choice;
    if (choice.language != QLocale::German) {
        if (QTranslator* catalogue =
                loaded(application, cataloguePrefix + code(choice.language), folder)) {
            state.translators.append(catalogue);
        } else {
            errors << "tempolane: the " << QLocale::languageToString(choice.language)
                   << " texts cannot be read from " << folder << "; they stay German." << Qt::endl;
            state.choice = Choice{};
        }
    }
    if (qtTexts == QtTexts::translated && state.choice.language != QLocale::English) {
        if (QTranslator* translator = loadedQtTexts(application, state.choice.language))
            state.translators.append(translator);
    }
    QLocale::setDefault(state.choice.locale);
    return state.choice;
}

bool installQtTexts(QCoreApplication& application, const QLocale& locale)
{
    return locale.language() == QLocale::English ||
           loadedQtTexts(application, locale.language()) != nullptr;
}

Choice installForEnvironment(QCoreApplication& application, QtTexts qtTexts)
{
    QTextStream errors(stderr);
    return install(
        application,
        choose(QProcessEnvironment::systemEnvironment(), cataloguesIn(builtInCatalogues)), errors,
        builtInCatalogues, qtTexts);
}

void prepareApplication(QCoreApplication& application, const QString& version)
{
    QCoreApplication::setApplicationName(QStringLiteral("Tempolane"));
    QCoreApplication::setApplicationVersion(version);
    installForEnvironment(application);
}

} // namespace Tempolane::Language
