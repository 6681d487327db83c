#include "WindowKeys.h"

#include <QAction>
#include <QWidget>

namespace Tempolane {

void closeWithKeys(QWidget* window)
{
    auto* close = new QAction(window);
    close->setObjectName(QStringLiteral("closeWindowAction"));
    QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::Cancel);
    keys.append(QKeySequence::keyBindings(QKeySequence::Close));
    close->setShortcuts(keys);
    close->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(close, &QAction::triggered, window, &QWidget::close);
    window->addAction(close);
}

} // namespace Tempolane
