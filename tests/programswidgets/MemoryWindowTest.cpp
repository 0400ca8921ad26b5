// The memory window's controls, their names and order, and its operations driven through the
// window against a virtual unit on a virtual clock.
#include "ModalDriver.h"
#include "programs/ScriptedPrompts.h"
#include "support/VirtualRig.h"

#include "model/MatrixImageCodec.h"
#include "model/MatrixOperations.h"
#include "programs/ProgramMemory.h"
#include "programs/widgets/MemoryWindow.h"
#include "programs/widgets/ProgramNameDialog.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Answer = OperatorPrompts::Answer;

MatrixImage namedProgram(std::uint8_t seed, const char (&name)[13])
{
    MatrixImage im{};
    for (std::size_t i = 0; i < im.size(); ++i)
        im[i] = std::uint8_t(seed + i * 5);
    std::copy_n(name, 12, im.begin());
    im[12] = 128;
    return im;
}

struct WindowRig : VirtualRig {
    ProgramMemory memory{session};
    ScriptedPrompts prompts;
    MemoryWindow window{session, memory, nullptr, &prompts};

    explicit WindowRig(bool connect = true)
    {
        unit(1);
        if (connect)
            online(1);
    }
    VirtualUnit& u() { return *sim.unit(1); }
    QPushButton* button(MemoryWindow::Button b) { return window.button(b); }
    QString cell(int program, int column) const { return window.list()->item(program - 1, column)->text(); }
    std::vector<QWidget*> operationControls()
    {
        std::vector<QWidget*> out{window.list()};
        for (int b = 0; b < MemoryWindow::Ok; ++b)
            out.push_back(window.button(MemoryWindow::Button(b)));
        return out;
    }
};

} // namespace

TEST(MemoryWindow, ShowsItsListAndEightNamedButtonsInOrder)
{
    WindowRig rig;
    MemoryWindow& w = rig.window;
    EXPECT_EQ(w.objectName(), QStringLiteral("Form38"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Memory precinct"));
    const QStringList captions = {QStringLiteral("Refresh"),    QStringLiteral("Upload"),     QStringLiteral("File Down"),
                                  QStringLiteral("Setup Down"), QStringLiteral("Delete"),     QStringLiteral("Delete All"),
                                  QStringLiteral("Save"),       QStringLiteral("OK")};
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    int lastY = -1;
    for (int b = 0; b < MemoryWindow::kButtonCount; ++b) {
        QPushButton* button = w.button(MemoryWindow::Button(b));
        EXPECT_EQ(button->text(), captions[b]);
        EXPECT_EQ(button->accessibleName(), captions[b]);
        const int y = button->mapTo(&w, QPoint(0, 0)).y();
        EXPECT_GT(y, lastY) << captions[b].toStdString(); // top to bottom
        lastY = y;
    }
    QTableWidget* list = w.list();
    EXPECT_EQ(list->accessibleName(), QStringLiteral("Program list"));
    EXPECT_EQ(list->rowCount(), 16);
    EXPECT_EQ(list->columnCount(), 2);
    EXPECT_EQ(list->horizontalHeaderItem(0)->text(), QStringLiteral("Program"));
    EXPECT_EQ(list->horizontalHeaderItem(1)->text(), QStringLiteral("Name"));
    EXPECT_EQ(list->columnWidth(0), 90);
    EXPECT_EQ(list->columnWidth(1), 123);
    EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
    for (int p = 1; p <= 16; ++p) {
        EXPECT_EQ(rig.cell(p, 0), QString::number(p));
        EXPECT_TRUE(rig.cell(p, 1).isEmpty());
    }
    EXPECT_EQ(w.minimumSize(), w.maximumSize()); // fixed size
    w.hide();
}

TEST(MemoryWindow, RefreshFillsTheRowsWithMarksAndNamesAndDisconnectClearsThem)
{
    WindowRig rig;
    rig.u().program(4).image = namedProgram(1, "Chapel      ");
    rig.u().program(4).present = true;
    rig.button(MemoryWindow::Refresh)->click();
    EXPECT_EQ(rig.cell(4, 0), QStringLiteral("4[\u221A]"));
    EXPECT_EQ(rig.cell(4, 1), QStringLiteral("Chapel      "));
    EXPECT_EQ(rig.cell(5, 0), QStringLiteral("5"));
    for (QWidget* c : rig.operationControls())
        EXPECT_TRUE(c->isEnabled());

    rig.session.notifyProgramListCleared();
    EXPECT_EQ(rig.cell(4, 0), QStringLiteral("4"));
    EXPECT_TRUE(rig.cell(4, 1).isEmpty());
}

TEST(MemoryWindow, ActivationDuringAnOperationLeavesItsButtonsDisabledButOkCloses)
{
    WindowRig rig;
    rig.u().program(2).image = namedProgram(2, "Busy        ");
    rig.u().program(2).present = true;
    rig.window.selectRow(2);
    bool allDisabled = true;
    bool okEnabled = false;
    std::size_t readsBefore = 0;
    rig.prompts.whileShown = [&] {
        // The question box closed and the window became active again while Delete still runs.
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(&rig.window, &activate);
        for (QWidget* c : rig.operationControls())
            allDisabled = allDisabled && !c->isEnabled();
        okEnabled = rig.button(MemoryWindow::Ok)->isEnabled();
        readsBefore = rig.frames(204).size();
        rig.button(MemoryWindow::Refresh)->click();
        rig.button(MemoryWindow::DeleteAll)->click();
    };
    rig.prompts.answers = {Answer::Ok};
    rig.button(MemoryWindow::Delete)->click();
    EXPECT_TRUE(allDisabled);
    EXPECT_TRUE(okEnabled);
    EXPECT_EQ(rig.prompts.asked.size(), 1u); // no "Delete all program?" from the second click
    EXPECT_EQ(rig.frames(204).size(), readsBefore + 1); // only the Delete's own closing read
    EXPECT_FALSE(rig.u().program(2).present);
    for (QWidget* c : rig.operationControls())
        EXPECT_TRUE(c->isEnabled());
}

TEST(MemoryWindow, MemoryOpensOnlyForAConnectedUnlockedUnitWithNothingRunning)
{
    struct Case {
        const char* what;
        bool connected;
        int lock;
        bool insideProcedure;
        bool opens;
    };
    const Case cases[] = {
        {"connected, unlocked", true, 0, false, true},    {"lock 126", true, 126, false, true},
        {"lock 127", true, 127, false, false},            {"locked unit (129)", true, 129, false, false},
        {"not connected", false, 0, false, false},        {"procedure running", true, 0, true, false},
    };
    for (const Case& c : cases) {
        WindowRig rig(c.connected);
        rig.session.link.LockState = std::uint8_t(c.lock);
        bool wasVisible = false;
        if (c.opens)
            whenModal<MemoryWindow>([&](MemoryWindow* w) {
                wasVisible = w->isVisible();
                w->button(MemoryWindow::Ok)->click();
            });
        bool shown = false;
        if (c.insideProcedure)
            rig.session.runProcedure([&] { shown = rig.window.showIfAllowed(); });
        else
            shown = rig.window.showIfAllowed();
        EXPECT_EQ(shown, c.opens) << c.what;
        EXPECT_EQ(wasVisible, c.opens) << c.what;
        EXPECT_FALSE(rig.window.isVisible()) << c.what;
        EXPECT_TRUE(rig.sim.frames().empty()) << c.what; // opening sends nothing
    }
}

TEST(MemoryWindow, UploadThroughTheWindowAppliesTheProgramAndClosesIt)
{
    WindowRig rig;
    rig.u().program(3).image = namedProgram(70, "Evening     ");
    rig.u().program(3).present = true;
    rig.prompts.answers = {Answer::Yes};
    QSignalSpy replaced(&rig.window, &MemoryWindow::parametersReplaced);
    whenModal<MemoryWindow>([&](MemoryWindow* w) {
        w->selectRow(3);
        w->button(MemoryWindow::Upload)->click();
    });
    ASSERT_TRUE(rig.window.showIfAllowed()); // returns once Upload has closed the window
    EXPECT_FALSE(rig.window.isVisible());
    EXPECT_EQ(replaced.count(), 1);
    MatrixParameters expected{};
    ApplyMatrixImage(rig.u().program(3).image, expected);
    MarkAllOutputsMuted(expected);
    EXPECT_EQ(BuildMatrixImage(rig.session.store.params, rig.session.store.model),
              BuildMatrixImage(expected, rig.session.store.model));
}

TEST(MemoryWindow, SetupDownAsksForTheNameInTheNameDialogAndStoresItPadded)
{
    WindowRig rig;
    rig.window.selectRow(10);
    whenModal<ProgramNameDialog>([](ProgramNameDialog* d) {
        d->nameBox()->clear();
        QTest::keyClicks(d->nameBox(), QStringLiteral("AB"));
        d->okButton()->click();
    });
    rig.button(MemoryWindow::SetupDown)->click();
    ASSERT_TRUE(rig.u().program(10).present);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(rig.u().program(10).image.data()), 13),
              QByteArray("AB          \x80"));
    EXPECT_EQ(rig.cell(10, 0), QStringLiteral("10[\u221A]"));
    EXPECT_EQ(rig.cell(10, 1), QStringLiteral("AB          "));

    // Closed without OK: nothing is stored.
    rig.u().program(11).present = false;
    rig.window.selectRow(11);
    whenModal<ProgramNameDialog>([](ProgramNameDialog* d) { d->reject(); });
    const std::size_t writes = rig.frames(205).size();
    rig.button(MemoryWindow::SetupDown)->click();
    EXPECT_EQ(rig.frames(205).size(), writes);
    EXPECT_FALSE(rig.u().program(11).present);
}
