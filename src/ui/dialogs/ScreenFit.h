#pragma once

#include <QMargins>
#include <QObject>
#include <QSize>

class QWidget;

namespace Tempolane {

// The title bar and borders around `window`: as the desktop drew them once it is shown, else as
// the style would draw them.
QMargins frameAround(const QWidget& window);

// Keeps a dialog, frame included, on its screen's free area: when it is shown, and once more
// when the desktop has framed it. Where even `minimum` would not fit, the least size gives way
// and the dialog's content scrolls or wraps.
class ScreenFit final : public QObject
{
    Q_OBJECT

public:
    // Watches `dialog` and lives as long as it does.
    ScreenFit(QWidget* dialog, QSize minimum);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fit();

    QWidget* m_dialog;
    QSize m_minimum;
    QMargins m_fittedFrame{-1, -1, -1, -1};
};

} // namespace Tempolane
