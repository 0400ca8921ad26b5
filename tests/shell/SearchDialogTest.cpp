// The Search Devices dialog on a virtual clock against units on an in-process line: a full
// quarter of the address range takes 41 s of line time, which runs here in milliseconds.
#include "shell/SearchDialog.h"
#include "shell/ShellTestSupport.h"
#include "support/VirtualRig.h"

#include <QRadioButton>
#include <QTableWidget>
#include <gtest/gtest.h>
#include <set>

namespace {

struct SearchWindow : ::testing::Test {
    VirtualRig rig;
    DeviceSearch search{rig.session, rig.ports};
    std::unique_ptr<SearchDialog> dialog;

    void SetUp() override
    {
        rig.unit(5);
        rig.session.command.Address = 77;
        dialog = std::make_unique<SearchDialog>(rig.session, search);
    }
    void open()
    {
        ASSERT_TRUE(search.open());
        dialog->show();
    }
    QAbstractButton* button(const char* caption) { return byName<QAbstractButton>(dialog.get(), QString::fromLatin1(caption)); }
    // Runs `action` when the probe of `address` is handed to the line.
    void atProbeOf(int address, std::function<void()> action)
    {
        QObject::connect(&rig.session, &Session::frameSubmitted, dialog.get(), [=](const QByteArray& frame) {
            if (frame.size() > 1 && quint8(frame[1]) == 231 && quint8(frame[0]) == address)
                action();
        });
    }
    int lastProbed() const
    {
        int last = 0;
        for (const auto& f : rig.frames(231))
            last = std::max(last, int(f.address));
        return last;
    }
};

TEST_F(SearchWindow, ListsTheUnitAtFiveInRowOneAndStopEndsAfterTheProbeInProgress)
{
    open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Search Devices"));
    EXPECT_EQ(dialog->cellText(0, 0), QStringLiteral("Device Count"));
    EXPECT_EQ(dialog->cellText(0, 1), QStringLiteral("ID+Message"));
    EXPECT_TRUE(byName<QRadioButton>(dialog.get(), QStringLiteral("1~64"))->isChecked());
    atProbeOf(10, [this] { button("Stop")->click(); });

    button("Search")->click();

    EXPECT_EQ(dialog->cellText(1, 0), QStringLiteral("1"));
    EXPECT_EQ(dialog->cellText(1, 1), QStringLiteral("5........OK"));
    EXPECT_EQ(dialog->cellText(2, 1), QStringLiteral("No device..."));
    EXPECT_EQ(lastProbed(), 10);
    EXPECT_TRUE(button("Search")->isEnabled());
    EXPECT_EQ(rig.session.status().progress, 0);

    dialog->close();
    EXPECT_EQ(rig.session.command.Address, 77);
}

TEST_F(SearchWindow, ResultsStayWhenTheDialogIsOpenedAgain)
{
    open();
    atProbeOf(6, [this] { button("Stop")->click(); });
    button("Search")->click();
    button("OK")->click();
    EXPECT_FALSE(dialog->isVisible());

    open();
    EXPECT_EQ(dialog->cellText(1, 1), QStringLiteral("5........OK"));
    dialog->close();
}

TEST_F(SearchWindow, ClosingWhileSearchingEndsTheSearchAndRestoresTheAddress)
{
    open();
    bool searchEnabledWhileRunning = true;
    bool rangesEnabledWhileRunning = true;
    atProbeOf(7, [&] {
        searchEnabledWhileRunning = button("Search")->isEnabled();
        rangesEnabledWhileRunning = byName<QRadioButton>(dialog.get(), QStringLiteral("65~128"))->isEnabled();
        dialog->close();
    });
    button("Search")->click();
    EXPECT_FALSE(searchEnabledWhileRunning);
    EXPECT_FALSE(rangesEnabledWhileRunning);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(lastProbed(), 7);
    EXPECT_EQ(rig.session.command.Address, 77);
    EXPECT_EQ(rig.session.status().progress, 0);
    EXPECT_EQ(rig.session.link.SendEnabled.load(), 0);
}

TEST_F(SearchWindow, TopQuarterRangeProbesFrom193)
{
    rig.unit(200);
    open();
    byName<QRadioButton>(dialog.get(), QStringLiteral("193~255"))->setChecked(true);
    atProbeOf(201, [this] { button("Stop")->click(); });
    button("Search")->click();
    std::set<int> probed;
    for (const auto& f : rig.frames(231))
        probed.insert(f.address);
    EXPECT_EQ(*probed.begin(), 193);
    EXPECT_EQ(*probed.rbegin(), 201);
    EXPECT_EQ(dialog->cellText(1, 1), QStringLiteral("200........OK"));
    dialog->close();
}

} // namespace
