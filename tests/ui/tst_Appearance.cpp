// The desktop's light or dark preference, as its portal states it on a session bus of the
// test's own: the scheme the first window opens in, every switch, and readable texts in both.
#include "ExecutionHistoryModel.h"
#include "JobSketch.h"
#include "MainWindow.h"
#include "Palette.h"
#include "PortalStandIn.h"
#include "ReadableText.h"
#include "StoreUnderTest.h"
#include "Theme.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QDBusArgument>
#include <QDBusMetaType>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTest>
#include <QToolBar>

using namespace Tempolane;
using namespace Tempolane::Testing;

namespace {

using Methods = PortalBehaviour::Methods;

// The portal's accent colour, (ddd) on the bus.
struct Rgb
{
    double red = 0;
    double green = 0;
    double blue = 0;
};

QDBusArgument& operator<<(QDBusArgument& argument, const Rgb& color)
{
    argument.beginStructure();
    argument << color.red << color.green << color.blue;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, Rgb& color)
{
    argument.beginStructure();
    argument >> color.red >> color.green >> color.blue;
    argument.endStructure();
    return argument;
}

} // namespace

Q_DECLARE_METATYPE(PortalBehaviour)
Q_DECLARE_METATYPE(Rgb)

namespace {

constexpr uint prefersDark = 1;
constexpr uint prefersLight = 2;
const QString colorSchemeKey = QStringLiteral("color-scheme");
const QString contrastKey = QStringLiteral("contrast");
const QString accentColorKey = QStringLiteral("accent-color");

// A desktop session: its own bus, and on it a portal stating `preference` (none: a portal
// without the setting; no portal at all with `withPortal` false).
struct Desktop
{
    explicit Desktop(std::optional<uint> preference, PortalBehaviour behaviour = {},
                     bool withPortal = true)
    {
        if (!withPortal)
            return;
        QVariantMap appearance;
        if (preference)
            appearance.insert(colorSchemeKey, *preference);
        portal = std::make_unique<PortalStandIn>(bus, appearance, behaviour);
    }
    explicit Desktop(const QVariantMap& appearance)
        : portal(std::make_unique<PortalStandIn>(bus, appearance))
    {
    }

    // The program's start: its theme, asking the desktop before any window exists.
    std::unique_ptr<Theme> startProgram()
    {
        return std::make_unique<Theme>(*qobject_cast<QApplication*>(QCoreApplication::instance()),
                                       bus.connect());
    }

    PrivateSessionBus bus;
    std::unique_ptr<PortalStandIn> portal;
};

// Counts the events of one type that reach a widget.
class EventCounter final : public QObject
{
public:
    EventCounter(QWidget& widget, QEvent::Type type, int& count) : m_type(type), m_count(count)
    {
        widget.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        if (event->type() == m_type)
            ++m_count;
        return false;
    }

private:
    QEvent::Type m_type;
    int& m_count;
};

ColorScheme schemeOf(uint preference)
{
    return preference == prefersDark ? ColorScheme::dark : ColorScheme::light;
}

// The commonest colour of a widget's area in a picture of its window, as a luminance.
double backgroundLuminance(const QImage& picture, QWidget& window, const QWidget& widget)
{
    const QRect area(widget.mapTo(&window, QPoint(0, 0)), widget.size());
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[picture.pixel(x, y)];
    }
    const auto commonest = std::max_element(counts.cbegin(), counts.cend());
    return luminanceOf(commonest.key());
}

// Texts stand out from what is actually painted behind them (rows, cards, selections, the
// pointer's wash), and the window's frame is in the scheme: a toolbar or search field left
// light in dark mode is readable but wrong.
void checkLooks(QWidget& window, ColorScheme scheme)
{
    QApplication::processEvents();
    const QStringList unreadable = unreadableTexts(window);
    QVERIFY2(unreadable.isEmpty(), qPrintable(unreadable.join(QStringLiteral("; "))));

    const QImage picture = window.grab().toImage();
    for (const char* name : {"mainToolBar", "searchField"}) {
        const auto* part = window.findChild<QWidget*>(QString::fromLatin1(name));
        QVERIFY(part);
        const double luminance = backgroundLuminance(picture, window, *part);
        if (scheme == ColorScheme::dark)
            QVERIFY2(luminance < 0.1, name);
        else
            QVERIFY2(luminance > 0.5, name);
    }
}

// A row in every state the list shows: without monitoring, paused, and monitored ones that
// failed, succeeded, run, were missed or wait for their first run.
const QList<JobSketch> jobsInEveryState{
    {QStringLiteral("Bericht"), QStringLiteral("* * * * *"), QStringLiteral("/bin/report")},
    {QStringLiteral("Archiv"), QStringLiteral("0 3 * * 0"), QStringLiteral("/bin/archive"), false},
    {QStringLiteral("Sicherung"), QStringLiteral("30 8 * * 1-5"), QStringLiteral("/bin/backup"),
     true, true},
    {QStringLiteral("Abgleich"), QStringLiteral("*/5 * * * *"), QStringLiteral("/bin/sync"), true,
     true},
    {QStringLiteral("Import"), QStringLiteral("0 * * * *"), QStringLiteral("/bin/import"), true,
     true},
    {QStringLiteral("Bereinigung"), QStringLiteral("0 4 * * *"), QStringLiteral("/bin/clean"), true,
     true},
    {QStringLiteral("Neu"), QStringLiteral("0 5 1 * *"), QStringLiteral("/bin/new"), true, true},
};
constexpr int failedJob = 2;

JobExecutionRecord runRecord(const QString& id, std::optional<qint32> exitCode,
                             bool isRunning = false)
{
    JobExecutionRecord record;
    record.id = id;
    record.startedAt = QDateTime(QDate(2026, 3, 2), QTime(8, 30), Qt::UTC).addDays(-id.toInt());
    record.endedAt = record.startedAt.addSecs(12);
    record.exitCode = exitCode;
    record.isRunning = isRunning;
    record.output = QStringLiteral("rsync: connection refused\n");
    return record;
}

// The states of the monitored jobs, and the selected job's history with a run of each outcome.
void giveStates(StoreUnderTest& fixture)
{
    const QList<JobExecutionState> states{
        JobExecutionState::failed(2), JobExecutionState::succeeded(), JobExecutionState::running(),
        JobExecutionState::notObserved(), JobExecutionState::waiting()};
    for (int index = 0; index < states.size(); ++index) {
        const CronJob job = makeJob(failedJob + index + 1, jobsInEveryState[failedJob + index]);
        fixture.execution->summaryMap.insert(
            job.id, {states[index], runRecord(QStringLiteral("0"), 2), std::nullopt});
    }
    fixture.execution->records = {runRecord(QStringLiteral("0"), 2),
                                  runRecord(QStringLiteral("1"), 0),
                                  runRecord(QStringLiteral("2"), std::nullopt),
                                  runRecord(QStringLiteral("3"), std::nullopt, true)};
}

} // namespace

class AppearanceTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        qDBusRegisterMetaType<Rgb>();
        m_platformPalette = QApplication::palette();
    }
    // Each test starts where the platform starts, before any theme chose a palette.
    void init() { QApplication::setPalette(m_platformPalette); }

    void startsInTheDesktopsSchemeAndFollowsEverySwitch_data();
    void startsInTheDesktopsSchemeAndFollowsEverySwitch();
    void followsContrastAndAccentColour();
    void floodOfSwitches_costsOnePaletteChangePerFrame();
    void everyTextStaysReadable_data();
    void everyTextStaysReadable();

private:
    QPalette m_platformPalette;
};

void AppearanceTest::startsInTheDesktopsSchemeAndFollowsEverySwitch_data()
{
    QTest::addColumn<bool>("withPortal");
    QTest::addColumn<std::optional<uint>>("preference");
    QTest::addColumn<PortalBehaviour>("behaviour");
    QTest::addColumn<ColorScheme>("expected");

    const PortalBehaviour current{};
    QTest::newRow("dark") << true << std::optional(prefersDark) << current << ColorScheme::dark;
    QTest::newRow("dark, a portal older than ReadOne")
        << true << std::optional(prefersDark) << PortalBehaviour{Methods::readOnly}
        << ColorScheme::dark;
    // Without the setting the platform's own palette decides; offscreen it is light.
    QTest::newRow("setting unknown to the portal")
        << true << std::optional<uint>() << current << ColorScheme::light;
    QTest::newRow("no portal") << false << std::optional(prefersDark) << current
                               << ColorScheme::light;
    // A portal slower than the program is not waited for: the program starts in the
    // platform's scheme without hanging.
    QTest::newRow("dark, a portal slower than the start")
        << true << std::optional(prefersDark)
        << PortalBehaviour{Methods::readAndReadOne, std::chrono::milliseconds(1500)}
        << ColorScheme::light;
}

void AppearanceTest::startsInTheDesktopsSchemeAndFollowsEverySwitch()
{
    QFETCH(bool, withPortal);
    QFETCH(std::optional<uint>, preference);
    QFETCH(PortalBehaviour, behaviour);
    QFETCH(ColorScheme, expected);

    Desktop desktop(preference, behaviour, withPortal);
    QVERIFY(!withPortal || desktop.portal->isServing());
    QElapsedTimer started;
    started.start();
    const auto theme = desktop.startProgram();
    QVERIFY2(started.elapsed() < 1200, qPrintable(QString::number(started.elapsed())));
    QCOMPARE(theme->scheme(), expected);
    // Already when the constructor returns, before any event is handled: the first window
    // is built in it.
    QCOMPARE(Palette::schemeOf(QApplication::palette()), expected);
    QWidget firstWindow;
    QCOMPARE(Palette::schemeOf(firstWindow.palette()), expected);
    if (!withPortal)
        return;

    QVERIFY(theme->followsDesktop());
    for (const uint switched : {prefersDark, prefersLight, prefersDark}) {
        desktop.portal->change(colorSchemeKey, switched);
        QTRY_COMPARE(theme->scheme(), schemeOf(switched));
        QCOMPARE(Palette::schemeOf(QApplication::palette()), schemeOf(switched));
    }
}

void AppearanceTest::followsContrastAndAccentColour()
{
    Desktop desktop({{colorSchemeKey, prefersDark},
                     {contrastKey, 1u},
                     {accentColorKey, QVariant::fromValue(Rgb{1, 0.5, 0})}});
    const auto theme = desktop.startProgram();
    QCOMPARE(theme->scheme(), ColorScheme::dark);
    QCOMPARE(Palette::contrastOf(QApplication::palette()), Contrast::high);
    const QColor orange = QColor::fromRgbF(1, 0.5f, 0);
    QCOMPARE(QApplication::palette().color(QPalette::Highlight), orange);
    // Light enough that the text on it is black.
    QCOMPARE(QApplication::palette().color(QPalette::HighlightedText), QColor(Qt::black));

    desktop.portal->change(contrastKey, 0u);
    QTRY_COMPARE(theme->appearance().contrast, Contrast::standard);
    QCOMPARE(Palette::contrastOf(QApplication::palette()), Contrast::standard);
    QCOMPARE(theme->scheme(), ColorScheme::dark);
    QCOMPARE(QApplication::palette().color(QPalette::Highlight), orange);

    // Outside 0…1 the desktop has no accent colour: ours again.
    desktop.portal->change(accentColorKey, QVariant::fromValue(Rgb{-1, -1, -1}));
    QTRY_VERIFY(!theme->appearance().accent);
    QCOMPARE(QApplication::palette().color(QPalette::Highlight),
             Palette::color(Tint::indigo, ColorScheme::dark));
}

void AppearanceTest::floodOfSwitches_costsOnePaletteChangePerFrame()
{
    Desktop desktop(prefersLight);
    const auto theme = desktop.startProgram();
    QWidget window;
    window.show();
    int paletteChanges = 0;
    EventCounter counter(window, QEvent::ApplicationPaletteChange, paletteChanges);
    // Every tenth of a wrong type, as a confused or hostile program on the bus sends them.
    constexpr int switches = 2000;
    for (int i = 1; i <= switches; ++i) {
        if (i % 10 == 0)
            desktop.portal->change(colorSchemeKey, QStringLiteral("dark"));
        else
            desktop.portal->change(colorSchemeKey, i % 2 == 0 ? prefersLight : prefersDark);
    }
    desktop.portal->change(colorSchemeKey, prefersDark);
    QTRY_COMPARE(theme->scheme(), ColorScheme::dark);
    QTest::qWait(100);
    QCOMPARE(Palette::schemeOf(QApplication::palette()), ColorScheme::dark);
    QVERIFY2(paletteChanges < switches / 20, qPrintable(QString::number(paletteChanges)));
}

void AppearanceTest::everyTextStaysReadable_data()
{
    QTest::addColumn<uint>("atStart");
    QTest::addColumn<QList<uint>>("switches");
    QTest::addColumn<bool>("beforeShown");
    QTest::addColumn<bool>("highContrast");
    // Each row is checked in the scheme it starts in as well.

    QTest::newRow("light, switched to dark and back")
        << prefersLight << QList<uint>{prefersDark, prefersLight} << false << false;
    QTest::newRow("dark, switched to light and back")
        << prefersDark << QList<uint>{prefersLight, prefersDark} << false << false;
    // The window is built, the desktop switches, then the window is shown: what a start
    // looks like when the answer comes late.
    QTest::newRow("switched to dark before the window is shown")
        << prefersLight << QList<uint>{prefersDark} << true << false;
    QTest::newRow("high contrast, light, switched to dark")
        << prefersLight << QList<uint>{prefersDark} << false << true;
}

void AppearanceTest::everyTextStaysReadable()
{
    QFETCH(uint, atStart);
    QFETCH(QList<uint>, switches);
    QFETCH(bool, beforeShown);
    QFETCH(bool, highContrast);

    Desktop desktop({{colorSchemeKey, atStart}, {contrastKey, uint(highContrast)}});
    const auto theme = desktop.startProgram();
    StoreUnderTest fixture(crontabOf(jobsInEveryState));
    giveStates(fixture);
    MainWindow window(*fixture.store, fixture.clock());
    const auto switchTo = [&](uint preference) {
        desktop.portal->change(colorSchemeKey, preference);
        QTRY_COMPARE(theme->scheme(), schemeOf(preference));
    };
    const auto show = [&] {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The editor with its fields, the unfolded history and the monitoring suggestion are
        // on screen; the pointer rests on a row that is not selected, the keyboard is in the
        // list.
        QTRY_VERIFY(fixture.store->hasLoaded());
        fixture.store->setSelection(fixture.job(failedJob).id);
        for (const QString& part : {QStringLiteral("monitoringSuggestion"),
                                    QStringLiteral("jobEditor"), QStringLiteral("historyHeader")})
            QTRY_VERIFY2(window.findChild<QWidget*>(part) &&
                             window.findChild<QWidget*>(part)->isVisible(),
                         qPrintable(part));
        window.findChild<QAbstractButton*>(QStringLiteral("historyHeader"))->setChecked(true);
        auto* history =
            window.findChild<QAbstractItemView*>(QStringLiteral("executionHistoryList"));
        history->model()->setData(history->model()->index(0, 0), true,
                                  ExecutionHistoryModel::isExpandedRole);
        auto* list = window.findChild<QAbstractItemView*>(QStringLiteral("jobList"));
        list->setFocus(Qt::ShortcutFocusReason);
        QTest::mouseMove(list->viewport(), list->visualRect(list->model()->index(0, 0)).center());
        QApplication::processEvents();
    };

    if (beforeShown) {
        for (const uint preference : switches)
            switchTo(preference);
    }
    show();
    if (QTest::currentTestFailed())
        return;
    checkLooks(window, schemeOf(beforeShown ? switches.last() : atStart));
    for (const uint preference : beforeShown ? QList<uint>() : switches) {
        if (QTest::currentTestFailed())
            return;
        switchTo(preference);
        checkLooks(window, schemeOf(preference));
    }
}

QTEST_MAIN(AppearanceTest)
#include "tst_Appearance.moc"
