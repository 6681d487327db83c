#pragma once

#include "MainWindow.h"
#include "StoreUnderTest.h"

#include <QListView>
#include <QMessageBox>
#include <QTest>

namespace Tempolane::Testing {

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
