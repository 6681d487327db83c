#include "CronExpression.h"
#include "CronField.h"
#include "CronText.h"

namespace Tempolane::CronExpression {

namespace {

// "5/10" means "from 5 on, every 10th" to most people; cron wants the range written out.
QString withRangeBeforeStep(QStringView element, CronField field)
{
    const auto slash = element.indexOf(u'/');
    if (slash <= 0 || element.first(slash).contains(u'-') || element.first(slash) == u"*")
        return element.toString();
    const auto start = readValue(field, element.first(slash));
    if (!start)
        return element.toString();
    return QStringLiteral("%1-%2/%3")
        .arg(*start)
        .arg(upperBound(field))
        .arg(element.sliced(slash + 1));
}

QString withRangesBeforeSteps(QStringView fieldText, CronField field)
{
    QStringList elements;
    for (const QStringView element : fieldText.split(u','))
        elements.append(withRangeBeforeStep(element, field));
    return elements.join(u',');
}

} // namespace

std::optional<QString> suggestedExpression(QStringView expression)
{
    if (!validationMessage(expression))
        return std::nullopt;

    QString text = expression.trimmed().toString();
    for (QChar& c : text) {
        if (c.isSpace())
            c = u' ';
    }
    if (text.startsWith(u'@')) {
        text = text.toLower();
    } else if (const auto fields = CronText::splitAtBlanks(text); fields.size() == 5) {
        QStringList rewritten;
        for (std::size_t i = 0; i < allCronFields.size(); ++i)
            rewritten.append(withRangesBeforeSteps(fields[qsizetype(i)], allCronFields[i]));
        text = rewritten.join(u' ');
    }

    if (validationMessage(text))
        return std::nullopt;
    return text;
}

} // namespace Tempolane::CronExpression
