#pragma once

#include "AppVersion.h"

#include <QDialog>

namespace Tempolane {

class UpdateController;

// "Über Tempolane": the icon, name and tagline, the update check, the version and the
// third-party licences, in a window of fixed size. A dialog to assistive technologies, shown
// without a modal loop.
class AboutWindow final : public QDialog
{
    Q_OBJECT

public:
    static constexpr QSize fixedSize{420, 450};

    // Where an installed Tempolane keeps its licence notices, beside this program's folder.
    static QString installedNoticesPath();

    // noticesPath is opened with the desktop's application for text files; the licences
    // button does nothing while no file is there.
    AboutWindow(UpdateController& updates, const AppVersion& version, QString noticesPath,
                QWidget* parent = nullptr);
};

} // namespace Tempolane
