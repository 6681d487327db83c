#include "CronSystemClient.h"

#include "TestFiles.h"

#include <QCoro/QCoroTask>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <unistd.h>

using namespace Tempolane;

namespace {

const QString fakeTool = QStringLiteral(TEMPOLANE_FAKE_CRONTAB);
const QString genericFailure =
    QStringLiteral("Der Systemdienst „crontab“ konnte die Änderung nicht ausführen.");
constexpr int success = -1;
constexpr int processErrorBase = 100;
constexpr int commandFailed = int(CronSystemError::Kind::commandFailed);

// One number for every kind of failure, so a table row can name the one it expects.
int kindOf(const CronClientError& error)
{
    if (const CronProcessError* process = error.processError())
        return processErrorBase + int(process->kind);
    return int(error.systemError()->kind());
}

} // namespace

class CronSystemClientTest final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    CronSystemClient m_client{fakeTool};
    QString statePath() const { return m_dir.filePath(QStringLiteral("state")); }
    QString logPath() const { return m_dir.filePath(QStringLiteral("log")); }

    void useMode(const QByteArray& mode, const QByteArray& installed = {})
    {
        qputenv("FAKE_CRONTAB_MODE", mode);
        for (const QString& path : {statePath(), logPath(), statePath() + QStringLiteral(".pid")})
            QFile::remove(path);
        if (!installed.isNull())
            QVERIFY(Testing::writeFile(statePath(), installed));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("FAKE_CRONTAB_STATE", QFile::encodeName(statePath()));
        qputenv("FAKE_CRONTAB_LOG", QFile::encodeName(logPath()));
    }

    // A read gives the text, or fails with what the tool said or what became of it. A write
    // whose tool dies, hangs or floods is settled by reading back, and fails only when its text
    // is not (known to be) in place.
    void exchange_data()
    {
        QTest::addColumn<QByteArray>("mode");
        QTest::addColumn<bool>("isWrite");
        QTest::addColumn<QString>("text"); // installed before a read, given to a write
        QTest::addColumn<int>("errorKind");
        QTest::addColumn<QString>("description");
        QTest::addColumn<int>("writeCheck");

        const QString denied = QStringLiteral("crontab: your UID isn't allowed to access crontabs");
        const QString refused =
            QStringLiteral("\"-\":0: bad minute\nerrors in crontab file, can't install.");
        const QString unreadable =
            QStringLiteral("Die Ausgabe von „crontab“ konnte nicht gelesen werden.");
        const QString line = QStringLiteral("* * * * * true\n");
        const QString late =
            QStringLiteral("Das Programm crontab hat nicht rechtzeitig geantwortet.");
        const QString notInPlace = QStringLiteral(" Die neue crontab wurde nicht übernommen.");
        using Kind = CronSystemError::Kind;
        using Check = CronSystemError::WriteCheck;
        const int invalid = int(Kind::invalidOutput);
        const int unconfirmed = int(Kind::unconfirmedWrite);
        const auto row = [](const char* name, const char* mode, bool isWrite, const QString& text,
                            int kind, const QString& description = {}, Check check = Check::none) {
            QTest::newRow(name) << QByteArray(mode) << isWrite << text << kind << description
                                << int(check);
        };
        row("read, no crontab", "normal", false, QString(), success);
        row("read untrimmed", "normal", false, QStringLiteral("\n  # x \n\n\n"), success);
        row("read, no final line feed", "normal", false, line.chopped(1), success);
        row("read refused", "read-denied", false, QString(), commandFailed, denied);
        row("read refused silently", "read-silent", false, QString(), commandFailed,
            genericFailure);
        row("read, someone else's crontab missing", "other-user", false, QString(), commandFailed,
            QStringLiteral("no crontab for someone-else"));
        row("read, missing crontab in the BSD wording", "bsd-none", false, QString(), success);
        row("read, missing crontab and another error", "none-and-more", false, QString(),
            commandFailed);
        row("read, not UTF-8", "not-utf8", false, QString(), invalid, unreadable);
        row("write UTF-8, no line feed added", "normal", true,
            QStringLiteral("# Grüße ☕ 🕐\n0 * * * * true"), success);
        row("write empty", "normal", true, QString(), success);
        row("write refused", "refuse", true, line, commandFailed, refused);
        row("write refused silently", "refuse-silent", true, line, commandFailed, genericFailure);
        row("write, tool stops reading after the first line", "first-line", true,
            QStringLiteral("# first\n") + QString(2'000'000, u'#') + u'\n', unconfirmed);
        row("read hangs", "hang", false, QString(), int(Kind::timedOut), late);
        row("read answers 200 MB", "huge", false, QString(), int(Kind::outputTooLarge),
            QStringLiteral("Die Ausgabe von „crontab“ ist größer als 8 MiB und wurde nicht "
                           "gelesen."));
        row("read complains with 200 MB", "huge-error", false, QString(),
            int(Kind::outputTooLarge));
        row("read killed", "killed", false, QString(), int(Kind::terminated),
            QStringLiteral("Die crontab konnte nicht gelesen werden: „crontab“ wurde unerwartet "
                           "beendet. crontab: out of memory"));
        row("write hangs before installing", "hang-writing", true, line, int(Kind::timedOut),
            late + notInPlace, Check::notInPlace);
        row("write hangs after installing", "hang-after-install", true, line, success);
        row("write and reading back hang", "hang", true, line, int(Kind::timedOut), {},
            Check::failed);
        row("write killed before installing", "killed-early", true, line, int(Kind::terminated),
            QStringLiteral("Der Systemdienst „crontab“ wurde unerwartet beendet.") + notInPlace,
            Check::notInPlace);
        row("write killed after installing", "killed-late", true, line, success);
    }

    void exchange()
    {
        QFETCH(QByteArray, mode);
        QFETCH(bool, isWrite);
        QFETCH(QString, text);
        QFETCH(int, errorKind);
        QFETCH(QString, description);
        QFETCH(int, writeCheck);

        useMode(mode, isWrite || text.isNull() ? QByteArray() : text.toUtf8());
        // A tool that hangs is given two seconds.
        CronSystemClient impatient(fakeTool, std::chrono::seconds(2));
        std::expected<QString, CronClientError> result;
        if (!isWrite)
            result = QCoro::waitFor(impatient.readCrontab());
        else if (auto written = QCoro::waitFor(impatient.writeCrontab(text)); !written)
            result = std::unexpected(written.error());

        QCOMPARE(Testing::contents(logPath()).split('\n').front(),
                 QByteArray(isWrite ? "-" : "-l"));
        // A hanging tool is stopped, not left to install a text after the answer.
        const QByteArray pid = Testing::contents(statePath() + QStringLiteral(".pid")).trimmed();
        QVERIFY(pid.isEmpty() || (::kill(pid.toInt(), 0) == -1 && errno == ESRCH));
        if (errorKind == success) {
            QVERIFY2(result, result ? "" : qPrintable(result.error().description()));
            QCOMPARE(isWrite ? Testing::contents(statePath()) : result->toUtf8(), text.toUtf8());
            QVERIFY(QFile::exists(statePath()) || !isWrite);
            return;
        }
        QVERIFY(!result);
        QCOMPARE(kindOf(result.error()), errorKind);
        QVERIFY(!result.error().description().isEmpty());
        if (!description.isEmpty())
            QCOMPARE(result.error().description(), description);
        QCOMPARE(int(result.error().systemError()->writeCheck()), writeCheck);
    }

    void floodingToolDoesNotDeadlock()
    {
        useMode("flood");
        const auto read = QCoro::waitFor(m_client.readCrontab());
        QVERIFY(read);
        QCOMPARE(read->size(), 3'000'000);
        QCOMPARE(read->count(u'o'), 3'000'000);

        // This mode fills both pipes before it reads its input.
        useMode("flood-then-read");
        const QString text = QString(3'000'000, u'#') + u'\n';
        QVERIFY(QCoro::waitFor(m_client.writeCrontab(text)));
        QCOMPARE(Testing::contents(statePath()), text.toUtf8());
    }

    void readingInheritsStandardInput()
    {
        char ours[256] = {};
        if (::readlink("/proc/self/fd/0", ours, sizeof ours - 1) <= 0)
            QSKIP("needs /proc to name the standard input");
        useMode("stdin");
        const auto text = QCoro::waitFor(m_client.readCrontab());
        QVERIFY(text);
        QCOMPARE(*text, QFile::decodeName(ours) + u'\n');
    }

    void slowToolLeavesTheEventLoopRunning()
    {
        useMode("slow", "# slow\n");
        int ticks = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
        timer.start(50);
        const auto text = QCoro::waitFor(m_client.readCrontab());
        QCOMPARE(text.value(), QStringLiteral("# slow\n"));
        QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks)));
    }

    void launchFailurePassesTheSystemText()
    {
        CronSystemClient client(QStringLiteral("/nonexistent/crontab"));
        const auto read = QCoro::waitFor(client.readCrontab());
        const auto write = QCoro::waitFor(client.writeCrontab(QStringLiteral("x\n")));
        for (const auto* error : {&read.error(), &write.error()}) {
            QCOMPARE(kindOf(*error), processErrorBase + int(CronProcessError::Kind::launchFailed));
            QVERIFY(!error->processError()->message.isEmpty());
            QVERIFY(error->description().endsWith(error->processError()->message));
        }
    }
};

QTEST_GUILESS_MAIN(CronSystemClientTest)
#include "CronSystemClientTest.moc"
