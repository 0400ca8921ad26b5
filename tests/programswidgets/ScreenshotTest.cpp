// Pictures of the memory window and the name dialog for the documentation. Runs only when
// T16_SCREENSHOT_DIR names a folder, on a real display (xvfb-run with QT_QPA_PLATFORM=xcb).
#include "programs/ScriptedPrompts.h"
#include "support/VirtualRig.h"

#include "programs/ProgramMemory.h"
#include "programs/widgets/MemoryWindow.h"
#include "programs/widgets/ProgramNameDialog.h"

#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {
void storeNamed(VirtualUnit& u, int p, const char (&name)[13])
{
    MatrixImage im{};
    std::copy_n(name, 12, im.begin());
    im[12] = 128;
    u.program(p).image = im;
    u.program(p).present = true;
}
} // namespace

TEST(Screenshots, MemoryWindowAndProgramNameDialog)
{
    const QString folder = qEnvironmentVariable("T16_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "set T16_SCREENSHOT_DIR to take the pictures";
    ASSERT_TRUE(QDir().mkpath(folder));

    VirtualRig rig;
    VirtualUnit& u = rig.unit(1);
    rig.online(1);
    storeNamed(u, 1, "Front House ");
    storeNamed(u, 2, "Chapel      ");
    storeNamed(u, 5, "Conference  ");
    storeNamed(u, 9, "Evening Mass");
    ProgramMemory memory(rig.session);
    ScriptedPrompts prompts;
    MemoryWindow window(rig.session, memory, nullptr, &prompts);
    window.button(MemoryWindow::Refresh)->click();
    // A program just stored here shows the other mark until it is read back.
    window.showRow(3, QStringLiteral("3[\u25BD]"), QStringLiteral("Rehearsal"));
    window.selectRow(5);

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(200);
    EXPECT_TRUE(window.grab().save(folder + QStringLiteral("/memory-window.png")));

    ProgramNameDialog* dialog = window.nameDialog();
    dialog->setText(QStringLiteral("Preset "));
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    QTest::keyClicks(dialog->nameBox(), QStringLiteral("Stage 2"));
    QTest::qWait(200);
    EXPECT_TRUE(dialog->grab().save(folder + QStringLiteral("/program-name-dialog.png")));
    dialog->hide();
    window.hide();
}
