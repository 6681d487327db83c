// The window at the smallest size it allows and with a large desktop font: every control can
// be reached and every text fits; the new-job dialog keeps its buttons in view and its
// warnings until there is something to warn about; the layout survives a restart.
#include "BackupsDialog.h"
#include "Language.h"
#include "MainWindow.h"
#include "ReadableText.h"
#include "SidebarModel.h"
#include "WindowUnderTest.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QSplitter>
#include <QStandardPaths>
#include <QStyleOptionComboBox>
#include <QTemporaryDir>
#include <QTest>

using namespace Tempolane;
using namespace Tempolane::Testing;

namespace {

// The desktop's font, scaled for one test and put back afterwards.
struct DesktopFont
{
    explicit DesktopFont(qreal scale)
    {
        QFont larger = original;
        larger.setPointSizeF(original.pointSizeF() * scale);
        QApplication::setFont(larger);
    }
    ~DesktopFont() { QApplication::setFont(original); }
    Q_DISABLE_COPY_MOVE(DesktopFont)

    const QFont original = QApplication::font();
};

void showAt(WindowUnderTest& test, QSize size)
{
    test.window.resize(size);
    QVERIFY(test.showWithRows(2));
}

bool isControl(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return !label->text().isEmpty();
    return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QComboBox*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget) ||
           qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget);
}

QString nameOf(const QWidget* widget)
{
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        text = label->text();
    else if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        text = button->text();
    return QStringLiteral("%1 \"%2\" %3")
        .arg(QString::fromLatin1(widget->metaObject()->className()), widget->objectName(), text);
}

// The first widget from `widget`'s parent up to `top` that cuts part of `widget` off, if any.
const QWidget* cutter(const QWidget* widget, const QWidget* top)
{
    for (const QWidget* parent = widget->parentWidget(); parent; parent = parent->parentWidget()) {
        if (!parent->rect().contains(QRect(widget->mapTo(parent, QPoint(0, 0)), widget->size())))
            return parent;
        if (parent == top)
            break;
    }
    return nullptr;
}

// The controls under `root`, shown with it, that a widget up to `top` cuts off.
QStringList cutOffControls(QWidget* root, const QWidget* top)
{
    QStringList cutOff;
    for (QWidget* control : root->findChildren<QWidget*>()) {
        if (!control->isVisibleTo(root) || !isControl(control))
            continue;
        if (const QWidget* parent = cutter(control, top))
            cutOff << nameOf(control) + QStringLiteral(" outside ") + nameOf(parent);
    }
    return cutOff;
}

// The texts under `root` that do not fit their control.
QStringList clippedTexts(QWidget* root)
{
    QStringList clipped;
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(root))
            continue;
        const QFontMetrics metrics(widget->font());
        bool fits = true;
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            if (label->text().isEmpty() || label->textFormat() == Qt::RichText)
                continue;
            fits = label->wordWrap()
                       ? label->heightForWidth(label->width()) <= label->height()
                       : metrics.horizontalAdvance(label->text()) <= label->contentsRect().width();
            fits = fits && metrics.height() <= label->contentsRect().height();
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            if (button->text().isEmpty())
                continue;
            // Each of our buttons asks for the room its text needs and its decoration around it.
            fits = metrics.horizontalAdvance(button->text()) <= button->contentsRect().width() &&
                   button->width() >= button->sizeHint().width() &&
                   button->height() >= button->sizeHint().height();
        } else if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            option.editable = combo->isEditable();
            const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                               QStyle::SC_ComboBoxEditField, combo);
            const int icon =
                combo->itemIcon(combo->currentIndex()).isNull() ? 0 : combo->iconSize().width() + 4;
            fits = metrics.horizontalAdvance(combo->currentText()) + icon <= field.width() &&
                   metrics.height() <= field.height();
        } else if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(widget)) {
            const auto* text = spin->findChild<QLineEdit*>();
            // A line edit keeps a margin of 2 on each side of its text.
            fits = QFontMetrics(text->font()).horizontalAdvance(text->text()) + 4 <=
                       text->contentsRect().width() &&
                   metrics.height() <= text->contentsRect().height();
        } else {
            continue;
        }
        if (!fits)
            clipped << nameOf(widget);
    }
    return clipped;
}

// Lets posted layout requests and springs settle.
void settle()
{
    for (int round = 0; round < 3; ++round)
        QApplication::processEvents();
    QTest::qWait(400);
}

// The test desktop's screen of that name (see tests/support/offscreen-screens.json).
QScreen* screenNamed(const QString& name)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    const auto found = std::ranges::find_if(
        screens, [&](const QScreen* candidate) { return candidate->name() == name; });
    return found != screens.end() ? *found : nullptr;
}

// The test desktop's screens of each size beside its large first one.
QList<QScreen*> sizedScreens()
{
    QList<QScreen*> screens = QGuiApplication::screens();
    screens.removeOne(QGuiApplication::primaryScreen());
    return screens;
}

QString shownArea(const QRect& area)
{
    return QStringLiteral("%1,%2 %3×%4")
        .arg(area.x())
        .arg(area.y())
        .arg(area.width())
        .arg(area.height());
}

const QString crontab = crontabOf({
    {QStringLiteral("Wochenbericht"), QStringLiteral("30 8 * * 1-5"),
     QStringLiteral("/bin/report")},
    {QStringLiteral("Monatsmitte"), QStringLiteral("0 9 1,15 * *"), QStringLiteral("/bin/mid")},
});

} // namespace

class WindowSizesTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        Language::installQtTexts(*QCoreApplication::instance(), QLocale(QLocale::German));
    }
    void cleanup() { closeEveryWindow(); }
    void atTheSmallestSize_everyControlReachableEveryTextFits_data();
    void atTheSmallestSize_everyControlReachableEveryTextFits();
    void newJobDialog_warnsOnlyAfterAFieldWasLeftEmptyOrASaveTried();
    void layout_survivesARestart();
    void window_fitsItsScreenWithItsFrame_data();
    void window_fitsItsScreenWithItsFrame();
    void dialogs_atTheLargeFont_fitTheirScreen_data();
    void dialogs_atTheLargeFont_fitTheirScreen();
};

void WindowSizesTest::atTheSmallestSize_everyControlReachableEveryTextFits_data()
{
    QTest::addColumn<qreal>("fontScale");
    // The job whose editor stands beside the list; none: the new-job dialog alone.
    QTest::addColumn<int>("job");
    // The form reflows into the column, its captions above their controls with a large font;
    // the fields of a cron expression's legend may still scroll sideways.
    QTest::addColumn<bool>("fitsTheColumn");
    QTest::newRow("weekdays, desktop font") << 1.0 << 0 << true;
    QTest::newRow("weekdays, font at 150 %") << 1.5 << 0 << true;
    QTest::newRow("cron syntax, desktop font") << 1.0 << 1 << true;
    QTest::newRow("cron syntax, font at 150 %") << 1.5 << 1 << false;
    QTest::newRow("new-job dialog, desktop font") << 1.0 << -1 << true;
    QTest::newRow("new-job dialog, font at 150 %") << 1.5 << -1 << true;
}

void WindowSizesTest::atTheSmallestSize_everyControlReachableEveryTextFits()
{
    QFETCH(qreal, fontScale);
    QFETCH(int, job);
    QFETCH(bool, fitsTheColumn);
    const DesktopFont font(fontScale);
    WindowUnderTest test(crontab);
    showAt(test, MainWindow::minimumWindowSize);
    if (job < 0) {
        test.window.commands().newJob->trigger();
        QTRY_VERIFY(test.find<QDialog>("newJobDialog"));
        auto* dialog = test.find<QDialog>("newJobDialog");
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        dialog->resize(dialog->minimumSize());
        settle();
        for (const char* name : {"cancelButton", "saveButton"}) {
            auto* button = dialog->findChild<QAbstractButton*>(QString::fromLatin1(name));
            QVERIFY2(button && button->isVisible(), name);
            // Within every widget up to the dialog, the scroll area's view included: in sight.
            const QWidget* parent = cutter(button, dialog);
            QVERIFY2(!parent, qPrintable(nameOf(button) + QStringLiteral(" outside ") +
                                         (parent ? nameOf(parent) : QString())));
        }
        const QStringList clipped = clippedTexts(dialog);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(u'\n')));
        return;
    }
    test.fixture.store->setSelection(test.fixture.job(job).id);
    QTRY_VERIFY(test.find<QWidget>("jobEditor") && test.find<QWidget>("jobEditor")->isVisible());
    settle();
    QCOMPARE(test.window.size(), MainWindow::minimumWindowSize);

    auto* editor = test.find<QWidget>("jobEditor");
    // The editor column itself lies wholly in the window.
    QVERIFY(test.window.rect().contains(
        QRect(editor->mapTo(&test.window, QPoint(0, 0)), editor->size())));
    auto* area = editor->findChild<QScrollArea*>();
    QVERIFY(area);
    QWidget* page = area->widget();
    // What the page holds can be scrolled to: where it is larger than its view, a bar shows.
    QVERIFY2(page->width() <= area->viewport()->width() || area->horizontalScrollBar()->isVisible(),
             "the page is wider than the column and cannot be scrolled sideways");
    QVERIFY2(page->height() <= area->viewport()->height() || area->verticalScrollBar()->isVisible(),
             "the page is taller than the column and cannot be scrolled");
    if (fitsTheColumn)
        QCOMPARE(page->width(), area->viewport()->width());
    QCOMPARE(area->horizontalScrollBar()->maximum(),
             std::max(0, page->width() - area->viewport()->width()));

    const QStringList cutOff = cutOffControls(page, page);
    QVERIFY2(cutOff.isEmpty(), qPrintable(cutOff.join(u'\n')));
    const QStringList clipped = clippedTexts(editor) + clippedTexts(test.find<QWidget>("sidebar"));
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(u'\n')));

    // The controls of all the editor's forms start in one column, whatever the font.
    std::optional<int> start;
    for (const char* name : {"editorModePicker", "frequencyPicker", "timePicker"}) {
        const auto* control = test.find(name);
        if (!control || !control->isVisibleTo(editor))
            continue;
        const int x = control->mapTo(&test.window, QPoint(0, 0)).x();
        QVERIFY2(x == start.value_or(x), qPrintable(QStringLiteral("%1 at %2, not %3")
                                                        .arg(QString::fromLatin1(name))
                                                        .arg(x)
                                                        .arg(start.value_or(x))));
        start = x;
    }
    QVERIFY(start);

    // The sidebar never scrolls sideways and keeps every count whole; a name may shorten.
    auto* filters = test.find<QAbstractItemView>("filterList");
    QVERIFY(!filters->horizontalScrollBar()->isVisible());
    const QWidget* rows = filters->viewport();
    const QRect shownRows(rows->mapTo(&test.window, QPoint(0, 0)), rows->size());
    const QList<PaintedText> texts = paintedTexts(test.window);
    for (int row = 0; row < filters->model()->rowCount(); ++row) {
        const QString count =
            filters->model()->index(row, 0).data(SidebarModel::CountTextRole).toString();
        QVERIFY2(std::ranges::any_of(texts,
                                     [&](const PaintedText& run) {
                                         return run.widget == rows && run.text == count &&
                                                shownRows.contains(run.box);
                                     }),
                 qPrintable(count));
    }
}

void WindowSizesTest::newJobDialog_warnsOnlyAfterAFieldWasLeftEmptyOrASaveTried()
{
    WindowUnderTest test(crontab);
    showAt(test, MainWindow::defaultWindowSize);
    test.window.commands().newJob->trigger();
    QTRY_VERIFY(test.find<QDialog>("newJobDialog"));
    auto* dialog = test.find<QDialog>("newJobDialog");
    dialog->activateWindow();
    QTRY_VERIFY(dialog->isActiveWindow());
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("nameField"));
    auto* command = dialog->findChild<QPlainTextEdit*>(QStringLiteral("commandField"));
    auto* nameMessage = dialog->findChild<QWidget*>(QStringLiteral("nameMessage"));
    auto* commandMessage = dialog->findChild<QWidget*>(QStringLiteral("commandMessage"));
    const auto shows = [dialog](QWidget* message) { return message->isVisibleTo(dialog); };

    QVERIFY(!shows(nameMessage));
    QVERIFY(!shows(commandMessage));
    QVERIFY(dialog->findChild<QWidget*>(QStringLiteral("commandHint"))->isVisibleTo(dialog));

    // Into the name and out again without typing: the name is still missing, now it says so.
    name->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(name->hasFocus());
    command->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(shows(nameMessage));
    QVERIFY(!shows(commandMessage));

    // Typing a name answers it; the command waits for a save attempt.
    QTest::keyClicks(name, QStringLiteral("Nachtlauf"));
    QVERIFY(!shows(nameMessage));
    QTest::keyClick(name, Qt::Key_S, Qt::ControlModifier);
    QTRY_VERIFY(shows(commandMessage));
    QVERIFY(test.find<QDialog>("newJobDialog"));
    QVERIFY(!test.fixture.client->calls.contains(QStringLiteral("write")));
}

void WindowSizesTest::layout_survivesARestart()
{
    QTemporaryDir folder;
    QSettings settings(folder.filePath(QStringLiteral("layout.ini")), QSettings::IniFormat);
    QList<int> columns;
    {
        WindowUnderTest first(crontab);
        // Nothing kept yet: the window keeps its default layout.
        first.window.restoreLayout(settings);
        showAt(first, first.window.size());
        QCOMPARE(first.window.size(), MainWindow::defaultWindowSize);

        first.window.resize(1100, 700);
        auto* splitter = first.find<QSplitter>("columns");
        splitter->setSizes({200, 420, 480});
        QTRY_COMPARE(first.window.size(), QSize(1100, 700));
        columns = splitter->sizes();
        QVERIFY(columns != QList<int>({210, 360, 530}));
        first.window.saveLayout(settings);
        first.window.close();
    }
    WindowUnderTest second(crontab);
    second.window.restoreLayout(settings);
    second.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&second.window));
    QCOMPARE(second.window.size(), QSize(1100, 700));
    QCOMPARE(second.find<QSplitter>("columns")->sizes(), columns);
}

void WindowSizesTest::window_fitsItsScreenWithItsFrame_data()
{
    QTest::addColumn<QString>("screen");
    QTest::addColumn<bool>("restoresAHugeWindow");
    for (const QScreen* screen : sizedScreens()) {
        const QByteArray name = screen->name().toUtf8();
        QTest::addRow("%s, first start", name.constData()) << screen->name() << false;
        QTest::addRow("%s, a saved 100000 × 100000", name.constData()) << screen->name() << true;
    }
}

void WindowSizesTest::window_fitsItsScreenWithItsFrame()
{
    QFETCH(QString, screen);
    QFETCH(bool, restoresAHugeWindow);
    QScreen* const found = screenNamed(screen);
    QVERIFY(found);
    const QRect available = found->availableGeometry();

    QTemporaryDir folder;
    QSettings settings(folder.filePath(QStringLiteral("layout.ini")), QSettings::IniFormat);
    if (restoresAHugeWindow) {
        WindowUnderTest huge(crontab);
        huge.window.setScreen(found);
        huge.window.setGeometry(QRect(available.topLeft() + QPoint(30, 30), QSize(100000, 100000)));
        huge.window.saveLayout(settings);
    }
    WindowUnderTest test(crontab);
    test.window.setScreen(found);
    test.window.move(available.topLeft());
    test.window.restoreLayout(settings);
    test.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&test.window));
    // Title bar and borders included, the whole window is on the screen.
    QVERIFY(test.window.frameGeometry() != test.window.geometry());
    QTRY_VERIFY2(available.contains(test.window.frameGeometry()),
                 qPrintable(shownArea(test.window.frameGeometry())));
    QVERIFY(test.window.width() >=
            std::min(MainWindow::defaultWindowSize.width(), available.width() * 9 / 10));
}

void WindowSizesTest::dialogs_atTheLargeFont_fitTheirScreen_data()
{
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("dialog");
    for (const QScreen* screen : sizedScreens()) {
        for (const char* dialog : {"backupsDialog", "newJobDialog"})
            QTest::addRow("%s, %s", dialog, screen->name().toUtf8().constData())
                << screen->name() << QString::fromLatin1(dialog);
    }
}

// A dialog opens over the window on the window's screen, with a font half as large again: its
// frame stays on the screen's free area, and its texts and buttons stay whole.
void WindowSizesTest::dialogs_atTheLargeFont_fitTheirScreen()
{
    QFETCH(QString, screen);
    QFETCH(QString, dialog);
    QScreen* const found = screenNamed(screen);
    QVERIFY(found);
    const QRect available = found->availableGeometry();
    const DesktopFont font(1.5);
    WindowUnderTest test(crontab);
    test.window.setScreen(found);
    test.window.move(available.topLeft());
    QVERIFY(test.showWithRows(2));

    if (dialog == u"backupsDialog")
        (new BackupsDialog(*test.fixture.store, &test.window, test.fixture.clock()))->show();
    else
        test.window.commands().newJob->trigger();
    QTRY_VERIFY(test.window.findChild<QDialog*>(dialog));
    auto* shown = test.window.findChild<QDialog*>(dialog);
    QVERIFY(QTest::qWaitForWindowExposed(shown));
    settle();
    QVERIFY2(available.contains(shown->frameGeometry()),
             qPrintable(shownArea(shown->frameGeometry()) + QStringLiteral(" on ") +
                        shownArea(available)));
    // The buttons under the content stay in sight; the content itself may scroll.
    const QStringList buttons = dialog == u"backupsDialog"
                                    ? QStringList{"closeButton", "restoreButton"}
                                    : QStringList{"cancelButton", "saveButton"};
    for (const QString& name : buttons) {
        auto* button = shown->findChild<QAbstractButton*>(name);
        QVERIFY2(button && button->isVisible(), qPrintable(name));
        const QWidget* parent = cutter(button, shown);
        QVERIFY2(!parent, qPrintable(nameOf(button) + QStringLiteral(" outside ") +
                                     (parent ? nameOf(parent) : QString())));
    }
    const QStringList clipped = clippedTexts(shown);
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(u'\n')));
}

QTEST_MAIN(WindowSizesTest)
#include "tst_WindowSizes.moc"
