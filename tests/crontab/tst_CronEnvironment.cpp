#include "CronEnvironment.h"

#include <QBuffer>
#include <QTest>

using namespace Tempolane;

namespace {

using Variables = QMap<QString, QString>;

const CronEnvironment::Account account{QStringLiteral("anna"), QStringLiteral("/home/anna"),
                                       QStringLiteral("/bin/bash")};

Variables variablesOf(const QProcessEnvironment& environment)
{
    Variables variables;
    for (const QString& name : environment.keys())
        variables.insert(name, environment.value(name));
    return variables;
}

// Debian's PAM configuration for cron, with the two pam_env entries it really has.
const QByteArray debianPamConfiguration = "# The PAM configuration file for the cron daemon\n"
                                          "@include common-auth\n"
                                          "session    required     pam_loginuid.so\n"
                                          "session       required   pam_env.so\n"
                                          "session       required   pam_env.so "
                                          "envfile=/etc/default/locale\n"
                                          "@include common-session-noninteractive \n"
                                          "session    required   pam_limits.so\n";

CronEnvironment::FileOpener filesOf(QMap<QString, QByteArray> files)
{
    return [files](const QString& path) -> std::unique_ptr<QIODevice> {
        if (!files.contains(path))
            return nullptr;
        auto buffer = std::make_unique<QBuffer>();
        buffer->setData(files.value(path));
        buffer->open(QIODevice::ReadOnly);
        return buffer;
    };
}

} // namespace

class CronEnvironmentTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void assignment_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("isAssignment");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        const auto reads = [](const char* what, const QString& line, const QString& name,
                              const QString& value) {
            QTest::newRow(what) << line << true << name << value;
        };
        const auto refuses = [](const char* what, const QString& line) {
            QTest::newRow(what) << line << false << QString() << QString();
        };
        // What the daemon gave a job for each line, or what the crontab tool refused.
        reads("plain", "A1=plain", "A1", "plain");
        reads("blanks around the sign, trailing blanks", "A2 = spaced  ", "A2", "spaced");
        reads("double quotes, blanks after", "A3=\"double quoted\"  ", "A3", "double quoted");
        reads("single quotes", "A4='single quoted'", "A4", "single quoted");
        reads("hash is part of the value", "A6=value # not a comment?", "A6",
              "value # not a comment?");
        reads("leading blank", " A7=leading", "A7", "leading");
        reads("quoted name", "\"A9\"=quotedname", "A9", "quotedname");
        reads("equals sign in the value", "A10=x=y", "A10", "x=y");
        reads("quote inside an unquoted value", "A13=a\"b", "A13", "a\"b");
        reads("tabs around the sign", "A16\t=\ttab", "A16", "tab");
        reads("name no shell accepts", "A-17=dash", "A-17", "dash");
        reads("empty quoted value", "B1=\"\"", "B1", "");
        reads("blanks inside", "A21=x y z", "A21", "x y z");
        // cron reads 998 bytes of the line after its leading blanks and drops the rest.
        reads("long value cut to 998 bytes of the line", "   LONG = " + QString(2000, u'a'), "LONG",
              QString(991, u'a'));
        reads("a line of 998 bytes is whole", "N998=" + QString(993, u'n'), "N998",
              QString(993, u'n'));
        reads("a character the cut would split is left out", "MULTI=" + QString(600, u'é'), "MULTI",
              QString(496, u'é'));
        refuses("a closing quote beyond the cut makes no assignment",
                "QUOTED=\"" + QString(2000, u'q') + u'"');
        refuses("empty value refused", "A8=");
        refuses("blank value refused", "A8= ");
        refuses("unterminated quote refused", "A12=\"open");
        refuses("text after the closing quote refused", "A18=\"q\" trailing");
        refuses("no equals sign", "A20");
        refuses("job line", "0 9 * * * FOO=bar run");
        refuses("shortcut job line", "@daily X=1");
        refuses("comment", "# A=1");
        refuses("disabled job", "# Tempolane disabled: A=1");
    }

    void assignment()
    {
        QFETCH(QString, line);
        QFETCH(bool, isAssignment);
        QFETCH(QString, name);
        QFETCH(QString, value);
        const auto found = CronEnvironment::assignment(line);
        QCOMPARE(found.has_value(), isAssignment);
        if (found)
            QCOMPARE(*found, (EnvironmentAssignment{name, value}));
    }

    void assignmentsAbove_stopAtTheJob()
    {
        const CronDocument document = CronDocument::parse(
            QStringLiteral("MYVAR=one\n# MYVAR=commented\n0 1 * * * first\nMYVAR=two\n"
                           "# Tempolane id: 3f1c2b0e-7a55-4d1e-9f0a-2b6c1d9e8a71\n"
                           "0 2 * * * second\nBELOW=three\n"),
            QStringLiteral("/runner"));
        const QList<CronJob> jobs = document.jobs();
        QCOMPARE(jobs.size(), 2);
        const EnvironmentAssignment one{QStringLiteral("MYVAR"), QStringLiteral("one")};
        const EnvironmentAssignment two{QStringLiteral("MYVAR"), QStringLiteral("two")};
        const EnvironmentAssignment below{QStringLiteral("BELOW"), QStringLiteral("three")};
        QCOMPARE(CronEnvironment::assignmentsAbove(document, jobs[0].id), QList{one});
        QCOMPARE(CronEnvironment::assignmentsAbove(document, jobs[1].id), (QList{one, two}));
        QCOMPARE(CronEnvironment::assignmentsAbove(document, QUuid::createUuid()),
                 (QList{one, two, below}));
    }

    void pamVariables_data()
    {
        QTest::addColumn<QByteArray>("configuration");
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QByteArray>("environment");
        QTest::addColumn<QByteArray>("locale");
        QTest::addColumn<Variables>("expected");
        // Where PAM aborts cron's session instead: the failure's line and what it names.
        QTest::addColumn<QString>("failure");

        QTest::newRow("nothing configured")
            << debianPamConfiguration << QByteArray() << QByteArray() << QByteArray() << Variables{}
            << QString();
        QTest::newRow("forms seen in the environment file, as the daemon gave them")
            << debianPamConfiguration << QByteArray()
            << QByteArray("E1=plain\nexport E2=exported\nE3=\"quoted\"\nE4='single'\n"
                          "E5=with # comment\n  E6=leading\nE7=trailing   \nE8=\"inner\"quote\"\n"
                          "E9=cont\\\ninued\nbad-key=x\nE10\nE11=tab\tinside\n# E12=comment\n")
            << QByteArray("LC_TIME=\"en_GB.UTF-8\"\nE1=fromlocale\n")
            << Variables{{"E1", "fromlocale"},   {"E2", "exported"},        {"E3", "quoted"},
                         {"E4", "single"},       {"E5", "with "},           {"E6", "leading"},
                         {"E7", "trailing   "},  {"E8", "inner\"quote"},    {"E9", "continued"},
                         {"E11", "tab\tinside"}, {"LC_TIME", "en_GB.UTF-8"}}
            << QString();
        // Each entry reads the settings before its own file, so the second entry's pass sees E1
        // from the environment file, not yet the locale's.
        QTest::newRow("settings file, read again by the second entry")
            << debianPamConfiguration
            << QByteArray(
                   "P1 DEFAULT=pdefault\nP2 DEFAULT=x OVERRIDE=poverride\n"
                   "P3 DEFAULT=@{HOME}/sub\nP4 DEFAULT=${E1}-ext\nP5 DEFAULT=\"quoted val\"\n"
                   "Q1 DEFAULT=d OVERRIDE=\nQ3\nQ4 DEFAULT=${NOPE}z\nQ5 DEFAULT=\\${E1}\n")
            << QByteArray("E1=plain\nQ1=x\nQ3=set\n") << QByteArray("E1=fromlocale\n")
            << Variables{{"E1", "fromlocale"}, {"P1", "pdefault"},
                         {"P2", "poverride"},  {"P3", "/home/anna/sub"},
                         {"P4", "plain-ext"},  {"P5", "quoted val"},
                         {"Q1", "d"},          {"Q4", "z"},
                         {"Q5", "${E1}"}}
            << QString();
        // Each line as the daemon was seen to treat it.
        QTest::newRow("settings lines pam_env ignores")
            << debianPamConfiguration
            << QByteArray("T1 DEFAULT=trailing \n  T2 DEFAULT=leading\nT3 DEFAULT=value # comment\n"
                          "T4 DEFAULT=\"quoted\"after\nT15 DEFAULT=\"a\"\t\nT21 default=lower\n"
                          "T23 DEFAULT=\"unterminated\nT24 DEFAULT=\nP5 DEFAULT=a\\ b\n"
                          "P16 DEFAULT=#x\n  X DEFAULT=${OPEN\nY DEFAULT=${OPEN # comment}\n")
            << QByteArray() << QByteArray() << Variables{} << QString();
        QTest::newRow("settings pam_env defines empty")
            << QByteArray("session required pam_env.so readenv=0\n")
            << QByteArray(
                   "T5 DEFAULT=\"\"\nT6 DEFAULT=${UNSET}\nT7 DEFAULT=${T8}\nT8 DEFAULT=${T7}\n"
                   "P8 OVERRIDE=\"\" DEFAULT=\"\"\nP9 DEFAULT=\"\" OVERRIDE=${NOPE}\n"
                   "P11 DEFAULT=${}\nT10 OVERRIDE=${UNSET}\n")
            << QByteArray() << QByteArray()
            << Variables{{"T5", ""}, {"T6", ""}, {"T7", ""}, {"T8", ""},
                         {"P8", ""}, {"P9", ""}, {"P11", ""}}
            << QString();
        QTest::newRow("settings expanded as pam_env expands them")
            << QByteArray("session required pam_env.so readenv=0\n")
            << QByteArray(
                   "T9 DEFAULT=x OVERRIDE=\"\"\nT13 DEFAULT=\"a b\"\nT17 DEFAULT=$T13\n"
                   "T18 DEFAULT=\\$x\nT19\tDEFAULT=tab\nT20 DEFAULT=con\\\ntinued\n"
                   "T22 DEFAULT=a OVERRIDE=b DEFAULT=c\nT25 DEFAULT=${T13}-ext\n"
                   "T26 DEFAULT=@{PAM_RHOST}r\nT27 DEFAULT=x\\y\nP1 DEFAULT=@{PAM_TTY}\n"
                   "P10 DEFAULT=ab\\@{HOME}\nP13 DEFAULT=$\nP17 DEFAULT=a#b\n"
                   "P6 DEFAULT=x\\\nP7 DEFAULT=${P7}again\nP16 DEFAULT=@{PAM_USER}@{SHELL}\n")
            << QByteArray() << QByteArray() << Variables{{"T9", "x"},     {"T13", "a b"},
                                                         {"T17", "$T13"}, {"T18", "$x"},
                                                         {"T19", "tab"},  {"T20", "continued"},
                                                         {"T22", "b"},    {"T25", "a b-ext"},
                                                         {"T26", "r"},    {"T27", "xy"},
                                                         {"P1", "cron"},  {"P10", "ab@{HOME}"},
                                                         {"P13", "$"},    {"P17", "a"},
                                                         {"P6", "again"}, {"P16", "anna/bin/bash"}}
            << QString();
        QTest::newRow("without pam_env, nothing is read")
            << QByteArray("session required pam_limits.so\n# session required pam_env.so\n")
            << QByteArray("P1 DEFAULT=x\n") << QByteArray("E1=plain\n") << QByteArray()
            << Variables{} << QString();
        QTest::newRow("readenv=0 reads the settings only")
            << QByteArray("session [default=1] /lib/security/pam_env.so readenv=0\n")
            << QByteArray("P1 DEFAULT=x\n") << QByteArray("E1=plain\n") << QByteArray()
            << Variables{{"P1", "x"}} << QString();
        QTest::newRow("an environment file's joined line cut off by the end is dropped")
            << debianPamConfiguration << QByteArray() << QByteArray("E1=a\nE2=b\\") << QByteArray()
            << Variables{{"E1", "a"}} << QString();
        QTest::newRow("an overlong line ends the environment file")
            << debianPamConfiguration << QByteArray()
            << QByteArray("E1=a\nE2=" + QByteArray(9000, 'x') + "\nE3=c\n") << QByteArray()
            << Variables{{"E1", "a"}} << QString();
        QTest::newRow("an environment file is read whole")
            << debianPamConfiguration << QByteArray()
            << QByteArray(QByteArray("# ") + QByteArray(98, 'c') + '\n').repeated(2000) +
                   "LAST=yes\n"
            << QByteArray() << Variables{{"LAST", "yes"}} << QString();
        QTest::newRow("a value of 8191 bytes fits")
            << QByteArray("session required pam_env.so readenv=0\n")
            << QByteArray("A DEFAULT=" + QByteArray(4000, 'a') +
                          "\nB DEFAULT=" + QByteArray(4191, 'b') + "\nC DEFAULT=${A}${B}\n")
            << QByteArray() << QByteArray()
            << Variables{{"A", QString(4000, u'a')},
                         {"B", QString(4191, u'b')},
                         {"C", QString(4000, u'a') + QString(4191, u'b')}}
            << QString();
        QTest::newRow("a settings line of 8190 bytes fits")
            << QByteArray("session required pam_env.so readenv=0\n")
            << QByteArray("EXACT DEFAULT=" + QByteArray(8176, 'e') + "\n") << QByteArray()
            << QByteArray() << Variables{{"EXACT", QString(8176, u'e')}} << QString();

        QTest::newRow("an unterminated reference aborts the session")
            << debianPamConfiguration << QByteArray("GOOD DEFAULT=yes\nBAD DEFAULT=${OPEN\n")
            << QByteArray() << QByteArray() << Variables{} << "2 ${OPEN";
        QTest::newRow("also in an override that is not taken")
            << debianPamConfiguration << QByteArray("X DEFAULT=ok OVERRIDE=@{OPEN\n")
            << QByteArray() << QByteArray() << Variables{} << "1 @{OPEN";
        QTest::newRow("an expansion of 8192 bytes aborts the session")
            << debianPamConfiguration
            << QByteArray("A DEFAULT=" + QByteArray(4000, 'a') +
                          "\nB DEFAULT=" + QByteArray(4191, 'b') + "\nD DEFAULT=${A}${B}x\n")
            << QByteArray() << QByteArray() << Variables{} << "3 D";
        QTest::newRow("a settings line of 8191 bytes aborts the session")
            << debianPamConfiguration
            << QByteArray("B DEFAULT=yes\nOVER DEFAULT=" + QByteArray(8178, 'e') +
                          "\nA DEFAULT=x\n")
            << QByteArray() << QByteArray() << Variables{} << "2 ";
        QTest::newRow("a NUL byte in the settings aborts the session")
            << debianPamConfiguration << QByteArray("B DEFAULT=yes\nNUL DEFAULT=a\0b\n", 29)
            << QByteArray() << QByteArray() << Variables{} << "2 ";
        QTest::newRow("a settings line joined to the end of the file aborts the session")
            << debianPamConfiguration << QByteArray("B DEFAULT=yes\nCUT DEFAULT=a\\")
            << QByteArray() << QByteArray() << Variables{} << "2 ";
    }

    void pamVariables()
    {
        QFETCH(QByteArray, configuration);
        QFETCH(QByteArray, settings);
        QFETCH(QByteArray, environment);
        QFETCH(QByteArray, locale);
        QFETCH(Variables, expected);
        QFETCH(QString, failure);
        const auto open = filesOf({{QStringLiteral("/etc/pam.d/cron"), configuration},
                                   {QStringLiteral("/etc/security/pam_env.conf"), settings},
                                   {QStringLiteral("/etc/environment"), environment},
                                   {QStringLiteral("/etc/default/locale"), locale}});
        const auto variables = CronEnvironment::pamVariables(open, account);
        QCOMPARE(variables.has_value(), failure.isEmpty());
        if (variables) {
            QCOMPARE(variablesOf(*variables), expected);
            return;
        }
        QCOMPARE(variables.error().file, QStringLiteral("/etc/security/pam_env.conf"));
        QCOMPARE(QStringLiteral("%1 %2").arg(variables.error().line).arg(variables.error().subject),
                 failure);
        QVERIFY(variables.error().description().startsWith(
            u"cron führt für dieses Konto keinen Cronjob aus"));
    }

    void forJob_data()
    {
        QTest::addColumn<QList<EnvironmentAssignment>>("assignments");
        QTest::addColumn<Variables>("pam");
        QTest::addColumn<Variables>("expected");
        const Variables defaults{{"HOME", "/home/anna"},
                                 {"LOGNAME", "anna"},
                                 {"PATH", "/usr/bin:/bin"},
                                 {"SHELL", "/bin/sh"}};

        QTest::newRow("cron's defaults only")
            << QList<EnvironmentAssignment>() << Variables{} << defaults;
        Variables fromPam = defaults;
        fromPam.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));
        QTest::newRow("cron's defaults win over PAM's") << QList<EnvironmentAssignment>()
                                                        << Variables{{"PATH", "/env/path"},
                                                                     {"HOME", "/env/home"},
                                                                     {"SHELL", "/bin/bash"},
                                                                     {"LOGNAME", "envlog"},
                                                                     {"LANG", "de_DE.UTF-8"}}
                                                        << fromPam;
        QTest::newRow("the crontab wins over defaults and PAM, but not over LOGNAME")
            << QList<EnvironmentAssignment>{{"LANG", "fromcrontab"}, {"SHELL", "/bin/bash"},
                                            {"HOME", "/srv/anna"},   {"PATH", "/opt/bin:/bin"},
                                            {"LOGNAME", "someone"},  {"USER", "me"},
                                            {"MYVAR", "first"},      {"MYVAR", "second"},
                                            {"", "novalue"}}
            << Variables{{"LANG", "de_DE.UTF-8"}, {"USER", "pamuser"}}
            << Variables{{"HOME", "/srv/anna"}, {"LANG", "fromcrontab"},   {"LOGNAME", "anna"},
                         {"MYVAR", "second"},   {"PATH", "/opt/bin:/bin"}, {"SHELL", "/bin/bash"},
                         {"USER", "me"}};
    }

    void forJob()
    {
        QFETCH(QList<EnvironmentAssignment>, assignments);
        QFETCH(Variables, pam);
        QFETCH(Variables, expected);
        QProcessEnvironment pamEnvironment;
        for (auto it = pam.cbegin(); it != pam.cend(); ++it)
            pamEnvironment.insert(it.key(), it.value());
        QCOMPARE(variablesOf(CronEnvironment::forJob(assignments, pamEnvironment, account)),
                 expected);
    }
};

QTEST_GUILESS_MAIN(CronEnvironmentTest)
#include "tst_CronEnvironment.moc"
