#pragma once
// The editor on the XOVER page, on the in-process virtual line (virtual clock, flush ticks driven
// by the test), with the page, its dialogs and the output copy dialog as the editor installs them.
#include "EditorWindowFixture.h"

#include "editor/CurvePointList.h"
#include "editor/ResponseCurve.h"
#include "editor/widgets/Form36.h"
#include "editor/widgets/Form37.h"
#include "editor/widgets/Form39.h"
#include "editor/widgets/ResponsePlot.h"
#include "editor/widgets/XoverEditorParts.h"
#include "editor/widgets/XoverPage.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QTimer>
#include <QtCharts/QLineSeries>

struct XoverFixture : EditorWindowFixture {
    XoverEditorParts* parts = nullptr;
    XoverPage* page = nullptr;

    void SetUp() override
    {
        EditorWindowFixture::SetUp();
        parts = editor->findChild<XoverEditorParts*>();
        ASSERT_NE(parts, nullptr);
        page = parts->page();
        // The test drives the countdown itself.
        page->curveTimer()->stop();
    }

    MatrixParameters& params() { return session->store.params; }
    PeqBand& band(int output, int b) { return params().peq[std::size_t(output)][std::size_t(b)]; }
    CrossoverSettings& crossover(int output) { return params().crossover[std::size_t(output)]; }

    // The editor opened on the XOVER page for `output`; the parameters set so far are kept.
    void openXover(int output = 1, int model = 11)
    {
        session->store.model = DeviceModel::fromCode(model);
        editor->openAt(2, output - 1);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    }

    template <class D>
    void showDialog(D* dialog)
    {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    }

    // Valid frames of one command code since the last clearLog(), after the line has finished
    // everything handed over and the unit has answered.
    std::vector<SimFrame> sent(int command)
    {
        for (int i = 0; i < 200 && session->link.PendingFrames.load() > 0; ++i)
            pump.waitFor(20);
        pump.waitFor(100);
        std::vector<SimFrame> out;
        for (const SimFrame& f : line.frames())
            if (f.valid && f.command == command)
                out.push_back(f);
        return out;
    }

    static void typeInto(QLineEdit* box, const QString& text)
    {
        box->setFocus(Qt::MouseFocusReason);
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }
};

// The trace of the plot, point by point, against the list computed from the same parameters.
inline void ExpectTraceIs(const QLineSeries* trace, const CurvePointList& expected)
{
    const QList<QPointF> got = trace->points();
    ASSERT_EQ(got.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(got[i].x(), expected[i].x) << "point " << i;
        ASSERT_EQ(got[i].y(), expected[i].y) << "point " << i;
    }
}
