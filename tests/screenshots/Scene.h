#pragma once

#include <QApplication>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QTest>
#include <QWidget>
#include <functional>
#include <memory>

namespace Tempolane::Screenshots {

// One picture for review: a widget made fresh for each colour scheme, shown at a size.
struct Scene
{
    QString name;
    QSize size;
    std::function<std::unique_ptr<QWidget>()> make;
    // Optional: how to grab the picture (e.g. a window with its open dialog composed on top).
    std::function<QImage(QWidget&)> grab = {};
    // The desktop's font size while the scene is made and taken, as a share of the usual.
    qreal fontScale = 1.0;
    // Right to left, as with `-reverse` or a Hebrew or Arabic locale.
    Qt::LayoutDirection direction = Qt::LeftToRight;
    // A screen of the offscreen desktop the window opens on at the size it chooses, pictured
    // with its frame on that screen; empty for a window at `size` on the large first screen.
    QString screen = {};
    // Taken with the high-contrast palettes as well.
    bool alsoHighContrast = false;
};

// The usual window of the scenes, and the desktop's font at 150 %.
inline constexpr QSize windowSize{1280, 800};
inline constexpr qreal largeFont = 1.5;

// Layouts settle and posted work (queued dialogs, first paints) is done.
inline void settle()
{
    for (int round = 0; round < 3; ++round)
        QApplication::processEvents();
}

// Sample data as a user of the language the texts are shown in would write it: job names and
// output in German or in English.
QString inShownLanguage(const char* german, const char* english);

QList<Scene> editorScenes();     // EditorScenes.cpp
QList<Scene> mainWindowScenes(); // MainWindowScenes.cpp
QList<Scene> timelineScenes();   // TimelineScenes.cpp

inline QList<Scene> everyScene()
{
    return editorScenes() + mainWindowScenes() + timelineScenes();
}

// The named child of `window` once it shows; after a while, a warning and what there is.
template <typename T = QWidget> T* shownChild(QWidget& window, const char* name)
{
    T* child = nullptr;
    if (!QTest::qWaitFor([&] {
            child = window.findChild<T*>(QString::fromLatin1(name));
            return child && child->isVisible();
        }))
        qWarning("%s did not appear", name);
    return child;
}

// The window with its frame on the screen it opened on, showing `shown` (MainWindowScenes.cpp).
QImage framedOnItsScreen(const QWidget& window, const QImage& shown);

} // namespace Tempolane::Screenshots
