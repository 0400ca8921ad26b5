#include "editor/widgets/DelayPage.h"

#include "editor/MatrixEdits.h"
#include "editor/widgets/FocusRule.h"
#include "editor/widgets/HighlightColour.h"
#include "editor/widgets/ValueBox.h"
#include "link/Session.h"
#include "model/ValueCodes.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {
struct UnitText {
    const char* suffix;
    double maximum;
};
constexpr UnitText kUnits[3] = {{"ms", 1365.0}, {"m", 468.195}, {"ft", 1536.99}};
} // namespace

DelayPage::DelayPage(EditorContext& context, QWidget* parent) : QWidget(parent), m_context(context)
{
    setAccessibleName(QStringLiteral("Delay"));
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(12, 10, 12, 10);
    auto* rows = new QVBoxLayout;
    rows->setSpacing(1);
    for (int o = 1; o <= 16; ++o) {
        Row& r = m_rows[std::size_t(o)];
        r.row = new QWidget(this);
        auto* h = new QHBoxLayout(r.row);
        h->setContentsMargins(0, 0, 0, 0);
        r.name = new QLabel(r.row);
        r.name->setFixedWidth(44);
        QFont bold = r.name->font();
        bold.setBold(true);
        r.name->setFont(bold);
        r.fader = new QSlider(Qt::Horizontal, r.row);
        r.fader->setRange(0, kDelayCodeMax);
        r.fader->setPageStep(100);
        r.fader->setSingleStep(1);
        r.fader->setFocusPolicy(Qt::WheelFocus);
        r.box = new ValueBox(r.row);
        r.box->setDecimals(2);
        r.box->setSingleStep(0.1);
        r.box->setFixedWidth(92);
        h->addWidget(r.name);
        h->addWidget(r.fader, 1);
        h->addWidget(r.box);
        rows->addWidget(r.row);
        connect(r.fader, &QSlider::valueChanged, this, [this, o](int p) { onFaderMoved(o, p); });
        connect(r.box, &ValueBox::valueEntered, this, [this, o](double v) { onValueEntered(o, v); });
    }
    rows->addStretch(1);
    outer->addLayout(rows, 1);

    auto* side = new QVBoxLayout;
    m_units = new DelayUnitsBox(this);
    side->addWidget(m_units);
    side->addStretch(1);
    outer->addSpacing(12);
    outer->addLayout(side);
    connect(m_units, &DelayUnitsBox::unitChanged, this, &DelayPage::refreshUnits);
    setCaptions();
    refreshUnits();
}

void DelayPage::setCaptions()
{
    for (int o = 1; o <= 16; ++o) {
        Row& r = m_rows[std::size_t(o)];
        r.name->setText(QStringLiteral("CH %1").arg(o));
        r.name->setAccessibleName(r.name->text());
        r.fader->setAccessibleName(QStringLiteral("Output %1 delay").arg(o));
        r.box->setAccessibleName(QStringLiteral("Output %1 delay value").arg(o));
    }
    m_units->setCaptions();
}

void DelayPage::setVisibleCount(int outputs)
{
    for (int o = 1; o <= 16; ++o)
        m_rows[std::size_t(o)].row->setVisible(o <= outputs);
}

int DelayPage::positionOf(double value, DelayUnitsBox::Unit unit)
{
    double p = 0;
    switch (unit) {
    case DelayUnitsBox::Millisecond:
        p = std::floor(value * 10 + 0.5);
        break;
    case DelayUnitsBox::Metres:
        p = std::floor(value * 10 / kMetresPerMs + 0.5);
        break;
    case DelayUnitsBox::Feet:
        p = std::floor(value * 10 / kFeetPerMs + 0.5);
        break;
    }
    return int(std::clamp(p, 0.0, double(kDelayCodeMax)));
}

double DelayPage::valueOf(int position, DelayUnitsBox::Unit unit)
{
    switch (unit) {
    case DelayUnitsBox::Metres:
        return DelayMetresOf(position);
    case DelayUnitsBox::Feet:
        return DelayFeetOf(position);
    case DelayUnitsBox::Millisecond:
        break;
    }
    return DelayMsOf(position);
}

void DelayPage::load()
{
    const MatrixParameters& p = m_context.session.store.params;
    for (int o = 1; o <= 16; ++o) {
        Row& r = m_rows[std::size_t(o)];
        const QSignalBlocker blocker(r.fader);
        r.fader->setValue(p.delay[std::size_t(o)]);
        showValueOf(o);
    }
}

void DelayPage::refreshUnits()
{
    const UnitText& u = kUnits[m_units->unit()];
    for (int o = 1; o <= 16; ++o) {
        Row& r = m_rows[std::size_t(o)];
        {
            const QSignalBlocker blocker(r.fader);
            r.fader->setMaximum(kDelayCodeMax);
        }
        r.box->setSuffix(QString::fromLatin1(u.suffix));
        r.box->setRange(0.0, u.maximum);
        showValueOf(o);
    }
    repaintWhite();
}

void DelayPage::showValueOf(int output)
{
    Row& r = m_rows[std::size_t(output)];
    r.box->showValue(valueOf(r.fader->value(), m_units->unit()));
}

void DelayPage::repaintWhite()
{
    for (int o = 1; o <= 16; ++o)
        HighlightColour::paintWhite(m_rows[std::size_t(o)].box);
}

void DelayPage::onFaderMoved(int output, int position)
{
    Row& r = m_rows[std::size_t(output)];
    repaintWhite();
    if (m_context.session.editorOnScreen && FocusRule::allows(r.fader)) {
        m_context.edits.delay(output, position);
        HighlightColour::paintAqua(r.box);
    }
    showValueOf(output);
}

void DelayPage::onValueEntered(int output, double value)
{
    Row& r = m_rows[std::size_t(output)];
    const int position = positionOf(value, m_units->unit());
    {
        const QSignalBlocker blocker(r.fader);
        r.fader->setValue(position);
    }
    repaintWhite();
    m_context.edits.delay(output, position);
    HighlightColour::paintAqua(r.box);
    showValueOf(output);
}
