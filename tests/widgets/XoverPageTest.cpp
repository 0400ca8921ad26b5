// The XOVER page under the offscreen platform: what a load shows, the plot's trace and labels, the
// redraw countdown, and what the page's own controls store, mark and send.
#include "XoverFixture.h"

#include "editor/widgets/ChannelStrip.h"
#include "editor/widgets/ValueBox.h"
#include "model/ValueCodes.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLogValueAxis>
#include <QtCharts/QValueAxis>

#include <cmath>

namespace {

using XoverPageTest = XoverFixture;

constexpr double kNeutral = 0.190476;

void typeIntoValueBox(ValueBox* box, const QString& text)
{
    box->setFocus(Qt::MouseFocusReason);
    box->selectAll();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

// y of the first trace point at hz above the floor.
double traceAt(const QLineSeries* trace, double hz)
{
    for (const QPointF& p : trace->points())
        if (p.x() == hz && p.y() > kCurveFloor)
            return p.y();
    return NAN;
}

} // namespace

TEST_F(XoverPageTest, LoadingAnOutputSelectsItsTabAndLeavesNoMarks)
{
    openXover(1);
    editor->deferred().mark(DeferredSend::outputGainCounter(5));
    page->loadPeqPage(5);
    EXPECT_EQ(editor->channelTabs(2)->currentIndex(), 4);
    EXPECT_EQ(page->shownOutput(), 5);
    EXPECT_EQ(session->command.Channel, 5);
    EXPECT_EQ(editor->deferred().selection().peqOutput, 5);
    EXPECT_FALSE(editor->deferred().anyPending());
    EXPECT_EQ(editor->deferred().peqBandCounter(), 0);
    EXPECT_EQ(session->link.LinkConnected, 100); // sending is back on after the load
    EXPECT_EQ(page->outputStrip()->nameLabel()->text(), QStringLiteral("CH5"));
}

TEST_F(XoverPageTest, BandPanelsFollowTheDisplayRules)
{
    const int gains[5] = {635, 600, 480, 599, 600};
    const char* const gainTexts[5] = {"3.5dB", "0dB", "-12dB", "-0.1dB", "0dB"};
    for (int b = 1; b <= 5; ++b) {
        band(3, b).gain = gains[b - 1];
        band(3, b).type = 0;
    }
    band(3, 1).type = 3; // ALLPASS: neither gain nor Q
    band(3, 2).type = 1; // HISHELF: gain only
    band(3, 4).flags = 0x00;
    band(3, 5).flags = 0x80;
    band(3, 5).frequency = 0;
    band(3, 5).q = 20;
    openXover(3);
    for (int b = 1; b <= 5; ++b)
        EXPECT_EQ(page->gainPanel(b)->text(), QString::fromLatin1(gainTexts[b - 1])) << b;
    auto shown = [this](QWidget* w) { return w->isVisibleTo(page); };
    EXPECT_FALSE(shown(page->gainPanel(1)));
    EXPECT_FALSE(shown(page->gainCaption(1)));
    EXPECT_FALSE(shown(page->qPanel(1)));
    EXPECT_TRUE(shown(page->gainPanel(2)));
    EXPECT_FALSE(shown(page->qPanel(2)));
    EXPECT_FALSE(shown(page->qCaption(2)));
    EXPECT_TRUE(shown(page->qPanel(3)));
    EXPECT_EQ(page->modePanel(1)->text(), QStringLiteral("ALLPASS"));
    EXPECT_EQ(page->modePanel(2)->text(), QStringLiteral("HISHELF"));
    EXPECT_FALSE(page->bypassSwitch(4)->isChecked());
    EXPECT_TRUE(page->bypassSwitch(5)->isChecked());
    EXPECT_EQ(page->frequencyPanel(5)->text(), QStringLiteral("19.7Hz"));
    EXPECT_EQ(page->frequencyPanel(4)->text(), QStringLiteral("1.00KHz"));
    EXPECT_EQ(page->qPanel(5)->text(), QStringLiteral("3.0"));

    // A type-0 band loaded afterwards shows both rows again.
    band(3, 1).type = 0;
    band(3, 2).type = 0;
    page->loadPeqPage(3);
    for (int b : {1, 2}) {
        EXPECT_TRUE(shown(page->gainPanel(b))) << b;
        EXPECT_TRUE(shown(page->qPanel(b))) << b;
    }
    // A code without a name does not reach the panels: the curve drawn first clamps it.
    band(3, 1).type = 7;
    page->loadPeqPage(3);
    EXPECT_EQ(band(3, 1).type, 3);
    EXPECT_EQ(page->modePanel(1)->text(), QStringLiteral("ALLPASS"));
    EXPECT_FALSE(shown(page->qPanel(1)));
}

TEST_F(XoverPageTest, CrossoverPanelsAndOutputStrip)
{
    crossover(2) = CrossoverSettings{274, 100, 24, 19};
    params().outputGain[2] = 0x8258;
    params().polarity[2] = 0x80;
    openXover(2);
    EXPECT_EQ(page->highPassFrequencyPanel()->text(), QStringLiteral("68.8Hz"));
    EXPECT_EQ(page->lowPassFrequencyPanel()->text(), QStringLiteral("2.0KHz"));
    EXPECT_EQ(page->highPassSlopePanel()->text(), QStringLiteral("12dB Butterworth"));
    EXPECT_EQ(page->lowPassSlopePanel()->text(), QStringLiteral("24dB Link_Riley"));
    ChannelStrip* s = page->outputStrip();
    EXPECT_EQ(s->fader()->value(), 600);
    EXPECT_TRUE(s->muteLit());
    EXPECT_TRUE(s->polarityBox()->isChecked());
    EXPECT_EQ(s->valueBox()->text(), QStringLiteral("0.0dB"));

    // A type byte decoded as -1 is shown as "FLAT THRU" (the curve drawing normalises first).
    crossover(2).highPassType = -1;
    page->loadPeqPage(2);
    EXPECT_EQ(page->highPassSlopePanel()->text(), QStringLiteral("FLAT THRU"));
}

// The trace holds exactly the computed points, in order, for the curve's reference cases.
struct CurveCase {
    const char* name;
    std::function<void(MatrixParameters&)> setUp;
    bool shadow;
    int points;       // -1: not checked
    double hz;        // a point to check against its known value (0: none)
    double expected;
};

TEST_F(XoverPageTest, TraceIsTheComputedPointListForTheReferenceCases)
{
    auto onlyBand = [](MatrixParameters& p, int type, int f, int g, int q) {
        PeqBand& b = p.peq[1][1];
        b.type = std::uint8_t(type);
        b.frequency = f;
        b.gain = g;
        b.q = std::uint8_t(q);
        b.flags = 0;
    };
    const std::vector<CurveCase> cases{
        {"neutral", [](MatrixParameters&) {}, false, 394, 10.2, kNeutral},
        {"neutral shadow", [](MatrixParameters&) {}, true, 788, 20200, kNeutral},
        {"peq bell", [&](MatrixParameters& p) { onlyBand(p, 0, 203, 720, 20); }, false, 394, 1000, 12.095238},
        {"peq bell 500 Hz", [&](MatrixParameters& p) { onlyBand(p, 0, 203, 720, 20); }, false, 394, 500, 4.906311},
        {"hishelf", [&](MatrixParameters& p) { onlyBand(p, 1, 203, 660, 20); }, false, 394, 981, 6.135630},
        {"loshelf", [&](MatrixParameters& p) { onlyBand(p, 2, 203, 540, 20); }, false, 394, 1020, -5.754677},
        {"low-pass 12dB Butterworth", [](MatrixParameters& p) { p.crossover[1] = {274, 0, 19, 0}; }, false, 394,
         2000, -2.809524},
        {"high-pass 12dB Butterworth", [](MatrixParameters& p) { p.crossover[1] = {393, 100, 0, 19}; }, false, 394,
         34.4, -11.059524},
        {"low-pass 48dB Butterworth shadow", [](MatrixParameters& p) { p.crossover[1] = {200, 0, 25, 0}; }, true,
         659, 1680, -79.872024},
        {"type 28 draws flat", [](MatrixParameters& p) { p.crossover[1] = {200, 100, 28, 28}; }, false, 394, 1000,
         kNeutral},
        {"peaking high-pass with low-pass", [](MatrixParameters& p) { p.crossover[1] = {200, 200, 19, 12}; }, false,
         -1, 0, 0},
    };
    openXover(1);
    for (const CurveCase& c : cases) {
        SCOPED_TRACE(c.name);
        ResetMatrixDefaults(params());
        c.setUp(params());
        if (page->shadowBox()->isChecked() != c.shadow)
            page->shadowBox()->click();
        page->loadPeqPage(1);
        CurvePointList expected;
        ComputeResponseCurve(params(), 1, c.shadow, expected);
        ExpectTraceIs(page->plot()->trace(), expected);
        if (c.points >= 0)
            EXPECT_EQ(page->plot()->trace()->count(), c.points);
        if (c.hz > 0)
            EXPECT_NEAR(traceAt(page->plot()->trace(), c.hz), c.expected, 5e-7);
    }
}

TEST_F(XoverPageTest, TraceIsLimeGreenTwoPixelsOnTheStatedAxes)
{
    openXover(1);
    const QPen pen = page->plot()->trace()->pen();
    EXPECT_EQ(pen.color(), QColor(0, 255, 0));
    EXPECT_EQ(pen.width(), 2);
    const QList<QAbstractAxis*> x = page->plot()->chart()->axes(Qt::Horizontal);
    const QList<QAbstractAxis*> y = page->plot()->chart()->axes(Qt::Vertical);
    ASSERT_EQ(x.size(), 1);
    ASSERT_EQ(y.size(), 1);
    auto* logX = qobject_cast<QLogValueAxis*>(x[0]);
    auto* linY = qobject_cast<QValueAxis*>(y[0]);
    ASSERT_NE(logX, nullptr);
    ASSERT_NE(linY, nullptr);
    EXPECT_DOUBLE_EQ(logX->min(), 10);
    EXPECT_DOUBLE_EQ(logX->max(), 10 + 20200);
    EXPECT_DOUBLE_EQ(linY->min(), -15);
    EXPECT_DOUBLE_EQ(linY->max(), 15);
    // The static labels stand in for the axes' own numbers.
    EXPECT_FALSE(logX->labelsVisible());
    EXPECT_FALSE(linY->labelsVisible());
}

TEST_F(XoverPageTest, StaticLabelsLineUpWithThePlot)
{
    openXover(1);
    ResponsePlot* plot = page->plot();
    ASSERT_TRUE(plot->isVisible());
    QChart* chart = plot->chart();
    // Where the chart itself draws a value, in the plot widget's coordinates.
    auto drawnAt = [&](double hz, double db) {
        const QPointF inChart = chart->mapToPosition(QPointF(hz, db), plot->trace());
        const QPoint inView = plot->view()->mapFromScene(chart->mapToScene(inChart));
        return plot->view()->viewport()->mapTo(plot, inView);
    };
    const QList<double> hz = ResponsePlot::labelledFrequencies();
    const QStringList hzTexts{"10", "20", "50", "100", "200", "500", "1K", "2K", "5K", "10K", "20KHz"};
    ASSERT_EQ(plot->frequencyLabels().size(), hzTexts.size());
    for (int i = 0; i < hz.size(); ++i) {
        QLabel* l = plot->frequencyLabels()[i];
        EXPECT_EQ(l->text(), hzTexts[i]);
        EXPECT_NEAR(l->geometry().center().x(), drawnAt(hz[i], 0).x(), 1.5) << hzTexts[i].toStdString();
        EXPECT_GT(l->geometry().top(), drawnAt(hz[i], -15).y()) << "below the plot";
    }
    const QList<double> levels = ResponsePlot::labelledLevels();
    ASSERT_EQ(plot->dbLabels().size(), 11);
    for (int i = 0; i < levels.size(); ++i) {
        QLabel* l = plot->dbLabels()[i];
        const int v = int(levels[i]);
        EXPECT_EQ(l->text(), v > 0 ? QStringLiteral("+%1").arg(v) : QString::number(v));
        EXPECT_NEAR(l->geometry().center().y(), drawnAt(1000, levels[i]).y(), 1.5) << v;
        EXPECT_LT(l->geometry().right(), drawnAt(10, 0).x()) << "left of the plot";
    }
    EXPECT_EQ(plot->dbUnitLabel()->text(), QStringLiteral("dB"));
}

TEST_F(XoverPageTest, ShadowFillsUnderTheCurveAndRedrawsAtOnce)
{
    openXover(1);
    const int before = page->curveDraws();
    page->shadowBox()->click();
    ASSERT_TRUE(page->shadowBox()->isChecked());
    EXPECT_EQ(page->curveDraws(), before + 1);
    EXPECT_EQ(page->curveCountdown(), CurveRedrawCountdown::kLong);
    const QList<QPointF> pts = page->plot()->trace()->points();
    ASSERT_EQ(pts.size(), 788);
    for (int i = 0; i < pts.size(); i += 2) {
        EXPECT_EQ(pts[i].y(), -80);
        EXPECT_EQ(pts[i].x(), pts[i + 1].x());
        EXPECT_NEAR(pts[i + 1].y(), kNeutral, 5e-7);
    }
}

TEST_F(XoverPageTest, CountdownRedrawsOnTheFollowingTicksOnlyWhileThePlotIsShown)
{
    openXover(1);
    QTest::mouseClick(page->bypassSwitch(1), Qt::LeftButton);
    const int afterClick = page->curveDraws();
    EXPECT_EQ(page->curveCountdown(), CurveRedrawCountdown::kLong);
    for (int t = 0; t < 7; ++t)
        page->curveTick();
    EXPECT_EQ(page->curveDraws(), afterClick + CurveRedrawCountdown::kLong);
    EXPECT_EQ(page->curveCountdown(), 0);

    // Another page on screen: what is pending is dropped, nothing is drawn.
    page->setCurveCountdown(5);
    editor->pages()->setCurrentIndex(0);
    ASSERT_FALSE(page->plot()->isVisible());
    const int hidden = page->curveDraws();
    page->curveTick();
    EXPECT_EQ(page->curveCountdown(), 0);
    EXPECT_EQ(page->curveDraws(), hidden);
}

TEST_F(XoverPageTest, TimerOneDrainsTheCountdownByItself)
{
    openXover(1);
    page->curveTimer()->start(); // as the page runs it, in real time
    page->setCurveCountdown(CurveRedrawCountdown::kLong);
    const int before = page->curveDraws();
    QElapsedTimer t;
    t.start();
    while (page->curveCountdown() > 0 && t.elapsed() < 2000)
        QTest::qWait(10);
    EXPECT_EQ(page->curveCountdown(), 0);
    EXPECT_EQ(page->curveDraws(), before + CurveRedrawCountdown::kLong);
    // Five ticks of 50 ms each.
    EXPECT_GE(t.elapsed(), 4 * 50);
}

TEST_F(XoverPageTest, BypassSwitchStoresTheBandAndTheFlushSendsItOnce)
{
    openXover(3);
    line.clearLog();
    QTest::mouseClick(page->bypassSwitch(2), Qt::LeftButton); // lit -> dark
    EXPECT_EQ(band(3, 2).flags, 0x00);
    EXPECT_EQ(editor->deferred().selection().currentBand, 2);
    EXPECT_EQ(editor->deferred().peqBandCounter(), 2);
    editor->deferred().flushPeq();
    editor->deferred().flushPeq();
    const auto frames = sent(27);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].channel, 3);
    EXPECT_EQ(frames[0].selector, 3);
    EXPECT_EQ(std::uint8_t(frames[0].payload[5]), 0x00 + 16 * 2 + 0x00);
}

TEST_F(XoverPageTest, TwoBandsToggledBeforeAFlushBothReachTheUnit)
{
    openXover(1);
    line.clearLog();
    QTest::mouseClick(page->bypassSwitch(1), Qt::LeftButton);
    QTest::mouseClick(page->bypassSwitch(4), Qt::LeftButton);
    editor->deferred().flushPeq();
    const auto frames = sent(27);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(std::uint8_t(frames[0].payload[5]) >> 4, 1);
    EXPECT_EQ(std::uint8_t(frames[1].payload[5]) >> 4, 4);
}

TEST_F(XoverPageTest, OutputStripEdits)
{
    params().outputGain[4] = 0x0258;
    openXover(4);
    ChannelStrip* s = page->outputStrip();
    DeferredSend& d = editor->deferred();
    line.clearLog();

    // A fader with the focus stores and marks; the box follows.
    s->fader()->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(s->fader(), Qt::Key_PageDown);
    EXPECT_EQ(params().outputGain[4] & 0x7FFF, 590);
    EXPECT_EQ(d.counter(DeferredSend::outputGainCounter(4)), 2);
    EXPECT_EQ(s->valueBox()->text(), QStringLiteral("-1.0dB"));
    d.ClearDirtyCounters();

    // Mute: stored with the bit, marked.
    QTest::mouseClick(s->muteSwitch(), Qt::LeftButton);
    EXPECT_EQ(params().outputGain[4], 0x8000 | 590);
    EXPECT_EQ(d.counter(DeferredSend::outputGainCounter(4)), 2);
    d.ClearDirtyCounters();
    line.clearLog();

    // Typed: sent once at once, no mark; clamped into the fader's range.
    typeIntoValueBox(s->valueBox(), "3");
    EXPECT_EQ(s->fader()->value(), 630);
    EXPECT_EQ(params().outputGain[4], 0x8000 | 630);
    EXPECT_EQ(d.counter(DeferredSend::outputGainCounter(4)), 0);
    auto gains = sent(22);
    ASSERT_EQ(gains.size(), 1u);
    EXPECT_EQ(gains[0].payload, QByteArray::fromHex("8276"));
    EXPECT_EQ(gains[0].channel, 4);
    typeIntoValueBox(s->valueBox(), "99");
    EXPECT_EQ(s->fader()->value(), 660);
    // Enter took the value and pressed no button.
    EXPECT_TRUE(editor->isVisible());
    EXPECT_TRUE(page->isVisible());
    EXPECT_FALSE(parts->peqBandDialog()->isVisible());
    EXPECT_FALSE(parts->crossoverDialog()->isVisible());
    EXPECT_EQ(params().outputGain[4], 0x8000 | 660);
    line.clearLog();

    // Polarity: sent at once and marked for the two flush ticks.
    QTest::mouseClick(s->polarityBox(), Qt::LeftButton);
    EXPECT_EQ(params().polarity[4], 0x80);
    EXPECT_EQ(d.counter(DeferredSend::polarityCounter(4)), 2);
    auto polarity = sent(23);
    ASSERT_EQ(polarity.size(), 1u);
    EXPECT_EQ(polarity[0].payload, QByteArray::fromHex("80"));
}

TEST_F(XoverPageTest, ValuePanelsOpenTheirDialogAndClosingReloadsThePage)
{
    openXover(2);
    QTest::mouseClick(page->qPanel(4), Qt::LeftButton);
    Form36* peq = parts->peqBandDialog();
    ASSERT_TRUE(peq->isVisible());
    EXPECT_EQ(editor->deferred().selection().currentBand, 4);
    EXPECT_EQ(peq->band(), 4);
    EXPECT_TRUE(peq->bandButton(4)->isChecked());
    EXPECT_EQ(peq->windowTitle(), QStringLiteral("PEQ Filter Settings "));
    band(2, 4).gain = 650;
    QTest::mouseClick(peq->doneButton(), Qt::LeftButton);
    EXPECT_FALSE(peq->isVisible());
    EXPECT_EQ(page->gainPanel(4)->text(), QStringLiteral("5dB"));

    Form37* xo = parts->crossoverDialog();
    QTest::mouseClick(page->lowPassSlopePanel(), Qt::LeftButton);
    ASSERT_TRUE(xo->isVisible());
    EXPECT_EQ(page->crossoverSide(), 2);
    EXPECT_EQ(xo->side(), Form37::LowPass);
    EXPECT_TRUE(xo->lowPassSlider()->isVisible());
    EXPECT_FALSE(xo->highPassSlider()->isVisible());
    EXPECT_EQ(xo->windowTitle(), QStringLiteral("XOVER Filter Settings"));
    QTest::mouseClick(xo->doneButton(), Qt::LeftButton);
    QTest::mouseClick(page->highPassFrequencyPanel(), Qt::LeftButton);
    EXPECT_EQ(xo->side(), Form37::HighPass);
    EXPECT_TRUE(xo->highPassSlider()->isVisible());
    xo->close();
}

TEST_F(XoverPageTest, EveryControlHasAnAccessibleName)
{
    openXover(1);
    QList<QWidget*> roots{page, parts->peqBandDialog(), parts->crossoverDialog(), parts->outputCopyDialog()};
    for (QWidget* root : roots) {
        for (QWidget* w : root->findChildren<QWidget*>()) {
            if (qobject_cast<QScrollBar*>(w))
                continue; // the chart view's own, never shown
            if (auto* l = qobject_cast<QLabel*>(w)) {
                EXPECT_EQ(l->accessibleName(), l->text()) << l->objectName().toStdString();
                continue;
            }
            const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QAbstractSlider*>(w)
                || qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w)
                || (qobject_cast<QLineEdit*>(w) && !qobject_cast<QAbstractSpinBox*>(w->parentWidget())
                    && !qobject_cast<QComboBox*>(w->parentWidget()));
            if (!control)
                continue;
            EXPECT_FALSE(w->accessibleName().isEmpty())
                << root->objectName().toStdString() << ": " << w->metaObject()->className() << " "
                << w->objectName().toStdString();
        }
    }
}
