// Tempolane started as an American desktop starts it (LANG=en_US.UTF-8): every screen the
// screenshots render, the window's menus and the About window show no German word, in what
// they draw or tell a screen reader. The German words come from the catalogue's source texts.
#include "AboutWindow.h"
#include "AppVersion.h"
#include "Catalogue.h"
#include "DesktopWindow.h"
#include "Language.h"
#include "Scene.h"
#include "StoreUnderTest.h"
#include "UpdateController.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QTest>
#include <QTextDocumentFragment>

using namespace Tempolane;
using namespace Tempolane::Testing;

namespace {

struct ShownText
{
    QString where;
    QString text;
};

class TextCollector
{
public:
    QList<ShownText> texts;

    void add(const QObject* where, const QString& text)
    {
        if (!text.trimmed().isEmpty())
            texts.append(
                {QString::fromLatin1(where->metaObject()->className()) + u' ' + where->objectName(),
                 text});
    }

    void addActions(const QObject* where, const QList<QAction*>& actions)
    {
        for (const QAction* action : actions) {
            add(where, QString(action->text()).remove(u'&'));
            add(where, action->toolTip());
            add(where, action->iconText());
            if (action->menu())
                addWidget(action->menu());
        }
    }

    void addModel(const QObject* where, const QAbstractItemModel* model,
                  const QModelIndex& parent = {})
    {
        const QList<int> roles = model->roleNames().keys();
        for (int column = 0; column < model->columnCount(parent); ++column)
            add(where, model->headerData(column, Qt::Horizontal).toString());
        for (int row = 0; row < model->rowCount(parent); ++row) {
            for (int column = 0; column < model->columnCount(parent); ++column) {
                const QModelIndex index = model->index(row, column, parent);
                for (const int role : roles) {
                    const QVariant value = model->data(index, role);
                    if (value.typeId() == QMetaType::QString)
                        add(where, value.toString());
                    else if (value.typeId() == QMetaType::QStringList)
                        add(where, value.toStringList().join(u' '));
                }
                if (model->hasChildren(index))
                    addModel(where, model, index);
            }
        }
    }

    // The widget and all within it, shown or waiting to be shown.
    void addWidget(QWidget* root)
    {
        QList<QWidget*> widgets = root->findChildren<QWidget*>();
        widgets.prepend(root);
        for (QWidget* widget : std::as_const(widgets)) {
            if (widget->isWindow())
                add(widget, widget->windowTitle());
            add(widget, widget->toolTip());
            add(widget, widget->accessibleName());
            add(widget, widget->accessibleDescription());
            addActions(widget, widget->actions());
            if (const auto* label = qobject_cast<QLabel*>(widget))
                add(widget, QTextDocumentFragment::fromHtml(label->text()).toPlainText());
            if (const auto* button = qobject_cast<QAbstractButton*>(widget))
                add(widget, button->text());
            if (const auto* line = qobject_cast<QLineEdit*>(widget)) {
                add(widget, line->text());
                add(widget, line->placeholderText());
            }
            if (const auto* text = qobject_cast<QPlainTextEdit*>(widget))
                add(widget, text->toPlainText());
            if (const auto* box = qobject_cast<QAbstractSpinBox*>(widget))
                add(widget, box->text());
            if (const auto* combo = qobject_cast<QComboBox*>(widget)) {
                for (int item = 0; item < combo->count(); ++item)
                    add(widget, combo->itemText(item));
            }
            if (const auto* view = qobject_cast<QAbstractItemView*>(widget); view && view->model())
                addModel(widget, view->model());
            if (const auto* menuBar = qobject_cast<QMenuBar*>(widget))
                addActions(widget, menuBar->actions());
        }
    }
};

} // namespace

class EnglishScreensTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void screen_showsNoGermanWord_data();
    void screen_showsNoGermanWord();

private:
    QList<ShownText> shownBy(const QString& screen);

    GermanWords m_german;
};

void EnglishScreensTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    Language::installForEnvironment(*QCoreApplication::instance());
    QVERIFY2(Language::shown().language == QLocale::English, "run with LANG=en_US.UTF-8");
    m_german = GermanWords::of(QStringLiteral(TEMPOLANE_SOURCE_DIR "/i18n/tempolane_en.ts"));
    QVERIFY2(m_german.size() > 100, "the catalogue lists too few German words");
}

void EnglishScreensTest::screen_showsNoGermanWord_data()
{
    QTest::addColumn<QString>("screen");
    for (const Screenshots::Scene& scene : Screenshots::everyScene())
        QTest::newRow(qPrintable(scene.name)) << scene.name;
    QTest::newRow("the window with its menus") << QStringLiteral("menus");
    QTest::newRow("the About window") << QStringLiteral("about");
}

QList<ShownText> EnglishScreensTest::shownBy(const QString& screen)
{
    TextCollector collector;
    UpdateController updates(QUrl(), AppVersion::ofThisBuild());
    if (screen == u"menus") {
        StoreUnderTest fixture(QStringLiteral("0 9 * * * /bin/true\n"));
        QCoro::waitFor(fixture.store->load());
        const auto window = makeDesktopWindow(*fixture.store, updates);
        collector.addWidget(window.get());
    } else if (screen == u"about") {
        AboutWindow about(updates, AppVersion::ofThisBuild(), QString());
        collector.addWidget(&about);
    } else {
        for (const Screenshots::Scene& scene : Screenshots::everyScene()) {
            if (scene.name != screen)
                continue;
            const std::unique_ptr<QWidget> widget = scene.make();
            widget->resize(scene.size);
            widget->show();
            Screenshots::settle();
            if (scene.grab)
                scene.grab(*widget);
            collector.addWidget(widget.get());
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (window->isVisible() && window != widget.get())
                    collector.addWidget(window);
            }
        }
    }
    return collector.texts;
}

void EnglishScreensTest::screen_showsNoGermanWord()
{
    QFETCH(QString, screen);
    const QList<ShownText> texts = shownBy(screen);
    QVERIFY(!texts.isEmpty());
    QStringList german;
    for (const ShownText& shown : texts) {
        if (const QStringList words = m_german.in(shown.text); !words.isEmpty())
            german.append(QStringLiteral("%1: \"%2\" (%3)")
                              .arg(shown.where, shown.text, words.join(QStringLiteral(", "))));
    }
    german.removeDuplicates();
    QVERIFY2(german.isEmpty(), qPrintable(german.join(u'\n')));
}

QTEST_MAIN(EnglishScreensTest)
#include "tst_EnglishScreens.moc"
