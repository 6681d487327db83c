#pragma once

#include <QCoreApplication>
#include <QLocale>
#include <QString>

namespace Tempolane {

// Looks a text up in Qt's translation tables under one context, with the German text as key.
// A source file names its context once, at global scope outside every namespace:
//     TEMPOLANE_TEXT_CONTEXT(Cli)
// and then calls tr("…"), and tr.plural("…", count) for a count with its noun.
// lupdate reads the macro as Q_DECLARE_TR_FUNCTIONS of the file's outermost scope and
// `plural` as `tr` (the options are in src/texts/CMakeLists.txt), so every call reaches the
// catalogue under the context it is looked up in. A context declared inside a namespace or a
// function is not seen there; the catalogue test names such files.
class TextContext final
{
public:
    // Only the macro makes one, so no declaration escapes lupdate.
    struct FileScope
    {
        explicit FileScope() = default;
    };

    constexpr TextContext(FileScope, const char* context) : m_context(context) {}

    QString operator()(const char* text) const
    {
        return QCoreApplication::translate(m_context, text);
    }

    // A count with its noun in the grammatical number the texts' language gives that count.
    // The pattern is looked up like every other text and written in ICU's plural syntax, with
    // `#` for the count:
    //     tr.plural("=0 {Keine Jobs} one {# Job} other {# Jobs}", count)
    // The count is written with the digits and grouping of `locale` ("1.000"), as the sidebar
    // writes its counts.
    QString plural(const char* pattern, qint64 count, const QLocale& locale = QLocale()) const;

    const char* context() const { return m_context; }

private:
    const char* m_context;
};

} // namespace Tempolane

#define TEMPOLANE_TEXT_CONTEXT(name)                                                               \
    namespace {                                                                                    \
    constexpr ::Tempolane::TextContext tr{::Tempolane::TextContext::FileScope{}, #name};           \
    }
