// Writes the editor's Input Gain, Matrix Control, Delay and Output Gain pages and the matrix
// overview as PNG files when T16_SCREENSHOT_DIR is set (run under Xvfb); otherwise skipped. The
// XOVER and Comp/Limit pages have screenshots of their own.
#include "editor/widgets/Form34.h"
#include "editor/widgets/MatrixOverview.h"
#include "link/PacedWriter.h"
#include "link/Session.h"
#include "model/MatrixOperations.h"
#include "platform/QtEventPump.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const char* const kPageFiles[6] = {"input-gain", "matrix-control", "xover", "delay", "output-gain", "comp-limit"};

void fillExample(ParameterStore& store, int model)
{
    SelectDeviceModel(store, model);
    MatrixParameters& p = store.params;
    for (int c = 1; c <= 16; ++c) {
        p.inputGain[std::size_t(c)] = LevelWord(600 - 15 * (c % 5) + ((c % 4 == 0) ? 0x8000 : 0));
        p.outputGain[std::size_t(c)] = LevelWord(560 + 5 * c + ((c % 6 == 0) ? 0x8000 : 0));
        p.delay[std::size_t(c)] = std::uint16_t(c * 411);
        p.polarity[std::size_t(c)] = (c % 3 == 0) ? 0x80 : 0x00;
        for (int i = 1; i <= 16; ++i)
            p.crosspoint[std::size_t(c)][std::size_t(i)] = LevelWord(600 - 20 * ((i + c) % 7) + (((i + c) % 3 == 0) ? 0x8000 : 0));
    }
}

} // namespace

TEST(Screenshots, EditorPagesAndOverview)
{
    const QString dir = qEnvironmentVariable("T16_SCREENSHOT_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "T16_SCREENSHOT_DIR not set";
    QDir().mkpath(dir);
    QtEventPump pump;
    Session session(pump, [](LinkState& link) { return std::make_unique<PacedWriter>(link); });
    for (int model : {3, 11}) {
        fillExample(session.store, model);
        const QString config = model == 3 ? QStringLiteral("4x4") : QStringLiteral("16x16");
        Form34 editor(session);
        for (int page : {0, 1, 3, 4}) {
            editor.openAt(page, 2);
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
            QTest::qWait(150);
            const QString file = QStringLiteral("%1/editor-%2-%3.png").arg(dir, kPageFiles[page], config);
            EXPECT_TRUE(editor.grab().save(file)) << file.toStdString();
            editor.close();
        }
        MatrixOverview overview(session);
        overview.resize(overview.sizeHint().expandedTo(QSize(900, 480)));
        overview.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&overview));
        QTest::qWait(100);
        EXPECT_TRUE(overview.grab().save(QStringLiteral("%1/matrix-overview-%2.png").arg(dir, config)));
        overview.close();
    }
}
