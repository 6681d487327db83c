#include "CronEnvironment.h"

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

CronEnvironment::FileReader filesOf(QMap<QString, QByteArray> files)
{
    return [files](const QString& path) -> std::optional<QByteArray> {
        if (!files.contains(path))
            return std::nullopt;
        return files.value(path);
    };
}

} // namespace

class CronEnvironmentTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void assignment_data();
    void assignment();
    void assignmentsAbove_stopAtTheJob();
    void pamVariables_data();
    void pamVariables();
    void forJob_data();
    void forJob();
};

void CronEnvironmentTest::assignment_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("isAssignment");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    // What the daemon gave a job for each line, or what the crontab tool refused.
    QTest::newRow("plain") << "A1=plain" << true << "A1"
                           << "plain";
    QTest::newRow("blanks around the sign, trailing blanks") << "A2 = spaced  " << true << "A2"
                                                             << "spaced";
    QTest::newRow("double quotes, blanks after") << "A3=\"double quoted\"  " << true << "A3"
                                                 << "double quoted";
    QTest::newRow("single quotes") << "A4='single quoted'" << true << "A4"
                                   << "single quoted";
    QTest::newRow("hash is part of the value") << "A6=value # not a comment?" << true << "A6"
                                               << "value # not a comment?";
    QTest::newRow("leading blank") << " A7=leading" << true << "A7"
                                   << "leading";
    QTest::newRow("quoted name") << "\"A9\"=quotedname" << true << "A9"
                                 << "quotedname";
    QTest::newRow("equals sign in the value") << "A10=x=y" << true << "A10"
                                              << "x=y";
    QTest::newRow("quote inside an unquoted value") << "A13=a\"b" << true << "A13"
                                                    << "a\"b";
    QTest::newRow("tabs around the sign") << "A16\t=\ttab" << true << "A16"
                                          << "tab";
    QTest::newRow("name no shell accepts") << "A-17=dash" << true << "A-17"
                                           << "dash";
    QTest::newRow("empty quoted value") << "B1=\"\"" << true << "B1"
                                        << "";
    QTest::newRow("blanks inside") << "A21=x y z" << true << "A21"
                                   << "x y z";
    QTest::newRow("empty value refused") << "A8=" << false << ""
                                         << "";
    QTest::newRow("blank value refused") << "A8= " << false << ""
                                         << "";
    QTest::newRow("unterminated quote refused") << "A12=\"open" << false << ""
                                                << "";
    QTest::newRow("text after the closing quote refused") << "A18=\"q\" trailing" << false << ""
                                                          << "";
    QTest::newRow("no equals sign") << "A20" << false << ""
                                    << "";
    QTest::newRow("job line") << "0 9 * * * FOO=bar run" << false << ""
                              << "";
    QTest::newRow("shortcut job line") << "@daily X=1" << false << ""
                                       << "";
    QTest::newRow("comment") << "# A=1" << false << ""
                             << "";
    QTest::newRow("disabled job") << "# Tempolane disabled: A=1" << false << ""
                                  << "";
}

void CronEnvironmentTest::assignment()
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

void CronEnvironmentTest::assignmentsAbove_stopAtTheJob()
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

void CronEnvironmentTest::pamVariables_data()
{
    QTest::addColumn<QByteArray>("configuration");
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QByteArray>("environment");
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<Variables>("expected");

    QTest::newRow("nothing configured")
        << debianPamConfiguration << QByteArray() << QByteArray() << QByteArray() << Variables{};
    QTest::newRow("forms seen in the environment file, as the daemon gave them")
        << debianPamConfiguration << QByteArray()
        << QByteArray("E1=plain\nexport E2=exported\nE3=\"quoted\"\nE4='single'\n"
                      "E5=with # comment\n  E6=leading\nE7=trailing   \nE8=\"inner\"quote\"\n"
                      "E9=cont\\\ninued\nbad-key=x\nE10\nE11=tab\tinside\n# E12=comment\n")
        << QByteArray("LC_TIME=\"en_GB.UTF-8\"\nE1=fromlocale\n")
        << Variables{{"E1", "fromlocale"},   {"E2", "exported"},        {"E3", "quoted"},
                     {"E4", "single"},       {"E5", "with "},           {"E6", "leading"},
                     {"E7", "trailing   "},  {"E8", "inner\"quote"},    {"E9", "continued"},
                     {"E11", "tab\tinside"}, {"LC_TIME", "en_GB.UTF-8"}};
    // Each entry reads the settings before its own file, so the second entry's pass sees E1
    // from the environment file, not yet the locale's.
    QTest::newRow("settings file, read again by the second entry")
        << debianPamConfiguration
        << QByteArray("P1 DEFAULT=pdefault\nP2 DEFAULT=x OVERRIDE=poverride\n"
                      "P3 DEFAULT=@{HOME}/sub\nP4 DEFAULT=${E1}-ext\nP5 DEFAULT=\"quoted val\"\n"
                      "Q1 DEFAULT=d OVERRIDE=\nQ3\nQ4 DEFAULT=${NOPE}z\nQ5 DEFAULT=\\${E1}\n")
        << QByteArray("E1=plain\nQ1=x\nQ3=set\n") << QByteArray("E1=fromlocale\n")
        << Variables{{"E1", "fromlocale"}, {"P1", "pdefault"},
                     {"P2", "poverride"},  {"P3", "/home/anna/sub"},
                     {"P4", "plain-ext"},  {"P5", "quoted val"},
                     {"Q1", "d"},          {"Q4", "z"},
                     {"Q5", "${E1}"}};
    QTest::newRow("without pam_env, nothing is read")
        << QByteArray("session required pam_limits.so\n# session required pam_env.so\n")
        << QByteArray("P1 DEFAULT=x\n") << QByteArray("E1=plain\n") << QByteArray() << Variables{};
    QTest::newRow("readenv=0 reads the settings only")
        << QByteArray("session [default=1] /lib/security/pam_env.so readenv=0\n")
        << QByteArray("P1 DEFAULT=x\n") << QByteArray("E1=plain\n") << QByteArray()
        << Variables{{"P1", "x"}};
    QTest::newRow("a joined line cut off by the end is dropped")
        << debianPamConfiguration << QByteArray() << QByteArray("E1=a\nE2=b\\") << QByteArray()
        << Variables{{"E1", "a"}};
    QTest::newRow("an overlong line ends the file")
        << debianPamConfiguration << QByteArray()
        << QByteArray("E1=a\nE2=" + QByteArray(20000, 'x') + "\nE3=c\n") << QByteArray()
        << Variables{{"E1", "a"}};
    QTest::newRow("an unterminated reference leaves the variable alone")
        << debianPamConfiguration << QByteArray("P1 DEFAULT=${E1\n") << QByteArray() << QByteArray()
        << Variables{};
}

void CronEnvironmentTest::pamVariables()
{
    QFETCH(QByteArray, configuration);
    QFETCH(QByteArray, settings);
    QFETCH(QByteArray, environment);
    QFETCH(QByteArray, locale);
    QFETCH(Variables, expected);
    const auto read = filesOf({{QStringLiteral("/etc/security/pam_env.conf"), settings},
                               {QStringLiteral("/etc/environment"), environment},
                               {QStringLiteral("/etc/default/locale"), locale}});
    QCOMPARE(variablesOf(CronEnvironment::pamVariables(configuration, read, account)), expected);
}

void CronEnvironmentTest::forJob_data()
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

void CronEnvironmentTest::forJob()
{
    QFETCH(QList<EnvironmentAssignment>, assignments);
    QFETCH(Variables, pam);
    QFETCH(Variables, expected);
    QProcessEnvironment pamEnvironment;
    for (auto it = pam.cbegin(); it != pam.cend(); ++it)
        pamEnvironment.insert(it.key(), it.value());
    QCOMPARE(variablesOf(CronEnvironment::forJob(assignments, pamEnvironment, account)), expected);
}

QTEST_GUILESS_MAIN(CronEnvironmentTest)
#include "tst_CronEnvironment.moc"
