// The Comp/Limit page inside the editor window, on the in-process virtual line (virtual clock,
// flush ticks driven by the test), shown and active under the offscreen platform.
#include "editor/DeferredSend.h"
#include "editor/widgets/ArrowPair.h"
#include "editor/widgets/CompLimitPage.h"
#include "editor/widgets/DynamicsValueBox.h"
#include "editor/widgets/Form34.h"
#include "link/Session.h"
#include "model/MatrixOperations.h"
#include "sim/InProcessLine.h"
#include "sim/SimLine.h"
#include "sim/VirtualClockPump.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

namespace {

using F = DynamicsBlock::Field;

struct CompLimitWindow : ::testing::Test {
    SimLine line;
    VirtualClockPump pump;
    std::unique_ptr<Session> session;
    std::unique_ptr<Form34> editor;
    CompLimitPage* page = nullptr;

    void SetUp() override
    {
        line.addUnit(1);
        session = std::make_unique<Session>(
            pump, [this](LinkState& link) { return std::make_unique<InProcessLine>(link, line, pump); });
        ASSERT_TRUE(session->line().open());
        session->link.SendEnabled = 1;
        session->link.LinkConnected = 100;
        session->command.Address = 1;
        SelectDeviceModel(session->store, 11);
        editor = std::make_unique<Form34>(*session, nullptr, DeferredSend::Clocking::Manual);
        page = editor->findChild<CompLimitPage*>();
        ASSERT_NE(page, nullptr);
    }

    void TearDown() override { editor.reset(); }

    // The editor opened on the Comp/Limit page at `tab`, shown and active; the line log cleared.
    void open(int tab = 2)
    {
        editor->openAt(5, tab);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
        drain();
    }

    DynamicsBlock& block(int channel) { return session->store.params.dynamics[std::size_t(channel)]; }
    DirtyCounter counterOf(int field) { return editor->deferred().counter(DeferredSend::dynamicsCounter(field)); }

    // The value control of a row.
    QWidget* control(int field)
    {
        if (QWidget* w = page->valueBox(field))
            return w;
        if (QWidget* w = page->thresholdText(field))
            return w;
        return page->list(field);
    }

    QString shown(int field)
    {
        if (auto* b = page->valueBox(field))
            return b->text();
        if (auto* t = page->thresholdText(field))
            return t->text();
        return page->list(field)->currentText();
    }

    // Types `text` into a box as the operator does: focus, replace the text, Enter.
    void typeInto(QWidget* w, const QString& text)
    {
        w->setFocus(Qt::MouseFocusReason);
        ASSERT_TRUE(w->hasFocus());
        if (auto* spin = qobject_cast<QAbstractSpinBox*>(w))
            spin->selectAll();
        else if (auto* edit = qobject_cast<QLineEdit*>(w))
            edit->selectAll();
        QTest::keyClicks(w, text);
        QTest::keyClick(w, Qt::Key_Return);
    }

    // Valid frames the unit saw since the last call, after the line has gone quiet.
    std::vector<SimFrame> drain()
    {
        pump.waitFor(400);
        std::vector<SimFrame> out;
        for (const SimFrame& f : line.frames())
            if (f.valid)
                out.push_back(f);
        line.clearLog();
        return out;
    }
};

// ---- Typed values ------------------------------------------------------------------------

struct TypedCase {
    int field;
    const char* typed;
    int code;
    const char* shown;
};

void PrintTo(const TypedCase& c, std::ostream* os) { *os << "field " << c.field << " '" << c.typed << "'"; }

class CompLimitTyped : public CompLimitWindow, public ::testing::WithParamInterface<TypedCase> {};

TEST_P(CompLimitTyped, StoresTheCodeMovesTheArrowsAndShowsTheTableValue)
{
    const TypedCase& c = GetParam();
    open(2);
    const std::uint8_t otherChannelBefore = block(2)[c.field];
    typeInto(control(c.field), QString::fromUtf8(c.typed));
    EXPECT_EQ(int(block(3)[c.field]), c.code);
    EXPECT_EQ(shown(c.field).toStdString(), c.shown);
    EXPECT_EQ(page->arrows(c.field)->position(), c.code);
    EXPECT_EQ(counterOf(c.field), 2);
    EXPECT_EQ(block(2)[c.field], otherChannelBefore);
    EXPECT_EQ(session->command.Channel, 3);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CompLimitTyped,
    ::testing::Values(TypedCase{F::CompressorAttack, "5", 78, "5.05ms"}, TypedCase{F::CompressorAttack, "2.3", 66, "2.35ms"},
                      TypedCase{F::CompressorAttack, "150", 127, "100.00ms"}, TypedCase{F::GateAttack, "0.29", 13, "0.30ms"},
                      TypedCase{F::LimiterAttack, "45", 38, "45.3us"}, TypedCase{F::LimiterAttack, "60", 76, "60.0us"},
                      TypedCase{F::CompressorRelease, "150", 63, "160ms"}, TypedCase{F::LimiterRelease, "150", 63, "160ms"},
                      TypedCase{F::GateRelease, "150", 63, "160ms"}, TypedCase{F::CompressorRatio, "64", 63, "64:128"},
                      TypedCase{F::CompressorRatio, "300", 127, "128:128"},
                      TypedCase{F::LimiterThreshold, "-20", 67, "-20.0dB"}, TypedCase{F::LimiterThreshold, "-20.3", 66, "-20.5dB"},
                      TypedCase{F::LimiterThreshold, "-53.4", 0, "-Inf"}, TypedCase{F::LimiterThreshold, "11", 127, "10.0dB"},
                      TypedCase{F::LimiterThreshold, "loud", 0, "-Inf"}, TypedCase{F::CompressorThreshold, "-23", 2, "-21dB"},
                      TypedCase{F::CompressorThreshold, "-25", 0, "-Inf"}, TypedCase{F::CompressorThreshold, "13", 29, "12dB"},
                      TypedCase{F::CompressorThreshold, "-3dB", 14, "-3dB"}));

TEST_F(CompLimitWindow, ThresholdTextLeftWithoutEnterIsNotTakenAndShowsTheStoredValue)
{
    open(2);
    QLineEdit* text = page->thresholdText(F::LimiterThreshold);
    text->setFocus(Qt::MouseFocusReason);
    text->selectAll();
    QTest::keyClicks(text, "-30");
    page->valueBox(F::LimiterAttack)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(text->text(), QStringLiteral("10.0dB"));
    EXPECT_EQ(block(3)[F::LimiterThreshold], 127);
    EXPECT_EQ(counterOf(F::LimiterThreshold), 0);
}

TEST_F(CompLimitWindow, NumberLeftByTabIsStillTheOperatorsEntry)
{
    // The box commits what was typed as it loses the focus; that is an operator entry too.
    open(2);
    DynamicsValueBox* box = page->valueBox(F::CompressorAttack);
    box->setFocus(Qt::MouseFocusReason);
    box->selectAll();
    QTest::keyClicks(box, "5");
    page->valueBox(F::CompressorRelease)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(block(3)[F::CompressorAttack], 78);
    EXPECT_EQ(page->arrows(F::CompressorAttack)->position(), 78);
    EXPECT_EQ(box->text(), QStringLiteral("5.05ms"));
}

// ---- Arrows, lists, switches ------------------------------------------------------------

TEST_F(CompLimitWindow, ArrowClickShowsAndStoresTheNewPosition)
{
    open(2);
    QTest::mouseClick(page->arrows(F::CompressorAttack)->upButton(), Qt::LeftButton);
    EXPECT_EQ(block(3)[F::CompressorAttack], 61);
    EXPECT_EQ(shown(F::CompressorAttack), QStringLiteral("1.23ms"));
    EXPECT_EQ(counterOf(F::CompressorAttack), 2);

    QTest::mouseClick(page->arrows(F::LimiterThreshold)->downButton(), Qt::LeftButton);
    EXPECT_EQ(block(3)[F::LimiterThreshold], 126);
    EXPECT_EQ(shown(F::LimiterThreshold), QStringLiteral("9.5dB"));

    QTest::mouseClick(page->arrows(F::GateThreshold)->upButton(), Qt::LeftButton);
    EXPECT_EQ(block(3)[F::GateThreshold], 3);
    EXPECT_EQ(shown(F::GateThreshold), QStringLiteral("-57dB"));

    // At the end of its range an arrow changes nothing.
    block(3)[F::CompressorBoost] = 3;
    editor->selectChannelTab(5, 2);
    QTest::mouseClick(page->arrows(F::CompressorBoost)->upButton(), Qt::LeftButton);
    EXPECT_EQ(block(3)[F::CompressorBoost], 3);
    EXPECT_EQ(counterOf(F::CompressorBoost), 0);
}

TEST_F(CompLimitWindow, ArrowKeysInABoxStepTheCodeNotTheNumber)
{
    open(2);
    DynamicsValueBox* box = page->valueBox(F::CompressorRelease);
    box->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(box, Qt::Key_Up);
    EXPECT_EQ(block(3)[F::CompressorRelease], 61);
    EXPECT_EQ(box->text(), QStringLiteral("120ms"));
    QTest::keyClick(box, Qt::Key_Down);
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(block(3)[F::CompressorRelease], 59);
    EXPECT_EQ(box->text(), QStringLiteral("98ms"));
    EXPECT_EQ(page->arrows(F::CompressorRelease)->position(), 59);
}

TEST_F(CompLimitWindow, ArrowClickWhileTheEditorIsHiddenOnlyShows)
{
    open(2);
    editor->hide();
    ASSERT_FALSE(session->editorOnScreen);
    page->arrows(F::LimiterRelease)->upButton()->click();
    EXPECT_EQ(shown(F::LimiterRelease), QStringLiteral("120ms"));
    EXPECT_EQ(block(3)[F::LimiterRelease], 60);
    EXPECT_EQ(counterOf(F::LimiterRelease), 0);
}

TEST_F(CompLimitWindow, ListChoiceStoresOnlyWithTheFocusAndTheArrowsFollow)
{
    open(2);
    QComboBox* boost = page->list(F::CompressorBoost);
    boost->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(boost, Qt::Key_Down);
    EXPECT_EQ(block(3)[F::CompressorBoost], 1);
    EXPECT_EQ(counterOf(F::CompressorBoost), 2);
    // The next arrow click steps from the chosen item.
    EXPECT_EQ(page->arrows(F::CompressorBoost)->position(), 1);
    QTest::mouseClick(page->arrows(F::CompressorBoost)->upButton(), Qt::LeftButton);
    EXPECT_EQ(block(3)[F::CompressorBoost], 2);
    EXPECT_EQ(boost->currentText(), QStringLiteral("x4"));

    // A choice the list did not get from the operator (no focus) stores nothing.
    editor->deferred().ClearDirtyCounters();
    page->valueBox(F::GateAttack)->setFocus(Qt::TabFocusReason);
    QComboBox* gate = page->list(F::GateThreshold);
    emit gate->activated(9);
    EXPECT_EQ(block(3)[F::GateThreshold], 2);
    EXPECT_EQ(counterOf(F::GateThreshold), 0);
}

TEST_F(CompLimitWindow, ListChoiceFromTheDropDownStores)
{
    open(2);
    QComboBox* gate = page->list(F::GateThreshold);
    gate->setFocus(Qt::MouseFocusReason);
    gate->showPopup();
    QAbstractItemView* view = gate->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
    const QRect item = view->visualRect(gate->model()->index(7, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    QTRY_VERIFY(!view->isVisible());
    EXPECT_EQ(gate->currentText(), QStringLiteral("-45dB"));
    EXPECT_EQ(block(3)[F::GateThreshold], 7);
    EXPECT_EQ(counterOf(F::GateThreshold), 2);
}

TEST_F(CompLimitWindow, SwitchIsDarkOnlyForExactly0x80AndLitStoresZero)
{
    block(3)[F::CompressorSwitch] = 0x80;
    block(3)[F::LimiterSwitch] = 0x01;
    open(2);
    EXPECT_FALSE(page->compressorSwitch()->isChecked());
    EXPECT_TRUE(page->limiterSwitch()->isChecked());
    for (int byte : {0x00, 0x01, 0x7F, 0x81, 0xFF}) {
        block(3)[F::CompressorSwitch] = std::uint8_t(byte);
        editor->selectChannelTab(5, 2);
        EXPECT_TRUE(page->compressorSwitch()->isChecked()) << byte;
    }
    block(3)[F::CompressorSwitch] = 0x80;
    editor->selectChannelTab(5, 2);

    QTest::mouseClick(page->compressorSwitch(), Qt::LeftButton);
    EXPECT_TRUE(page->compressorSwitch()->isChecked());
    EXPECT_EQ(block(3)[F::CompressorSwitch], 0x00);
    EXPECT_EQ(counterOf(F::CompressorSwitch), 2);
    QTest::mouseClick(page->limiterSwitch(), Qt::LeftButton);
    EXPECT_FALSE(page->limiterSwitch()->isChecked());
    EXPECT_EQ(block(3)[F::LimiterSwitch], 0x80);
    EXPECT_EQ(counterOf(F::LimiterSwitch), 2);
}

// ---- Loading -----------------------------------------------------------------------------

TEST_F(CompLimitWindow, LoadingAChannelFillsEveryControlAndLeavesNothingToSend)
{
    DynamicsBlock b;
    b.bytes = {0x80, 0x00, 10, 100, 5, 9, 2, 60, 3, 33, 6, 127, 0, 28};
    block(5) = b;
    open(0);
    editor->selectChannelTab(5, 4);
    EXPECT_EQ(editor->deferred().selection().dynamicsChannel, 5);
    EXPECT_EQ(session->command.Channel, 5);
    EXPECT_FALSE(page->compressorSwitch()->isChecked());
    EXPECT_TRUE(page->limiterSwitch()->isChecked());
    const std::pair<int, const char*> expected[] = {
        {F::CompressorAttack, "0.25ms"}, {F::CompressorRelease, "1000ms"}, {F::CompressorThreshold, "-12dB"},
        {F::CompressorRatio, "10:128"},  {F::CompressorBoost, "x4"},       {F::LimiterAttack, "40.0us"},
        {F::LimiterRelease, "14ms"},     {F::LimiterThreshold, "-37.0dB"}, {F::LimiterHold, "8ms"},
        {F::GateAttack, "100.00ms"},     {F::GateRelease, "10ms"},         {F::GateThreshold, "-24dB"},
    };
    for (auto [field, text] : expected) {
        EXPECT_EQ(shown(field).toStdString(), text) << field;
        EXPECT_EQ(page->arrows(field)->position(), b[field]) << field;
    }
    for (int c = 113; c <= 126; ++c)
        EXPECT_EQ(editor->deferred().counter(c), 0) << c;
    EXPECT_EQ(block(5).bytes, b.bytes);
    EXPECT_EQ(session->link.LinkConnected, 100);
    editor->deferred().flushCompLimit();
    editor->deferred().flushCompLimit();
    EXPECT_TRUE(drain().empty());
}

TEST_F(CompLimitWindow, CodesBeyondARowsRangeShowTheirNearestValueAndStayStored)
{
    block(3).bytes = {0x80, 0x80, 200, 250, 99, 255, 9, 130, 128, 200, 77, 128, 140, 60};
    open(2);
    EXPECT_EQ(shown(F::CompressorAttack), QStringLiteral("100.00ms"));
    EXPECT_EQ(shown(F::CompressorThreshold), QStringLiteral("12dB"));
    EXPECT_EQ(shown(F::CompressorRatio), QStringLiteral("128:128"));
    EXPECT_EQ(page->list(F::CompressorBoost)->currentIndex(), -1);
    EXPECT_EQ(page->arrows(F::CompressorBoost)->position(), 3);
    EXPECT_EQ(page->list(F::GateThreshold)->currentIndex(), -1);
    EXPECT_EQ(block(3)[F::CompressorBoost], 9);
    EXPECT_EQ(block(3)[F::CompressorAttack], 200);
}

// ---- The hidden hold row -----------------------------------------------------------------

TEST_F(CompLimitWindow, HoldRowHiddenUntilTheHotKeyAndItsByteUntouchedMeanwhile)
{
    block(3)[F::LimiterHold] = 4;
    open(2);
    QComboBox* hold = page->list(F::LimiterHold);
    EXPECT_FALSE(hold->isVisible());
    EXPECT_FALSE(page->caption(F::LimiterHold)->isVisible());
    EXPECT_EQ(hold->currentText(), QStringLiteral("5ms")); // loading still sets it
    EXPECT_EQ(page->arrows(F::LimiterHold)->position(), 4);

    page->arrows(F::LimiterHold)->upButton()->click();
    page->arrows(F::LimiterHold)->downButton()->click();
    page->arrows(F::LimiterHold)->downButton()->click();
    emit hold->activated(8);
    EXPECT_EQ(block(3)[F::LimiterHold], 4);
    EXPECT_EQ(counterOf(F::LimiterHold), 0);
    EXPECT_EQ(page->arrows(F::LimiterHold)->position(), 4);
    EXPECT_EQ(hold->currentText(), QStringLiteral("5ms"));

    QTest::keyClick(editor.get(), Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_TRUE(editor->holdRowRevealed());
    EXPECT_TRUE(page->holdRowShown());
    EXPECT_TRUE(hold->isVisible());
    EXPECT_EQ(page->caption(F::LimiterHold)->text(), QStringLiteral("Hold"));

    QTest::mouseClick(page->arrows(F::LimiterHold)->upButton(), Qt::LeftButton);
    EXPECT_EQ(block(3)[F::LimiterHold], 5);
    EXPECT_EQ(hold->currentText(), QStringLiteral("7ms"));
    EXPECT_EQ(counterOf(F::LimiterHold), 2);

    // Stays visible from now on, across hides and shows.
    editor->close();
    open(2);
    EXPECT_TRUE(page->list(F::LimiterHold)->isVisible());
}

// ---- Each control its own byte and command --------------------------------------------------

struct Route {
    int field;
    int command;
};

TEST_F(CompLimitWindow, EachControlSendsItsOwnByteUnderItsOwnCommandToTheShownChannel)
{
    open(6); // CH7
    editor->revealHoldRow();
    const Route routes[] = {{F::CompressorSwitch, 34}, {F::LimiterSwitch, 28},     {F::CompressorAttack, 35},
                            {F::CompressorRelease, 36}, {F::CompressorThreshold, 37}, {F::CompressorRatio, 38},
                            {F::CompressorBoost, 39},   {F::LimiterAttack, 29},     {F::LimiterRelease, 31},
                            {F::LimiterThreshold, 33},  {F::LimiterHold, 30},       {F::GateAttack, 40},
                            {F::GateRelease, 41},       {F::GateThreshold, 42}};
    for (const Route& r : routes) {
        const DynamicsBlock before = block(7);
        if (r.field == F::CompressorSwitch)
            QTest::mouseClick(page->compressorSwitch(), Qt::LeftButton);
        else if (r.field == F::LimiterSwitch)
            QTest::mouseClick(page->limiterSwitch(), Qt::LeftButton);
        else if (page->arrows(r.field)->position() < page->arrows(r.field)->maximum())
            QTest::mouseClick(page->arrows(r.field)->upButton(), Qt::LeftButton);
        else
            QTest::mouseClick(page->arrows(r.field)->downButton(), Qt::LeftButton);
        for (int f = 0; f < 14; ++f) {
            if (f != r.field) {
                EXPECT_EQ(block(7)[f], before[f]) << "field " << r.field << " changed field " << f;
            }
        }
        ASSERT_NE(block(7)[r.field], before[r.field]) << r.field;
        editor->deferred().flushCompLimit();
        const auto frames = drain();
        ASSERT_EQ(frames.size(), 1u) << "field " << r.field;
        EXPECT_EQ(frames[0].command, r.command);
        EXPECT_EQ(frames[0].channel, 7);
        EXPECT_EQ(frames[0].selector, 7);
        ASSERT_EQ(frames[0].payload.size(), 1);
        EXPECT_EQ(std::uint8_t(frames[0].payload[0]), block(7)[r.field]);
        editor->deferred().ClearDirtyCounters();
    }
}

// ---- Names, captions, units --------------------------------------------------------------

TEST_F(CompLimitWindow, EveryOperatorControlHasItsOwnAccessibleName)
{
    open(2);
    editor->revealHoldRow();
    QSet<QString> names;
    int controls = 0;
    for (QWidget* w : page->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QAbstractSpinBox*>(w)
                             || qobject_cast<QComboBox*>(w)
                             || (qobject_cast<QLineEdit*>(w) && !qobject_cast<QAbstractSpinBox*>(w->parentWidget())
                                 && !qobject_cast<QComboBox*>(w->parentWidget()));
        if (!control)
            continue;
        ++controls;
        EXPECT_FALSE(w->accessibleName().isEmpty()) << w->metaObject()->className();
        EXPECT_FALSE(names.contains(w->accessibleName())) << w->accessibleName().toStdString();
        names.insert(w->accessibleName());
    }
    // 2 switches, 12 value controls, 12 arrow pairs of two buttons.
    EXPECT_EQ(controls, 2 + 12 + 24);
    for (const char* name : {"Compressor switch", "Limiter switch", "Compressor attack", "Compressor ratio",
                             "Limiter threshold", "Limiter hold", "Noise gate threshold", "Limiter attack up",
                             "Noise gate release down"})
        EXPECT_TRUE(names.contains(QString::fromLatin1(name))) << name;
}

TEST_F(CompLimitWindow, CaptionsListsUnitsAndRangesOfTheRows)
{
    open(2);
    QStringList groups;
    for (int g = 0; g < 3; ++g)
        groups << page->group(g)->title();
    EXPECT_EQ(groups, (QStringList{"Compressor", "Limit", "Noise Gate"}));
    EXPECT_EQ(page->compressorSwitch()->text(), QStringLiteral("OFF"));
    EXPECT_EQ(page->limiterSwitch()->text(), QStringLiteral("OFF"));
    EXPECT_EQ(page->caption(F::CompressorRatio)->text(), QStringLiteral("Ratio"));
    EXPECT_EQ(page->caption(F::CompressorBoost)->text(), QStringLiteral("Boost"));
    EXPECT_EQ(page->caption(F::GateThreshold)->text(), QStringLiteral("Threshold"));

    struct Box {
        int field;
        const char* suffix;
        int decimals;
        double minimum, maximum;
    };
    const Box boxes[] = {{F::CompressorAttack, "ms", 2, 0, 100},  {F::GateAttack, "ms", 2, 0, 100},
                         {F::CompressorRelease, "ms", 0, 0, 5000}, {F::LimiterRelease, "ms", 0, 0, 5000},
                         {F::GateRelease, "ms", 0, 0, 5000},       {F::CompressorRatio, ":128", 0, 1, 128},
                         {F::LimiterAttack, "us", 1, 20, 3000}};
    for (const Box& b : boxes) {
        DynamicsValueBox* box = page->valueBox(b.field);
        ASSERT_NE(box, nullptr) << b.field;
        EXPECT_EQ(box->suffix(), QString::fromLatin1(b.suffix)) << b.field;
        EXPECT_EQ(box->decimals(), b.decimals) << b.field;
        EXPECT_EQ(box->minimum(), b.minimum) << b.field;
        EXPECT_EQ(box->maximum(), b.maximum) << b.field;
    }
    const std::pair<int, int> arrowRanges[] = {{F::CompressorThreshold, 29}, {F::CompressorBoost, 3},
                                               {F::LimiterThreshold, 127},   {F::LimiterHold, 8},
                                               {F::GateThreshold, 28},       {F::CompressorRatio, 127}};
    for (auto [field, top] : arrowRanges)
        EXPECT_EQ(page->arrows(field)->maximum(), top) << field;

    auto items = [](QComboBox* c) {
        QStringList l;
        for (int i = 0; i < c->count(); ++i)
            l << c->itemText(i);
        return l;
    };
    EXPECT_EQ(items(page->list(F::CompressorBoost)), (QStringList{"x1", "x2", "x4", "x8"}));
    EXPECT_EQ(items(page->list(F::LimiterHold)),
              (QStringList{"0ms", "1ms", "3ms", "4ms", "5ms", "7ms", "8ms", "9ms", "10ms"}));
    const QStringList gate = items(page->list(F::GateThreshold));
    ASSERT_EQ(gate.size(), 29);
    EXPECT_EQ(gate.front(), QStringLiteral("0FF"));
    EXPECT_EQ(gate[7], QStringLiteral("-45dB"));
    EXPECT_EQ(gate[8], QStringLiteral("-44dB"));
    EXPECT_EQ(gate.back(), QStringLiteral("-24dB"));

    // The tabs are "CH" + number, one per output of the configuration.
    QTabBar* tabs = editor->channelTabs(5);
    EXPECT_EQ(tabs->count(), 16);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("CH1"));
    EXPECT_EQ(tabs->tabText(15), QStringLiteral("CH16"));
}

// ---- Screenshot --------------------------------------------------------------------------

TEST_F(CompLimitWindow, Screenshot)
{
    const QString dir = qEnvironmentVariable("T16_SCREENSHOT_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "T16_SCREENSHOT_DIR not set";
    QDir().mkpath(dir);
    block(3).bytes = {0x80, 0x00, 78, 63, 14, 3, 1, 38, 70, 67, 4, 66, 100, 7};
    open(2);
    QTest::qWait(150);
    EXPECT_TRUE(editor->grab().save(dir + QStringLiteral("/comp-limit-page.png")));
    editor->revealHoldRow();
    QTest::qWait(150);
    EXPECT_TRUE(editor->grab().save(dir + QStringLiteral("/comp-limit-page-hold.png")));
}

} // namespace
