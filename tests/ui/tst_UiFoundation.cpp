#include "Dialogs.h"
#include "Palette.h"
#include "ReadableText.h"
#include "Style.h"
#include "SymbolIcon.h"
#include "SymbolView.h"
#include "Theme.h"

#include <QApplication>
#include <QComboBox>
#include <QDBusVariant>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionMenuItem>
#include <QTest>

using namespace Tempolane;

namespace {

constexpr int iconSide = 64;

QImage rendered(const QIcon& icon, QIcon::Mode mode = QIcon::Normal)
{
    return icon.pixmap(QSize(iconSide, iconSide), 1.0, mode).toImage();
}

// The colour in the middle of a filled circle symbol.
QColor centreColour(const QImage& image)
{
    return image.pixelColor(iconSide / 2, iconSide / 4);
}

} // namespace

class UiFoundationTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void preferredColorScheme_portalWinsOverPalette_data();
    void preferredColorScheme_portalWinsOverPalette();
    void portalPreference_unwrapsNestedVariants();
    void everySymbol_drawsSomething();
    void symbolIcon_followsTheApplicationPalette();
    void symbolIcon_dimsWhenDisabled();
    void symbolIcon_standsOutOnAHighlightedEntry();
    void symbolView_animatesOnlyWhileVisible();
    void confirmation_runsExactlyOneCallback_data();
    void confirmation_runsExactlyOneCallback();
};

void UiFoundationTest::cleanup()
{
    QApplication::setPalette(Palette::qtPalette(ColorScheme::light));
}

void UiFoundationTest::preferredColorScheme_portalWinsOverPalette_data()
{
    QTest::addColumn<std::optional<uint>>("portal");
    QTest::addColumn<ColorScheme>("platform");
    QTest::addColumn<ColorScheme>("expected");

    QTest::newRow("portal prefers dark")
        << std::optional<uint>(1) << ColorScheme::light << ColorScheme::dark;
    QTest::newRow("portal prefers light")
        << std::optional<uint>(2) << ColorScheme::dark << ColorScheme::light;
    QTest::newRow("no preference: dark platform")
        << std::optional<uint>(0) << ColorScheme::dark << ColorScheme::dark;
    QTest::newRow("no portal: light platform")
        << std::optional<uint>() << ColorScheme::light << ColorScheme::light;
    QTest::newRow("unknown value: dark platform")
        << std::optional<uint>(7) << ColorScheme::dark << ColorScheme::dark;
}

void UiFoundationTest::preferredColorScheme_portalWinsOverPalette()
{
    QFETCH(std::optional<uint>, portal);
    QFETCH(ColorScheme, platform);
    QFETCH(ColorScheme, expected);
    QCOMPARE(preferredColorScheme(portal, Palette::qtPalette(platform)), expected);
}

void UiFoundationTest::portalPreference_unwrapsNestedVariants()
{
    const QVariant nested =
        QVariant::fromValue(QDBusVariant(QVariant::fromValue(QDBusVariant(QVariant(1u)))));
    QCOMPARE(portalPreferenceFrom(nested), std::optional<uint>(1));
    QCOMPARE(portalPreferenceFrom(QVariant(QStringLiteral("dark"))), std::nullopt);
}

void UiFoundationTest::everySymbol_drawsSomething()
{
    for (int value = 0; value <= int(Symbol::circle); ++value) {
        for (const auto rendering : {SymbolRendering::monochrome, SymbolRendering::hierarchical}) {
            const QImage image = rendered(symbolIcon(Symbol(value), {Tint::indigo, rendering}));
            bool painted = false;
            for (int y = 0; y < image.height() && !painted; ++y)
                for (int x = 0; x < image.width() && !painted; ++x)
                    painted = image.pixelColor(x, y).alpha() > 0;
            QVERIFY2(painted, qPrintable(QStringLiteral("symbol %1 is empty").arg(value)));
        }
    }
}

void UiFoundationTest::symbolIcon_followsTheApplicationPalette()
{
    const QIcon icon = symbolIcon(Symbol::circle, {Tint::red});
    const QIcon filled = symbolIcon(Symbol::checkCircleFill, {Tint::red});
    QApplication::setPalette(Palette::qtPalette(ColorScheme::light));
    QCOMPARE(centreColour(rendered(filled)), Palette::color(Tint::red, ColorScheme::light));
    QApplication::setPalette(Palette::qtPalette(ColorScheme::dark));
    QCOMPARE(centreColour(rendered(filled)), Palette::color(Tint::red, ColorScheme::dark));
    QVERIFY(!icon.isNull());
}

void UiFoundationTest::symbolIcon_dimsWhenDisabled()
{
    const QIcon filled = symbolIcon(Symbol::checkCircleFill, {Tint::green});
    const int normal = centreColour(rendered(filled)).alpha();
    const int disabled = centreColour(rendered(filled, QIcon::Disabled)).alpha();
    QCOMPARE(normal, 255);
    QVERIFY2(disabled < normal / 2, qPrintable(QString::number(disabled)));
}

void UiFoundationTest::symbolIcon_standsOutOnAHighlightedEntry()
{
    // An entry of the frequency picker: an indigo symbol on a highlight of the accent colour.
    Style style;
    QComboBox picker;
    for (const ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        // The symbols follow the application's palette, as a switch of the desktop sets it.
        QApplication::setPalette(Palette::qtPalette(scheme));
        QStyleOptionMenuItem entry;
        entry.initFrom(&picker);
        entry.palette = QApplication::palette();
        entry.state |= QStyle::State_Selected | QStyle::State_Enabled;
        entry.menuItemType = QStyleOptionMenuItem::Normal;
        entry.text = QStringLiteral("Täglich");
        entry.icon = symbolIcon(Symbol::sun, {Tint::indigo});
        entry.maxIconWidth = picker.iconSize().width() + 4;
        entry.rect = QRect(0, 0, 200, 32);
        const QRgb highlight = entry.palette.color(QPalette::Highlight).rgb();
        QImage picture(entry.rect.size(), QImage::Format_RGB32);
        picture.fill(highlight);
        QPainter painter(&picture);
        style.drawControl(QStyle::CE_MenuItem, &entry, &painter, &picker);
        painter.end();
        // Where the symbol stands, before the text: something stands out from the highlight.
        double strongest = 1;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < entry.maxIconWidth; ++x)
                strongest =
                    std::max(strongest, Testing::contrastRatio(picture.pixel(x, y), highlight));
        }
        QVERIFY2(strongest >= 3, qPrintable(QString::number(strongest)));
    }
}

void UiFoundationTest::symbolView_animatesOnlyWhileVisible()
{
    QWidget window;
    auto* view = new SymbolView(&window);
    view->setSymbol(Symbol::waveform, {Tint::cyan});
    view->setEffect(SymbolView::Effect::pulse);
    QVERIFY(!view->isAnimating());
    window.show();
    QVERIFY(view->isAnimating());
    window.hide();
    QVERIFY(!view->isAnimating());
    window.show();
    view->setEffect(SymbolView::Effect::none);
    QVERIFY(!view->isAnimating());
}

void UiFoundationTest::confirmation_runsExactlyOneCallback_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("confirmed");
    QTest::addColumn<int>("cancelled");

    QTest::newRow("confirm") << "confirmButton" << 1 << 0;
    QTest::newRow("cancel") << "cancelButton" << 0 << 1;
    QTest::newRow("closed by Escape") << "" << 0 << 1;
}

void UiFoundationTest::confirmation_runsExactlyOneCallback()
{
    QFETCH(QString, answer);
    QFETCH(int, confirmed);
    QFETCH(int, cancelled);

    QWidget window;
    window.show();
    int confirmations = 0;
    int cancellations = 0;
    QMessageBox* box = askForConfirmation(
        &window, {QStringLiteral("Wirklich?"), QStringLiteral("Text"), QStringLiteral("Ja"), true},
        [&] { ++confirmations; }, [&] { ++cancellations; });
    QVERIFY(box->isVisible());
    QCOMPARE(box->defaultButton()->objectName(), QStringLiteral("cancelButton"));
    if (answer.isEmpty())
        QTest::keyClick(box, Qt::Key_Escape);
    else
        box->findChild<QPushButton*>(answer)->click();
    QCOMPARE(confirmations, confirmed);
    QCOMPARE(cancellations, cancelled);
}

QTEST_MAIN(UiFoundationTest)
#include "tst_UiFoundation.moc"
