#include "CanonicalUuid.h"
#include "CronDocument.h"
#include "MonitoringCommandLine.h"
#include "ShellQuoting.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Tempolane;

namespace {

const QString knownId = QStringLiteral("0f8fad5b-d9cb-469f-a165-70867728950e");
const QString runner =
    QStringLiteral("/home/ann/Application Support/Tempolane/Runner/tempolane-runner");
const QString quotedRunner = quotedPath(runner);

// One line per node: "P:text" or "J:name|schedule|command|on/off|monitored/plain|policy".
QStringList summary(const CronDocument& document)
{
    QStringList lines;
    for (const auto& node : document.nodes) {
        if (const CronJob* job = node.job()) {
            lines.append(QStringLiteral("J:%1|%2|%3|%4|%5|%6")
                             .arg(job->name, job->scheduleExpression, job->command,
                                  job->isEnabled ? QStringLiteral("on") : QStringLiteral("off"),
                                  job->isMonitoringEnabled ? QStringLiteral("monitored")
                                                           : QStringLiteral("plain"),
                                  rawValue(job->logPolicy)));
        } else {
            lines.append(QStringLiteral("P:") + *node.passthroughText());
        }
    }
    return lines;
}

CronJob onlyJob(const QString& text)
{
    const auto jobs = CronDocument::parse(text, runner).jobs();
    if (jobs.size() != 1)
        qFatal("expected exactly one job");
    return jobs.front();
}

// Lines as the crontab format sees them: each ends at a line feed.
QStringList formatLines(const QString& text)
{
    return text.isEmpty() ? QStringList() : text.split(u'\n');
}

QString serializedWith(const QString& text, const std::function<void(CronJob&)>& edit)
{
    const CronDocument document = CronDocument::parse(text, runner);
    CronJob job = document.jobs().front();
    edit(job);
    return document.replacingJob(job).serializedText(runner);
}

// Lines of realistic and hostile kinds for generated crontabs.
class CrontabGenerator
{
public:
    explicit CrontabGenerator(quint32 seed) : m_random(seed) {}

    QString text()
    {
        QStringList lines;
        const int count = int(m_random.bounded(40));
        for (int i = 0; i < count; ++i)
            lines.append(line());
        QString text = lines.join(u'\n');
        if (!lines.isEmpty() && m_random.bounded(3) != 0)
            text.append(u'\n');
        return text;
    }

private:
    QString pick(const QStringList& choices)
    {
        return choices[qsizetype(m_random.bounded(quint32(choices.size())))];
    }

    QString id() { return m_random.bounded(4) == 0 ? knownId.toUpper() : knownId; }

    QString arbitraryText()
    {
        static const QList<char32_t> pool{
            U'a',      U' ',      U'\t',     U'#', U'*',      U'@',      U'\r',
            U'=',      U'%',      U'\'',     U'"', U'ä',      U'\u00a0', U'\u0085',
            U'\u2028', U'\u3000', U'\u0301', U'🌍', U'\ufeff', U'5',      U'/'};
        QString text;
        const int length = int(m_random.bounded(30));
        for (int i = 0; i < length; ++i) {
            const char32_t c = pool[qsizetype(m_random.bounded(quint32(pool.size())))];
            text += QString::fromUcs4(&c, 1);
        }
        return text;
    }

    QString line()
    {
        const QString wrapped = MonitoringCommandLine::wrappedCommand(
            QUuid::fromString(knownId), ExecutionLogPolicy::errorsOnly, QStringLiteral("echo hi"),
            quotedRunner);
        switch (m_random.bounded(16)) {
        case 0:
            return pick({QStringLiteral("*/5 * * * * /usr/bin/php artisan schedule:run"),
                         QStringLiteral("30 8 * * 1-5 /home/ann/report.sh >/dev/null 2>&1"),
                         QStringLiteral("@daily /usr/local/bin/backup --all"),
                         QStringLiteral("0\t2\t*\t*\tSUN\t  \"/opt/my scripts/run.sh\"  \t")});
        case 1:
            return QStringLiteral("# Tempolane disabled: 0 2 * * 0 /srv/archive.sh");
        case 2:
            return QStringLiteral("# Tempolane name: ") +
                   pick({QStringLiteral("Backup"), QString(), QStringLiteral("  \tNächtlich 🌙 "),
                         arbitraryText()});
        case 3:
            return QStringLiteral("# Tempolane id: ") +
                   pick({id(), QStringLiteral("not-a-uuid"), u'{' + knownId + u'}'});
        case 4:
            return QStringLiteral("# Tempolane monitoring: ") +
                   pick({QStringLiteral("all"), QStringLiteral("errors"), QStringLiteral("ERRORS"),
                         QStringLiteral(" none ")});
        case 5:
            return QStringLiteral("0 * * * * ") + wrapped;
        case 6:
            return pick({QString(), QStringLiteral("   "), QStringLiteral("\u3000\u00a0")});
        case 7:
            return pick({QStringLiteral("SHELL=/bin/zsh"), QStringLiteral("MAILTO = \"\""),
                         QStringLiteral("# Tempolane disabled: PATH=/usr/bin"),
                         QStringLiteral("# m h dom mon dow command")});
        case 8:
            return QStringLiteral("*/15 * * * * echo ") + arbitraryText();
        case 9:
            return QStringLiteral("* * * * * echo crlf\r");
        case 10:
            return QStringLiteral("5 4 * * * ") + QString(int(m_random.bounded(20000)) + 1, u'x');
        case 11:
            return pick({QStringLiteral("* * * *"), QStringLiteral("* * * * *   "),
                         QStringLiteral("@reboot"), QStringLiteral("61 * * * * nope"),
                         QStringLiteral("0 9 * * mon-fri listed"), QStringLiteral("@every 5m x")});
        case 12:
            return QStringLiteral("# Tempolane id: ") + knownId;
        case 13:
            return QStringLiteral("# Tempolane monitoring: errors");
        case 14:
            return QStringLiteral("# Tempolane disabled: 0 * * * * ") + wrapped;
        default:
            return arbitraryText();
        }
    }

    QRandomGenerator m_random;
};

} // namespace

class CronDocumentTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_readsLinesAsTheFormatSays_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("nodes");
        QTest::addColumn<bool>("hasTrailingNewline");

        const QString wrapped = MonitoringCommandLine::wrappedCommand(
            QUuid::fromString(knownId), ExecutionLogPolicy::none, QStringLiteral("echo hi"),
            quotedRunner);

        QTest::newRow("empty text") << "" << QStringList{} << false;
        QTest::newRow("single line feed") << "\n" << QStringList{"P:"} << true;
        QTest::newRow("line followed by two line feeds") << "# a\n\n"
                                                         << QStringList{"P:# a", "P:"} << true;
        QTest::newRow("no final line feed") << "# a\n# b" << QStringList{"P:# a", "P:# b"} << false;
        // cron splits at line feeds alone and hands a carriage return to the shell with the
        // command.
        QTest::newRow("CR LF endings give one job per line, the carriage return in the command")
            << "0 9 * * * /x/a.sh\r\n@daily '/x/archive.sh'\r\nA=1\r\n"
            << QStringList{"J:a.sh|0 9 * * *|/x/a.sh\r|on|plain|all",
                           "J:archive.sh|@daily|'/x/archive.sh'\r|on|plain|all", "P:A=1\r"}
            << true;
        QTest::newRow("a carriage return at the very end is no line feed")
            << "# a\r" << QStringList{"P:# a\r"} << false;
        QTest::newRow("spacing inside a job line")
            << "0   9\t* * *   /bin/run.sh --x  \n"
            << QStringList{"J:run.sh|0 9 * * *|/bin/run.sh --x  |on|plain|all"} << true;
        QTest::newRow("assignments and comments stay")
            << "SHELL=/bin/zsh\n  PATH = /bin\n# 0 * * * * x\n# Tempolane disabled: A=1\n"
               "# Tempolane disabled: # c\n"
            << QStringList{"P:SHELL=/bin/zsh", "P:  PATH = /bin", "P:# 0 * * * * x",
                           "P:# Tempolane disabled: A=1", "P:# Tempolane disabled: # c"}
            << true;
        QTest::newRow("lines that are no job")
            << "* * * * cmd\n0 0 * * *\n0 0 * * *   \n@daily\n@daily   \n60 * * * * x\n"
            << QStringList{"P:* * * * cmd", "P:0 0 * * *", "P:0 0 * * *   ",
                           "P:@daily",      "P:@daily   ", "P:60 * * * * x"}
            << true;
        QTest::newRow("switched-off job without markers")
            << "# Tempolane disabled: 0 2 * * 0 /home/demo/Scripts/archive.sh"
            << QStringList{"J:archive.sh|0 2 * * 0|/home/demo/Scripts/archive.sh|off|plain|all"}
            << false;
        QTest::newRow("blank line detaches the markers")
            << "# Tempolane name: Sicherung\n\n@hourly /bin/b\n"
            << QStringList{"P:# Tempolane name: Sicherung", "P:", "J:b|@hourly|/bin/b|on|plain|all"}
            << true;
        QTest::newRow("markers at the very end")
            << "# Tempolane name: A\n# Tempolane id: " + knownId
            << QStringList{"P:# Tempolane name: A", "P:# Tempolane id: " + knownId} << false;
        QTest::newRow("markers in any order, the last name wins, an empty one is ignored")
            << "# Tempolane id: " + knownId +
                   "\n# Tempolane name: Erst\n# Tempolane name: Zweit \t\n"
                   "# Tempolane name:  \n* * * * * x\n"
            << QStringList{"J:Zweit|* * * * *|x|on|plain|all"} << true;
        QTest::newRow("monitoring marker above a plain command")
            << "# Tempolane monitoring: all\n* * * * * echo\n"
            << QStringList{"J:echo|* * * * *|echo|on|plain|all"} << true;
        QTest::newRow("wrapper with matching markers")
            << "# Tempolane id: " + knownId + "\n# Tempolane monitoring: none\n* * * * * " + wrapped
            << QStringList{"J:echo|* * * * *|echo hi|on|monitored|none"} << false;
        QTest::newRow("wrapper whose policy marker does not match stays visible")
            << "# Tempolane id: " + knownId + "\n# Tempolane monitoring: all\n* * * * * " + wrapped
            << QStringList{"J:Application|* * * * *|" + wrapped + "|on|plain|all"} << false;
        QTest::newRow("five fields and blanks only") << "* * * * * \t \n"
                                                     << QStringList{"P:* * * * * \t "} << true;
        // cron separates fields by spaces and tabs only; the crontab tool refuses anything else.
        QTest::newRow("other white space does not separate fields")
            << "0\u00a09 * * * x\n0\u30009 * * * * run\n0 9 * * *\u00a0run\n@DAILY run\n"
            << QStringList{"P:0\u00a09 * * * x", "P:0\u30009 * * * * run", "P:0 9 * * *\u00a0run",
                           "P:@DAILY run"}
            << true;
    }

    void parse_readsLinesAsTheFormatSays()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, nodes);
        QFETCH(bool, hasTrailingNewline);

        const CronDocument document = CronDocument::parse(text, runner);
        QCOMPARE(summary(document), nodes);
        QCOMPARE(document.hasTrailingNewline, hasTrailingNewline);
        QCOMPARE(document.serializedText(runner), text);
    }

    void parse_idComesFromMarkerThenWrapperThenLine()
    {
        const QString other = QStringLiteral("11111111-2222-4333-8444-555555555555");
        QCOMPARE(canonicalText(onlyJob(QStringLiteral("# Tempolane id: ") + knownId +
                                       QStringLiteral("\n# Tempolane id: ") + other +
                                       QStringLiteral("\n* * * * * x\n"))
                                   .id),
                 other);

        const CronJob invalidAfterValid =
            onlyJob(QStringLiteral("# Tempolane id: ") + knownId +
                    QStringLiteral("\n# Tempolane id: nope\n* * * * * x\n"));
        QVERIFY(!invalidAfterValid.id.isNull());
        QVERIFY(canonicalText(invalidAfterValid.id) != knownId);

        const QString wrapped = MonitoringCommandLine::wrappedCommand(
            QUuid::fromString(other), ExecutionLogPolicy::none, QStringLiteral("echo"),
            quotedRunner);
        const CronJob fromWrapper = onlyJob(QStringLiteral("* * * * * ") + wrapped);
        QCOMPARE(canonicalText(fromWrapper.id), other);
        QVERIFY(!fromWrapper.isMonitoringEnabled);
    }

    void parse_unmarkedJobKeepsItsIdWhileItsLineStays_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("job"); // which job of `after` is compared with the first of `before`
        QTest::addColumn<bool>("isSameId");

        const QString php = QStringLiteral("*/5 * * * * php /srv/a/cron.php\n");
        const QString otherPhp = QStringLiteral("*/5 * * * * php /srv/b/cron.php\n");
        QTest::newRow("read again") << php << php << 0 << true;
        QTest::newRow("lines added above and below")
            << php << QStringLiteral("# neu\nMAILTO=ann\n") + php + otherPhp << 0 << true;
        QTest::newRow("a job that starts alike") << php << otherPhp << 0 << false;
        QTest::newRow("the line changed by a blank")
            << php << QStringLiteral(" ") + php << 0 << false;
        QTest::newRow("paused by hand")
            << php << QStringLiteral("# Tempolane disabled: ") + php << 0 << false;
        QTest::newRow("a copy of the line") << php << php + php << 1 << false;
        QTest::newRow("a name marker, no id marker")
            << php << QStringLiteral("# Tempolane name: A\n") + php << 0 << true;
    }

    void parse_unmarkedJobKeepsItsIdWhileItsLineStays()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(int, job);
        QFETCH(bool, isSameId);

        const QUuid id = CronDocument::parse(before, runner).jobs().front().id;
        const auto jobs = CronDocument::parse(after, runner).jobs();
        QCOMPARE(jobs.at(job).id == id, isSameId);
        QSet<QUuid> ids;
        for (const CronJob& each : jobs)
            ids.insert(each.id);
        QCOMPARE(ids.size(), jobs.size());
    }

    void parse_unmarkedJobKeepsItsIdOnceItsMarkerIsWritten_data()
    {
        QTest::addColumn<bool>("isEnabled");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("isMonitored");
        QTest::newRow("paused") << false << "cron.php" << false;
        QTest::newRow("renamed") << true << "Rechnungen" << false;
        QTest::newRow("monitored") << true << "cron.php" << true;
    }

    void parse_unmarkedJobKeepsItsIdOnceItsMarkerIsWritten()
    {
        QFETCH(bool, isEnabled);
        QFETCH(QString, name);
        QFETCH(bool, isMonitored);
        const QString text = QStringLiteral("# gleich\n*/5 * * * * php /srv/a/cron.php\n");
        const QUuid id = onlyJob(text).id;
        const QString written = serializedWith(text, [&](CronJob& job) {
            job.isEnabled = isEnabled;
            job.name = name;
            job.isMonitoringEnabled = isMonitored;
        });
        QVERIFY(written.contains(QStringLiteral("# Tempolane id: ") + canonicalText(id)));
        QCOMPARE(onlyJob(written).id, id);
    }

    void serializedText_writesChangedJobsWithFreshMarkers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("written");

        const QString idLine = QStringLiteral("# Tempolane id: ") + knownId;
        const QString withId = idLine + QStringLiteral("\n");
        QTest::newRow("unmarked job, schedule changed: no name line")
            << withId + "0   9 * * *  /bin/run.sh  "
            << "schedule" << QStringList{idLine, "5 4 * * * /bin/run.sh  "};
        QTest::newRow("unmarked job, name changed: name line")
            << withId + "0 9 * * * /bin/run.sh"
            << "name" << QStringList{"# Tempolane name: Neu", idLine, "0 9 * * * /bin/run.sh"};
        QTest::newRow("name marker is kept once there was one")
            << "# Tempolane name: Alt\n" + withId + "0 9 * * * /bin/run.sh"
            << "schedule" << QStringList{"# Tempolane name: Alt", idLine, "5 4 * * * /bin/run.sh"};
        QTest::newRow("switched off")
            << withId + "0 9 * * * /bin/run.sh"
            << "disable" << QStringList{idLine, "# Tempolane disabled: 0 9 * * * /bin/run.sh"};
        QTest::newRow("name of blanks gets no name line")
            << withId + "0 9 * * * /bin/run.sh"
            << "blank name" << QStringList{idLine, "0 9 * * * /bin/run.sh"};
        QTest::newRow("unchanged job is written as read, markers and spacing included")
            << "# Tempolane monitoring: bogus\n# Tempolane name:  Alt \n" + withId + "0  9 * * * x "
            << "nothing"
            << QStringList{"# Tempolane monitoring: bogus", "# Tempolane name:  Alt ", idLine,
                           "0  9 * * * x "};
    }

    void serializedText_writesChangedJobsWithFreshMarkers()
    {
        QFETCH(QString, text);
        QFETCH(QString, change);
        QFETCH(QStringList, written);

        const QString result = serializedWith(text, [&](CronJob& job) {
            if (change == u"schedule")
                job.scheduleExpression = QStringLiteral("5 4 * * *");
            else if (change == u"name")
                job.name = QStringLiteral(" Neu\t");
            else if (change == u"disable")
                job.isEnabled = false;
            else if (change == u"blank name")
                job.name = QStringLiteral(" \u2028 ");
        });
        QCOMPARE(result.split(u'\n'), written);
    }

    void serializedText_ofMonitoredJobReadsBackMonitored()
    {
        const QString text = serializedWith(
            QStringLiteral("0 9 * * * @AppleNotOnBattery /bin/sync"), [](CronJob& job) {
                job.isMonitoringEnabled = true;
                job.logPolicy = ExecutionLogPolicy::errorsOnly;
            });
        const CronJob job = onlyJob(text);
        QVERIFY(job.isMonitoringEnabled);
        QCOMPARE(job.logPolicy, ExecutionLogPolicy::errorsOnly);
        QCOMPARE(job.command, QStringLiteral("@AppleNotOnBattery /bin/sync"));
        QCOMPARE(job.name, QStringLiteral("@AppleNotOnBattery"));
        QVERIFY(text.contains(QStringLiteral("# Tempolane name: @AppleNotOnBattery\n")));

        // Without monitoring the policy has nowhere to live and reads back as the default.
        const CronJob unmonitored = onlyJob(
            serializedWith(text, [](CronJob& changed) { changed.isMonitoringEnabled = false; }));
        QCOMPARE(unmonitored.logPolicy, ExecutionLogPolicy::messagesAndErrors);
        QCOMPARE(unmonitored.command, QStringLiteral("@AppleNotOnBattery /bin/sync"));
    }

    // What an edit changes of a known job is checked on generated texts below.
    void replacingJob_ofAnUnknownIdChangesNothing()
    {
        const CronDocument document =
            CronDocument::parse(QStringLiteral("# keep\n* * * * * a\n@daily b\n"), runner);
        CronJob stranger = document.jobs()[1];
        stranger.id = QUuid::createUuid();
        stranger.command = QStringLiteral("c");
        QCOMPARE(document.replacingJob(stranger), document);
    }

    void generatedTexts_roundTripAndEditsStayLocal()
    {
        QRandomGenerator choice(7);
        int edits = 0;
        for (quint32 seed = 1; seed <= 1500; ++seed) {
            const QString text = CrontabGenerator(seed).text();
            const CronDocument document = CronDocument::parse(text, runner);
            QVERIFY2(document.serializedText(runner) == text,
                     qPrintable(QStringLiteral("seed %1").arg(seed)));

            // Every node stands for a known run of the original lines; edit one job and the
            // lines of every other node must stay exactly where and what they were.
            const QStringList originalLines = formatLines(text);
            qsizetype line = 0;
            for (const auto& node : document.nodes) {
                const CronJob* job = node.job();
                const qsizetype length = job ? job->original->rawMetadataLines.size() + 1 : 1;
                if (job && choice.bounded(3) == 0) {
                    ++edits;
                    CronJob edited = *job;
                    edited.scheduleExpression = edited.scheduleExpression == u"1 2 3 4 5"
                                                    ? QStringLiteral("2 3 4 5 6")
                                                    : QStringLiteral("1 2 3 4 5");
                    const QStringList editedLines = formatLines(
                        CronDocument{{CronDocument::Node::job(edited)}, false}.serializedText(
                            runner));
                    const QStringList expected =
                        originalLines.mid(0, line) + editedLines + originalLines.mid(line + length);
                    QCOMPARE(formatLines(document.replacingJob(edited).serializedText(runner)),
                             expected);
                    QCOMPARE(CronDocument::parse(
                                 document.replacingJob(edited).serializedText(runner), runner)
                                 .jobs()
                                 .size(),
                             document.jobs().size());
                    break;
                }
                line += length;
            }
        }
        QVERIFY(edits > 500);
    }

    void parse_givesCopiedJobsTheirOwnIdentity()
    {
        const QString job =
            QStringLiteral("# Tempolane id: ") + knownId + QStringLiteral("\n0 1 * * * /bin/");
        const QString text = job + QStringLiteral("first\n") + job + QStringLiteral("second\n");
        const CronDocument document = CronDocument::parse(text, runner);
        QCOMPARE(document.serializedText(runner), text);

        CronJob second = document.jobs()[1];
        QVERIFY(second.id != document.jobs()[0].id);
        QCOMPARE(CronDocument::parse(text, runner).jobs()[1].id, second.id);
        second.scheduleExpression = QStringLiteral("@daily");
        const CronDocument edited =
            CronDocument::parse(document.replacingJob(second).serializedText(runner), runner);
        QCOMPARE(edited.jobs()[0].command, QStringLiteral("/bin/first"));
        QCOMPARE(edited.jobs()[0].scheduleExpression, QStringLiteral("0 1 * * *"));
        QCOMPARE(edited.jobs()[1].command, QStringLiteral("/bin/second"));
        QCOMPARE(edited.jobs()[1].scheduleExpression, QStringLiteral("@daily"));

        // A job may already hold the id a copy would be given in its place (node 2 here).
        const QString taken =
            QStringLiteral("# Tempolane id: ") +
            canonicalText(QUuid::createUuidV5(QUuid::fromString(knownId), QStringLiteral("2"))) +
            QStringLiteral("\n0 1 * * * /bin/taken\n");
        const auto jobs =
            CronDocument::parse(
                job + QStringLiteral("first\n") + taken + job + QStringLiteral("copy\n"), runner)
                .jobs();
        QCOMPARE(QSet<QUuid>({jobs[0].id, jobs[1].id, jobs[2].id}).size(), 3);

        const QString nil = QStringLiteral("# Tempolane id: 00000000-0000-0000-0000-000000000000\n"
                                           "0 1 * * * /bin/nil\n");
        const QUuid nilsId = CronDocument::parse(nil, runner).jobs()[0].id;
        QVERIFY(!nilsId.isNull());
        QCOMPARE(CronDocument::parse(nil, runner).jobs()[0].id, nilsId);
        QCOMPARE(CronDocument::parse(nil, runner).serializedText(runner), nil);
    }

    void fallbackName_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("name");
        const auto row = [](const char* what, const char* command, const char* name) {
            QTest::newRow(what) << QString::fromUtf8(command) << QString::fromUtf8(name);
        };
        row("blanks only", " \t ", "Unbenannter Job");
        row("quotes only", "'\"' run", "Unbenannter Job");
        row("absolute script path", "/usr/local/bin/backup.sh --now", "backup.sh");
        row("quoted script path with a blank", "\"/Users/ann/My Scripts/clean.sh\" -v", "My");
        row("directory with trailing slash", "/opt/tools/ -v", "tools");
        row("quoted script path", "\"/srv/nightly.py\" x", "nightly.py");
        row("root directory", "/ x", "/");
        row("plain word", "  echo hi", "echo");
        row("quoted script path before a carriage return", "'/x/archive.sh'\r", "archive.sh");
    }

    void fallbackName()
    {
        QFETCH(QString, command);
        QFETCH(QString, name);
        QCOMPARE(CronJob::fallbackName(command), name);
    }
};

QTEST_GUILESS_MAIN(CronDocumentTest)
#include "tst_CronDocument.moc"
