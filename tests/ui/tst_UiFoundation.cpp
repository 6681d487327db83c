#include "Dialogs.h"
#include "Palette.h"
#include "SymbolIcon.h"
#include "SymbolView.h"
#include "Theme.h"

#include <QApplication>
#include <QDBusVariant>
#include <QMessageBox>
#include <QPushButton>
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
