#include "SegmentedPicker.h"

#include "FocusRing.h"
#include "Palette.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace Tempolane {

namespace {

constexpr int inset = 2;
constexpr qreal trackRadius = 8;
constexpr qreal segmentRadius = 6.5;
// At the usual font size a segment is 24 high; a larger font makes it taller.
constexpr int segmentHeight = 24;
constexpr int segmentPadding = 4;
constexpr int segmentTextMargin = 24;

class Segment final : public QAbstractButton
{
public:
    Segment(const QString& title, QWidget* parent) : QAbstractButton(parent)
    {
        setText(title);
        setCheckable(true);
        setFocusPolicy(Qt::TabFocus);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

    QSize sizeHint() const override
    {
        QFont bold = font();
        bold.setWeight(QFont::DemiBold);
        const QFontMetrics metrics(bold);
        return {metrics.horizontalAdvance(text()) + segmentTextMargin,
                std::max(segmentHeight, metrics.height() + 2 * segmentPadding)};
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const bool dark = Palette::schemeOf(palette()) == ColorScheme::dark;
        const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        if (isChecked()) {
            QPainterPath path;
            path.addRoundedRect(area, segmentRadius, segmentRadius);
            painter.fillPath(path.translated(0, 0.75), QColor(0, 0, 0, dark ? 70 : 28));
            painter.fillPath(path, dark ? QColor(0x63, 0x63, 0x68) : QColor(Qt::white));
        } else if (underMouse()) {
            QColor hover = Palette::color(Tint::primary, palette());
            hover.setAlphaF(0.05f);
            QPainterPath path;
            path.addRoundedRect(area, segmentRadius, segmentRadius);
            painter.fillPath(path, hover);
        }
        paintFocusRing(painter, *this, area, segmentRadius);
        QFont label = font();
        label.setWeight(isChecked() ? QFont::DemiBold : QFont::Normal);
        painter.setFont(label);
        painter.setPen(Palette::color(isChecked() ? Tint::primary : Tint::secondary, palette()));
        painter.drawText(rect(), Qt::AlignCenter, text());
    }
    void enterEvent(QEnterEvent* event) override
    {
        QAbstractButton::enterEvent(event);
        update();
    }
    void leaveEvent(QEvent* event) override
    {
        QAbstractButton::leaveEvent(event);
        update();
    }
};

} // namespace

SegmentedPicker::SegmentedPicker(const QStringList& titles, QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(inset, inset, inset, inset);
    layout->setSpacing(inset);
    for (int index = 0; index < titles.size(); ++index) {
        auto* segment = new Segment(titles[index], this);
        m_group.addButton(segment, index);
        layout->addWidget(segment);
    }
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(&m_group, &QButtonGroup::idClicked, this, &SegmentedPicker::activated);
}

void SegmentedPicker::setCurrentIndex(int index)
{
    if (QAbstractButton* button = m_group.button(index))
        button->setChecked(true);
}

void SegmentedPicker::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor track = Palette::color(Tint::primary, palette());
    track.setAlphaF(Palette::schemeOf(palette()) == ColorScheme::dark ? 0.12f : 0.07f);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), trackRadius, trackRadius);
    painter.fillPath(path, track);
}

} // namespace Tempolane
