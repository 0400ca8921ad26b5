// The PEQ band dialog and the crossover dialog under the offscreen platform, on the in-process
// virtual line: ranges, the 400 ms layout, typed values, what is stored, marked and sent at once.
#include "XoverFixture.h"

#include "editor/widgets/HighlightColour.h"
#include "model/MatrixTexts.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

namespace {

struct PeqDialogTest : XoverFixture {
    Form36* dialog = nullptr;

    // The band dialog for band b of output o, opened from the band's frequency panel.
    void openBand(int o, int b)
    {
        openXover(o);
        QTest::mouseClick(page->frequencyPanel(b), Qt::LeftButton);
        dialog = parts->peqBandDialog();
        showDialog(dialog);
        line.clearLog();
    }

    // The operator steps through the list with the arrow keys; every step is a choice. Returns
    // the number of steps.
    int chooseType(int type)
    {
        QComboBox* list = dialog->typeList();
        list->setFocus(Qt::TabFocusReason);
        int steps = 0;
        while (list->currentIndex() != type && steps < 4) {
            QTest::keyClick(list, list->currentIndex() < type ? Qt::Key_Down : Qt::Key_Up);
            ++steps;
        }
        return steps;
    }

    // Waits up to `ms` of real time (the layout timer is a real timer) for `condition`.
    template <class F>
    bool within(int ms, F condition)
    {
        QElapsedTimer t;
        t.start();
        while (!condition()) {
            if (t.elapsed() > ms)
                return false;
            QTest::qWait(5);
        }
        return true;
    }
};

struct CrossoverDialogTest : XoverFixture {
    Form37* dialog = nullptr;

    void openSide(int o, int side)
    {
        openXover(o);
        QTest::mouseClick(side == 1 ? page->highPassFrequencyPanel() : page->lowPassFrequencyPanel(), Qt::LeftButton);
        dialog = parts->crossoverDialog();
        showDialog(dialog);
        line.clearLog();
    }
};

} // namespace

TEST_F(PeqDialogTest, OpensOnTheBandWithoutEditingIt)
{
    band(1, 2) = PeqBand{100, 610, 30, 0, 2, 0x00};
    openBand(1, 2);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("PEQ Filter Settings "));
    EXPECT_TRUE(dialog->bandButton(2)->isChecked());
    EXPECT_EQ(dialog->frequencySlider()->value(), 100);
    EXPECT_EQ(dialog->frequencyBox()->text(), PeqFrequencyText(100) + QStringLiteral("Hz"));
    EXPECT_EQ(dialog->gainSlider()->value(), 610);
    EXPECT_EQ(dialog->gainBox()->text(), QStringLiteral("1.0dB"));
    EXPECT_EQ(dialog->qSlider()->value(), 30);
    EXPECT_EQ(dialog->qBox()->text(), QStringLiteral("5.0"));
    EXPECT_FALSE(dialog->bypassSwitch()->isChecked());
    EXPECT_TRUE(dialog->bypassSwitch()->hasFocus());
    // Gain not at 0 dB: the type cannot be switched.
    EXPECT_FALSE(dialog->typeList()->isEnabled());
    EXPECT_EQ(dialog->typeHint()->text(), QStringLiteral("Gain must be at 0dB to switch Filter"));
    EXPECT_EQ(dialog->qLowLabel()->text(), QStringLiteral("Low"));
    EXPECT_EQ(dialog->qHighLabel()->text(), QStringLiteral("High"));
    EXPECT_EQ(dialog->frequencySlider()->minimum(), 0);
    EXPECT_EQ(dialog->frequencySlider()->maximum(), 359);
    EXPECT_EQ(dialog->qSlider()->minimum(), 4);
    EXPECT_EQ(dialog->qSlider()->maximum(), 104);
    EXPECT_EQ(dialog->gainSlider()->minimum(), 480);
    EXPECT_EQ(dialog->gainSlider()->maximum(), 720);
    // Loading changed nothing and marked nothing.
    EXPECT_EQ(band(1, 2).frequency, 100);
    EXPECT_EQ(editor->deferred().peqBandCounter(), 0);
    EXPECT_TRUE(editor->deferred().selection().peqBandDialogOnScreen);
    dialog->close();
    EXPECT_FALSE(editor->deferred().selection().peqBandDialogOnScreen);
}

TEST_F(PeqDialogTest, SlidersEditOnlyWithTheFocus)
{
    openBand(1, 1);
    dialog->frequencySlider()->setValue(150); // not the operator: the bypass switch has the focus
    EXPECT_EQ(band(1, 1).frequency, 203);
    EXPECT_EQ(editor->deferred().peqBandCounter(), 0);
    EXPECT_EQ(dialog->frequencyBox()->text(), PeqFrequencyText(150) + "Hz");

    dialog->gainSlider()->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(dialog->gainSlider(), Qt::Key_Right);
    EXPECT_EQ(band(1, 1).gain, 601);
    EXPECT_EQ(editor->deferred().peqBandCounter(), 2);
    EXPECT_TRUE(HighlightColour::isAqua(dialog->gainBox()));
    EXPECT_EQ(page->curveCountdown(), CurveRedrawCountdown::kShort);
    EXPECT_EQ(band(1, 1).band, 1);
}

TEST_F(PeqDialogTest, SetZeroDbSendsAtOnceAndEnablesTheTypeListWithin400ms)
{
    band(1, 1).gain = 610;
    openBand(1, 1);
    ASSERT_FALSE(dialog->typeList()->isEnabled());
    QTest::mouseClick(dialog->zeroGainButton(), Qt::LeftButton);
    EXPECT_EQ(band(1, 1).gain, 600);
    EXPECT_EQ(dialog->gainSlider()->value(), 600);
    EXPECT_EQ(editor->deferred().peqBandCounter(), 0); // sent at once, not marked
    EXPECT_TRUE(within(450, [&] { return dialog->typeList()->isEnabled(); }));
    const auto frames = sent(27);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].payload.mid(2, 2), QByteArray::fromHex("0258"));
}

TEST_F(PeqDialogTest, TypeChoiceStartsAtOneKilohertzSendsAndSetsTheLayout)
{
    band(2, 3).frequency = 50;
    openBand(2, 3);
    chooseType(1); // HISHELF
    EXPECT_EQ(band(2, 3).type, 1);
    EXPECT_EQ(band(2, 3).frequency, 203);
    EXPECT_EQ(dialog->frequencySlider()->value(), 203);
    EXPECT_EQ(dialog->frequencySlider()->minimum(), 203);
    EXPECT_EQ(dialog->frequencySlider()->maximum(), 359);
    EXPECT_EQ(dialog->frequencyLowLabel()->text(), QStringLiteral("1KHz"));
    EXPECT_EQ(dialog->frequencyHighLabel()->text(), QStringLiteral("20.2KHz"));
    EXPECT_FALSE(dialog->qSlider()->isVisible());
    EXPECT_FALSE(dialog->qBox()->isVisible());
    EXPECT_TRUE(dialog->gainSlider()->isVisible());
    EXPECT_EQ(page->curveCountdown(), CurveRedrawCountdown::kLong);
    auto frames = sent(27);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].channel, 2);
    EXPECT_EQ(frames[0].payload.left(2), QByteArray::fromHex("00ee")); // 203 + 35
    EXPECT_EQ(std::uint8_t(frames[0].payload[5]), 0x80 + 16 * 3 + 1);

    line.clearLog();
    int steps = chooseType(2); // LOSHELF
    EXPECT_EQ(dialog->frequencySlider()->minimum(), 0);
    EXPECT_EQ(dialog->frequencySlider()->maximum(), 203);
    EXPECT_EQ(dialog->frequencyLowLabel()->text(), QStringLiteral("19.7Hz"));
    EXPECT_EQ(dialog->frequencyHighLabel()->text(), QStringLiteral("1KHz"));

    steps += chooseType(3); // ALLPASS: neither gain nor Q
    EXPECT_FALSE(dialog->gainSlider()->isVisible());
    EXPECT_FALSE(dialog->gainBox()->isVisible());
    EXPECT_FALSE(dialog->zeroGainButton()->isVisible());
    EXPECT_FALSE(dialog->qSlider()->isVisible());
    EXPECT_EQ(dialog->gainSlider()->value(), 600);
    EXPECT_EQ(dialog->frequencySlider()->maximum(), 359);

    steps += chooseType(0); // PEQ: everything back
    EXPECT_TRUE(dialog->gainSlider()->isVisible());
    EXPECT_TRUE(dialog->qSlider()->isVisible());
    EXPECT_EQ(int(sent(27).size()), steps); // one frame per choice
}

TEST_F(PeqDialogTest, BypassSwitchSendsTheBandAtOnce)
{
    openBand(1, 5);
    ASSERT_TRUE(dialog->bypassSwitch()->isChecked());
    QTest::mouseClick(dialog->bypassSwitch(), Qt::LeftButton);
    EXPECT_EQ(band(1, 5).flags, 0x00);
    EXPECT_EQ(page->curveCountdown(), CurveRedrawCountdown::kLong);
    const auto frames = sent(27);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(std::uint8_t(frames[0].payload[5]), 16 * 5);
}

TEST_F(PeqDialogTest, TypedQ)
{
    openBand(1, 1);
    typeInto(dialog->qBox(), "3.3");
    EXPECT_EQ(dialog->qSlider()->value(), 21);
    EXPECT_EQ(dialog->qBox()->text(), QStringLiteral("3.2"));
    EXPECT_EQ(band(1, 1).q, 21);
    EXPECT_EQ(editor->deferred().peqBandCounter(), 2);
    EXPECT_EQ(page->curveCountdown(), CurveRedrawCountdown::kLong);

    editor->deferred().clearPeqBandCounter();
    typeInto(dialog->qBox(), "200"); // beyond the range: the slider moves, nothing is stored
    EXPECT_EQ(dialog->qSlider()->value(), 104);
    EXPECT_EQ(band(1, 1).q, 21);
    EXPECT_EQ(editor->deferred().peqBandCounter(), 0);
    typeInto(dialog->qBox(), "0.1");
    EXPECT_EQ(dialog->qSlider()->value(), 4);
    EXPECT_EQ(band(1, 1).q, 21);
    typeInto(dialog->qBox(), "128");
    EXPECT_EQ(band(1, 1).q, 104);
    typeInto(dialog->qBox(), "abc"); // unreadable: the box shows the slider again
    EXPECT_EQ(dialog->qBox()->text(), QStringLiteral("128"));
    EXPECT_EQ(band(1, 1).q, 104);
}

TEST_F(PeqDialogTest, TypedFrequencyAndGain)
{
    openBand(1, 1);
    struct Case {
        const char* text;
        int index;
    };
    for (const Case& c : {Case{"5", 0}, Case{"2k", 239}, Case{"30k", 359}, Case{"1.02KHz", 204}, Case{"15", 0},
                         Case{"19.7", 0}}) {
        editor->deferred().clearPeqBandCounter();
        typeInto(dialog->frequencyBox(), QString::fromLatin1(c.text));
        EXPECT_EQ(dialog->frequencySlider()->value(), c.index) << c.text;
        EXPECT_EQ(band(1, 1).frequency, c.index) << c.text;
        // A typed value is an edit also when the slider stays where it was ("19.7" after "15").
        EXPECT_EQ(editor->deferred().peqBandCounter(), 2) << c.text;
    }
    editor->deferred().clearPeqBandCounter();
    typeInto(dialog->frequencyBox(), "Hz");
    EXPECT_EQ(dialog->frequencyBox()->text(), QStringLiteral("19.7Hz"));
    EXPECT_EQ(editor->deferred().peqBandCounter(), 0);

    typeInto(dialog->gainBox(), "-3dB");
    EXPECT_EQ(dialog->gainSlider()->value(), 570);
    EXPECT_EQ(band(1, 1).gain, 570);
    EXPECT_EQ(dialog->gainBox()->text(), QStringLiteral("-3.0dB"));
    typeInto(dialog->gainBox(), "40");
    EXPECT_EQ(band(1, 1).gain, 720);
    // A slider moved afterwards by a load is no edit: the typed flag was used up.
    dialog->frequencySlider()->setValue(10);
    EXPECT_EQ(band(1, 1).frequency, 0);
}

TEST_F(PeqDialogTest, SwitchingBandsSendsWhatIsStillMarked)
{
    openBand(3, 1);
    dialog->frequencySlider()->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(dialog->frequencySlider(), Qt::Key_Right);
    ASSERT_EQ(editor->deferred().peqBandCounter(), 2);
    QTest::mouseClick(dialog->bandButton(4), Qt::LeftButton);
    EXPECT_EQ(dialog->band(), 4);
    EXPECT_TRUE(dialog->bandButton(4)->isChecked());
    EXPECT_EQ(editor->deferred().peqBandCounter(), 0);
    const auto frames = sent(27);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(std::uint8_t(frames[0].payload[5]) >> 4 & 0x7, 1); // band 1 with its new frequency
    EXPECT_EQ(frames[0].payload.left(2), QByteArray::fromHex("00ef"));
}

TEST_F(CrossoverDialogTest, HighPassSliderStopsAtTheLowPassFrequency)
{
    crossover(1).lowPassFrequency = 300;
    openSide(1, 1);
    QSlider* hp = dialog->highPassSlider();
    EXPECT_EQ(hp->minimum(), 0);
    EXPECT_EQ(hp->maximum(), 300);
    EXPECT_EQ(dialog->lowerLimitLabel()->text(), QStringLiteral("10Hz"));
    EXPECT_EQ(dialog->upperLimitLabel()->text(), CrossoverFrequencyText(300));
    hp->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(hp, Qt::Key_End);
    EXPECT_EQ(hp->value(), 300);
    EXPECT_EQ(crossover(1).highPassFrequency, 300);
    EXPECT_EQ(editor->deferred().highPassCounter(), 2);
    EXPECT_EQ(dialog->frequencyBox()->text(), CrossoverFrequencyText(300));
}

TEST_F(CrossoverDialogTest, LowPassRangeFollowsTheHighPassFrequency)
{
    struct Case {
        int highPass;
        int start;
    };
    openXover(1);
    for (const Case& c : {Case{390, 385}, Case{100, 100}, Case{10, 65}}) {
        // Set after the page load: 390 comes only from a loaded image, which the next curve
        // drawing clamps to 383.
        crossover(1).highPassFrequency = c.highPass;
        QTest::mouseClick(page->lowPassFrequencyPanel(), Qt::LeftButton);
        dialog = parts->crossoverDialog();
        showDialog(dialog);
        EXPECT_EQ(dialog->lowPassSlider()->minimum(), c.start) << c.highPass;
        EXPECT_EQ(dialog->lowPassSlider()->maximum(), 394) << c.highPass;
        EXPECT_EQ(dialog->upperLimitLabel()->text(), QStringLiteral("20KHz"));
        EXPECT_EQ(dialog->lowerLimitLabel()->text(), CrossoverFrequencyText(c.highPass));
        // Opening a side edits nothing, even where the stored value lies beyond the slider.
        EXPECT_EQ(crossover(1).highPassFrequency, c.highPass);
        EXPECT_EQ(editor->deferred().lowPassCounter(), 0);
        dialog->close();
    }
}

TEST_F(CrossoverDialogTest, TypedFrequencies)
{
    openSide(1, 2);
    typeInto(dialog->frequencyBox(), "2k");
    EXPECT_EQ(dialog->lowPassSlider()->value(), 274);
    EXPECT_EQ(crossover(1).lowPassFrequency, 274);
    EXPECT_EQ(dialog->frequencyBox()->text(), QStringLiteral("2.0KHz"));
    EXPECT_EQ(editor->deferred().lowPassCounter(), 2);

    QTest::mouseClick(dialog->highPassButton(), Qt::LeftButton);
    typeInto(dialog->frequencyBox(), "5");
    EXPECT_EQ(dialog->highPassSlider()->value(), 35);
    EXPECT_EQ(crossover(1).highPassFrequency, 35);
    EXPECT_EQ(dialog->frequencyBox()->text(), QStringLiteral("19.7Hz"));

    editor->deferred().clearCrossoverCounters();
    typeInto(dialog->frequencyBox(), "fast");
    EXPECT_EQ(crossover(1).highPassFrequency, 35);
    EXPECT_EQ(editor->deferred().highPassCounter(), 0);
    EXPECT_EQ(dialog->frequencyBox()->text(), QStringLiteral("19.7Hz"));
}

TEST_F(CrossoverDialogTest, SlopeChoiceStoresTheShownSidesType)
{
    crossover(1) = CrossoverSettings{394, 0, 24, 19};
    openSide(1, 2);
    EXPECT_EQ(dialog->slopeList()->currentIndex(), 24);
    EXPECT_EQ(dialog->slopeList()->count(), 28);
    dialog->slopeList()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(dialog->slopeList(), Qt::Key_Down);
    EXPECT_EQ(crossover(1).lowPassType, 25);
    EXPECT_EQ(crossover(1).highPassType, 19);
    EXPECT_EQ(editor->deferred().lowPassCounter(), 2);
    EXPECT_EQ(editor->deferred().highPassCounter(), 0);
}

TEST_F(CrossoverDialogTest, FlushSendsEachSideWithItsOwnStoredType)
{
    crossover(1) = CrossoverSettings{394, 100, 24, 19};
    openSide(1, 2); // the slope list shows the low-pass type
    ASSERT_EQ(dialog->slopeList()->currentIndex(), 24);
    // A high-pass change still marked while the low-pass side is shown.
    editor->deferred().markHighPass();
    QSlider* lp = dialog->lowPassSlider();
    lp->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(lp, Qt::Key_Left);
    editor->deferred().flushPeq();
    editor->deferred().flushPeq();
    const auto highPass = sent(25);
    const auto lowPass = sent(26);
    ASSERT_EQ(highPass.size(), 2u);
    for (const SimFrame& f : highPass)
        EXPECT_EQ(f.payload, QByteArray::fromHex("140064")); // 12dB Butterworth + 1, index 100
    ASSERT_EQ(lowPass.size(), 2u);
    for (const SimFrame& f : lowPass)
        EXPECT_EQ(f.payload, QByteArray::fromHex("190189")); // 24dB Link_Riley + 1, index 393
}

TEST_F(CrossoverDialogTest, SwitchingSidesSendsWhatIsStillMarked)
{
    crossover(1) = CrossoverSettings{394, 100, 24, 19};
    openSide(1, 1);
    QSlider* hp = dialog->highPassSlider();
    hp->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(hp, Qt::Key_Right);
    ASSERT_EQ(editor->deferred().highPassCounter(), 2);
    QTest::mouseClick(dialog->lowPassButton(), Qt::LeftButton);
    EXPECT_EQ(editor->deferred().highPassCounter(), 0);
    const auto frames = sent(25);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].payload, QByteArray::fromHex("140065"));
    EXPECT_EQ(dialog->slopeList()->currentIndex(), 24);
}
