#include "StoreUnderTest.h"
#include "WindowPresentation.h"

#include <QTest>

using namespace Tempolane;
using namespace Tempolane::Testing;

class WindowTitleTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void title_namesTheSelectedJobAsItsEditorDoes_data();
    void title_namesTheSelectedJobAsItsEditorDoes();
};

void WindowTitleTest::title_namesTheSelectedJobAsItsEditorDoes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("expected");

    QTest::newRow("named") << "Bericht"
                           << "/bin/report"
                           << "Bericht – Tempolane";
    QTest::newRow("blanks around the name") << "  Bericht \t"
                                            << "/bin/report"
                                            << "Bericht – Tempolane";
    QTest::newRow("blank name: the command's") << "   "
                                               << "/usr/local/bin/backup.sh --all"
                                               << "backup.sh – Tempolane";
    QTest::newRow("a dash in the name stays") << "Ost – West"
                                              << "/bin/sync"
                                              << "Ost – West – Tempolane";
}

void WindowTitleTest::title_namesTheSelectedJobAsItsEditorDoes()
{
    QFETCH(QString, name);
    QFETCH(QString, command);
    QFETCH(QString, expected);

    StoreUnderTest fixture(crontabOf({{name, QStringLiteral("0 9 * * *"), command}}));
    QCOMPARE(WindowPresentation::windowTitle(*fixture.store), QStringLiteral("Tempolane"));
    fixture.load();
    fixture.store->setSelection(fixture.job(0).id);
    QCOMPARE(WindowPresentation::windowTitle(*fixture.store), expected);
    fixture.store->setSelection(QUuid());
    QCOMPARE(WindowPresentation::windowTitle(*fixture.store), QStringLiteral("Tempolane"));
}

QTEST_GUILESS_MAIN(WindowTitleTest)
#include "tst_WindowTitle.moc"
