#include "EditorActions.h"
#include "JobEditorView.h"
#include "JobSketch.h"
#include "Palette.h"
#include "ReadableText.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QTest>

using namespace Tempolane;
using Tempolane::Testing::backupJob;
using Tempolane::Testing::contrastRatio;
using Tempolane::Testing::over;

namespace {

JobEditorView::Inputs monitoredInputs(const QString& schedule)
{
    JobEditorView::Inputs inputs;
    inputs.originalJob = backupJob(schedule);
    inputs.originalJob.isMonitoringEnabled = true;
    return inputs;
}

QAccessibleInterface* accessibleOf(QWidget* widget)
{
    return QAccessible::queryAccessibleInterface(widget);
}

// The groups in the accessibility tree below root, by name.
QStringList groupNames(QAccessibleInterface* root)
{
    QStringList names;
    for (int index = 0; index < root->childCount(); ++index) {
        QAccessibleInterface* child = root->child(index);
        if (!child)
            continue;
        if (child->role() == QAccessible::Grouping)
            names << child->text(QAccessible::Name);
        names << groupNames(child);
    }
    return names;
}

} // namespace

class ScreenAccessibilityTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void editorCards_areNamedGroups_data();
    void editorCards_areNamedGroups();
    void pickers_areLabelledByTheirCaption_data();
    void pickers_areLabelledByTheirCaption();
    void dividers_stayOutOfTheWay();
    void paletteRoles_staySeenInEveryAppearance_data();
    void paletteRoles_staySeenInEveryAppearance();
};

void ScreenAccessibilityTest::editorCards_areNamedGroups_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("schedule") << QStringLiteral("Zeitplan");
    QTest::newRow("command") << QStringLiteral("Befehl");
    QTest::newRow("executions") << QStringLiteral("Ausführungen");
}

void ScreenAccessibilityTest::editorCards_areNamedGroups()
{
    QFETCH(QString, name);
    JobEditorView editor(monitoredInputs(QStringLiteral("*/5 * * * *")),
                         Testing::idleEditorActions());
    editor.show();
    QCOMPARE(groupNames(accessibleOf(&editor)).count(name), 1);
}

void ScreenAccessibilityTest::pickers_areLabelledByTheirCaption_data()
{
    QTest::addColumn<QString>("picker");
    QTest::addColumn<QString>("caption");
    QTest::newRow("frequency") << QStringLiteral("frequencyPicker")
                               << QStringLiteral("Wiederholung");
    QTest::newRow("minute interval")
        << QStringLiteral("intervalPicker") << QStringLiteral("Intervall");
    QTest::newRow("log policy") << QStringLiteral("logPolicyPicker") << QStringLiteral("Protokoll");
}

void ScreenAccessibilityTest::pickers_areLabelledByTheirCaption()
{
    QFETCH(QString, picker);
    QFETCH(QString, caption);
    // Every five minutes shows the interval row; monitoring shows the log policy.
    JobEditorView editor(monitoredInputs(QStringLiteral("*/5 * * * *")),
                         Testing::idleEditorActions());
    editor.show();
    auto* combo = editor.findChild<QComboBox*>(picker);
    QVERIFY(combo);
    QVERIFY(combo->isVisibleTo(&editor));

    QStringList labels;
    for (const auto& [label, relation] : accessibleOf(combo)->relations(QAccessible::Label))
        labels << label->text(QAccessible::Name);
    QCOMPARE(labels, QStringList{caption});
}

void ScreenAccessibilityTest::dividers_stayOutOfTheWay()
{
    JobEditorView editor(monitoredInputs(QStringLiteral("*/5 * * * *")),
                         Testing::idleEditorActions());
    editor.show();
    int lines = 0;
    for (QFrame* frame : editor.findChildren<QFrame*>()) {
        if (frame->frameShape() != QFrame::HLine && frame->frameShape() != QFrame::VLine)
            continue;
        ++lines;
        QCOMPARE(frame->focusPolicy(), Qt::NoFocus);
        QAccessibleInterface* accessible = accessibleOf(frame);
        // A screen reader passes over a separator; a nameless frame it would announce.
        QCOMPARE(accessible->role(), QAccessible::Separator);
        QVERIFY(accessible->text(QAccessible::Name).isEmpty());
        QCOMPARE(accessible->childCount(), 0);
        QVERIFY(accessible->actionInterface() == nullptr ||
                accessible->actionInterface()->actionNames().isEmpty());
    }
    // The schedule's summary and the execution panel's status each sit below a line.
    QVERIFY2(lines >= 2, qPrintable(QString::number(lines)));
}

void ScreenAccessibilityTest::paletteRoles_staySeenInEveryAppearance_data()
{
    Testing::addRowsForEveryAppearance();
}

void ScreenAccessibilityTest::paletteRoles_staySeenInEveryAppearance()
{
    QFETCH(Appearance, appearance);
    const QPalette palette = Palette::qtPalette(appearance);
    const auto role = [&palette](Role name) { return Palette::role(name, palette); };
    const QColor window = palette.color(QPalette::Window);
    const QColor base = palette.color(QPalette::Base);
    const QColor card = over(role(Role::cardFill), window);

    // Texts are measured where the window paints them (tst_Appearance); here the signs and
    // lines that are no text. The keyboard focus is seen at 3:1, as any sign a control needs:
    // on a card, and around a job or filter row, chosen or not.
    for (const QColor& behind : {card, window, over(role(Role::rowSelected), window),
                                 over(role(Role::sidebarSelected), window)}) {
        const double focus = contrastRatio(over(role(Role::focusRing), behind).rgb(), behind.rgb());
        QVERIFY2(focus >= 3, qPrintable(QString::number(focus)));
    }

    // Lines and edges are faint, but never vanish into what they lie on.
    const QList<std::pair<Role, QColor>> faint = {
        {Role::cardEdge, window},     {Role::separator, card},    {Role::hairline, window},
        {Role::wellEdge, card},       {Role::barEdge, window},    {Role::segmentTrack, card},
        {Role::switchTrackOff, card}, {Role::rowHover, base},     {Role::sidebarSelected, window},
        {Role::buttonHover, card},    {Role::buttonPressed, card}};
    for (const auto& [name, background] : faint) {
        const QColor seen = over(role(name), background);
        QVERIFY2(contrastRatio(seen.rgb(), background.rgb()) >= 1.08,
                 qPrintable(QStringLiteral("role %1: %2")
                                .arg(int(name))
                                .arg(contrastRatio(seen.rgb(), background.rgb()))));
    }
}

QTEST_MAIN(ScreenAccessibilityTest)
#include "tst_ScreenAccessibility.moc"
