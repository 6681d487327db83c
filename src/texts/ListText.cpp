#include "ListText.h"

#include <memory>
#include <unicode/listformatter.h>
#include <vector>

namespace Tempolane {

QString listText(const QStringList& items, const QLocale& locale)
{
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<icu::ListFormatter> formatter(icu::ListFormatter::createInstance(
        icu::Locale(locale.name().toLatin1().constData()), status));
    if (U_FAILURE(status))
        return items.join(QStringLiteral(", "));
    std::vector<icu::UnicodeString> icuItems;
    icuItems.reserve(std::size_t(items.size()));
    for (const QString& item : items)
        icuItems.emplace_back(reinterpret_cast<const UChar*>(item.utf16()), int32_t(item.size()));
    icu::UnicodeString text;
    formatter->format(icuItems.data(), int32_t(icuItems.size()), text, status);
    if (U_FAILURE(status))
        return items.join(QStringLiteral(", "));
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}

} // namespace Tempolane
