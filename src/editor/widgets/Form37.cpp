#include "editor/widgets/Form37.h"

#include "editor/DeferredSend.h"
#include "editor/EditorContext.h"
#include "editor/FilterEntryRules.h"
#include "editor/MatrixEdits.h"
#include "editor/NumericEntryParser.h"
#include "editor/widgets/XoverPage.h"
#include "link/Session.h"
#include "model/MatrixTables.h"
#include "model/MatrixTexts.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace {
QSlider* makeSlider(const QString& name, QWidget* parent)
{
    auto* s = new QSlider(Qt::Horizontal, parent);
    s->setSingleStep(1);
    s->setPageStep(10);
    s->setFocusPolicy(Qt::WheelFocus);
    s->setAccessibleName(name);
    s->setMinimumWidth(320);
    return s;
}

void setLabel(QLabel* label, const QString& text)
{
    label->setText(text);
    label->setAccessibleName(text);
}
} // namespace

Form37::Form37(EditorContext& context, XoverPage& page, QWidget* parent)
    : QDialog(parent), m_context(context), m_page(page)
{
    setObjectName(QStringLiteral("Form37"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->setSpacing(8);

    auto* sides = new QHBoxLayout;
    m_sides = new QButtonGroup(this);
    m_sides->setExclusive(true);
    m_highButton = new QPushButton(this);
    m_lowButton = new QPushButton(this);
    for (QPushButton* b : {m_highButton, m_lowButton}) {
        b->setCheckable(true);
        b->setFocusPolicy(Qt::StrongFocus);
        b->setMinimumWidth(100);
        sides->addWidget(b);
    }
    m_sides->addButton(m_highButton, HighPass);
    m_sides->addButton(m_lowButton, LowPass);
    sides->addStretch(1);
    layout->addLayout(sides);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(2);
    m_freqCaption = new QLabel(this);
    m_highSlider = makeSlider(QStringLiteral("High-pass frequency"), this);
    m_lowSlider = makeSlider(QStringLiteral("Low-pass frequency"), this);
    m_highSlider->setRange(0, FilterEntryRules::kHighPassMax);
    m_lowSlider->setRange(FilterEntryRules::kLowPassMin, FilterEntryRules::kLowPassMax);
    m_box = new QLineEdit(this);
    m_box->setAccessibleName(QStringLiteral("Frequency value"));
    m_box->setAlignment(Qt::AlignCenter);
    m_box->setFixedWidth(90);
    m_lowerLabel = new QLabel(this);
    m_upperLabel = new QLabel(this);
    m_upperLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* sliders = new QHBoxLayout;
    sliders->setContentsMargins(0, 0, 0, 0);
    sliders->addWidget(m_highSlider);
    sliders->addWidget(m_lowSlider);
    grid->addWidget(m_freqCaption, 0, 0);
    grid->addLayout(sliders, 0, 1, 1, 2);
    grid->addWidget(m_box, 0, 3);
    grid->addWidget(m_lowerLabel, 1, 1);
    grid->addWidget(m_upperLabel, 1, 2);
    grid->setRowMinimumHeight(2, 8);
    m_slopeCaption = new QLabel(this);
    m_slope = new QComboBox(this);
    m_slope->setAccessibleName(QStringLiteral("SLOPE"));
    m_slope->setFocusPolicy(Qt::StrongFocus);
    for (const char* name : FilterTypeNames)
        m_slope->addItem(QString::fromLatin1(name));
    m_slope->setCurrentIndex(-1);
    m_slope->setMinimumWidth(170);
    grid->addWidget(m_slopeCaption, 3, 0);
    grid->addWidget(m_slope, 3, 1, 1, 2, Qt::AlignLeft);
    layout->addLayout(grid);

    auto* bottom = new QHBoxLayout;
    m_done = new QPushButton(this);
    m_done->setMinimumWidth(90);
    bottom->addStretch(1);
    bottom->addWidget(m_done);
    layout->addLayout(bottom);

    connect(m_highButton, &QPushButton::clicked, this, [this] { showSide(HighPass); });
    connect(m_lowButton, &QPushButton::clicked, this, [this] { showSide(LowPass); });
    connect(m_highSlider, &QSlider::valueChanged, this, [this](int p) { onSliderChanged(HighPass, p); });
    connect(m_lowSlider, &QSlider::valueChanged, this, [this](int p) { onSliderChanged(LowPass, p); });
    connect(m_highSlider, &QSlider::sliderPressed, this, [this] { onSliderPressed(HighPass); });
    connect(m_lowSlider, &QSlider::sliderPressed, this, [this] { onSliderPressed(LowPass); });
    connect(m_slope, &QComboBox::activated, this, &Form37::onSlopeChosen);
    connect(m_box, &QLineEdit::editingFinished, this, [this] {
        if (m_box->isModified())
            onFrequencyTyped();
    });
    connect(m_done, &QPushButton::clicked, this, &QDialog::accept);

    // Enter in a value box takes the typed value; it must not press a button as well.
    for (QPushButton* b : findChildren<QPushButton*>()) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    setCaptions();
    m_lowSlider->hide();
}

void Form37::setCaptions()
{
    setWindowTitle(QStringLiteral("XOVER Filter Settings"));
    setAccessibleName(QStringLiteral("XOVER Filter Settings"));
    m_highButton->setText(QStringLiteral("HighPass"));
    m_highButton->setAccessibleName(QStringLiteral("HighPass"));
    m_lowButton->setText(QStringLiteral("LowPass"));
    m_lowButton->setAccessibleName(QStringLiteral("LowPass"));
    setLabel(m_freqCaption, QStringLiteral("FREQ"));
    setLabel(m_slopeCaption, QStringLiteral("SLOPE"));
    m_done->setText(QStringLiteral("Done"));
    m_done->setAccessibleName(QStringLiteral("Done"));
}

int Form37::output() const
{
    return std::clamp(m_context.deferred.selection().peqOutput, 1, 16);
}

QSlider* Form37::visibleSlider() const
{
    return m_side == HighPass ? m_highSlider : m_lowSlider;
}

void Form37::settleCounters()
{
    // A change still marked goes out once (with its side's stored type) before the counters
    // start over; dropping it would leave the unit on the old value.
    m_context.deferred.sendPendingNow();
    m_context.deferred.clearCrossoverCounters();
}

void Form37::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_context.deferred.selection().crossoverDialogOnScreen = true;
    if (m_slope->currentIndex() < 0) {
        const QSignalBlocker blocker(m_slope);
        m_slope->setCurrentIndex(0);
    }
    showSide(HighPass);
    showSide(LowPass);
    showSide(m_page.crossoverSide() == HighPass ? HighPass : LowPass);
    setCaptions();
}

void Form37::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    m_context.deferred.selection().crossoverDialogOnScreen = false;
}

void Form37::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        settleCounters();
}

void Form37::showSide(int side)
{
    const CrossoverSettings x = m_context.session.store.params.crossover[std::size_t(output())];
    m_side = side == LowPass ? LowPass : HighPass;
    m_loading = true;
    int type;
    if (m_side == HighPass) {
        m_highButton->setChecked(true);
        m_done->setFocus(Qt::OtherFocusReason);
        m_lowSlider->hide();
        m_highSlider->show();
        setLabel(m_lowerLabel, QStringLiteral("10Hz"));
        setLabel(m_upperLabel, CrossoverFrequencyText(x.lowPassFrequency));
        const FilterEntryRules::Range r = FilterEntryRules::highPassRange(x.lowPassFrequency);
        m_highSlider->setRange(r.min, r.max);
        m_highSlider->setValue(x.highPassFrequency);
        type = x.highPassType;
    } else {
        m_lowButton->setChecked(true);
        m_done->setFocus(Qt::OtherFocusReason);
        m_highSlider->hide();
        m_lowSlider->show();
        setLabel(m_upperLabel, QStringLiteral("20KHz"));
        setLabel(m_lowerLabel, CrossoverFrequencyText(x.highPassFrequency));
        const FilterEntryRules::Range r = FilterEntryRules::lowPassRange(x.highPassFrequency);
        m_lowSlider->setRange(r.min, r.max);
        m_lowSlider->setValue(x.lowPassFrequency);
        type = x.lowPassType;
    }
    // The box shows the stored frequency (which a slider limit may not reach).
    m_box->setText(CrossoverFrequencyText(m_side == HighPass ? x.highPassFrequency : x.lowPassFrequency));
    {
        const QSignalBlocker blocker(m_slope);
        m_slope->setCurrentIndex(type >= 0 && type < kFilterTypeCount ? type : 0);
    }
    m_loading = false;
    settleCounters();
}

void Form37::onSliderChanged(int side, int position)
{
    m_page.setCurveCountdown(CurveRedrawCountdown::kShort);
    if (m_loading || !isVisible())
        return;
    const int out = output();
    const CrossoverSettings& x = m_context.session.store.params.crossover[std::size_t(out)];
    int index;
    if (side == HighPass) {
        index = FilterEntryRules::storedHighPass(position);
        m_context.edits.highPass(out, index, x.highPassType);
    } else {
        index = FilterEntryRules::storedLowPass(position);
        m_context.edits.lowPass(out, index, x.lowPassType);
    }
    m_box->setText(CrossoverFrequencyText(index));
    m_page.drawResponseCurve(out);
}

void Form37::onSliderPressed(int side)
{
    if (side == HighPass)
        m_context.deferred.markHighPass();
    else
        m_context.deferred.markLowPass();
}

void Form37::onSlopeChosen(int type)
{
    m_page.setCurveCountdown(CurveRedrawCountdown::kShort);
    if (!isVisible() || type < 0 || type >= kFilterTypeCount)
        return;
    const int out = output();
    const CrossoverSettings& x = m_context.session.store.params.crossover[std::size_t(out)];
    if (m_side == HighPass)
        m_context.edits.highPass(out, x.highPassFrequency, type);
    else
        m_context.edits.lowPass(out, x.lowPassFrequency, type);
}

void Form37::onFrequencyTyped()
{
    QSlider* slider = visibleSlider();
    const double hz = NumericEntryParser(m_box->text());
    if (hz == kNumericEntryFailure) {
        // Unreadable text changes nothing: the box shows the stored frequency again.
        const CrossoverSettings& x = m_context.session.store.params.crossover[std::size_t(output())];
        m_box->setText(CrossoverFrequencyText(m_side == HighPass ? x.highPassFrequency : x.lowPassFrequency));
        return;
    }
    const int index = FilterEntryRules::crossoverFrequencyIndex(hz);
    const int before = slider->value();
    slider->setValue(index);
    if (slider->value() == before)
        onSliderChanged(m_side, before);
}
