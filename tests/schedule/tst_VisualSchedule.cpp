#include "VisualSchedule.h"

#include <QTest>
#include <random>

using namespace Tempolane;

namespace {

VisualSchedule value(ScheduleFrequency frequency, int minuteInterval, int minute, int hour,
                     int dayOfMonth, std::set<int> weekdays)
{
    return {frequency, minuteInterval, minute, hour, dayOfMonth, std::move(weekdays)};
}

} // namespace

Q_DECLARE_METATYPE(std::optional<VisualSchedule>)
Q_DECLARE_METATYPE(VisualSchedule)

class VisualScheduleTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void recognize_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<std::optional<VisualSchedule>>("expected");

        using F = ScheduleFrequency;
        const auto row = [](const char* text, std::optional<VisualSchedule> expected) {
            QTest::newRow(text) << QString::fromUtf8(text) << expected;
        };
        row("* * * * *", value(F::minutes, 1, 0, 9, 1, {1}));
        row("*/15 * * * *", value(F::minutes, 15, 0, 9, 1, {1}));
        row("*/59 * * * *", value(F::minutes, 59, 0, 9, 1, {1}));
        row("30 * * * *", value(F::hourly, 5, 30, 9, 1, {1}));
        row("30 7 * * *", value(F::daily, 5, 30, 7, 1, {1}));
        row("5 09 * * *", value(F::daily, 5, 5, 9, 1, {1}));
        row(" 5 9 * * *\n", value(F::daily, 5, 5, 9, 1, {1}));
        row("0\t9  *   * *", value(F::daily, 5, 0, 9, 1, {1}));
        row("0 9 * * 1-5", value(F::weekly, 5, 0, 9, 1, {1, 2, 3, 4, 5}));
        row("0 9 * * 5,1", value(F::weekly, 5, 0, 9, 1, {1, 5}));
        row("0 9 * * 0-7", value(F::weekly, 5, 0, 9, 1, {0, 1, 2, 3, 4, 5, 6}));
        row("0 9 * * 7", value(F::weekly, 5, 0, 9, 1, {0}));
        row("0 9 * * ,1,,3,", value(F::weekly, 5, 0, 9, 1, {1, 3}));
        row("0 9 * * 1-", value(F::weekly, 5, 0, 9, 1, {1}));
        row("0 9 * * -3", value(F::weekly, 5, 0, 9, 1, {3}));
        row("0 9 31 * *", value(F::monthly, 5, 0, 9, 31, {1}));
        row("15 14 1 * *", value(F::monthly, 5, 15, 14, 1, {1}));
        for (const char* text :
             {"*/60 * * * *", "*/0 * * * *", "*/5 1 * * *",     "0 * 1 * *",   "0 9 * * ,",
              "0 9 * * 1--3", "0 9 * * jan", "0 9 * * */2",     "0 9 * * 5-1", "0 9 * * 8",
              "0 9 * * 1-8",  "0 9 32 * *",  "0 9 0 * *",       "0 9 1 1 *",   "0 9 1 * 1",
              "0 9 * 1 1",    "60 9 * * *",  "-1 9 * * *",      "0 24 * * *",  "a 9 * * *",
              "0 */2 * * *",  "@daily",      "* * * *",         "* * * * * *", "",
              "*/+5 * * * *", "+5 9 * * *",  "0\u00a09 * * * *"})
            row(text, std::nullopt);
    }

    void recognize()
    {
        QFETCH(QString, expression);
        QFETCH(std::optional<VisualSchedule>, expected);
        QCOMPARE(VisualSchedule::recognize(expression), expected);
    }

    void expression_data()
    {
        QTest::addColumn<VisualSchedule>("schedule");
        QTest::addColumn<QString>("expected");

        using F = ScheduleFrequency;
        QTest::newRow("every minute") << value(F::minutes, 1, 7, 8, 9, {2}) << "* * * * *";
        QTest::newRow("every 15 minutes") << value(F::minutes, 15, 7, 8, 9, {2}) << "*/15 * * * *";
        QTest::newRow("hourly") << value(F::hourly, 15, 7, 8, 9, {2}) << "7 * * * *";
        QTest::newRow("daily") << value(F::daily, 15, 5, 9, 9, {2}) << "5 9 * * *";
        QTest::newRow("weekly in order")
            << value(F::weekly, 15, 0, 9, 9, {5, 1, 0}) << "0 9 * * 0,1,5";
        QTest::newRow("weekly without days") << value(F::weekly, 15, 0, 9, 9, {}) << "0 9 * * 1";
        QTest::newRow("monthly") << value(F::monthly, 15, 5, 4, 31, {2}) << "5 4 31 * *";
    }

    void expression()
    {
        QFETCH(VisualSchedule, schedule);
        QFETCH(QString, expected);
        QCOMPARE(schedule.expression(), expected);
    }

    // Texts put together from pieces that recognition treats differently, so that every rule and
    // most of their failures are met many times.
    void recognizedExpression_isRecognizedAgainAsEqual()
    {
        static const char* const minutes[] = {"*",  "*/1", "*/15", "*/59", "*/60", "0",
                                              "05", "007", "59",   "60",   "-1",   "x"};
        static const char* const hours[] = {"*", "0", "09", "23", "24", "01", "*/2"};
        static const char* const days[] = {"*", "1", "31", "32", "0", "015", "1-2"};
        static const char* const months[] = {"*", "1", "jan"};
        static const char* const weekdays[] = {"*",  "0",  "7",   "1-5", "5,1", "0-7",   ",3,",
                                               "1-", "-2", "5-1", "mon", "*/2", "1,7,0", "mon-FRI"};
        static const char* const separators[] = {" ", "\t", "  ", " \t"};

        std::mt19937 engine(4);
        const auto pick = [&engine](const auto& items) {
            return QString::fromUtf8(items[engine() % std::size(items)]);
        };
        // Half of the day, month and weekday fields are "*", as in most recognisable texts.
        const auto pickOrStar = [&](const auto& items) {
            return engine() % 2 == 0 ? QStringLiteral("*") : pick(items);
        };
        int recognised = 0;
        for (int i = 0; i < 20'000; ++i) {
            const QString text = QStringList{pick(minutes), pick(hours), pickOrStar(days),
                                             pickOrStar(months), pickOrStar(weekdays)}
                                     .join(pick(separators));
            const auto schedule = VisualSchedule::recognize(text);
            if (!schedule)
                continue;
            ++recognised;
            const QString written = schedule->expression();
            if (VisualSchedule::recognize(written) != schedule)
                QFAIL(qPrintable(QStringLiteral("\"%1\" written as \"%2\"").arg(text, written)));
        }
        QVERIFY2(recognised > 1'500, qPrintable(QString::number(recognised)));
    }
};

QTEST_GUILESS_MAIN(VisualScheduleTest)
#include "tst_VisualSchedule.moc"
