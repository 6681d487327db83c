#pragma once

#include "MainWindow.h"
#include "StoreUnderTest.h"

#include <QApplication>
#include <QListView>
#include <QMessageBox>
#include <QTest>

namespace Tempolane::Testing {

// The window tests' crontab: a named job, one whose blank name gives way to its command's, and
// a paused one.
inline const QList<JobSketch> threeJobs{
    {QStringLiteral("Bericht"), QStringLiteral("30 8 * * 1-5"), QStringLiteral("/bin/report")},
    {QStringLiteral("   "), QStringLiteral("0 2 * * *"),
     QStringLiteral("/usr/local/bin/backup.sh")},
    {QStringLiteral("Archiv"), QStringLiteral("0 3 * * 0"), QStringLiteral("/bin/archive"), false}};

// Closes what a test left open, so that no dialog or menu of one test meets the next.
inline void closeEveryWindow()
{
    QApplication::setLayoutDirection(Qt::LeftToRight);
    for (QWidget* widget : QApplication::topLevelWidgets())
        widget->close();
}

// A main window over a store of fakes, and what the window tests look for in it.
struct WindowUnderTest
{
    explicit WindowUnderTest(const QString& crontab = {}) : fixture(crontab) {}

    // Shows the window, active where keys are to reach it, and waits until it lists the rows.
    [[nodiscard]] bool showWithRows(int rows, bool isActive = false)
    {
        window.show();
        if (isActive)
            window.activateWindow();
        return (isActive ? QTest::qWaitForWindowActive(&window)
                         : QTest::qWaitForWindowExposed(&window)) &&
               QTest::qWaitFor([&] { return list()->model()->rowCount() == rows; });
    }
    template <typename T = QWidget> T* find(const char* name) const
    {
        return window.findChild<T*>(QString::fromLatin1(name));
    }
    QListView* list() const { return find<QListView>("jobList"); }
    QWidget* editor() const { return find("jobEditor"); }
    QMessageBox* box(const char* name) const { return find<QMessageBox>(name); }
    void select(int row) { list()->setCurrentIndex(list()->model()->index(row, 0)); }

    StoreUnderTest fixture;
    MainWindow window{*fixture.store, fixture.clock()};
};

} // namespace Tempolane::Testing
