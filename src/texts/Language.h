#pragma once

#include <QList>
#include <QLocale>
#include <QProcessEnvironment>
#include <QString>

class QCoreApplication;
class QTextStream;

namespace Tempolane::Language {

// The language Tempolane's texts are shown in, and the locale that writes dates, times and
// numbers beside them.
struct Choice
{
    QLocale::Language language = QLocale::German;
    QLocale locale{QLocale::German, QLocale::Germany};

    friend bool operator==(const Choice&, const Choice&) = default;
};

// The language the environment asks for, read as glibc reads it for messages: the first of
// LC_ALL, LC_MESSAGES and LANG that is set names the locale; "C" and "POSIX" (also with a
// character set, "C.UTF-8") or nothing at all keep the program's own German and ignore
// LANGUAGE; otherwise LANGUAGE, a list parted by colons, stands in for the locale when set.
// The first entry in German or in a language of `catalogued` wins; where none does, English.
// The locale keeps the territory the user named where Qt knows the language there ("en_GB"),
// else it is the language's own ("en_US", "de_DE").
Choice choose(const QProcessEnvironment& environment, const QList<QLocale::Language>& catalogued);

// Where the programs carry their catalogues, one tempolane_<language>.qm each.
inline const QString builtInCatalogues = QStringLiteral(":/i18n");

// The languages of the catalogues in a folder; German, the source, has none.
QList<QLocale::Language> cataloguesIn(const QString& folder);

// The choice the texts are shown in now: German until `install` made another.
Choice shown();

// Whether Qt's own texts (key names, standard buttons, and the descriptions of file errors)
// follow the language too.
enum class QtTexts
{
    translated,
    asQtWritesThem
};

// Shows the texts in the chosen language from now on: its catalogue from `folder`, Qt's own
// texts where the system has them, and its locale as the default. A catalogue that cannot be
// loaded leaves the texts German and says so in one line on `errors`. Replaces what an earlier
// call installed. Returns the choice now shown.
Choice install(QCoreApplication& application, const Choice& choice, QTextStream& errors,
               const QString& folder = builtInCatalogues, QtTexts qtTexts = QtTexts::translated);

// Qt's own texts in the locale's language, where the system has Qt's translations; English,
// Qt's source language, needs none. Returns whether they are there.
bool installQtTexts(QCoreApplication& application, const QLocale& locale);

// Installs the language this process's environment asks for, from the built-in catalogues.
Choice installForEnvironment(QCoreApplication& application, QtTexts qtTexts = QtTexts::translated);

// What the desktop program and the watcher set first: their name and version, and the
// language of the environment.
void prepareApplication(QCoreApplication& application, const QString& version);

} // namespace Tempolane::Language
