#include "DraftMessageReveal.h"

#include <QTest>
#include <functional>

using namespace Tempolane;

namespace {

using Steps = std::function<void(DraftMessageReveal&)>;

const QString emptyName = QStringLiteral("Bitte einen Namen vergeben.");

} // namespace

Q_DECLARE_METATYPE(Steps)
Q_DECLARE_METATYPE(DraftField)

class DraftMessageRevealTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shown_data();
    void shown();
};

void DraftMessageRevealTest::shown_data()
{
    QTest::addColumn<bool>("isNew");
    QTest::addColumn<DraftField>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<bool>("isShown");

    const Steps nothing = [](DraftMessageReveal&) {};
    const auto name = DraftField::name;
    const auto command = DraftField::command;
    const QString blank = QStringLiteral("  \n");

    QTest::newRow("a new job opens with its empty fields quiet")
        << true << name << QString() << nothing << false;
    QTest::newRow("blanks count as empty") << true << command << blank << nothing << false;
    QTest::newRow("the field left empty speaks up")
        << true << name << QString()
        << Steps([](DraftMessageReveal& r) { r.leave(DraftField::name, {}); }) << true;
    QTest::newRow("leaving the other field empty does not")
        << true << name << QString()
        << Steps([](DraftMessageReveal& r) { r.leave(DraftField::command, {}); }) << false;
    QTest::newRow("leaving it filled does not")
        << true << name << QString()
        << Steps([](DraftMessageReveal& r) { r.leave(DraftField::name, QStringLiteral("x")); })
        << false;
    QTest::newRow("left empty once, then emptied again, still speaks")
        << true << command << QString() << Steps([](DraftMessageReveal& r) {
               r.leave(DraftField::command, {});
               r.leave(DraftField::command, QStringLiteral("/bin/true"));
           })
        << true;
    QTest::newRow("a save attempt reveals both")
        << true << command << QString() << Steps([](DraftMessageReveal& r) { r.attemptSave(); })
        << true;
    QTest::newRow("a message about what was typed shows at once")
        << true << name << QString(81, u'x') << nothing << true;
    QTest::newRow("an existing job shows its messages at once")
        << false << name << QString() << nothing << true;
}

void DraftMessageRevealTest::shown()
{
    QFETCH(bool, isNew);
    QFETCH(DraftField, field);
    QFETCH(QString, text);
    QFETCH(Steps, steps);
    QFETCH(bool, isShown);

    DraftMessageReveal reveal(isNew);
    steps(reveal);
    const auto shown = reveal.shown(field, text, emptyName);
    QCOMPARE(shown.has_value(), isShown);
    if (shown)
        QCOMPARE(*shown, emptyName);
    QVERIFY(!reveal.shown(field, text, std::nullopt));
}

QTEST_GUILESS_MAIN(DraftMessageRevealTest)
#include "tst_DraftMessageReveal.moc"
