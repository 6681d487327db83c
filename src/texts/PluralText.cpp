#include "Language.h"
#include "TextContext.h"

#include <map>
#include <memory>
#include <unicode/fieldpos.h>
#include <unicode/fmtable.h>
#include <unicode/locid.h>
#include <unicode/plurfmt.h>
#include <unicode/plurrule.h>
#include <unicode/unistr.h>

namespace Tempolane {

namespace {

// The forms follow the language the pattern is written in, whatever locale writes the digits.
// Rules are costly to build and asked for again and again.
const icu::PluralRules* rulesOf(QLocale::Language language)
{
    thread_local std::map<QLocale::Language, std::unique_ptr<icu::PluralRules>> known;
    auto found = known.find(language);
    if (found == known.end()) {
        UErrorCode status = U_ZERO_ERROR;
        const QByteArray code = QLocale::languageToCode(language).toLatin1();
        std::unique_ptr<icu::PluralRules> rules(
            icu::PluralRules::forLocale(icu::Locale(code.constData()), status));
        found = known.emplace(language, U_SUCCESS(status) ? std::move(rules) : nullptr).first;
    }
    return found->second.get();
}

} // namespace

QString TextContext::plural(const char* pattern, qint64 count, const QLocale& locale) const
{
    const QString translated = (*this)(pattern);
    const icu::PluralRules* rules = rulesOf(Language::shown().language);
    if (rules) {
        UErrorCode status = U_ZERO_ERROR;
        const icu::UnicodeString icuPattern(reinterpret_cast<const UChar*>(translated.utf16()),
                                            int32_t(translated.size()));
        const icu::PluralFormat format(icu::Locale(locale.name().toLatin1().constData()), *rules,
                                       icuPattern, status);
        icu::UnicodeString text;
        if (U_SUCCESS(status)) {
            icu::FieldPosition unused;
            format.format(icu::Formattable(int64_t(count)), text, unused, status);
            if (U_SUCCESS(status))
                return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
        }
    }
    // A pattern ICU cannot read still says how many.
    return locale.toString(count);
}

} // namespace Tempolane
