#include "CronExpression.h"

#include "CronField.h"
#include "CronShortcut.h"
#include "CronText.h"
#include "TextContext.h"

#include <QCoreApplication>
#include <limits>

TEMPOLANE_TEXT_CONTEXT(CronExpression)

namespace Tempolane::CronExpression {

namespace {

// cron keeps a step in a C int.
constexpr std::int64_t largestStep = std::numeric_limits<std::int32_t>::max();

bool containsLetter(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        if (QChar::isLetter(c))
            return true;
    }
    return false;
}

// Splits at the first occurrence of the separator; the second piece is absent without one.
std::pair<QStringView, std::optional<QStringView>> splitAtFirst(QStringView text, QChar separator)
{
    const auto index = text.indexOf(separator);
    if (index < 0)
        return {text, std::nullopt};
    return {text.first(index), text.sliced(index + 1)};
}

std::optional<std::int64_t> readInBounds(std::optional<QStringView> text, CronField field)
{
    if (!text)
        return std::nullopt;
    const auto value = readValue(field, *text);
    if (!value || *value < lowerBound(field) || *value > upperBound(field))
        return std::nullopt;
    return value;
}

// Letters that name no value of the field: a name of another field, a misspelt one, or any
// letter in minute, hour and day of month.
bool isForeignName(std::optional<QStringView> text, CronField field)
{
    return text && containsLetter(*text) && !nameValue(field, *text);
}

QString stepTooLargeMessage()
{
    return tr("Der Schritt ist zu groß.");
}

std::optional<QString> elementMessage(QStringView element, CronField field)
{
    if (element.isEmpty())
        return tr("Leere Listenelemente sind nicht erlaubt.");

    const auto [base, step] = splitAtFirst(element, u'/');
    if (base.isEmpty())
        return tr("Ungültiger Schrittwert.");
    std::int64_t stepValue = 0;
    if (step) {
        // Digits too many for any integer still name a step, only one far too large.
        const auto value = CronText::readNumber(*step);
        if (!CronText::isDigits(*step) || (value && *value < 1))
            return tr("Der Schritt muss größer als 0 sein.");
        if (!value || *value > largestStep)
            return stepTooLargeMessage();
        stepValue = *value;
    }
    // cron adds the step to the start in a C int and refuses a sum beyond it.
    const auto stepsTooFar = [stepValue](std::int64_t start) {
        return stepValue > largestStep - start;
    };
    if (base == u"*") {
        if (stepsTooFar(lowerBound(field)))
            return stepTooLargeMessage();
        return std::nullopt;
    }

    const auto [startText, endText] = splitAtFirst(base, u'-');
    if (isForeignName(startText, field) || isForeignName(endText, field))
        return tr("Namen sind nur einzeln erlaubt, nicht in Listen oder Bereichen.");
    const auto start = readInBounds(startText, field);
    if (!start) {
        return tr("Wert außerhalb von %1…%2.").arg(lowerBound(field)).arg(upperBound(field));
    }
    if (endText) {
        const auto end = readInBounds(*endText, field);
        if (!end || *end < *start)
            return tr("Ungültiger Bereich.");
        if (stepsTooFar(*start))
            return stepTooLargeMessage();
    } else if (step) {
        // cron steps only through a range; "5/10" is refused by the crontab tool.
        return tr("Ein Schritt ist nur nach * oder einem Bereich erlaubt.");
    }
    return std::nullopt;
}

std::optional<QString> fieldMessage(QStringView fieldText, CronField field)
{
    for (const auto element : fieldText.tokenize(u',')) {
        if (auto message = elementMessage(element, field))
            return message;
    }
    return std::nullopt;
}

QList<QStringView> nonEmptySplit(QStringView text, QChar separator)
{
    return text.split(separator, Qt::SkipEmptyParts);
}

// The parser's lenient split at the first separator: leading separators are skipped, the
// first piece runs to the next separator and the rest, if not empty, is the second piece.
QList<QStringView> splitOnceDroppingEmpty(QStringView text, QChar separator)
{
    qsizetype start = 0;
    while (start < text.size() && text[start] == separator)
        ++start;
    if (start == text.size())
        return {};
    const auto end = text.indexOf(separator, start);
    if (end < 0)
        return {text.sliced(start)};
    const QStringView first = text.sliced(start, end - start);
    const QStringView rest = text.sliced(end + 1);
    if (rest.isEmpty())
        return {first};
    return {first, rest};
}

bool addElementValues(QStringView element, CronField field, CronValueSet& values)
{
    const auto pieces = splitOnceDroppingEmpty(element, u'/');
    if (pieces.isEmpty())
        return false;
    const QStringView base = pieces.front();
    const auto step = pieces.size() > 1 ? CronText::readNumber(pieces[1]) : std::int64_t(1);
    // Validation refuses steps below 1; refusing them here keeps the loop below finite.
    if (!step || *step < 1)
        return false;

    std::int64_t start = lowerBound(field);
    std::int64_t end = upperBound(field);
    if (base != u"*") {
        const auto range = splitOnceDroppingEmpty(base, u'-');
        const auto startValue = range.isEmpty() ? std::nullopt : readValue(field, range.front());
        const auto endValue = range.size() > 1 ? readValue(field, range[1]) : startValue;
        if (!startValue || !endValue)
            return false;
        start = *startValue;
        end = *endValue;
    }

    // Values beyond the set's capacity are never kept, so stepping may stop there.
    constexpr auto maximum = std::numeric_limits<std::int64_t>::max();
    for (std::int64_t value = start;; value += *step) {
        values.insert(field == CronField::weekday && value == 7 ? 0 : value);
        if (value >= CronValueSet::capacity || value > maximum - *step || value + *step > end)
            break;
    }
    return true;
}

std::optional<CronValueSet> parseField(QStringView fieldText, CronField field)
{
    CronValueSet values;
    for (const auto element : fieldText.tokenize(u',', Qt::SkipEmptyParts)) {
        if (!addElementValues(element, field, values))
            return std::nullopt;
    }
    return values;
}

bool hasUnrestrictedElement(QStringView fieldText)
{
    for (const auto element : nonEmptySplit(fieldText, u',')) {
        const auto pieces = splitOnceDroppingEmpty(element, u'/');
        if (!pieces.isEmpty() && pieces.front() == u"*")
            return true;
    }
    return false;
}

} // namespace

std::optional<QString> validationMessage(QStringView expression)
{
    const QStringView trimmed = expression.trimmed();
    if (trimmed.isEmpty())
        return tr("Bitte einen Zeitplan eingeben.");
    if (CronText::containsNonBlankWhitespace(trimmed))
        return tr("Felder dürfen nur durch Leerzeichen oder Tabulatoren getrennt sein.");

    if (trimmed.startsWith(u'@')) {
        if (CronShortcut::find(trimmed))
            return std::nullopt;
#ifdef Q_OS_MACOS
        return tr("Diese @-Kurzform wird von macOS cron nicht unterstützt.");
#else
        return tr("Diese @-Kurzform wird von cron nicht unterstützt.");
#endif
    }

    const auto fields = CronText::splitAtBlanks(trimmed);
    if (fields.size() != 5)
        return tr("Ein Cron-Zeitplan braucht genau fünf Felder.");

    for (std::size_t i = 0; i < allCronFields.size(); ++i) {
        const CronField field = allCronFields[i];
        if (auto message = fieldMessage(fields[qsizetype(i)], field))
            return title(field) + QStringLiteral(": ") + *message;
    }
    return std::nullopt;
}

std::optional<QString> expandedShortcut(const QString& expression)
{
    const CronShortcut* shortcut = CronShortcut::find(expression);
    if (!shortcut)
        return expression;
    if (shortcut->expansion.isEmpty())
        return std::nullopt;
    return shortcut->expansion.toString();
}

std::optional<ParsedCronSchedule> parse(const QString& expression)
{
    const auto expanded = expandedShortcut(expression.trimmed());
    if (!expanded)
        return std::nullopt;
    const auto fields = CronText::splitAtBlanks(*expanded);
    if (fields.size() != 5)
        return std::nullopt;

    const auto minutes = parseField(fields[0], CronField::minute);
    const auto hours = parseField(fields[1], CronField::hour);
    const auto days = parseField(fields[2], CronField::dayOfMonth);
    const auto months = parseField(fields[3], CronField::month);
    const auto weekdays = parseField(fields[4], CronField::weekday);
    if (!minutes || !hours || !days || !months || !weekdays)
        return std::nullopt;

    return ParsedCronSchedule{*minutes,
                              *hours,
                              *days,
                              *months,
                              *weekdays,
                              hasUnrestrictedElement(fields[2]),
                              hasUnrestrictedElement(fields[4])};
}

} // namespace Tempolane::CronExpression
