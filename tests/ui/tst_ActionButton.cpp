#include "ActionButton.h"
#include "Palette.h"
#include "ReadableText.h"
#include "Style.h"

#include <QApplication>
#include <QTest>

using namespace Tempolane;

namespace {

QImage pictureOf(QWidget& widget)
{
    return widget.grab().toImage();
}

} // namespace

class ActionButtonTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QApplication::setStyle(new Style);
        QApplication::setPalette(Palette::qtPalette(ColorScheme::light));
    }
    void looks_areDrawnByTheStyle_data();
    void looks_areDrawnByTheStyle();
    void disabledProminent_looksDisabledInEveryScheme_data();
    void disabledProminent_looksDisabledInEveryScheme();
    void size_followsTheFont();
    void busy_keepsTheSizeAndHidesTheLabel();
};

void ActionButtonTest::looks_areDrawnByTheStyle_data()
{
    QTest::addColumn<ActionButton::Style>("look");
    QTest::addColumn<Tint>("tint");
    QTest::addColumn<bool>("filled");
    QTest::newRow("plain red") << ActionButton::Style::plain << Tint::red << false;
    QTest::newRow("prominent indigo") << ActionButton::Style::prominent << Tint::indigo << true;
    QTest::newRow("prominent green") << ActionButton::Style::prominent << Tint::green << true;
}

void ActionButtonTest::looks_areDrawnByTheStyle()
{
    QFETCH(ActionButton::Style, look);
    QFETCH(Tint, tint);
    QFETCH(bool, filled);
    ActionButton button(QStringLiteral("Wiederherstellen"), Symbol::undo, look, tint);
    button.resize(button.sizeHint());
    const QImage picture = pictureOf(button);
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

void ActionButtonTest::disabledProminent_looksDisabledInEveryScheme_data()
{
    Testing::addRowsForEveryAppearance();
}

void ActionButtonTest::disabledProminent_looksDisabledInEveryScheme()
{
    QFETCH(Appearance, appearance);
    ActionButton button(QStringLiteral("Änderungen sichern"), Symbol::check,
                        ActionButton::Style::prominent, Tint::indigo);
    button.setPalette(Palette::qtPalette(appearance));
    button.resize(button.sizeHint());
    const auto fillOf = [&] { return pictureOf(button).pixelColor(button.width() / 2, 4); };
    const QColor enabledFill = fillOf();
    button.setEnabled(false);
    const QColor disabledFill = fillOf();
    // Grey instead of the tint, however faded: a faded indigo still reads as a button to press.
    const int chroma = std::max({disabledFill.red(), disabledFill.green(), disabledFill.blue()}) -
                       std::min({disabledFill.red(), disabledFill.green(), disabledFill.blue()});
    QVERIFY2(chroma <= 12, qPrintable(disabledFill.name()));
    QVERIFY(disabledFill != enabledFill);
    // Nor does it keep the white label of a button that can be pressed.
    const QImage picture = pictureOf(button);
    const QColor white = Palette::role(Role::onProminent, button.palette());
    // Inside its edge: around it lies the window, white in high contrast.
    for (int x = 2; x < picture.width() - 2; ++x)
        QVERIFY(picture.pixelColor(x, picture.height() / 2) != white);
}

void ActionButtonTest::size_followsTheFont()
{
    ActionButton normal(QStringLiteral("Jetzt testen"), Symbol::playFill,
                        ActionButton::Style::plain, Tint::primary);
    ActionButton large(QStringLiteral("Jetzt testen"), Symbol::playFill, ActionButton::Style::plain,
                       Tint::primary);
    QFont font = large.font();
    font.setPointSizeF(font.pointSizeF() * 2);
    large.setFont(font);
    QVERIFY2(large.sizeHint().height() > normal.sizeHint().height(),
             qPrintable(QStringLiteral("%1 / %2")
                            .arg(large.sizeHint().height())
                            .arg(normal.sizeHint().height())));
    QVERIFY(large.sizeHint().width() > QFontMetrics(font).horizontalAdvance(large.text()));
}

void ActionButtonTest::busy_keepsTheSizeAndHidesTheLabel()
{
    ActionButton button(QStringLiteral("Änderungen sichern"), Symbol::check,
                        ActionButton::Style::prominent, Tint::indigo);
    const QSize idle = button.sizeHint();
    button.resize(idle);
    const QColor white = Palette::role(Role::onProminent, button.palette());
    const auto whiteInLeftQuarter = [&] {
        const QImage picture = pictureOf(button);
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

QTEST_MAIN(ActionButtonTest)
#include "tst_ActionButton.moc"
