#include "CronExpression.h"
#include "CronJobLine.h"
#include "CronText.h"
#include "CrontabTool.h"
#include "ThrowawayUser.h"

#include <QStringList>
#include <QTest>
#include <algorithm>
#include <random>

using namespace Tempolane;

namespace {

// What a person might type into the cron-syntax field, piece by piece: numbers in and out of
// range, with signs and leading zeros, names in any case, ranges, steps from zero to beyond
// cron's int, lists, junk cron reads oddly, and white space of every kind between the fields.
class ExpressionDice
{
public:
    explicit ExpressionDice(unsigned seed) : m_engine(seed) {}

    QString expression()
    {
        if (chance(6))
            return pick(shortcuts());
        const int fieldCount = chance(25) ? (chance(2) ? 4 : 6) : 5;
        QString text = chance(20) ? pick(edges()) : QString();
        for (int i = 0; i < fieldCount; ++i) {
            if (i > 0)
                text += chance(15) ? pick(oddSeparators()) : pick(separators());
            text += field(i);
        }
        if (chance(20))
            text += pick(edges());
        return text;
    }

private:
    static QStringList shortcuts()
    {
        return {"@daily",  "@DAILY",    "@Daily",  "@reboot",   "@REBOOT",   "@hourly",
                "@weekly", "@monthly",  "@yearly", "@annually", "@midnight", "@every 5m",
                "@",       "@hourly *", "@dAiLy",  "@Weekly"};
    }
    static QStringList separators() { return {" ", "\t", "  ", " \t "}; }
    static QStringList oddSeparators()
    {
        return {"\u00a0", "\u2003", "\u3000", "\u202f", "\u2009", " \u00a0"};
    }
    static QStringList edges() { return {" ", "\t", "\u00a0", "  "}; }

    struct Bounds
    {
        int lower;
        int upper;
        QStringList names;
    };

    static Bounds bounds(int position)
    {
        static const QStringList months{"jan", "Feb", "MAR", "apr", "May", "jun",
                                        "jul", "aug", "SEP", "oct", "nov", "Dec"};
        static const QStringList weekdays{"sun", "MON", "Tue", "wed", "thu", "FRI", "sat"};
        switch (position) {
        case 0:
            return {0, 59, {}};
        case 1:
            return {0, 23, {}};
        case 2:
            return {1, 31, {}};
        case 3:
            return {1, 12, months};
        default:
            return {0, 7, weekdays};
        }
    }

    QString field(int position)
    {
        if (chance(2))
            return QStringLiteral("*");
        QStringList elements;
        const int count = chance(4) ? 1 + int(m_engine() % 3) : 1;
        for (int i = 0; i < count; ++i)
            elements.append(chance(40) ? QString() : element(bounds(qMin(position, 4))));
        return elements.join(u',');
    }

    QString element(const Bounds& field)
    {
        switch (m_engine() % 10) {
        case 0:
            return QStringLiteral("*/") + step();
        case 1:
        case 2:
        case 8:
        case 9:
            return value(field);
        case 3:
            return value(field) + u'-' + value(field);
        case 4:
            return value(field) + u'-' + value(field) + u'/' + step();
        case 5:
            return value(field) + u'/' + step();
        case 6:
            return pick({"3+", "*0", "1-2-3", "*/5/2", "1#2", "L", "?", "5-", "-5", "/5", "**",
                         "1/", "*/", "0x1", "1.5", "½", "\u0665"});
        default:
            return !field.names.isEmpty() && chance(2) ? pick(field.names)
                                                       : pick(bounds(3 + chance(2)).names);
        }
    }

    QString value(const Bounds& field)
    {
        if (!field.names.isEmpty() && chance(4))
            return pick(field.names);
        const int number =
            field.lower - 2 + int(m_engine() % unsigned(field.upper - field.lower + 5));
        QString text = QString::number(qAbs(number));
        if (number < 0)
            text.prepend(u'-');
        if (chance(10))
            text.prepend(QStringLiteral("00"));
        if (chance(20))
            text.prepend(u'+');
        return text;
    }

    QString step()
    {
        return pick({"0",
                     "1",
                     "2",
                     "3",
                     "5",
                     "7",
                     "15",
                     "30",
                     "59",
                     "60",
                     "100",
                     "2147483647",
                     "2147483648",
                     "9223372036854775807",
                     "9223372036854775808",
                     "+5",
                     "-1",
                     "",
                     "x",
                     "007"});
    }

    bool chance(int oneIn) { return m_engine() % unsigned(oneIn) == 0; }
    QString pick(const QStringList& items) { return items[qsizetype(m_engine() % items.size())]; }

    std::mt19937 m_engine;
};

} // namespace

class CrontabVerdictsTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nothingTempolaneAcceptsIsRefusedByCrontab()
    {
        // The forms people met: each passed Tempolane's check and then failed to install.
        QStringList expressions{"5/10 * * * *",   "0 0 * * mon/2",    "0 0 * jan/2 *",
                                "+5 * * * *",     "*/+5 * * * *",     "@DAILY",
                                "@Daily",         "0\u00a09 * * * *", "*/2147483648 * * * *",
                                "5-5/10 * * * *", "007 * * * *",      "sat-sun * * * *",
                                "0 0 * * sat-sun"};
        ExpressionDice dice(20261207);
        while (expressions.size() < 2'600)
            expressions.append(dice.expression());

        int bothAccept = 0;
        int bothRefuse = 0;
        QStringList onlyTempolaneAccepts;
        QStringList onlyCrontabAccepts;
        QStringList readingDiffers;
        for (const QString& typed : expressions) {
            // The editor saves the trimmed text.
            const QString expression = typed.trimmed();
            const bool tempolaneAccepts = !CronExpression::validationMessage(typed);
            // The verdict of Debian's own parser: the tool refuses a text with any bad line.
            const bool toolAccepts =
                Testing::crontabTool(QStringLiteral("-"),
                                     (expression + QStringLiteral(" true\n")).toUtf8())
                    .status == 0;
            // The checks read every line as cron does, those Tempolane keeps as text too.
            if (CronJobLine::read(expression + QStringLiteral(" true")).has_value() != toolAccepts)
                readingDiffers.append(expression);
            if (tempolaneAccepts && toolAccepts)
                ++bothAccept;
            else if (!tempolaneAccepts && !toolAccepts)
                ++bothRefuse;
            else if (tempolaneAccepts)
                onlyTempolaneAccepts.append(expression);
            else
                onlyCrontabAccepts.append(expression);
        }

        // cron reads a sixth field as the start of the command: such lines say nothing of a
        // schedule.
        const auto sixFields = std::count_if(
            onlyCrontabAccepts.cbegin(), onlyCrontabAccepts.cend(), [](const QString& expression) {
                return CronText::splitAtBlanks(expression).size() == 6;
            });
        qInfo("%lld expressions: %d accepted by both, %d refused by both, %lld accepted only by "
              "Tempolane, %lld accepted only by crontab, %lld of them with a sixth field (e.g. %s)",
              qlonglong(expressions.size()), bothAccept, bothRefuse,
              qlonglong(onlyTempolaneAccepts.size()), qlonglong(onlyCrontabAccepts.size()),
              qlonglong(sixFields),
              qPrintable(onlyCrontabAccepts.mid(0, 8).join(QStringLiteral(" | "))));
        QVERIFY2(readingDiffers.isEmpty(),
                 qPrintable(readingDiffers.mid(0, 20).join(QStringLiteral(" | "))));
        QVERIFY2(onlyTempolaneAccepts.isEmpty(),
                 qPrintable(onlyTempolaneAccepts.mid(0, 20).join(QStringLiteral(" | "))));
        // A generator that drifted to one side would prove nothing.
        QVERIFY2(bothAccept > 400 && bothRefuse > 400,
                 qPrintable(QStringLiteral("%1 / %2").arg(bothAccept).arg(bothRefuse)));
    }
};

int main(int argc, char* argv[])
{
    return Testing::execAsThrowawayUser<CrontabVerdictsTest>(argc, argv);
}

#include "tst_crontab_verdicts.moc"
