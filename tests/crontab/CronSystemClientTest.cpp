#include "CronSystemClient.h"

#include "CronDocument.h"
#include "DemoCronClient.h"

#include <QCoro/QCoroTask>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <unistd.h>

using namespace Tempolane;

namespace {

const QString fakeTool = QStringLiteral(TEMPOLANE_FAKE_CRONTAB);

QByteArray fileContents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class CronSystemClientTest final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString statePath() const { return m_dir.filePath(QStringLiteral("state")); }
    QString logPath() const { return m_dir.filePath(QStringLiteral("log")); }

    void useMode(const char* mode)
    {
        qputenv("FAKE_CRONTAB_MODE", mode);
        QFile::remove(statePath());
        QFile::remove(logPath());
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("FAKE_CRONTAB_STATE", QFile::encodeName(statePath()));
        qputenv("FAKE_CRONTAB_LOG", QFile::encodeName(logPath()));
    }

    void readCrontab_data()
    {
        QTest::addColumn<QByteArray>("mode");
        QTest::addColumn<QByteArray>("installed");
        QTest::addColumn<bool>("isSuccess");
        QTest::addColumn<QString>("textOrDescription");
        QTest::addColumn<int>("status");

        const QByteArray none;
        QTest::newRow("a user without a crontab reads as the empty text")
            << QByteArray("normal") << none << true << QString() << 0;
        QTest::newRow("an installed crontab comes back untrimmed")
            << QByteArray("normal") << QByteArray("\n  # x \n\n\n") << true
            << QStringLiteral("\n  # x \n\n\n") << 0;
        QTest::newRow("a text without final line feed comes back without one")
            << QByteArray("normal") << QByteArray("* * * * * true") << true
            << QStringLiteral("* * * * * true") << 0;
        QTest::newRow("a byte order mark stays part of the text")
            << QByteArray("bom") << none << true << QStringLiteral("\uFEFF# x\n") << 0;
        QTest::newRow("a refused read carries the tool's status and trimmed message")
            << QByteArray("read-denied") << none << false
            << QStringLiteral("crontab: your UID isn't allowed to access crontabs") << 1;
        QTest::newRow("a silently failing read gets the generic sentence")
            << QByteArray("read-silent") << none << false
            << QStringLiteral("Der Systemdienst „crontab“ konnte die Änderung nicht ausführen.")
            << 2;
        QTest::newRow("output that is not UTF-8 cannot be read")
            << QByteArray("not-utf8") << none << false
            << QStringLiteral("Die Ausgabe von „crontab“ konnte nicht gelesen werden.") << 0;
    }

    void readCrontab()
    {
        QFETCH(QByteArray, mode);
        QFETCH(QByteArray, installed);
        QFETCH(bool, isSuccess);
        QFETCH(QString, textOrDescription);
        QFETCH(int, status);

        useMode(mode.constData());
        if (!installed.isNull())
            writeFile(statePath(), installed);
        CronSystemClient client(fakeTool);
        const auto result = QCoro::waitFor(client.readCrontab());

        QCOMPARE(fileContents(logPath()), QByteArray("-l\n"));
        QCOMPARE(result.has_value(), isSuccess);
        if (isSuccess) {
            QCOMPARE(*result, textOrDescription);
            return;
        }
        QCOMPARE(result.error().description(), textOrDescription);
        const CronSystemError* error = result.error().systemError();
        QVERIFY(error);
        if (error->kind() == CronSystemError::Kind::commandFailed)
            QCOMPARE(error->status(), status);
    }

    void writeCrontab_data()
    {
        QTest::addColumn<QByteArray>("mode");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("errorKind"); // -1: success
        QTest::addColumn<QString>("description");

        const QString longText = QStringLiteral("# first\n") + QString(2'000'000, u'#') + u'\n';
        constexpr int success = -1;
        constexpr int commandFailed = int(CronSystemError::Kind::commandFailed);
        constexpr int terminated = int(CronSystemError::Kind::terminated);
        constexpr int unconfirmed = int(CronSystemError::Kind::unconfirmedWrite);
        constexpr int pipeFailed = 100;
        // Whether the child is gone before the first byte reaches the pipe is a race.
        constexpr int pipeFailedOrUnconfirmed = 101;

        QTest::newRow("a text is installed as given, without a line feed added")
            << QByteArray("normal") << QStringLiteral("* * * * * true") << success << QString();
        QTest::newRow("the empty text installs an empty crontab")
            << QByteArray("normal") << QString() << success << QString();
        QTest::newRow("non-ASCII text arrives as UTF-8")
            << QByteArray("normal") << QStringLiteral("# Grüße ☕ 🕐\n0 * * * * true\n") << success
            << QString();
        QTest::newRow("a refused text carries the tool's own message")
            << QByteArray("refuse") << QStringLiteral("5/10 * * * * true\n") << commandFailed
            << QStringLiteral("\"-\":0: bad minute\nerrors in crontab file, can't install.");
        QTest::newRow("a silent refusal gets the generic sentence")
            << QByteArray("refuse-silent") << QStringLiteral("x\n") << commandFailed
            << QStringLiteral("Der Systemdienst „crontab“ konnte die Änderung nicht ausführen.");
        QTest::newRow("a tool killed by a signal is no success")
            << QByteArray("killed") << QStringLiteral("* * * * * true\n") << terminated
            << QString();
        QTest::newRow("a tool that keeps only the first line is no success")
            << QByteArray("first-line") << QStringLiteral("# first\n* * * * * true\n")
            << unconfirmed << QString();
        QTest::newRow("a tool that ignores its input is no success")
            << QByteArray("deaf") << QStringLiteral("* * * * * true\n") << pipeFailedOrUnconfirmed
            << QString();
        QTest::newRow("a tool that stops reading a long text is no success")
            << QByteArray("first-line") << longText << pipeFailed << QString();
    }

    void writeCrontab()
    {
        QFETCH(QByteArray, mode);
        QFETCH(QString, text);
        QFETCH(int, errorKind);
        QFETCH(QString, description);

        useMode(mode.constData());
        CronSystemClient client(fakeTool);
        const auto result = QCoro::waitFor(client.writeCrontab(text));

        QVERIFY(fileContents(logPath()).startsWith("-\n"));
        if (errorKind == -1) {
            if (!result)
                QFAIL(qPrintable(result.error().description()));
            QCOMPARE(fileContents(statePath()), text.toUtf8());
            QVERIFY(QFile::exists(statePath()));
            return;
        }
        QVERIFY(!result.has_value());
        QVERIFY(!result.error().description().isEmpty());
        if (!description.isEmpty())
            QCOMPARE(result.error().description(), description);
        if (errorKind == 101) {
            const bool isPipeError =
                result.error().processError() &&
                result.error().processError()->kind == CronProcessError::Kind::writeFailed;
            const bool isUnconfirmed =
                result.error().systemError() &&
                result.error().systemError()->kind() == CronSystemError::Kind::unconfirmedWrite;
            QVERIFY(isPipeError || isUnconfirmed);
            return;
        }
        if (errorKind == 100) {
            QVERIFY(result.error().processError());
            QCOMPARE(result.error().processError()->kind, CronProcessError::Kind::writeFailed);
            return;
        }
        QVERIFY(result.error().systemError());
        QCOMPARE(int(result.error().systemError()->kind()), errorKind);
    }

    void floodingToolDoesNotDeadlock_data()
    {
        QTest::addColumn<bool>("isWrite");
        QTest::newRow("reading while the tool fills both pipes") << false;
        QTest::newRow("writing to a tool that fills both pipes before reading") << true;
    }

    void floodingToolDoesNotDeadlock()
    {
        QFETCH(bool, isWrite);
        CronSystemClient client(fakeTool);
        if (!isWrite) {
            useMode("flood");
            const auto text = QCoro::waitFor(client.readCrontab());
            QVERIFY(text.has_value());
            QCOMPARE(text->size(), 11'000'000);
            QCOMPARE(text->count(u'o'), 11'000'000);
            return;
        }
        useMode("flood-then-read");
        const QString text = QString(3'000'000, u'#') + u'\n';
        const auto result = QCoro::waitFor(client.writeCrontab(text));
        QVERIFY(result.has_value());
        QCOMPARE(fileContents(statePath()), text.toUtf8());
    }

    void readingInheritsStandardInput()
    {
        useMode("stdin");
        CronSystemClient client(fakeTool);
        const auto text = QCoro::waitFor(client.readCrontab());
        QVERIFY(text.has_value());
        char target[256] = {};
        QVERIFY(::readlink("/proc/self/fd/0", target, sizeof target - 1) > 0);
        const QString ours = QFile::decodeName(target);
        QCOMPARE(*text, ours + u'\n');
    }

    void slowToolLeavesTheEventLoopRunning()
    {
        useMode("slow");
        writeFile(statePath(), "# slow\n");
        CronSystemClient client(fakeTool);
        int ticks = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
        timer.start(50);
        const auto text = QCoro::waitFor(client.readCrontab());
        QVERIFY(text.has_value());
        QCOMPARE(*text, QStringLiteral("# slow\n"));
        QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks)));
    }

    void launchFailurePassesTheSystemText_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::newRow("a tool that does not exist") << QStringLiteral("/nonexistent/crontab");
        QTest::newRow("a tool that is a directory") << QStringLiteral("/");
    }

    void launchFailurePassesTheSystemText()
    {
        QFETCH(QString, tool);
        CronSystemClient client(tool);
        const auto read = QCoro::waitFor(client.readCrontab());
        const auto write = QCoro::waitFor(client.writeCrontab(QStringLiteral("x\n")));
        for (const auto* error : {&read.error(), &write.error()}) {
            QVERIFY(error->processError());
            QCOMPARE(error->processError()->kind, CronProcessError::Kind::launchFailed);
            QVERIFY(!error->processError()->message.isEmpty());
            QVERIFY(error->description().endsWith(error->processError()->message));
        }
    }

    void demoClientStartsWithTheSampleAndKeepsWhatIsWritten()
    {
        DemoCronClient client;
        const auto first = QCoro::waitFor(client.readCrontab());
        QVERIFY(first.has_value());
        QCOMPARE(first->count(u'\n'), 7);
        QVERIFY(first->startsWith(QStringLiteral("# Bestehende Einträge und Umgebungsvariablen "
                                                 "bleiben erhalten\nSHELL=/bin/zsh\n\n*/5 ")));
        const CronDocument document = CronDocument::parse(*first);
        QCOMPARE(document.nodes.size(), 7);
        const auto jobs = document.jobs();
        QCOMPARE(jobs.size(), 4);
        QCOMPARE(std::count_if(jobs.begin(), jobs.end(),
                               [](const CronJob& job) { return !job.isEnabled; }),
                 1);

        QVERIFY(QCoro::waitFor(client.writeCrontab(QStringLiteral("# neu"))).has_value());
        QCOMPARE(QCoro::waitFor(client.readCrontab()).value(), QStringLiteral("# neu"));
    }
};

QTEST_GUILESS_MAIN(CronSystemClientTest)
#include "CronSystemClientTest.moc"
