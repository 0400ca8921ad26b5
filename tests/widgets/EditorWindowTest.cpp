// The editor window under the offscreen platform: what it shows for a configuration, how operator
// edits land in MatrixParameters and the marks, and what loading leaves behind.
#include "EditorWindowFixture.h"
#include "NamedControls.h"

#include "editor/widgets/DelayPage.h"
#include "editor/widgets/EditorPageContent.h"
#include "editor/widgets/HighlightColour.h"
#include "editor/widgets/InputGainPage.h"
#include "editor/widgets/MatrixControlPage.h"
#include "editor/widgets/OutputGainPage.h"
#include "editor/widgets/ValueBox.h"
#include "model/ValueCodes.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSignalSpy>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>

namespace {

using EditorWindow = EditorWindowFixture;

// Types `text` into a value box as the operator does: focus, replace, Enter.
void typeInto(ValueBox* box, const QString& text)
{
    box->setFocus(Qt::MouseFocusReason);
    box->selectAll();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

void clickTab(QTabBar* tabs, int index)
{
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
}

} // namespace

TEST_F(EditorWindow, ShowsOnlyTheChannelsOfTheConfiguration)
{
    open(6); // 8 x 4
    QWidget* w = editor.get();
    EXPECT_EQ(editor->title()->text(), QStringLiteral("8*4 Way Crossover"));
    for (int i = 1; i <= 16; ++i) {
        EXPECT_EQ(countVisibleNamed<QSlider>(w, QStringLiteral("Input %1 gain").arg(i)), i <= 8 ? 1 : 0) << i;
        EXPECT_EQ(editor->matrixPage()->strip(i)->isVisibleTo(editor->matrixPage()), i <= 8) << i;
        EXPECT_EQ(countVisibleNamed<QSlider>(editor->delayPage(), QStringLiteral("Output %1 delay").arg(i)), i <= 4 ? 1 : 0)
            << i;
        EXPECT_EQ(editor->outputGainPage()->strip(i)->isVisibleTo(editor->outputGainPage()), i <= 4) << i;
    }
    for (int page : {1, 2, 5})
        EXPECT_EQ(editor->channelTabs(page)->count(), 4) << page;
}

TEST_F(EditorWindow, CaptionsOfWindowPagesAndChannels)
{
    open(11);
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("TOLVAN Designer"));
    EXPECT_EQ(editor->title()->text(), QStringLiteral("16*16 Way Crossover"));
    const QStringList pages{"Input Gain", "Matrix Control", "XOVER", "Delay", "Output Gain", "Comp/Limit"};
    ASSERT_EQ(editor->pages()->count(), 6);
    for (int p = 0; p < 6; ++p)
        EXPECT_EQ(editor->pages()->tabText(p), pages[p]);
    QWidget* w = editor.get();
    EXPECT_NE(findNamed<QPushButton>(w, "OK"), nullptr);
    EXPECT_NE(findNamed<QPushButton>(w, "Cancel"), nullptr);
    EXPECT_NE(findNamed<QPushButton>(w, "Output Copy"), nullptr);
    EXPECT_EQ(editor->inputGainPage()->strip(12)->nameLabel()->text(), "In12");
    EXPECT_EQ(editor->matrixPage()->strip(3)->nameLabel()->text(), "In3");
    EXPECT_EQ(editor->outputGainPage()->strip(9)->nameLabel()->text(), "CH 9");
    EXPECT_EQ(editor->outputGainPage()->strip(9)->polarityBox()->text(), "180`");
    EXPECT_EQ(editor->inputGainPage()->strip(1)->muteSwitch()->text(), "Mute");
    EXPECT_EQ(editor->channelTabs(1)->tabText(15), "CH 16");
    EXPECT_EQ(editor->channelTabs(2)->tabText(0), "CH 1");
    EXPECT_EQ(editor->channelTabs(5)->tabText(0), "CH1");
    EXPECT_EQ(findNamed<QLabel>(w, "CH 16")->text(), "CH 16");
    for (const char* unit : {"Millisecond", "Metres", "Feet"})
        EXPECT_NE(findNamed<QRadioButton>(w, unit), nullptr) << unit;
}

TEST_F(EditorWindow, EveryOperatorControlHasAnAccessibleName)
{
    open(11);
    for (int page = 0; page < 6; ++page) {
        editor->pages()->setCurrentIndex(page);
        QWidget* shown = editor->pages()->currentWidget();
        for (QWidget* c : shown->findChildren<QWidget*>()) {
            const bool operatorControl = qobject_cast<QAbstractSlider*>(c) || qobject_cast<QAbstractSpinBox*>(c)
                || qobject_cast<QAbstractButton*>(c) || qobject_cast<QTabBar*>(c) || qobject_cast<QLabel*>(c);
            if (operatorControl && c->isVisibleTo(shown)) {
                EXPECT_FALSE(c->accessibleName().isEmpty()) << page << " " << c->metaObject()->className();
            }
        }
    }
}

TEST_F(EditorWindow, LoadingShowsMuteFaderAndValue)
{
    session->store.params.inputGain[1] = 0x8258;
    session->store.params.inputGain[2] = 0x0258;
    session->store.params.inputGain[3] = 0x01F4; // -10.0 dB
    open(11);
    ChannelStrip* s1 = editor->inputGainPage()->strip(1);
    ChannelStrip* s2 = editor->inputGainPage()->strip(2);
    EXPECT_TRUE(s1->muteSwitch()->isChecked());
    EXPECT_EQ(s1->fader()->value(), 600);
    EXPECT_EQ(s1->valueBox()->text(), "0.0dB");
    EXPECT_FALSE(s2->muteSwitch()->isChecked());
    EXPECT_EQ(s2->fader()->value(), 600);
    EXPECT_EQ(s2->valueBox()->text(), "0.0dB");
    EXPECT_EQ(editor->inputGainPage()->strip(3)->valueBox()->text(), "-10.0dB");
}

TEST_F(EditorWindow, TypedGainMovesTheFaderStoresAndMarks)
{
    session->store.params.inputGain[1] = 0x0258;
    session->store.params.inputGain[3] = 0x8258;
    open(11);
    ChannelStrip* s = editor->inputGainPage()->strip(3);
    typeInto(s->valueBox(), "6.04");
    // Enter ended the entry and pressed no button of the window.
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(session->store.params.inputGain[1], 0x0258);
    EXPECT_EQ(s->fader()->value(), 660);
    EXPECT_EQ(session->store.params.inputGain[3], 0x8000 | 660); // the lit switch is kept
    EXPECT_EQ(session->command.Channel, 3);
    EXPECT_EQ(editor->deferred().counter(3), 2);
    EXPECT_TRUE(HighlightColour::isAqua(s->valueBox()));
    EXPECT_FALSE(HighlightColour::isAqua(editor->inputGainPage()->strip(2)->valueBox()));

    // Beyond the fader's range: the fader's end.
    typeInto(s->valueBox(), "-55");
    EXPECT_EQ(s->fader()->value(), 200);
    EXPECT_EQ(s->valueBox()->text(), "-40.0dB");
    // Not a number: nothing changes.
    typeInto(s->valueBox(), "abc");
    EXPECT_EQ(s->fader()->value(), 200);
}

TEST_F(EditorWindow, FaderCountsOnlyWithTheFocus)
{
    open(11);
    ChannelStrip* s4 = editor->inputGainPage()->strip(4);
    ChannelStrip* s5 = editor->inputGainPage()->strip(5);
    s5->fader()->setFocus(Qt::MouseFocusReason);
    const LevelWord before = session->store.params.inputGain[4];
    s4->fader()->setValue(500); // moved by something other than the operator
    EXPECT_EQ(s4->valueBox()->text(), "-10.0dB");
    EXPECT_TRUE(HighlightColour::isAqua(s4->valueBox()));
    EXPECT_EQ(session->store.params.inputGain[4], before);
    EXPECT_EQ(editor->deferred().counter(4), 0);

    QTest::keyClick(s5->fader(), Qt::Key_PageDown); // the operator, on the focused fader
    EXPECT_EQ(LevelCodeOf(session->store.params.inputGain[5]), 590);
    EXPECT_EQ(editor->deferred().counter(5), 2);
    EXPECT_TRUE(HighlightColour::isAqua(s5->valueBox()));
    EXPECT_FALSE(HighlightColour::isAqua(s4->valueBox()));
}

TEST_F(EditorWindow, MuteClickWritesTheWordOfSwitchAndFader)
{
    session->store.params.outputGain[2] = 0x0276;
    open(11, 4);
    QPushButton* mute = findNamed<QPushButton>(editor.get(), "Output 2 mute");
    ASSERT_NE(mute, nullptr);
    QTest::mouseClick(mute, Qt::LeftButton);
    EXPECT_EQ(session->store.params.outputGain[2], 0x8276);
    EXPECT_EQ(editor->deferred().counter(DeferredSend::outputGainCounter(2)), 2);
    QTest::mouseClick(mute, Qt::LeftButton);
    EXPECT_EQ(session->store.params.outputGain[2], 0x0276);
}

TEST_F(EditorWindow, PolarityClickStoresAndMarks)
{
    open(11, 4);
    QCheckBox* box = findNamed<QCheckBox>(editor.get(), "Output 6 polarity");
    ASSERT_NE(box, nullptr);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    EXPECT_EQ(session->store.params.polarity[6], 0x80);
    EXPECT_EQ(editor->deferred().counter(DeferredSend::polarityCounter(6)), 2);
    EXPECT_EQ(session->command.Channel, 6);
}

TEST_F(EditorWindow, DelayTypedInMetresReadsBackInMilliseconds)
{
    open(11, 3);
    DelayPage* page = editor->delayPage();
    QTest::mouseClick(page->unitsBox()->button(DelayUnitsBox::Metres), Qt::LeftButton);
    EXPECT_EQ(page->valueBox(1)->suffix(), "m");
    typeInto(page->valueBox(1), "100");
    EXPECT_EQ(page->fader(1)->value(), 2915);
    EXPECT_EQ(session->store.params.delay[1], 2915);
    EXPECT_EQ(editor->deferred().counter(DeferredSend::delayCounter(1)), 2);
    QTest::mouseClick(page->unitsBox()->button(DelayUnitsBox::Millisecond), Qt::LeftButton);
    EXPECT_EQ(page->valueBox(1)->text(), "291.50ms");
    QTest::mouseClick(page->unitsBox()->button(DelayUnitsBox::Feet), Qt::LeftButton);
    EXPECT_EQ(page->valueBox(1)->text(), "328.23ft");
    EXPECT_DOUBLE_EQ(page->valueBox(1)->maximum(), 1536.99);
}

TEST_F(EditorWindow, DelayPositionsOfTypedValues)
{
    EXPECT_EQ(DelayPage::positionOf(1365.0, DelayUnitsBox::Millisecond), 13650);
    EXPECT_EQ(DelayPage::positionOf(0.04, DelayUnitsBox::Millisecond), 0);
    EXPECT_EQ(DelayPage::positionOf(0.05, DelayUnitsBox::Millisecond), 1);
    EXPECT_EQ(DelayPage::positionOf(100, DelayUnitsBox::Metres), 2915);
    EXPECT_EQ(DelayPage::positionOf(468.195, DelayUnitsBox::Metres), 13650);
    EXPECT_EQ(DelayPage::positionOf(1536.99, DelayUnitsBox::Feet), 13650);
    EXPECT_EQ(DelayPage::positionOf(2000, DelayUnitsBox::Millisecond), 13650);
    EXPECT_EQ(DelayPage::positionOf(-3, DelayUnitsBox::Feet), 0);
}

TEST_F(EditorWindow, CrosspointEditLandsInTheShownOutput)
{
    open(11, 1, 0);
    MatrixControlPage* page = editor->matrixPage();
    clickTab(page->tabs(), 2);
    EXPECT_EQ(page->shownOutput(), 3);
    EXPECT_EQ(session->store.params.rememberedTab, 2);
    EXPECT_EQ(page->outputName()->text(), "CH 3");
    QPushButton* mute = findNamed<QPushButton>(editor.get(), "Input 5 to output 3 mute");
    ASSERT_NE(mute, nullptr);
    QTest::mouseClick(mute, Qt::LeftButton);
    EXPECT_TRUE(IsMutedWord(session->store.params.crosspoint[3][5]));
    EXPECT_FALSE(IsMutedWord(session->store.params.crosspoint[2][5]));
    EXPECT_EQ(editor->deferred().counter(DeferredSend::crosspointCounter(5)), 2);
    EXPECT_EQ(session->command.Channel, 3);
}

TEST_F(EditorWindow, SwitchingOutputTabSendsAPendingCrosspointForItsOwnOutput)
{
    open(11, 1, 2);
    drain();
    QPushButton* mute = findNamed<QPushButton>(editor.get(), "Input 5 to output 3 mute");
    QTest::mouseClick(mute, Qt::LeftButton);
    clickTab(editor->matrixPage()->tabs(), 3); // before any tick
    EXPECT_FALSE(editor->deferred().anyPending());
    const auto frames = drain();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].command, 32);
    EXPECT_EQ(frames[0].selector, 5);
    EXPECT_EQ(frames[0].channel, 3);
    // The new output's strip shows its own, untouched value.
    EXPECT_FALSE(editor->matrixPage()->strip(5)->muteLit());
}

TEST_F(EditorWindow, ShowingSelectsTheRememberedPageAndTab)
{
    session->store.params.crosspoint[8][1] = 0x81F4;
    open(7, 1, 7); // 8 x 8, matrix output 8
    EXPECT_EQ(editor->pages()->currentIndex(), 1);
    EXPECT_EQ(editor->shownChannel(1), 8);
    EXPECT_EQ(editor->deferred().selection().matrixOutput, 8);
    EXPECT_EQ(editor->deferred().selection().pageShown, 1);
    EXPECT_TRUE(editor->matrixPage()->strip(1)->muteLit());
    EXPECT_EQ(editor->matrixPage()->strip(1)->position(), 500);
    EXPECT_TRUE(session->editorOnScreen);
    EXPECT_EQ(session->link.LinkConnected, 100);
    EXPECT_EQ(session->link.SendEnabled.load(), 1);
    editor->close();
    EXPECT_FALSE(session->editorOnScreen);

    open(7, 1, 12); // a tab beyond the outputs is limited to the last one
    EXPECT_EQ(editor->shownChannel(1), 8);
}

TEST_F(EditorWindow, ShowingClearsTheReplyWatch)
{
    session->reply.AwaitingReply = 100;
    session->reply.ReplySeen = 50;
    open(11);
    EXPECT_EQ(session->reply.AwaitingReply, 0);
    EXPECT_EQ(session->reply.ReplySeen, 0);
}

TEST_F(EditorWindow, OutputCopyButtonAsksForTheDialog)
{
    open(11, 4);
    QSignalSpy spy(editor.get(), &Form34::outputCopyRequested);
    QTest::mouseClick(findNamed<QPushButton>(editor.get(), "Output Copy"), Qt::LeftButton);
    EXPECT_EQ(spy.count(), 1);
}

TEST_F(EditorWindow, OkAndCancelCloseTheEditor)
{
    for (const char* button : {"OK", "Cancel"}) {
        open(11);
        QTest::mouseClick(findNamed<QPushButton>(editor.get(), button), Qt::LeftButton);
        EXPECT_FALSE(editor->isVisible()) << button;
        EXPECT_FALSE(session->editorOnScreen) << button;
    }
}

TEST_F(EditorWindow, HoldRowHotKeyOnlyWhileTheEditorIsOnScreen)
{
    QSignalSpy spy(editor.get(), &Form34::holdRowRevealRequested);
    editor->revealHoldRow();
    EXPECT_FALSE(editor->holdRowRevealed());
    open(11);
    QTest::keyClick(editor.get(), Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_TRUE(editor->holdRowRevealed());
    QTest::keyClick(editor.get(), Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_EQ(spy.count(), 1);
}

TEST_F(EditorWindow, HoldRowKeyReachesTheEditorFromAFocusedFaderAndBesideTheMainWindowsShortcut)
{
    // The main window registers the same key on the editor window; the two must not collide.
    QShortcut mainWindowKey(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::ALT | Qt::Key_L), editor.get());
    mainWindowKey.setContext(Qt::WindowShortcut);
    int viaMainWindow = 0;
    QObject::connect(&mainWindowKey, &QShortcut::activated, [&] {
        ++viaMainWindow;
        editor->revealHoldRow();
    });
    QSignalSpy ambiguous(&mainWindowKey, &QShortcut::activatedAmbiguously);
    open(11);
    QSlider* fader = editor->inputGainPage()->strip(2)->fader();
    fader->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(fader, Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_TRUE(editor->holdRowRevealed());
    EXPECT_EQ(viaMainWindow, 1);
    EXPECT_EQ(ambiguous.count(), 0);
}

TEST_F(EditorWindow, HoldRowKeyWithoutTheMainWindowReachesTheEditorFromAFocusedFader)
{
    open(11);
    QSlider* fader = editor->inputGainPage()->strip(2)->fader();
    fader->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(fader, Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_TRUE(editor->holdRowRevealed());
    EXPECT_EQ(fader->value(), 600);
}

namespace {
struct RecordingContent : EditorPageContent {
    std::vector<int> loads;
    int outputs = 0;
    void loadChannel(int channel) override { loads.push_back(channel); }
    void setCounts(int, int o) override { outputs = o; }
};
} // namespace

TEST_F(EditorWindow, TabPagesCallTheirContentWithTheSelectedChannel)
{
    RecordingContent xover, dynamics;
    editor->setPageContent(2, &xover);
    editor->setPageContent(5, &dynamics);
    EXPECT_NE(editor->pageContainer(2), nullptr);
    EXPECT_NE(editor->pageContainer(5), nullptr);
    open(10, 5, 3); // 16 x 8
    EXPECT_EQ(dynamics.outputs, 8);
    ASSERT_FALSE(dynamics.loads.empty());
    EXPECT_EQ(dynamics.loads.back(), 4);
    EXPECT_EQ(editor->deferred().selection().dynamicsChannel, 4);

    clickTab(editor->channelTabs(5), 6);
    EXPECT_EQ(dynamics.loads.back(), 7);
    EXPECT_EQ(editor->deferred().selection().dynamicsChannel, 7);
    EXPECT_EQ(session->store.params.rememberedTab, 6);
    EXPECT_EQ(session->command.Channel, 7);

    editor->pages()->setCurrentIndex(2); // entering the page selects the remembered tab
    ASSERT_FALSE(xover.loads.empty());
    EXPECT_EQ(xover.loads.back(), 7);
    EXPECT_EQ(editor->deferred().selection().peqOutput, 7);
    EXPECT_EQ(editor->channelTabs(2)->currentIndex(), 6);
}

TEST_F(EditorWindow, LoadingEveryPageAndTabLeavesNoMarkAndSendsNothing)
{
    for (int c = 1; c <= 16; ++c) {
        session->store.params.inputGain[std::size_t(c)] = LevelWord(0x8000 | (300 + c));
        session->store.params.outputGain[std::size_t(c)] = LevelWord(400 + c);
        session->store.params.delay[std::size_t(c)] = std::uint16_t(100 * c);
        session->store.params.polarity[std::size_t(c)] = c % 2 ? 0x80 : 0;
        for (int i = 1; i <= 16; ++i)
            session->store.params.crosspoint[std::size_t(c)][std::size_t(i)] = LevelWord(200 + c * 20 + i);
    }
    const MatrixParameters before = session->store.params;
    open(11, 0);
    drain();
    for (int page = 0; page < 6; ++page) {
        editor->pages()->setCurrentIndex(page);
        if (QTabBar* tabs = editor->channelTabs(page))
            for (int t = 0; t < tabs->count(); ++t)
                clickTab(tabs, t);
        EXPECT_FALSE(editor->deferred().anyPending()) << page;
    }
    EXPECT_TRUE(drain().empty());
    EXPECT_EQ(session->store.params.inputGain, before.inputGain);
    EXPECT_EQ(session->store.params.outputGain, before.outputGain);
    EXPECT_EQ(session->store.params.delay, before.delay);
    EXPECT_EQ(session->store.params.polarity, before.polarity);
    EXPECT_EQ(session->store.params.crosspoint, before.crosspoint);
}
