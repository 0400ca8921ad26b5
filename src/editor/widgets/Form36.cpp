#include "editor/widgets/Form36.h"

#include "editor/DeferredSend.h"
#include "editor/EditorContext.h"
#include "editor/FilterEntryRules.h"
#include "editor/MatrixEdits.h"
#include "editor/NumericEntryParser.h"
#include "editor/widgets/FocusRule.h"
#include "editor/widgets/HighlightColour.h"
#include "editor/widgets/XoverPage.h"
#include "link/Session.h"
#include "model/MatrixTables.h"
#include "model/MatrixTexts.h"
#include "model/ValueCodes.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {
const char* const kSwitchStyle =
    "QPushButton { padding: 4px 10px; }"
    "QPushButton:checked { background-color: #f0b000; color: black; border: 1px solid #806000; "
    "border-radius: 3px; }";

QSlider* makeSlider(int min, int max, const QString& name, QWidget* parent)
{
    auto* s = new QSlider(Qt::Horizontal, parent);
    s->setRange(min, max);
    s->setSingleStep(1);
    s->setPageStep(10);
    s->setFocusPolicy(Qt::WheelFocus);
    s->setAccessibleName(name);
    s->setMinimumWidth(300);
    return s;
}

QLineEdit* makeBox(const QString& name, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setAccessibleName(name);
    e->setAlignment(Qt::AlignCenter);
    e->setFixedWidth(84);
    return e;
}

void setLabel(QLabel* label, const QString& text)
{
    label->setText(text);
    label->setAccessibleName(text);
}
} // namespace

Form36::Form36(EditorContext& context, XoverPage& page, QWidget* parent)
    : QDialog(parent), m_context(context), m_page(page)
{
    setObjectName(QStringLiteral("Form36"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->setSpacing(8);

    auto* bands = new QHBoxLayout;
    m_bandGroup = new QButtonGroup(this);
    m_bandGroup->setExclusive(true);
    for (int b = 1; b <= 5; ++b) {
        auto* button = new QPushButton(this);
        button->setCheckable(true);
        button->setFocusPolicy(Qt::StrongFocus);
        m_bandButtons[std::size_t(b)] = button;
        m_bandGroup->addButton(button, b);
        bands->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, b] { onBandButton(b); });
    }
    layout->addLayout(bands);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(2);
    m_freqCaption = new QLabel(this);
    m_freq = makeSlider(0, FilterEntryRules::kPeqFrequencyMax, QStringLiteral("Freq"), this);
    m_freqBox = makeBox(QStringLiteral("Freq value"), this);
    m_freqLow = new QLabel(this);
    m_freqHigh = new QLabel(this);
    m_freqHigh->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(m_freqCaption, 0, 0);
    grid->addWidget(m_freq, 0, 1, 1, 3);
    grid->addWidget(m_freqBox, 0, 4);
    grid->addWidget(m_freqLow, 1, 1);
    grid->addWidget(m_freqHigh, 1, 3);

    m_gainCaption = new QLabel(this);
    m_gain = makeSlider(FilterEntryRules::kGainMin, FilterEntryRules::kGainMax, QStringLiteral("Gain"), this);
    m_gain->setValue(FilterEntryRules::kGainZero);
    m_gainBox = makeBox(QStringLiteral("Gain value"), this);
    m_zeroGain = new QPushButton(this);
    grid->addWidget(m_gainCaption, 2, 0);
    grid->addWidget(m_gain, 2, 1, 1, 3);
    grid->addWidget(m_gainBox, 2, 4);
    grid->addWidget(m_zeroGain, 2, 5);
    grid->setRowMinimumHeight(3, 8);

    m_qCaption = new QLabel(this);
    m_qLow = new QLabel(this);
    m_q = makeSlider(FilterEntryRules::kQMin, FilterEntryRules::kQMax, QStringLiteral("Q"), this);
    m_qHigh = new QLabel(this);
    m_qBox = makeBox(QStringLiteral("Q value"), this);
    auto* qRow = new QHBoxLayout;
    qRow->setSpacing(6);
    qRow->addWidget(m_qLow);
    qRow->addWidget(m_q, 1);
    qRow->addWidget(m_qHigh);
    grid->addWidget(m_qCaption, 4, 0);
    grid->addLayout(qRow, 4, 1, 1, 3);
    grid->addWidget(m_qBox, 4, 4);
    grid->setColumnStretch(2, 1);
    layout->addLayout(grid);

    auto* typeRow = new QHBoxLayout;
    m_type = new QComboBox(this);
    m_type->setAccessibleName(QStringLiteral("Filter type"));
    m_type->setFocusPolicy(Qt::StrongFocus);
    for (const char* name : PeqTypeNames)
        m_type->addItem(QString::fromLatin1(name));
    m_type->setMinimumWidth(110);
    m_hint = new QLabel(this);
    typeRow->addWidget(m_type);
    typeRow->addWidget(m_hint, 1);
    layout->addLayout(typeRow);

    auto* bottom = new QHBoxLayout;
    m_bypass = new QPushButton(this);
    m_bypass->setCheckable(true);
    m_bypass->setFocusPolicy(Qt::StrongFocus);
    m_bypass->setStyleSheet(QString::fromLatin1(kSwitchStyle));
    m_done = new QPushButton(this);
    m_done->setMinimumWidth(90);
    bottom->addWidget(m_bypass);
    bottom->addStretch(1);
    bottom->addWidget(m_done);
    layout->addLayout(bottom);

    connect(m_freq, &QSlider::valueChanged, this, &Form36::onFrequencyChanged);
    connect(m_gain, &QSlider::valueChanged, this, &Form36::onGainChanged);
    connect(m_q, &QSlider::valueChanged, this, &Form36::onQChanged);
    connect(m_type, &QComboBox::activated, this, &Form36::onTypeChosen);
    connect(m_bypass, &QPushButton::clicked, this, &Form36::onBypassClicked);
    connect(m_zeroGain, &QPushButton::clicked, this, &Form36::onZeroGain);
    connect(m_done, &QPushButton::clicked, this, &QDialog::accept);
    // Enter, or leaving a box whose text was edited, takes the typed value.
    connect(m_freqBox, &QLineEdit::editingFinished, this, [this] {
        if (m_freqBox->isModified())
            onFrequencyTyped();
    });
    connect(m_qBox, &QLineEdit::editingFinished, this, [this] {
        if (m_qBox->isModified())
            onQTyped();
    });
    connect(m_gainBox, &QLineEdit::editingFinished, this, [this] {
        if (m_gainBox->isModified())
            onGainTyped();
    });

    m_layoutTimer = new QTimer(this);
    m_layoutTimer->setInterval(kLayoutMs);
    connect(m_layoutTimer, &QTimer::timeout, this, &Form36::applyLayout);

    // Enter in a value box takes the typed value; it must not press a button as well.
    for (QPushButton* b : findChildren<QPushButton*>()) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    setCaptions();
    showFrequency(m_freq->value());
    showGain(m_gain->value());
    showQ(m_q->value());
    applyLayout();
}

void Form36::setCaptions()
{
    setWindowTitle(QStringLiteral("PEQ Filter Settings "));
    setAccessibleName(QStringLiteral("PEQ Filter Settings"));
    for (int b = 1; b <= 5; ++b) {
        m_bandButtons[std::size_t(b)]->setText(QStringLiteral("PEQ%1").arg(b));
        m_bandButtons[std::size_t(b)]->setAccessibleName(QStringLiteral("PEQ%1").arg(b));
    }
    setLabel(m_freqCaption, QStringLiteral("Freq"));
    setLabel(m_gainCaption, QStringLiteral("Gain"));
    setLabel(m_qCaption, QStringLiteral("Q"));
    setLabel(m_qLow, QStringLiteral("Low"));
    setLabel(m_qHigh, QStringLiteral("High"));
    setLabel(m_hint, QStringLiteral("Gain must be at 0dB to switch Filter"));
    m_zeroGain->setText(QStringLiteral("Set 0 dB"));
    m_zeroGain->setAccessibleName(QStringLiteral("Set 0 dB"));
    m_bypass->setText(QStringLiteral("Bypass"));
    m_bypass->setAccessibleName(QStringLiteral("Bypass"));
    m_done->setText(QStringLiteral("Done"));
    m_done->setAccessibleName(QStringLiteral("Done"));
}

int Form36::output() const
{
    return std::clamp(m_context.deferred.selection().peqOutput, 1, 16);
}

int Form36::band() const
{
    return std::clamp(m_context.deferred.selection().currentBand, 1, 5);
}

PeqBand Form36::stored() const
{
    return m_context.session.store.params.peq[std::size_t(output())][std::size_t(band())];
}

void Form36::store(const PeqBand& value, bool mark)
{
    m_context.edits.peqBand(output(), band(), value, mark);
}

void Form36::sendNow()
{
    m_context.session.command.Channel = std::uint8_t(output());
    m_context.deferred.commands().SendPeqBand(stored());
}

void Form36::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    DeferredSend& deferred = m_context.deferred;
    deferred.selection().peqBandDialogOnScreen = true;
    // What is still marked goes out once before the counter starts over for this dialog.
    deferred.sendPendingNow();
    deferred.clearPeqBandCounter();
    m_frequencyTyped = m_gainTyped = 0;
    setCaptions();
    m_bypass->setFocus(Qt::OtherFocusReason);
    const int current = deferred.selection().currentBand;
    if (current >= 1 && current <= 5)
        loadBand();
    m_layoutTimer->start();
}

void Form36::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    m_layoutTimer->stop();
    m_context.deferred.selection().peqBandDialogOnScreen = false;
}

void Form36::loadBand()
{
    const PeqBand v = stored();
    m_loading = true;
    m_freq->setValue(v.frequency);
    showFrequency(m_freq->value());
    m_q->setValue(v.q);
    showQ(m_q->value());
    m_gain->setValue(v.gain);
    showGain(m_gain->value());
    {
        const QSignalBlocker blocker(m_type);
        m_type->setCurrentIndex(v.type <= 3 ? int(v.type) : -1);
    }
    m_bypass->setChecked(v.flags > 0x7F);
    m_bandButtons[std::size_t(band())]->setChecked(true);
    for (QWidget* box : {static_cast<QWidget*>(m_freqBox), static_cast<QWidget*>(m_qBox),
                         static_cast<QWidget*>(m_gainBox)})
        HighlightColour::paintWhite(box);
    m_loading = false;
    applyLayout();
}

void Form36::applyLayout()
{
    m_loading = true;
    m_type->setEnabled(m_gain->value() == FilterEntryRules::kGainZero);
    const int type = m_type->currentIndex();
    const FilterEntryRules::PeqFrequencyLayout f = FilterEntryRules::peqFrequencyLayout(type);
    m_freq->setRange(f.range.min, f.range.max);
    setLabel(m_freqLow, f.lowLabel);
    setLabel(m_freqHigh, f.highLabel);
    const bool qRow = type == 0;
    for (QWidget* w : {static_cast<QWidget*>(m_qLow), static_cast<QWidget*>(m_qBox),
                       static_cast<QWidget*>(m_qHigh), static_cast<QWidget*>(m_q), static_cast<QWidget*>(m_qCaption)})
        w->setVisible(qRow);
    const bool gainRow = type != 3;
    if (!gainRow)
        m_gain->setValue(FilterEntryRules::kGainZero);
    for (QWidget* w : {static_cast<QWidget*>(m_gain), static_cast<QWidget*>(m_gainBox),
                       static_cast<QWidget*>(m_zeroGain), static_cast<QWidget*>(m_gainCaption)})
        w->setVisible(gainRow);
    m_loading = false;
}

void Form36::showFrequency(int index)
{
    m_freqBox->setText(PeqFrequencyText(index) + QStringLiteral("Hz"));
}

void Form36::showGain(int code)
{
    m_gainBox->setText(QString::number(LevelDbOf(code), 'f', 1) + QStringLiteral("dB"));
}

void Form36::showQ(int index)
{
    m_qBox->setText(QLabelText(index));
}

void Form36::onBandButton(int b)
{
    m_bypass->setFocus(Qt::OtherFocusReason);
    // The counter carries one band: what is still marked for the band left goes out now.
    m_context.deferred.sendPendingNow();
    m_context.deferred.selection().currentBand = b;
    loadBand();
}

void Form36::onFrequencyChanged(int index)
{
    const bool typed = m_frequencyTyped == kSet;
    m_frequencyTyped = 0;
    if (!m_loading && isVisible() && (typed || FocusRule::allows(m_freq))) {
        PeqBand v = stored();
        v.frequency = index;
        store(v, true);
        HighlightColour::paintAqua(m_freqBox);
    }
    showFrequency(index);
    m_page.setCurveCountdown(CurveRedrawCountdown::kShort);
}

void Form36::onGainChanged(int code)
{
    const bool typed = m_gainTyped == kSet;
    m_gainTyped = 0;
    if (!m_loading && isVisible() && (typed || FocusRule::allows(m_gain))) {
        PeqBand v = stored();
        v.gain = code;
        store(v, true);
        HighlightColour::paintAqua(m_gainBox);
    }
    showGain(code);
    m_page.setCurveCountdown(CurveRedrawCountdown::kShort);
}

void Form36::onQChanged(int index)
{
    if (!m_loading && isVisible() && FocusRule::allows(m_q)) {
        PeqBand v = stored();
        v.q = std::uint8_t(index);
        store(v, true);
        HighlightColour::paintAqua(m_qBox);
    }
    showQ(index);
    m_page.setCurveCountdown(CurveRedrawCountdown::kShort);
}

void Form36::onTypeChosen(int type)
{
    if (!isVisible() || type < 0 || type > 3)
        return;
    // A new type starts at 1.00 kHz, inside every type's frequency range.
    m_loading = true;
    m_freq->setValue(FilterEntryRules::kShelfCornerIndex);
    m_loading = false;
    showFrequency(m_freq->value());
    PeqBand v = stored();
    v.frequency = FilterEntryRules::kShelfCornerIndex;
    v.type = std::uint8_t(type);
    store(v, false);
    sendNow();
    applyLayout();
    m_page.setCurveCountdown(CurveRedrawCountdown::kLong);
    m_page.drawResponseCurve(output());
}

void Form36::onBypassClicked(bool on)
{
    if (!isVisible())
        return;
    PeqBand v = stored();
    v.flags = on ? kBandBypassed : 0x00;
    store(v, false);
    sendNow();
    m_page.setCurveCountdown(CurveRedrawCountdown::kLong);
    m_page.drawResponseCurve(output());
}

void Form36::onZeroGain()
{
    m_loading = true;
    m_gain->setValue(FilterEntryRules::kGainZero);
    m_loading = false;
    showGain(m_gain->value());
    PeqBand v = stored();
    v.gain = FilterEntryRules::kGainZero;
    store(v, false);
    sendNow();
    m_page.setCurveCountdown(CurveRedrawCountdown::kLong);
}

void Form36::onFrequencyTyped()
{
    const double hz = NumericEntryParser(m_freqBox->text());
    if (hz == kNumericEntryFailure) {
        showFrequency(m_freq->value());
        return;
    }
    const int index = FilterEntryRules::peqFrequencyIndex(hz);
    m_frequencyTyped = kSet;
    const int before = m_freq->value();
    m_freq->setValue(index);
    // The same position raises no change: the typed value still counts as an edit.
    if (m_freq->value() == before)
        onFrequencyChanged(before);
}

void Form36::onQTyped()
{
    const double value = NumericEntryParser(m_qBox->text());
    if (value == kNumericEntryFailure) {
        showQ(m_q->value());
        return;
    }
    const FilterEntryRules::QEntry entry = FilterEntryRules::qEntry(value);
    if (entry.store) {
        PeqBand v = stored();
        v.q = std::uint8_t(entry.index);
        store(v, true);
        HighlightColour::paintAqua(m_qBox);
    }
    m_loading = true;
    m_q->setValue(entry.index);
    m_loading = false;
    showQ(m_q->value());
    // After the slider's own change, which asks for the short countdown.
    m_page.setCurveCountdown(CurveRedrawCountdown::kLong);
}

void Form36::onGainTyped()
{
    const double db = NumericEntryParser(m_gainBox->text());
    if (db == kNumericEntryFailure) {
        showGain(m_gain->value());
        return;
    }
    m_gainTyped = kSet;
    const int before = m_gain->value();
    m_gain->setValue(LevelCodeFromDb(db));
    if (m_gain->value() == before)
        onGainChanged(before);
}
