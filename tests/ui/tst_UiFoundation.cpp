#include "ActionButton.h"
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

ActionButton prominentButton()
{
    return ActionButton(QStringLiteral("Änderungen sichern"), Symbol::check,
                        ActionButton::Style::prominent, Tint::indigo);
}

} // namespace

class UiFoundationTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QApplication::setStyle(new Style);
        cleanup();
    }
    void cleanup();
    void preferredColorScheme_portalWinsOverPalette_data();
    void preferredColorScheme_portalWinsOverPalette();
    void portalPreference_unwrapsNestedVariants();
    void everySymbol_drawsSomething();
    void symbolIcon_followsThePaletteAndDimsWhenDisabled();
    void symbolIcon_standsOutOnAHighlightedEntry();
    void symbolView_animatesOnlyWhileVisible();
    void confirmation_runsExactlyOneCallback_data();
    void confirmation_runsExactlyOneCallback();
    void paletteRoles_staySeenInEveryAppearance_data();
    void paletteRoles_staySeenInEveryAppearance();
    void actionButton_isDrawnByTheStyle_data();
    void actionButton_isDrawnByTheStyle();
    void disabledProminentButton_looksDisabledInEveryScheme_data();
    void disabledProminentButton_looksDisabledInEveryScheme();
    void actionButton_sizeFollowsTheFont();
    void busyButton_keepsTheSizeAndHidesTheLabel();
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

// A filled symbol is drawn in its tint of the application's palette, and faded when disabled.
void UiFoundationTest::symbolIcon_followsThePaletteAndDimsWhenDisabled()
{
    const QIcon filled = symbolIcon(Symbol::checkCircleFill, {Tint::red});
    QApplication::setPalette(Palette::qtPalette(ColorScheme::light));
    QCOMPARE(centreColour(rendered(filled)), Palette::color(Tint::red, ColorScheme::light));
    QApplication::setPalette(Palette::qtPalette(ColorScheme::dark));
    QCOMPARE(centreColour(rendered(filled)), Palette::color(Tint::red, ColorScheme::dark));
    const int disabled = centreColour(rendered(filled, QIcon::Disabled)).alpha();
    QCOMPARE(centreColour(rendered(filled)).alpha(), 255);
    QVERIFY2(disabled < 255 / 2, qPrintable(QString::number(disabled)));
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

void UiFoundationTest::paletteRoles_staySeenInEveryAppearance_data()
{
    Testing::addRowsForEveryAppearance();
}

void UiFoundationTest::paletteRoles_staySeenInEveryAppearance()
{
    using Testing::contrastRatio;
    using Testing::over;
    QFETCH(Appearance, appearance);
    const QPalette palette = Palette::qtPalette(appearance);
    const auto role = [&palette](Role name) { return Palette::role(name, palette); };
    const QColor window = palette.color(QPalette::Window);
    const QColor base = palette.color(QPalette::Base);
    const QColor card = over(role(Role::cardFill), window);

    // Texts are measured where the window paints them (tst_Appearance); here the signs and
    // lines that are no text. The keyboard focus is seen at 3:1, as any sign a control needs:
    // on a card, and around a job or filter row, chosen or not.
    for (const QColor& behind : {card, window, over(role(Role::rowSelected), window),
                                 over(role(Role::sidebarSelected), window)}) {
        const double focus = contrastRatio(over(role(Role::focusRing), behind).rgb(), behind.rgb());
        QVERIFY2(focus >= 3, qPrintable(QString::number(focus)));
    }

    // Lines and edges are faint, but never vanish into what they lie on.
    const QList<std::pair<Role, QColor>> faint = {
        {Role::cardEdge, window},     {Role::separator, card},    {Role::hairline, window},
        {Role::wellEdge, card},       {Role::barEdge, window},    {Role::segmentTrack, card},
        {Role::switchTrackOff, card}, {Role::rowHover, base},     {Role::sidebarSelected, window},
        {Role::buttonHover, card},    {Role::buttonPressed, card}};
    for (const auto& [name, background] : faint) {
        const QColor seen = over(role(name), background);
        QVERIFY2(contrastRatio(seen.rgb(), background.rgb()) >= 1.08,
                 qPrintable(QStringLiteral("role %1: %2")
                                .arg(int(name))
                                .arg(contrastRatio(seen.rgb(), background.rgb()))));
    }
}

void UiFoundationTest::actionButton_isDrawnByTheStyle_data()
{
    QTest::addColumn<ActionButton::Style>("look");
    QTest::addColumn<Tint>("tint");
    QTest::addColumn<bool>("filled");
    QTest::newRow("plain red") << ActionButton::Style::plain << Tint::red << false;
    QTest::newRow("prominent indigo") << ActionButton::Style::prominent << Tint::indigo << true;
    QTest::newRow("prominent green") << ActionButton::Style::prominent << Tint::green << true;
}

void UiFoundationTest::actionButton_isDrawnByTheStyle()
{
    QFETCH(ActionButton::Style, look);
    QFETCH(Tint, tint);
    QFETCH(bool, filled);
    ActionButton button(QStringLiteral("Wiederherstellen"), Symbol::undo, look, tint);
    button.resize(button.sizeHint());
    const QImage picture = button.grab().toImage();
    const QColor tintColor = Palette::color(tint, button.palette());
    // Near the middle of the top edge lies Fusion's frame, or the fill, or nothing.
    const QColor edge = picture.pixelColor(picture.width() / 2, 4);
    QCOMPARE(edge, filled ? tintColor : button.palette().color(QPalette::Window));

    // The label is drawn in the tint, or in white on the fill.
    const QColor label = filled ? Palette::role(Role::onProminent, button.palette()) : tintColor;
    bool labelFound = false;
    for (int x = 0; x < picture.width() && !labelFound; ++x)
        labelFound = picture.pixelColor(x, picture.height() / 2) == label;
    QVERIFY(labelFound);
}

void UiFoundationTest::disabledProminentButton_looksDisabledInEveryScheme_data()
{
    Testing::addRowsForEveryAppearance();
}

void UiFoundationTest::disabledProminentButton_looksDisabledInEveryScheme()
{
    QFETCH(Appearance, appearance);
    ActionButton button = prominentButton();
    button.setPalette(Palette::qtPalette(appearance));
    button.resize(button.sizeHint());
    const auto fillOf = [&] { return button.grab().toImage().pixelColor(button.width() / 2, 4); };
    const QColor enabledFill = fillOf();
    button.setEnabled(false);
    const QColor disabledFill = fillOf();
    // Grey instead of the tint, however faded: a faded indigo still reads as a button to press.
    const int chroma = std::max({disabledFill.red(), disabledFill.green(), disabledFill.blue()}) -
                       std::min({disabledFill.red(), disabledFill.green(), disabledFill.blue()});
    QVERIFY2(chroma <= 12, qPrintable(disabledFill.name()));
    QVERIFY(disabledFill != enabledFill);
    // Nor does it keep the white label of a button that can be pressed.
    const QImage picture = button.grab().toImage();
    const QColor white = Palette::role(Role::onProminent, button.palette());
    // Inside its edge: around it lies the window, white in high contrast.
    for (int x = 2; x < picture.width() - 2; ++x)
        QVERIFY(picture.pixelColor(x, picture.height() / 2) != white);
}

void UiFoundationTest::actionButton_sizeFollowsTheFont()
{
    ActionButton normal = prominentButton();
    ActionButton large = prominentButton();
    QFont font = large.font();
    font.setPointSizeF(font.pointSizeF() * 2);
    large.setFont(font);
    QVERIFY2(large.sizeHint().height() > normal.sizeHint().height(),
             qPrintable(QStringLiteral("%1 / %2")
                            .arg(large.sizeHint().height())
                            .arg(normal.sizeHint().height())));
    QVERIFY(large.sizeHint().width() > QFontMetrics(font).horizontalAdvance(large.text()));
}

void UiFoundationTest::busyButton_keepsTheSizeAndHidesTheLabel()
{
    ActionButton button = prominentButton();
    const QSize idle = button.sizeHint();
    button.resize(idle);
    const QColor white = Palette::role(Role::onProminent, button.palette());
    const auto whiteInLeftQuarter = [&] {
        const QImage picture = button.grab().toImage();
        int count = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 4; x < picture.width() / 4; ++x)
                count += picture.pixelColor(x, y) == white;
        }
        return count;
    };
    QVERIFY(whiteInLeftQuarter() > 0);
    button.setBusy(true);
    QCOMPARE(button.sizeHint(), idle);
    // Only the arc in the middle is drawn: the label's start is gone.
    QCOMPARE(whiteInLeftQuarter(), 0);
}

QTEST_MAIN(UiFoundationTest)
#include "tst_UiFoundation.moc"
