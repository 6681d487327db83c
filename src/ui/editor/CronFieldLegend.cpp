#include "CronFieldLegend.h"

#include "TextLabel.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace Tempolane {

namespace {

constexpr int fieldSpacing = 16;
constexpr int nameToRange = 1;

struct Field
{
    const char* name;
    const char* range;
};

} // namespace

CronFieldLegend::CronFieldLegend(QWidget* parent) : QWidget(parent)
{
    // The ranges are written with an en dash.
    static constexpr Field fields[] = {
        {QT_TRANSLATE_NOOP("CronFieldLegend", "Minute"), "0–59"},
        {QT_TRANSLATE_NOOP("CronFieldLegend", "Stunde"), "0–23"},
        {QT_TRANSLATE_NOOP("CronFieldLegend", "Tag"), "1–31"},
        {QT_TRANSLATE_NOOP("CronFieldLegend", "Monat"), "1–12"},
        {QT_TRANSLATE_NOOP("CronFieldLegend", "Wochentag"), "0–7"},
    };
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(fieldSpacing);
    for (const Field& field : fields) {
        auto* column = new QVBoxLayout;
        column->setSpacing(nameToRange);
        auto* name = new TextLabel(QCoreApplication::translate("CronFieldLegend", field.name),
                                   TextStyle::caption, Tint::secondary, this);
        auto* range =
            new TextLabel(QString::fromUtf8(field.range), TextStyle::caption, Tint::tertiary, this);
        range->setTextStyle(TextStyle::caption, true);
        column->addWidget(name);
        column->addWidget(range);
        layout->addLayout(column);
    }
    layout->addStretch(1);
}

} // namespace Tempolane
