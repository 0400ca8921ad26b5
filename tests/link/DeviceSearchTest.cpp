// The search loop on a virtual clock against units on one in-process line.
#include "support/VirtualRig.h"

#include "link/DeviceSearch.h"

#include <gtest/gtest.h>
#include <set>

namespace {

using Range = DeviceSearch::Range;

struct SearchRig : VirtualRig {
    DeviceSearch search{session, ports};
    SearchRig() { session.command.Address = 77; }
    void run(Range range)
    {
        ASSERT_TRUE(search.open());
        search.dialogShown();
        search.search(range);
        search.close();
    }
    std::set<int> probedAddresses() const
    {
        std::set<int> a;
        for (const auto& f : frames(231))
            a.insert(f.address);
        return a;
    }
};

TEST(DeviceSearch, TopQuarterProbes63AddressesAndFindsEveryUnit)
{
    SearchRig rig;
    rig.unit(255);
    rig.unit(200);
    rig.unit(230);
    rig.unit(5); // outside the range
    rig.run(Range::From193To255);

    const auto probed = rig.probedAddresses();
    EXPECT_EQ(probed.size(), 63u);
    EXPECT_EQ(*probed.begin(), 193);
    EXPECT_EQ(*probed.rbegin(), 255);
    for (const auto& f : rig.frames(231)) {
        EXPECT_EQ(f.selector, 1);
        EXPECT_EQ(f.payload, QByteArray(1, char(123)));
    }
    // Unanswered addresses get a second probe, answered ones only one.
    EXPECT_EQ(rig.frames(231).size(), 3u + 2u * 60u);

    EXPECT_EQ(rig.search.found(), (std::vector<int>{200, 230, 255}));
    EXPECT_EQ(rig.search.cell(1, 0), "1");
    EXPECT_EQ(rig.search.cell(1, 1), "200........OK");
    EXPECT_EQ(rig.search.cell(2, 1), "230........OK");
    EXPECT_EQ(rig.search.cell(3, 0), "3");
    EXPECT_EQ(rig.search.cell(3, 1), "255........OK");
    // The last probe's progress is round(63 x 1.4) = 88, then 100, then 0.
    const auto& p = rig.seen.progress;
    ASSERT_GE(p.size(), 4u);
    EXPECT_EQ(p[p.size() - 4], 88);
    EXPECT_EQ(p[p.size() - 3], 100);
    EXPECT_EQ(p[p.size() - 1], 0);
}

TEST(DeviceSearch, UnitAtFiveIsListedInRowOneAndEachProbeTakesAtLeast640ms)
{
    SearchRig rig;
    rig.unit(5);
    const std::int64_t t0 = rig.pump.nowMs();
    rig.run(Range::From1To64);
    EXPECT_GE(rig.pump.nowMs() - t0, 64 * 640);
    EXPECT_EQ(rig.search.cell(0, 0), "Device Count");
    EXPECT_EQ(rig.search.cell(0, 1), "ID+Message");
    EXPECT_EQ(rig.search.cell(1, 0), "1");
    EXPECT_EQ(rig.search.cell(1, 1), "5........OK");
    EXPECT_EQ(rig.search.cell(2, 1), "No device...");
    EXPECT_EQ(rig.search.cell(2, 0), "");
}

TEST(DeviceSearch, ListsOnlyIncreasingAddresses)
{
    // The unit at 3 answers as 4 (wrong address); the unit at 4 then answers as 4 again.
    SearchRig rig;
    rig.unit(3).faults().wrongAddress = true;
    rig.unit(4);
    rig.unit(9);
    rig.run(Range::From1To64);
    EXPECT_EQ(rig.search.found(), (std::vector<int>{4, 9}));
    EXPECT_EQ(rig.search.cell(2, 1), "9........OK");
}

TEST(DeviceSearch, StopEndsTheSearchAfterTheAddressBeingProbed)
{
    SearchRig rig;
    rig.unit(5);
    rig.unit(20);
    ASSERT_TRUE(rig.search.open());
    rig.search.dialogShown();
    const int id = rig.pump.addTickHandler([&rig](std::int64_t) {
        if (rig.search.running() && rig.session.command.Address == 10)
            rig.search.stop();
    });
    rig.search.search(Range::From1To64);
    rig.pump.removeTickHandler(id);
    rig.search.close();

    EXPECT_EQ(*rig.probedAddresses().rbegin(), 10);
    EXPECT_EQ(rig.search.found(), (std::vector<int>{5}));
    EXPECT_EQ(rig.search.cell(1, 1), "5........OK");
}

TEST(DeviceSearch, ClosingRestoresAddressAndSendingAndKeepsTheResults)
{
    SearchRig rig;
    rig.unit(130);
    ASSERT_EQ(rig.session.link.SendEnabled, 0);
    rig.run(Range::From129To192);
    EXPECT_EQ(rig.session.command.Address, 77);
    EXPECT_EQ(rig.session.link.SendEnabled, 0);
    EXPECT_EQ(rig.session.status().progress, 0);

    // Reopening shows the previous results.
    ASSERT_TRUE(rig.search.open());
    rig.search.dialogShown();
    EXPECT_EQ(rig.search.cell(1, 1), "130........OK");
    rig.search.close();
}

TEST(DeviceSearch, OkRestoresTheConnectionFlagItFound)
{
    SearchRig rig;
    rig.online(1);
    ASSERT_TRUE(rig.search.open());
    rig.search.dialogShown();
    rig.session.link.LinkConnected = 0;
    rig.search.ok();
    rig.search.close();
    EXPECT_EQ(rig.session.link.LinkConnected, 100);
    EXPECT_EQ(rig.session.link.SendEnabled, 1); // it was on before: left on
}

TEST(DeviceSearch, OpenFailsWhenThePortDoesNotOpen)
{
    SearchRig rig;
    rig.line->setPortAvailable(false);
    EXPECT_FALSE(rig.search.open());
    EXPECT_EQ(rig.session.link.SendEnabled, 0);
}

TEST(DeviceSearch, Ranges)
{
    EXPECT_EQ(DeviceSearch::rangeStart(Range::From1To64), 1);
    EXPECT_EQ(DeviceSearch::rangeEnd(Range::From65To128), 128);
    EXPECT_EQ(DeviceSearch::rangeStart(Range::From129To192), 129);
    EXPECT_EQ(DeviceSearch::rangeEnd(Range::From193To255), 255);
}

} // namespace
