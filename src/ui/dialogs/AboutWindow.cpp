#include "AboutWindow.h"

#include "AmbientBackground.h"
#include "ApplicationIcon.h"
#include "TextContext.h"
#include "TextLabel.h"
#include "UpdateCommands.h"
#include "WindowKeys.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPushButton>
#include <QStackedLayout>
#include <QUrl>
#include <QVBoxLayout>

TEMPOLANE_TEXT_CONTEXT(AboutWindow)

namespace Tempolane {

namespace {

constexpr int iconSide = 104;
constexpr int sidePadding = 42;
constexpr int endPadding = 34;

// Paints the application's icon into the place its layout keeps for it. The picture is no
// widget, so assistive technologies pass over it: the name below it says all it shows.
class IconBearer final : public QWidget
{
public:
    explicit IconBearer(QSpacerItem* place) : m_place(place) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QRect area(QPoint(), QSize(iconSide, iconSide));
        area.moveCenter(m_place->geometry().center());
        QPainter painter(this);
        applicationIcon().paint(&painter, area);
    }

private:
    QSpacerItem* m_place;
};

TextLabel* centred(TextLabel* label)
{
    label->setAlignment(Qt::AlignHCenter);
    label->setWordWrap(true);
    return label;
}

QPushButton* licencesButton(const QString& noticesPath)
{
    auto* button = new QPushButton(tr("Open-Source-Lizenzen"));
    button->setObjectName(QStringLiteral("licencesButton"));
    button->setAccessibleName(button->text());
    button->setFlat(true);
    QObject::connect(button, &QPushButton::clicked, button, [noticesPath] {
        if (QFileInfo(noticesPath).isFile())
            QDesktopServices::openUrl(QUrl::fromLocalFile(noticesPath));
    });
    return button;
}

} // namespace

QString AboutWindow::installedNoticesPath()
{
    return QDir(QCoreApplication::applicationDirPath())
        .absoluteFilePath(QStringLiteral(TEMPOLANE_NOTICES_FROM_PROGRAM));
}

AboutWindow::AboutWindow(UpdateController& updates, const AppVersion& version, QString noticesPath,
                         QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("aboutWindow"));
    setWindowTitle(tr("Über Tempolane"));
    setFixedSize(fixedSize);
    closeWithKeys(this);

    auto* background = new AmbientBackground;
    auto* stack = new QStackedLayout(this);
    stack->setStackingMode(QStackedLayout::StackAll);
    auto* iconPlace = new QSpacerItem(iconSide, iconSide, QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto* content = new IconBearer(iconPlace);
    stack->addWidget(content);
    stack->addWidget(background);

    auto* title = centred(new TextLabel(QStringLiteral("Tempolane"), TextStyle::title));
    QFont titleFont = title->font();
    titleFont.setWeight(QFont::Bold);
    title->setFont(titleFont);
    title->setObjectName(QStringLiteral("nameLabel"));
    auto* tagline = centred(new TextLabel(tr("Lokale Zeitpläne. Einfach im Blick."),
                                          TextStyle::subheadline, Tint::secondary));
    QPushButton* check = makeCheckForUpdatesButton(updates);
    check->setFont(styledFont(TextStyle::body));
    check->setMinimumSize(check->sizeHint() + QSize(24, 10));
    auto* versionLine = centred(new TextLabel(version.line(), TextStyle::caption, Tint::secondary));
    versionLine->setObjectName(QStringLiteral("versionLabel"));
    versionLine->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(sidePadding, endPadding, sidePadding, endPadding);
    layout->setSpacing(0);
    // The free height goes mostly between the update button and the version, so the upper
    // group sits a little below the top and the version line at the bottom.
    layout->addStretch(1);
    layout->addItem(iconPlace);
    layout->addSpacing(18);
    layout->addWidget(title);
    layout->addSpacing(6);
    layout->addWidget(tagline);
    layout->addSpacing(24);
    layout->addWidget(check, 0, Qt::AlignHCenter);
    layout->addStretch(2);
    layout->addWidget(versionLine);
    layout->addSpacing(4);
    layout->addWidget(licencesButton(noticesPath), 0, Qt::AlignHCenter);
    // A dialog makes its buttons default ones, which Return would press: here Return does
    // nothing, as in the window this was before.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
}

} // namespace Tempolane
