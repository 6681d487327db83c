#include "ProblemBanner.h"

#include "CrontabChecking.h"
#include "FindingList.h"
#include "SymbolView.h"
#include "TextContext.h"
#include "TextLabel.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

TEMPOLANE_TEXT_CONTEXT(ProblemBanner)

namespace Tempolane {

namespace {

// A free function: in the banner's own functions `tr` is QObject's.
QString moreFindingsText(qsizetype hidden)
{
    return tr.plural("one {Ein weiterer Hinweis: tempolane-cli check zeigt alle.} "
                     "other {# weitere Hinweise: tempolane-cli check zeigt alle.}",
                     hidden);
}

} // namespace

ProblemBanner::ProblemBanner(CronStore& store, CrontabChecking& checking, QWidget* parent)
    : QWidget(parent), m_store(store), m_checking(checking),
      m_title(new TextLabel(TextStyle::headline, Tint::primary, this)),
      m_findings(new FindingList(this)),
      m_more(new TextLabel(TextStyle::caption, Tint::secondary, this))
{
    setObjectName(QStringLiteral("problemBanner"));
    m_title->setObjectName(QStringLiteral("problemBannerTitle"));
    m_title->setWordWrap(true);
    m_more->setWordWrap(true);
    auto* symbol = new SymbolView(this);
    symbol->setSymbol(Symbol::warningFill, {Tint::orange});
    symbol->setSide(symbolSide(TextStyle::headline));
    auto* header = new QHBoxLayout;
    header->setSpacing(spacing);
    header->addWidget(symbol, 0, Qt::AlignTop);
    header->addWidget(m_title, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(padding, padding, padding, padding);
    layout->setSpacing(spacing);
    layout->addLayout(header);
    layout->addWidget(m_findings);
    layout->addWidget(m_more);

    connect(m_findings, &FindingList::fixChosen, this,
            [this](const Fix& fix) { m_checking.apply(fix); });
    connect(&m_checking, &CrontabChecking::findingsChanged, this, &ProblemBanner::refresh);
    connect(&m_store, &CronStore::isSavingChanged, this, &ProblemBanner::refresh);
    refresh();
}

void ProblemBanner::refresh()
{
    const QList<Finding> findings = m_checking.lineFindings();
    setVisible(!findings.isEmpty());
    if (findings.isEmpty())
        return;
    m_title->setText(lineFindingsTitle(findings));
    m_findings->setFindings(
        ShownFinding::of(findings.mid(0, shownFindings), m_checking.checkedLines(), true),
        !m_store.isSaving());
    const qsizetype hidden = std::max<qsizetype>(0, findings.size() - shownFindings);
    m_more->setVisible(hidden > 0);
    m_more->setText(moreFindingsText(hidden));
}

void ProblemBanner::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Palette::role(Role::barFill, palette()));
    painter.fillRect(QRect(0, height() - 1, width(), 1), Palette::role(Role::barEdge, palette()));
}

} // namespace Tempolane
