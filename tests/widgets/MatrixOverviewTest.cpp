// The main window's matrix overview: captions and visibility by configuration, the page and tab
// each button asks for, and the "MATRIX" panel's mouse rule, through to the editor it opens.
#include "EditorWindowFixture.h"
#include "NamedControls.h"

#include "editor/widgets/MatrixControlPage.h"
#include "editor/widgets/MatrixOverview.h"
#include "editor/widgets/MatrixPanel.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>

namespace {

struct MatrixOverviewTest : EditorWindowFixture {
    std::unique_ptr<MatrixOverview> overview;

    void show(int model)
    {
        session->store.model = DeviceModel::fromCode(model);
        overview = std::make_unique<MatrixOverview>(*session);
        QObject::connect(overview.get(), &MatrixOverview::editorRequested, editor.get(), &Form34::openAt);
        overview->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(overview.get()));
    }

    void TearDown() override
    {
        overview.reset();
        EditorWindowFixture::TearDown();
    }
};

} // namespace

TEST(MatrixTabRule, RowOfTheClickLimitedToTheOutputs)
{
    struct Case {
        int y, outputs, tab;
    };
    for (const Case& c : {Case{390, 8, 7}, Case{390, 16, 15}, Case{0, 16, 0}, Case{24, 16, 0}, Case{25, 16, 1},
                          Case{399, 4, 3}, Case{30, 4, 1}, Case{120, 8, 4}, Case{-5, 8, 0}, Case{60, 2, 2}})
        EXPECT_EQ(MatrixOverview::matrixTabFor(c.y, c.outputs), c.tab) << c.y << " " << c.outputs;
}

TEST_F(MatrixOverviewTest, CaptionsAndOnlyTheConfigurationsChannels)
{
    show(6); // 8 x 4
    QWidget* w = overview.get();
    EXPECT_NE(findNamed<QLabel>(w, "Matrix Control"), nullptr);
    EXPECT_EQ(findNamed<QLabel>(w, "In 3")->text(), "In 3");
    EXPECT_EQ(findNamed<QLabel>(w, "Out2")->text(), "Out2");
    EXPECT_EQ(findNamed<QPushButton>(w, "Output 2 Comp/Limit")->text(), "Comp/Limit");
    EXPECT_EQ(findNamed<QPushButton>(w, "Input 8 Gain")->text(), "Gain");
    EXPECT_NE(findNamed<MatrixPanel>(w, "MATRIX"), nullptr);
    for (int c = 1; c <= 16; ++c) {
        EXPECT_EQ(countVisibleNamed<QPushButton>(w, QStringLiteral("Input %1 Gain").arg(c)), c <= 8 ? 1 : 0) << c;
        for (const char* b : {"Gain", "XOVER", "Delay", "Comp/Limit"})
            EXPECT_EQ(countVisibleNamed<QPushButton>(w, QStringLiteral("Output %1 %2").arg(c).arg(b)), c <= 4 ? 1 : 0)
                << c << b;
    }
    session->store.model = DeviceModel::fromCode(11);
    overview->rebuild();
    EXPECT_EQ(countVisibleNamed<QPushButton>(w, "Output 16 Delay"), 1);
}

TEST_F(MatrixOverviewTest, EachButtonAsksForItsPageAndTab)
{
    show(11);
    QObject::disconnect(overview.get(), nullptr, editor.get(), nullptr);
    QSignalSpy spy(overview.get(), &MatrixOverview::editorRequested);
    struct Case {
        const char* button;
        int page, tab;
    };
    for (const Case& c : {Case{"Input 3 Gain", 0, 2}, Case{"Output 2 Gain", 4, 1}, Case{"Output 2 XOVER", 2, 1},
                          Case{"Output 16 Delay", 3, 15}, Case{"Output 5 Comp/Limit", 5, 4}}) {
        spy.clear();
        QTest::mouseClick(findNamed<QPushButton>(overview.get(), c.button), Qt::LeftButton);
        ASSERT_EQ(spy.count(), 1) << c.button;
        EXPECT_EQ(spy.at(0).at(0).toInt(), c.page) << c.button;
        EXPECT_EQ(spy.at(0).at(1).toInt(), c.tab) << c.button;
    }
}

TEST_F(MatrixOverviewTest, MatrixPanelClicked390PixelsDownOpensOutputEight)
{
    show(7); // 8 x 8
    MatrixPanel* panel = overview->matrixPanel();
    QTest::mouseMove(panel, QPoint(100, 200));
    QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(100, 390));
    EXPECT_EQ(panel->lastY(), 390);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
    EXPECT_EQ(session->store.params.rememberedPage, 1);
    EXPECT_EQ(editor->pages()->currentIndex(), 1);
    EXPECT_EQ(editor->matrixPage()->shownOutput(), 8);
    EXPECT_EQ(editor->channelTabs(1)->currentIndex(), 7);
}

TEST_F(MatrixOverviewTest, InputGainButtonOpensTheInputPage)
{
    show(11);
    QTest::mouseClick(findNamed<QPushButton>(overview.get(), "Input 5 Gain"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
    EXPECT_EQ(editor->pages()->currentIndex(), 0);
    EXPECT_TRUE(editor->isModal());
}
