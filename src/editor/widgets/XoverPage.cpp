#include "editor/widgets/XoverPage.h"

#include "editor/DeferredSend.h"
#include "editor/EditorContext.h"
#include "editor/LoadWithoutSending.h"
#include "editor/MatrixEdits.h"
#include "editor/ResponseCurve.h"
#include "editor/widgets/ChannelStrip.h"
#include "editor/widgets/FocusRule.h"
#include "editor/widgets/Form36.h"
#include "editor/widgets/Form37.h"
#include "editor/widgets/ResponsePlot.h"
#include "editor/widgets/ValueBox.h"
#include "link/Session.h"
#include "model/MatrixTexts.h"
#include "model/ValueCodes.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {
const char* const kPanelStyle =
    "QPushButton { background-color: white; color: black; border: 1px solid #7a7a7a; border-radius: 0px; "
    "padding: 2px 4px; }"
    "QPushButton:hover { background-color: #eef6ff; }"
    "QPushButton:focus { border: 1px solid #2060c0; }";
const char* const kSwitchStyle =
    "QPushButton { padding: 3px 6px; }"
    "QPushButton:checked { background-color: #f0b000; color: black; border: 1px solid #806000; "
    "border-radius: 3px; }";

QPushButton* makePanel(const QString& objectName, const QString& accessible, QWidget* parent)
{
    auto* b = new QPushButton(parent);
    b->setObjectName(objectName);
    b->setAccessibleName(accessible);
    b->setStyleSheet(QString::fromLatin1(kPanelStyle));
    b->setFocusPolicy(Qt::StrongFocus);
    b->setMinimumWidth(64);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

QLabel* makeCaption(const QString& objectName, QWidget* parent)
{
    auto* l = new QLabel(parent);
    l->setObjectName(objectName);
    return l;
}

void setCaption(QLabel* label, const QString& text)
{
    label->setText(text);
    label->setAccessibleName(text);
}

void setPanelText(QPushButton* panel, const QString& text)
{
    panel->setText(text);
}
} // namespace

XoverPage::XoverPage(EditorContext& context, QTabBar* tabs, QWidget* parent)
    : QWidget(parent), m_context(context), m_tabs(tabs)
{
    setObjectName(QStringLiteral("XoverPage"));
    setAccessibleName(QStringLiteral("XOVER"));

    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 4, 0, 0);
    outer->setSpacing(10);

    auto* left = new QVBoxLayout;
    left->setSpacing(6);
    m_plot = new ResponsePlot(this);
    left->addWidget(m_plot, 1);
    auto* groups = new QHBoxLayout;
    groups->setSpacing(8);
    groups->addWidget(buildPeqGroup(), 0);
    groups->addWidget(buildXoverGroup(), 0);
    groups->addStretch(1);
    left->addLayout(groups);
    outer->addLayout(left, 1);

    m_strip = new ChannelStrip(ChannelStrip::Kind::GainWithPolarity, this);
    m_strip->nameLabel()->setObjectName(QStringLiteral("PEQ_NAME"));
    m_strip->fader()->setObjectName(QStringLiteral("PEQ_GAIN"));
    m_strip->valueBox()->setObjectName(QStringLiteral("PEQ_EDIT1"));
    m_strip->muteSwitch()->setObjectName(QStringLiteral("PEQ_GAIN_MUTE"));
    m_strip->polarityBox()->setObjectName(QStringLiteral("PEQ_PHASE"));
    outer->addWidget(m_strip, 0);
    connect(m_strip, &ChannelStrip::faderMoved, this, &XoverPage::onFaderMoved);
    connect(m_strip, &ChannelStrip::valueEntered, this, &XoverPage::onValueEntered);
    connect(m_strip, &ChannelStrip::muteClicked, this, &XoverPage::onMuteClicked);
    connect(m_strip, &ChannelStrip::polarityClicked, this, &XoverPage::onPolarityClicked);

    // Timer1: runs for the page's whole life; its tick does nothing while the plot is not shown.
    m_curveTimer = new QTimer(this);
    m_curveTimer->setInterval(CurveRedrawCountdown::kTickMs);
    connect(m_curveTimer, &QTimer::timeout, this, &XoverPage::curveTick);
    m_curveTimer->start();

    // Enter in the value box takes the typed gain; it must not press a value panel or a switch
    // (the editor is a dialog, whose Enter key presses its default button).
    for (QPushButton* b : findChildren<QPushButton*>()) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    setCaptions();
}

XoverPage::~XoverPage() = default;

QWidget* XoverPage::buildPeqGroup()
{
    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("PEQ"));
    auto* row = new QHBoxLayout(group);
    row->setContentsMargins(6, 4, 6, 6);
    row->setSpacing(6);
    for (int b = 1; b <= 5; ++b) {
        BandControls& c = m_bands[std::size_t(b)];
        auto* frame = new QFrame(group);
        frame->setFrameShape(QFrame::StyledPanel);
        auto* grid = new QGridLayout(frame);
        grid->setContentsMargins(4, 3, 4, 4);
        grid->setHorizontalSpacing(4);
        grid->setVerticalSpacing(3);
        c.heading = makeCaption(QStringLiteral("PEQ_BAND%1").arg(b), frame);
        c.heading->setAlignment(Qt::AlignCenter);
        QFont bold = c.heading->font();
        bold.setBold(true);
        c.heading->setFont(bold);
        c.freqCaption = makeCaption(QStringLiteral("PEQ_FREQ%1").arg(b), frame);
        c.gainCaption = makeCaption(QStringLiteral("PEQ_GAIN%1").arg(b), frame);
        c.qCaption = makeCaption(QStringLiteral("PEQ_Q%1").arg(b), frame);
        const QString band = QStringLiteral("Band %1").arg(b);
        c.freq = makePanel(QStringLiteral("peq%1_freq").arg(b), band + QStringLiteral(" frequency"), frame);
        c.gain = makePanel(QStringLiteral("peq%1_gain").arg(b), band + QStringLiteral(" gain"), frame);
        c.q = makePanel(QStringLiteral("peq%1_q").arg(b), band + QStringLiteral(" Q"), frame);
        c.mode = makePanel(QStringLiteral("peq%1_mode").arg(b), band + QStringLiteral(" type"), frame);
        c.bypass = new QPushButton(frame);
        c.bypass->setObjectName(QStringLiteral("PEQ%1_SW").arg(b));
        c.bypass->setAccessibleName(band + QStringLiteral(" bypass"));
        c.bypass->setCheckable(true);
        c.bypass->setFocusPolicy(Qt::StrongFocus);
        c.bypass->setStyleSheet(QString::fromLatin1(kSwitchStyle));
        grid->addWidget(c.heading, 0, 0, 1, 2);
        grid->addWidget(c.freqCaption, 1, 0);
        grid->addWidget(c.freq, 1, 1);
        grid->addWidget(c.gainCaption, 2, 0);
        grid->addWidget(c.gain, 2, 1);
        grid->addWidget(c.qCaption, 3, 0);
        grid->addWidget(c.q, 3, 1);
        grid->addWidget(c.mode, 4, 0, 1, 2);
        grid->addWidget(c.bypass, 5, 0, 1, 2);
        grid->setRowStretch(6, 1);
        row->addWidget(frame);
        for (QPushButton* panel : {c.freq, c.gain, c.q, c.mode})
            connect(panel, &QPushButton::clicked, this, [this, b] { openBandDialog(b); });
        connect(c.bypass, &QPushButton::clicked, this, [this, b](bool lit) { onBypassToggled(b, lit); });
    }
    return group;
}

QWidget* XoverPage::buildXoverGroup()
{
    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("XOVER"));
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(6, 4, 6, 6);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);
    m_highPassCaption = makeCaption(QStringLiteral("HighPass"), group);
    m_lowPassCaption = makeCaption(QStringLiteral("LowPass"), group);
    m_hiFreq = makePanel(QStringLiteral("Hi_freq"), QStringLiteral("High-pass frequency"), group);
    m_hiSlope = makePanel(QStringLiteral("hi_slope"), QStringLiteral("High-pass slope"), group);
    m_loFreq = makePanel(QStringLiteral("lo_freq"), QStringLiteral("Low-pass frequency"), group);
    m_loSlope = makePanel(QStringLiteral("lo_slope"), QStringLiteral("Low-pass slope"), group);
    m_hiSlope->setMinimumWidth(124);
    m_loSlope->setMinimumWidth(124);
    m_shadow = new QCheckBox(group);
    m_shadow->setObjectName(QStringLiteral("CheckBox1"));
    grid->addWidget(m_highPassCaption, 0, 0, 1, 2);
    grid->addWidget(m_hiFreq, 1, 0);
    grid->addWidget(m_hiSlope, 1, 1);
    grid->addWidget(m_lowPassCaption, 2, 0, 1, 2);
    grid->addWidget(m_loFreq, 3, 0);
    grid->addWidget(m_loSlope, 3, 1);
    grid->addWidget(m_shadow, 4, 0, 1, 2);
    grid->setRowStretch(5, 1);
    connect(m_hiFreq, &QPushButton::clicked, this, [this] { openCrossoverDialog(1); });
    connect(m_hiSlope, &QPushButton::clicked, this, [this] { openCrossoverDialog(1); });
    connect(m_loFreq, &QPushButton::clicked, this, [this] { openCrossoverDialog(2); });
    connect(m_loSlope, &QPushButton::clicked, this, [this] { openCrossoverDialog(2); });
    connect(m_shadow, &QCheckBox::clicked, this, &XoverPage::onShadowToggled);
    return group;
}

void XoverPage::setDialogs(Form36* peqBandDialog, Form37* crossoverDialog)
{
    m_peqDialog = peqBandDialog;
    m_crossoverDialog = crossoverDialog;
    // Closing either dialog shows what it changed (and sends what is still marked).
    for (QDialog* d : {static_cast<QDialog*>(peqBandDialog), static_cast<QDialog*>(crossoverDialog)}) {
        if (d)
            connect(d, &QDialog::finished, this, [this] { loadPeqPage(shownOutput()); });
    }
}

void XoverPage::setCaptions()
{
    if (auto* g = findChild<QGroupBox*>(QStringLiteral("PEQ"))) {
        g->setTitle(QStringLiteral("PEQ"));
        g->setAccessibleName(g->title());
    }
    if (auto* g = findChild<QGroupBox*>(QStringLiteral("XOVER"))) {
        g->setTitle(QStringLiteral("XOVER"));
        g->setAccessibleName(g->title());
    }
    for (int b = 1; b <= 5; ++b) {
        BandControls& c = m_bands[std::size_t(b)];
        setCaption(c.heading, QStringLiteral("PEQ%1").arg(b));
        setCaption(c.freqCaption, QStringLiteral("FREQ"));
        setCaption(c.gainCaption, QStringLiteral("GAIN"));
        setCaption(c.qCaption, QStringLiteral("Q"));
        c.bypass->setText(QStringLiteral("Bypass"));
    }
    setCaption(m_highPassCaption, QStringLiteral("HighPass"));
    setCaption(m_lowPassCaption, QStringLiteral("LowPass"));
    m_shadow->setText(QStringLiteral("Shadow"));
    m_shadow->setAccessibleName(QStringLiteral("Shadow"));
    const int output = shownOutput();
    m_strip->setName(QStringLiteral("CH%1").arg(output));
    // Named apart from the Output Gain page's strips, which stand beside it in the editor.
    m_strip->setPurpose(QStringLiteral("XOVER output %1").arg(output));
}

void XoverPage::setCounts(int /*inputs*/, int /*outputs*/)
{
    // The tabs are the editor's; nothing on the page depends on the counts.
}

int XoverPage::shownOutput() const
{
    if (m_tabs && m_tabs->currentIndex() >= 0)
        return std::clamp(m_tabs->currentIndex() + 1, 1, 16);
    return std::clamp(m_context.deferred.selection().peqOutput, 1, 16);
}

QPushButton* XoverPage::bypassSwitch(int band) const
{
    return band >= 1 && band <= 5 ? m_bands[std::size_t(band)].bypass : nullptr;
}
QPushButton* XoverPage::frequencyPanel(int band) const
{
    return band >= 1 && band <= 5 ? m_bands[std::size_t(band)].freq : nullptr;
}
QPushButton* XoverPage::gainPanel(int band) const
{
    return band >= 1 && band <= 5 ? m_bands[std::size_t(band)].gain : nullptr;
}
QPushButton* XoverPage::qPanel(int band) const
{
    return band >= 1 && band <= 5 ? m_bands[std::size_t(band)].q : nullptr;
}
QPushButton* XoverPage::modePanel(int band) const
{
    return band >= 1 && band <= 5 ? m_bands[std::size_t(band)].mode : nullptr;
}
QLabel* XoverPage::gainCaption(int band) const
{
    return band >= 1 && band <= 5 ? m_bands[std::size_t(band)].gainCaption : nullptr;
}
QLabel* XoverPage::qCaption(int band) const
{
    return band >= 1 && band <= 5 ? m_bands[std::size_t(band)].qCaption : nullptr;
}

void XoverPage::loadPeqPage(int output)
{
    output = std::clamp(output, 1, 16);
    // The scope first sends what is still marked, for the output shown so far.
    LoadWithoutSending scope(m_context.session, m_context.deferred);
    if (m_tabs && output - 1 < m_tabs->count() && m_tabs->currentIndex() != output - 1) {
        const QSignalBlocker blocker(m_tabs);
        m_tabs->setCurrentIndex(output - 1);
    }
    m_context.deferred.selection().peqOutput = output;
    m_context.session.command.Channel = std::uint8_t(output);
    drawResponseCurve(output);
    setCaptions();
    fillStrip(output);
    fillCrossover(output);
    for (int b = 1; b <= 5; ++b)
        fillBand(output, b);
}

void XoverPage::fillStrip(int output)
{
    const MatrixParameters& p = m_context.session.store.params;
    m_strip->load(p.outputGain[std::size_t(output)]);
    m_strip->loadPolarity(p.polarity[std::size_t(output)]);
}

void XoverPage::fillCrossover(int output)
{
    const CrossoverSettings& x = m_context.session.store.params.crossover[std::size_t(output)];
    setPanelText(m_hiFreq, CrossoverFrequencyText(x.highPassFrequency));
    setPanelText(m_loFreq, CrossoverFrequencyText(x.lowPassFrequency));
    setPanelText(m_hiSlope, FilterTypeText(x.highPassType));
    setPanelText(m_loSlope, FilterTypeText(x.lowPassType));
}

void XoverPage::fillBand(int output, int band)
{
    const PeqBand& v = m_context.session.store.params.peq[std::size_t(output)][std::size_t(band)];
    BandControls& c = m_bands[std::size_t(band)];
    setPanelText(c.freq, PeqFrequencyText(v.frequency) + QStringLiteral("Hz"));
    setPanelText(c.gain, PeqGainText(v.gain));
    setPanelText(c.q, QLabelText(v.q));
    setPanelText(c.mode, PeqTypeText(v.type));
    // Rows by type: PEQ shows gain and Q, the shelves the gain only, ALLPASS neither; a code
    // without a name leaves the rows as they were.
    if (v.type <= 3) {
        const bool gainRow = v.type != 3;
        const bool qRow = v.type == 0;
        c.gainCaption->setVisible(gainRow);
        c.gain->setVisible(gainRow);
        c.qCaption->setVisible(qRow);
        c.q->setVisible(qRow);
    }
    c.bypass->setChecked(v.flags > 0x7F);
}

void XoverPage::drawResponseCurve(int output)
{
    DrawResponseCurvePoints(m_context.session.store.params, output, m_shadow->isChecked(), m_points);
    m_plot->setTrace(m_points);
    ++m_draws;
}

void XoverPage::curveTick()
{
    if (m_countdown.tick(m_plot->isVisible()))
        drawResponseCurve(shownOutput());
}

void XoverPage::openBandDialog(int band)
{
    // A bypass change still marked belongs to the band edited so far: it goes out before the
    // dialog takes the band counter over.
    m_context.deferred.sendPendingNow();
    m_context.deferred.selection().currentBand = band;
    if (m_peqDialog)
        m_peqDialog->open();
}

void XoverPage::openCrossoverDialog(int side)
{
    m_context.deferred.sendPendingNow();
    m_crossoverSide = side;
    if (m_crossoverDialog)
        m_crossoverDialog->open();
}

void XoverPage::onBypassToggled(int band, bool lit)
{
    m_countdown.set(CurveRedrawCountdown::kLong);
    if (!m_context.session.editorOnScreen)
        return;
    DeferredSend& deferred = m_context.deferred;
    // One band counter serves all five bands: a change of another band still marked is sent now,
    // or the counter would carry only the band toggled last.
    if (deferred.peqBandCounter() != 0 && deferred.selection().currentBand != band)
        deferred.sendPendingNow();
    const int output = shownOutput();
    PeqBand v = m_context.session.store.params.peq[std::size_t(output)][std::size_t(band)];
    v.flags = lit ? kBandBypassed : 0x00;
    m_context.edits.peqBand(output, band, v);
    drawResponseCurve(output);
}

void XoverPage::onShadowToggled()
{
    m_countdown.set(CurveRedrawCountdown::kLong);
    drawResponseCurve();
}

void XoverPage::onPolarityClicked(bool ticked)
{
    if (!m_context.session.editorOnScreen)
        return;
    const int output = shownOutput();
    const std::uint8_t polarity = ticked ? kPolarityInverted : kPolarityNormal;
    // Stores, points Channel at the output and marks it; sent now and on the next two ticks.
    m_context.edits.polarity(output, polarity);
    m_context.deferred.commands().SendPolarity(polarity);
}

void XoverPage::onMuteClicked(bool /*lit*/)
{
    if (!m_context.session.editorOnScreen)
        return;
    m_context.edits.outputGain(shownOutput(), m_strip->word());
}

void XoverPage::onFaderMoved(int position)
{
    m_strip->showPosition(position);
    if (m_context.session.editorOnScreen && FocusRule::allows(m_strip->fader()))
        m_context.edits.outputGain(shownOutput(), m_strip->word());
}

void XoverPage::onValueEntered(double db)
{
    const int position = std::clamp(LevelCodeFromDb(db), kLevelCodeMin, kLevelCodeMax);
    if (!m_context.session.editorOnScreen) {
        m_strip->showPosition(m_strip->position());
        return;
    }
    m_strip->moveTo(position);
    const LevelWord word = m_strip->word();
    const int output = shownOutput();
    // A typed gain is sent once, at once, without a mark.
    m_context.edits.outputGain(output, word, false);
    m_context.deferred.commands().SendOutputGain(word);
}
