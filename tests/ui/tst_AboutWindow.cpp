#include "AboutWindow.h"
#include "AccessibilityAudit.h"
#include "ApplicationIcon.h"
#include "FeedServer.h"
#include "UpdateCommands.h"
#include "UpdateController.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Tempolane;
using namespace std::chrono_literals;
using Testing::FeedServer;

namespace {

const AppVersion installed{QStringLiteral("2.0"), QStringLiteral("40")};

// Stands in for the desktop's browser and text viewer.
class OpenedUrls final : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

    Q_INVOKABLE void open(const QUrl& url) { urls.append(url); }
};

QByteArray appcastOffering(const QByteArray& version)
{
    return "<rss version=\"2.0\" "
           "xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\"><channel><item>"
           "<link>https://example.org/download</link><sparkle:shortVersionString>" +
           version + "</sparkle:shortVersionString></item></channel></rss>";
}

QMessageBox* openDialog(QWidget* window)
{
    QMessageBox* box = nullptr;
    const bool shown = QTest::qWaitFor([&] {
        box = window->findChild<QMessageBox*>();
        return box && box->isVisible();
    });
    return shown ? box : nullptr;
}

} // namespace

class AboutWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void window_showsItsContentInOrderToEyesAndScreenReaders();
    void checkControls_followTheController();
    void outcome_isShownOverTheWindowThatAsked_data();
    void outcome_isShownOverTheWindowThatAsked();
    void licences_openTheNoticesOnlyWhenInstalled();

private:
    OpenedUrls m_opened;
};

void AboutWindowTest::init()
{
    m_opened.urls.clear();
    for (const char* scheme : {"https", "file"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &m_opened, "open");
}

void AboutWindowTest::cleanup()
{
    for (const char* scheme : {"https", "file"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
}

void AboutWindowTest::window_showsItsContentInOrderToEyesAndScreenReaders()
{
    UpdateController updates(QUrl(), installed);
    AboutWindow window(updates, {QStringLiteral("2.3"), QStringLiteral("57")}, QString());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QCOMPARE(window.minimumSize(), window.maximumSize());
    // The icon is painted, not a widget: its opaque middle shows centred above the name.
    const QWidget* nameLabel = window.findChild<QWidget*>(QStringLiteral("nameLabel"));
    const QPoint iconMiddle(window.width() / 2, nameLabel->geometry().top() - 18 - 52);
    const QColor iconColour =
        applicationIcon().pixmap(QSize(104, 104), 1.0).toImage().pixelColor(52, 52);
    QCOMPARE(iconColour.alpha(), 255);
    QCOMPARE(window.grab().toImage().pixelColor(iconMiddle), iconColour);
    const QWidget* above = nameLabel;
    for (const char* below : {"checkForUpdates", "versionLabel", "licencesButton"}) {
        const QWidget* widget = window.findChild<QWidget*>(QString::fromLatin1(below));
        QVERIFY2(above->geometry().bottom() < widget->geometry().top(), below);
        above = widget;
    }
    QCOMPARE(Testing::unnamedFocusableWidgets(&window), QStringList());

    // A dialog, read without the picture.
    QAccessibleInterface* dialog = QAccessible::queryAccessibleInterface(&window);
    QCOMPARE(dialog->role(), QAccessible::Dialog);
    QCOMPARE(dialog->text(QAccessible::Name), QStringLiteral("Über Tempolane"));
    QStringList pictures;
    QStringList names;
    QList<QAccessibleInterface*> pending{dialog};
    while (!pending.isEmpty()) {
        QAccessibleInterface* node = pending.takeFirst();
        for (int i = 0; i < node->childCount(); ++i)
            pending.append(node->child(i));
        if (node->role() == QAccessible::Graphic)
            pictures.append(node->object()->objectName());
        if (const QString name = node->text(QAccessible::Name); !name.isEmpty() && node != dialog)
            names.append(name);
    }
    QCOMPARE(pictures, QStringList());
    QCOMPARE(names,
             (QStringList{"Tempolane", "Lokale Zeitpläne. Einfach im Blick.",
                          "Nach Updates suchen …", "Version 2.3 (57)", "Open-Source-Lizenzen"}));
    // Desktop buttons keep the arrow.
    for (const QPushButton* button : window.findChildren<QPushButton*>())
        QCOMPARE(button->cursor().shape(), Qt::ArrowCursor);
}

void AboutWindowTest::checkControls_followTheController()
{
    FeedServer server;
    server.route(QStringLiteral("/appcast.xml"), {200, {}, true});
    UpdateController updates(server.url(QStringLiteral("/appcast.xml")), installed, 300ms);
    UpdateController withoutFeed(QUrl(), installed);
    QWidget mainWindow;
    QAction* menuItem = makeCheckForUpdatesAction(updates, &mainWindow);
    QAction* disabledItem = makeCheckForUpdatesAction(withoutFeed, &mainWindow);
    AboutWindow window(updates, installed, QString());
    window.show();
    auto* button = window.findChild<QPushButton*>(QStringLiteral("checkForUpdates"));

    QVERIFY(!disabledItem->isEnabled());
    QVERIFY(menuItem->isEnabled());
    QVERIFY(button->isEnabled());
    QCOMPARE(button->text(), QStringLiteral("Nach Updates suchen …"));
    button->click();
    QVERIFY(!menuItem->isEnabled());
    QVERIFY(!button->isEnabled());
    QCOMPARE(button->text(), QStringLiteral("Suche nach Updates …"));
    QCOMPARE(menuItem->text(), QStringLiteral("Suche nach Updates …"));

    // The silent server runs into the time limit.
    QMessageBox* failure = openDialog(&window);
    QVERIFY(failure);
    QCOMPARE(failure->objectName(), QStringLiteral("alertDialog"));
    QCOMPARE(failure->text(), QStringLiteral("Die Suche nach Updates ist fehlgeschlagen."));
    QCOMPARE(failure->informativeText(),
             QStringLiteral("Der Update-Server hat nicht rechtzeitig geantwortet."));
    QVERIFY(menuItem->isEnabled());
    QVERIFY(button->isEnabled());
    QCOMPARE(button->text(), QStringLiteral("Nach Updates suchen …"));
    QCOMPARE(menuItem->text(), QStringLiteral("Nach Updates suchen …"));
    QVERIFY(!mainWindow.findChild<QMessageBox*>());
}

void AboutWindowTest::outcome_isShownOverTheWindowThatAsked_data()
{
    QTest::addColumn<QByteArray>("feed");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QList<QUrl>>("opened");

    const QList<QUrl> downloadPage{QUrl(QStringLiteral("https://example.org/download"))};
    QTest::newRow("newer: open the download page")
        << appcastOffering("2.1") << "confirmButton"
        << "Tempolane 2.1 ist verfügbar." << downloadPage;
    QTest::newRow("newer: later") << appcastOffering("2.1") << "cancelButton"
                                  << "Tempolane 2.1 ist verfügbar." << QList<QUrl>();
    QTest::newRow("same") << appcastOffering("2.0") << "okButton"
                          << "Tempolane ist auf dem neuesten Stand." << QList<QUrl>();
}

void AboutWindowTest::outcome_isShownOverTheWindowThatAsked()
{
    QFETCH(QByteArray, feed);
    QFETCH(QString, answer);
    QFETCH(QString, title);
    QFETCH(QList<QUrl>, opened);

    FeedServer server;
    server.route(QStringLiteral("/appcast.xml"), {200, feed});
    UpdateController updates(server.url(QStringLiteral("/appcast.xml")), installed);
    QWidget mainWindow;
    mainWindow.show();
    makeCheckForUpdatesAction(updates, &mainWindow)->trigger();

    QMessageBox* box = openDialog(&mainWindow);
    QVERIFY(box);
    QCOMPARE(box->text(), title);
    QVERIFY2(box->informativeText().contains(installed.line()), qPrintable(box->informativeText()));
    if (title.contains(u"verfügbar"))
        QVERIFY2(box->informativeText().endsWith(
                     QStringLiteral("Installiere das Update mit der Paketverwaltung.")),
                 qPrintable(box->informativeText()));
    auto* button = box->findChild<QPushButton*>(answer);
    QVERIFY(button);
    if (answer == u"cancelButton")
        QCOMPARE(button->text(), QStringLiteral("Später"));
    button->click();
    QCOMPARE(m_opened.urls, opened);
}

void AboutWindowTest::licences_openTheNoticesOnlyWhenInstalled()
{
    QTemporaryDir folder;
    const QString notices = folder.filePath(QStringLiteral("THIRD_PARTY_NOTICES.txt"));
    UpdateController updates(QUrl(), installed);
    AboutWindow window(updates, installed, notices);
    auto* licences = window.findChild<QPushButton*>(QStringLiteral("licencesButton"));

    licences->click();
    QCOMPARE(m_opened.urls, QList<QUrl>());
    QFile file(notices);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    // Return presses no button of its own accord.
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    licences->setFocus();
    QTest::keyClick(licences, Qt::Key_Return);
    QCOMPARE(m_opened.urls, QList<QUrl>());
    licences->click();
    QCOMPARE(m_opened.urls, QList<QUrl>{QUrl::fromLocalFile(notices)});
}

QTEST_MAIN(AboutWindowTest)
#include "tst_AboutWindow.moc"
