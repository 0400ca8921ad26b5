// Writes the XOVER page (curve plain and with "Shadow"), the PEQ band dialog, the crossover dialog
// and the output copy dialog as PNG files when T16_SCREENSHOT_DIR is set (run under Xvfb);
// otherwise skipped.
#include "editor/widgets/Form34.h"
#include "editor/widgets/Form36.h"
#include "editor/widgets/Form37.h"
#include "editor/widgets/Form39.h"
#include "editor/widgets/XoverEditorParts.h"
#include "editor/widgets/XoverPage.h"
#include "link/PacedWriter.h"
#include "link/Session.h"
#include "model/MatrixOperations.h"
#include "platform/QtEventPump.h"

#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void exampleOutput(MatrixParameters& p, int o)
{
    const struct {
        int type, frequency, gain, q;
    } bands[5] = {{2, 60, 660, 20}, {0, 120, 540, 30}, {0, 203, 690, 25}, {0, 280, 570, 50}, {1, 300, 640, 20}};
    for (int b = 1; b <= 5; ++b) {
        PeqBand& band = p.peq[std::size_t(o)][std::size_t(b)];
        band.type = std::uint8_t(bands[b - 1].type);
        band.frequency = bands[b - 1].frequency;
        band.gain = bands[b - 1].gain;
        band.q = std::uint8_t(bands[b - 1].q);
        band.flags = b == 4 ? 0x80 : 0x00;
    }
    p.crossover[std::size_t(o)] = CrossoverSettings{370, 60, 22, 19}; // 24 dB low-pass, 12 dB high-pass
    p.outputGain[std::size_t(o)] = 585;
}

} // namespace

TEST(XoverScreenshots, PageAndDialogs)
{
    const QString dir = qEnvironmentVariable("T16_SCREENSHOT_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "T16_SCREENSHOT_DIR not set";
    QDir().mkpath(dir);
    QtEventPump pump;
    Session session(pump, [](LinkState& link) { return std::make_unique<PacedWriter>(link); });
    SelectDeviceModel(session.store, 8); // 8 x 16
    exampleOutput(session.store.params, 3);
    Form34 editor(session);
    auto* parts = editor.findChild<XoverEditorParts*>();
    ASSERT_NE(parts, nullptr);
    XoverPage* page = parts->page();

    editor.openAt(2, 2);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    QTest::qWait(200);
    EXPECT_TRUE(editor.grab().save(dir + "/xover-page.png"));
    page->shadowBox()->click();
    QTest::qWait(200);
    EXPECT_TRUE(editor.grab().save(dir + "/xover-page-shadow.png"));
    page->shadowBox()->click();

    page->frequencyPanel(3)->click();
    Form36* peq = parts->peqBandDialog();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(peq));
    QTest::qWait(500);
    EXPECT_TRUE(peq->grab().save(dir + "/peq-filter-settings.png"));
    peq->close();

    page->lowPassFrequencyPanel()->click();
    Form37* xo = parts->crossoverDialog();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(xo));
    QTest::qWait(200);
    EXPECT_TRUE(xo->grab().save(dir + "/xover-filter-settings.png"));
    xo->close();

    editor.close();
    editor.openAt(4, 0);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    emit editor.outputCopyRequested();
    Form39* copy = parts->outputCopyDialog();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(copy));
    QTest::qWait(200);
    EXPECT_TRUE(copy->grab().save(dir + "/output-copy.png"));
    copy->close();
    editor.close();
}
