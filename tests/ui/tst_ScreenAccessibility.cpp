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

// The colour seen where `top` is painted over an opaque `bottom`.
QColor over(const QColor& top, const QColor& bottom)
{
    const double alpha = top.alphaF();
    const auto mix = [alpha](double upper, double lower) {
        return upper * alpha + lower * (1 - alpha);
    };
    return QColor::fromRgbF(float(mix(top.redF(), bottom.redF())),
                            float(mix(top.greenF(), bottom.greenF())),
                            float(mix(top.blueF(), bottom.blueF())));
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
    QTest::addColumn<Appearance>("appearance");
    for (const ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        for (const Contrast contrast : {Contrast::standard, Contrast::high}) {
            QTest::addRow("%s, %s contrast", scheme == ColorScheme::dark ? "dark" : "light",
                          contrast == Contrast::high ? "high" : "standard")
                << Appearance{scheme, contrast, std::nullopt};
        }
    }
}

void ScreenAccessibilityTest::paletteRoles_staySeenInEveryAppearance()
{
    QFETCH(Appearance, appearance);
    const QPalette palette = Palette::qtPalette(appearance);
    const auto role = [&palette](Role name) { return Palette::role(name, palette); };
    const QColor window = palette.color(QPalette::Window);
    const QColor base = palette.color(QPalette::Base);
    const QColor card = over(role(Role::cardFill), window);

    // The faint schedule text on a job row, chosen or not, still reads at 3:1.
    QVERIFY(contrastRatio(over(role(Role::scheduleText), base).rgb(), base.rgb()) >= 3);
    const QColor selectedRow = over(role(Role::rowSelected), base);
    QVERIFY(contrastRatio(over(role(Role::selectedScheduleText), selectedRow).rgb(),
                          selectedRow.rgb()) >= 3);

    // The keyboard focus is seen at 3:1 on a card, as any sign a control needs.
    const double focus = contrastRatio(over(role(Role::focusRing), card).rgb(), card.rgb());
    QVERIFY2(focus >= 3, qPrintable(QString::number(focus)));

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
