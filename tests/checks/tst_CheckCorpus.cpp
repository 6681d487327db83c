// Crontabs people keep, checked on a machine where every program and script they name is
// there: what is left says something of the text itself, and each of it was judged by hand.
#include "CrontabChecker.h"
#include "FakeMachine.h"
#include "Utf8.h"

#include <QDir>
#include <QTest>

using namespace Tempolane;

namespace {

const QString ourCorpus = QStringLiteral(TEMPOLANE_SOURCE_DIR "/tests/data/crontabs");
const QString publishedCorpus = QStringLiteral(TEMPOLANE_CORPUS_DIR);

class EverythingThere final : public FileView
{
public:
    FileStatus status(const QString& path) const override
    {
        if (path.startsWith(u"/etc/cron."))
            return {};
        return {FileStatus::Kind::regular, true, true};
    }
    std::optional<QByteArray> head(const QString& path, qsizetype) const override
    {
        if (path.startsWith(u"/etc/cron."))
            return std::nullopt;
        return QByteArray("#!/bin/sh\n");
    }
};

// The errors and warnings each file is expected to give, "line:id"; a file not named gives
// none. Every one was looked at and found right.
const QMap<QString, QStringList>& verdicts()
{
    static const QMap<QString, QStringList> table{
        {"long-lines.crontab", {"3:assignment"}},
        {"shortcuts.crontab", {"9:percent"}},
        {"weekday-names.crontab", {"3:desktop-session"}},
        {"windows-line-ends.crontab", {"3:line-ending", "4:line-ending", "5:line-ending"}},
        {"3265__dotfiles__crontab.txt.txt", {"2:assignment"}},
        {"AbrahamWong__SoalShift_Modul1_B05__crontab.txt", {"28:every-minute"}},
        {"Adobe-Android__weather-log__crontab.txt.txt", {"1:final-newline"}},
        {"Agencia-Aduanal-Loginco__ChecadorLogincoV2__crontab.txt.txt",
         {"19:assignment", "20:assignment", "21:assignment"}},
        {"Alessandrolira__rotinas-busca-pre-os__crontab.txt.txt", {"4:final-newline"}},
        {"Bekt__dotfiles__crontab.txt.txt", {"4:every-minute"}},
        {"JakeIwen__scripts__pi-crontab.txt", {"18:final-newline"}},
        {"Rob-Johnson__dotfiles__.crontab.txt", {"5:shell-syntax"}},
        {"Steellow__dotfiles__.crontab.txt", {"5:final-newline"}},
        {"alief3718__homescripts__crontab-crontab.txt", {"5:crontab-refuses"}},
        {"bradymholt__dotfiles__.crontab.txt", {"13:final-newline"}},
        {"frankfutlg__dotfiles__.config-crontab.txt", {"3:desktop-session"}},
        {"jack139__multinfer__shell-crontab.txt.txt", {"1:assignment"}},
        {"jacobkoziej__dotfiles__.config-crontab.txt", {"1:shell-syntax"}},
        {"jjjules__archrice__dotfiles-crontab.txt",
         {"1:shell-syntax", "2:shell-syntax", "3:shell-syntax"}},
        {"narthur__dotfiles__.config-crontab.txt", {"4:assignment"}},
        {"tranducquy__investment-director__crontab-crontab.txt",
         {"24:percent", "25:percent", "26:percent"}},
        {"vermer__RASPBERRY-PI-scripts__crontab.bak.txt", {"30:crontab-refuses"}},
    };
    return table;
}

void addRows(const QString& folder, const char* name)
{
    const QStringList files = QDir(folder).entryList(
        {QStringLiteral("*.crontab"), QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    for (const QString& file : files)
        QTest::addRow("%s/%s", name, qPrintable(file)) << folder + u'/' + file;
}

} // namespace

class CheckCorpusTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void crontabGivesTheJudgedFindings_data();
    void crontabGivesTheJudgedFindings();
};

void CheckCorpusTest::crontabGivesTheJudgedFindings_data()
{
    QTest::addColumn<QString>("path");
    addRows(ourCorpus, "ours");
    if (QDir(publishedCorpus).exists())
        addRows(publishedCorpus, "published");
    else
        qInfo("No published corpus at %s: checking only the crontabs in tests/data.",
              qPrintable(publishedCorpus));
}

void CheckCorpusTest::crontabGivesTheJudgedFindings()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const auto text = Utf8::decode(file.readAll());
    QVERIFY(text);

    CheckMachine machine = Testing::fakeMachine();
    machine.files = std::make_shared<EverythingThere>();
    machine.isAccount = [](const QString& name) { return name == u"root" || name == u"www-data"; };
    QStringList found;
    for (const Finding& finding :
         CrontabChecker(machine).check(*text, CrontabSource::file, QStringLiteral("/x/runner"))) {
        if (finding.severity != Severity::hint)
            found.append(QStringLiteral("%1:%2").arg(finding.line).arg(finding.id));
    }
    const QString name = QFileInfo(path).fileName();
    QVERIFY2(found == verdicts().value(name),
             qPrintable(QStringLiteral("{\"%1\", {\"%2\"}},").arg(name, found.join(u"\", \""))));
}

QTEST_GUILESS_MAIN(CheckCorpusTest)
#include "tst_CheckCorpus.moc"
