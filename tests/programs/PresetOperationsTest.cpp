// New, Open, Save and the close question against a virtual unit on a virtual clock, with real
// files in temporary folders.
#include "ScriptedPrompts.h"
#include "support/VirtualRig.h"

#include "model/MatrixImageCodec.h"
#include "model/MatrixOperations.h"
#include "programs/MemoryOperations.h"
#include "programs/PresetOperations.h"
#include "programs/ProgramMemory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr int kRead = 204, kWrite = 205;
using Answer = OperatorPrompts::Answer;
using Icon = OperatorPrompts::Icon;
using Outcome = PresetOperations::OpenOutcome;

QByteArray bytesOf(const MatrixImage& im)
{
    return QByteArray(reinterpret_cast<const char*>(im.data()), int(im.size()));
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeRaw(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// Settings that differ from the New defaults everywhere it shows.
void editSomething(MatrixParameters& p)
{
    p.inputGain[1] = 0x0200;
    p.crosspoint[2][3] = 0x8300;
    p.delay[4] = 4321;
    p.peq[5][2].gain = 700;
    p.dynamics[6][DynamicsBlock::LimiterThreshold] = 90;
}

struct PresetRig : VirtualRig {
    ProgramMemory memory{session};
    ScriptedMemoryView memoryView;
    ScriptedPresetView presetView;
    ScriptedPrompts prompts;
    MemoryOperations memoryOps{session, memory, memoryView, prompts};
    PresetOperations presets{session, memoryOps, presetView, prompts};
    QTemporaryDir dir;

    explicit PresetRig(bool connected = false, bool silent = false) : VirtualRig(11)
    {
        unit(1).faults().silent = silent;
        if (connected)
            online(1);
    }
    QString file(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    MatrixImage settings() const { return BuildMatrixImage(session.store.params, session.store.model); }
};

} // namespace

TEST(PresetOperations, SaveWritesTheCurrentSettingsAndAddsT16OnlyToANameWithoutExtension)
{
    const std::pair<const char*, const char*> names[] = {{"show", "show.T16"}, {"show.bin", "show.bin"},
                                                         {"show.T16", "show.T16"}};
    for (const auto& [typed, written] : names) {
        PresetRig rig;
        editSomething(rig.session.store.params);
        rig.prompts.saveFiles = {rig.file(typed)};
        EXPECT_TRUE(rig.presets.save());
        EXPECT_EQ(rig.prompts.saveFilters, QStringList{QStringLiteral("*.T16(tolvan 16) (*.T16)")});
        EXPECT_EQ(readAll(rig.file(written)), bytesOf(rig.settings())) << typed;
        EXPECT_EQ(QDir(rig.dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
        EXPECT_TRUE(rig.prompts.asked.empty());
    }
}

TEST(PresetOperations, AnExistingFileIsAskedAboutFirstAndCancelLeavesItUntouched)
{
    PresetRig rig;
    writeRaw(rig.file("old.T16"), "old bytes");
    rig.prompts.saveFiles = {rig.file("old")}; // the extension is added before the check
    EXPECT_FALSE(rig.presets.save());
    ASSERT_EQ(rig.prompts.asked.size(), 1u);
    EXPECT_EQ(rig.prompts.asked[0].icon, Icon::Warning);
    EXPECT_EQ(rig.prompts.asked[0].buttons, OperatorPrompts::Buttons::OkCancel);
    EXPECT_EQ(rig.prompts.asked[0].text,
              QDir::toNativeSeparators(rig.file("old.T16")) + QStringLiteral(" already existing, Overwrite this file?"));
    EXPECT_EQ(rig.prompts.asked[0].caption, QStringLiteral("Save file"));
    EXPECT_EQ(rig.prompts.saveFilters.size(), 2); // Cancel asked for a name again
    EXPECT_EQ(readAll(rig.file("old.T16")), QByteArray("old bytes"));

    // Cancel, then another name.
    rig.prompts.saveFiles = {rig.file("old.T16"), rig.file("other.T16")};
    EXPECT_TRUE(rig.presets.save());
    EXPECT_EQ(readAll(rig.file("old.T16")), QByteArray("old bytes"));
    EXPECT_EQ(readAll(rig.file("other.T16")), bytesOf(rig.settings()));

    // OK replaces it.
    rig.prompts.saveFiles = {rig.file("old.T16")};
    rig.prompts.answers = {Answer::Ok};
    EXPECT_TRUE(rig.presets.save());
    EXPECT_EQ(readAll(rig.file("old.T16")), bytesOf(rig.settings()));
}

TEST(PresetOperations, AFailedSaveIsReportedAndLeavesNoFile)
{
    PresetRig rig;
    writeRaw(rig.file("plain"), "x");
    rig.prompts.saveFiles = {rig.file("plain") + QStringLiteral("/a.T16")};
    EXPECT_FALSE(rig.presets.save());
    ASSERT_EQ(rig.prompts.asked.size(), 1u);
    EXPECT_EQ(rig.prompts.asked[0].icon, Icon::Critical);
    EXPECT_EQ(rig.prompts.asked[0].caption, QStringLiteral("Save file"));
    EXPECT_TRUE(rig.prompts.asked[0].text.contains(QStringLiteral("a.T16"))) << rig.prompts.asked[0].text.toStdString();
    EXPECT_EQ(QDir(rig.dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("plain")});
}

TEST(PresetOperations, OpenLoadsAFileOfExactly1600Bytes)
{
    PresetRig rig;
    MatrixParameters edited{};
    ResetMatrixDefaults(edited);
    editSomething(edited);
    const MatrixImage file = BuildMatrixImage(edited, rig.session.store.model);
    writeRaw(rig.file("in.T16"), bytesOf(file));
    rig.prompts.openFiles = {rig.file("in.T16")};
    EXPECT_EQ(rig.presets.open(), Outcome::Loaded);
    EXPECT_EQ(rig.prompts.openFilters, QStringList{QStringLiteral("*.T16(tolvan 16) (*.T16)")});
    EXPECT_EQ(rig.settings(), file);
    EXPECT_EQ(rig.session.store.loadImage, file);
    EXPECT_EQ(rig.presetView.replaced, 1);
    EXPECT_TRUE(rig.prompts.asked.empty()); // not connected: no download offer
    EXPECT_TRUE(rig.sim.frames().empty());
}

TEST(PresetOperations, ARefusedOrUnreadableFileLeavesTheSettingsAndOffersNoDownload)
{
    struct Case {
        const char* what;
        int length; // -1: no such file
        Icon icon;
    };
    const Case cases[] = {{"1601 bytes", 1601, Icon::None}, {"1599 bytes", 1599, Icon::None},
                          {"empty", 0, Icon::None},         {"missing", -1, Icon::Warning}};
    for (const Case& c : cases) {
        PresetRig rig(true);
        editSomething(rig.session.store.params);
        const MatrixImage before = rig.settings();
        const MatrixImage loadBefore = rig.session.store.loadImage;
        if (c.length >= 0)
            writeRaw(rig.file("bad.T16"), QByteArray(c.length, char(0x11)));
        rig.prompts.openFiles = {rig.file("bad.T16")};
        EXPECT_EQ(rig.presets.open(), Outcome::Refused) << c.what;
        ASSERT_EQ(rig.prompts.asked.size(), 1u) << c.what;
        EXPECT_EQ(rig.prompts.asked[0].caption, QStringLiteral("Open File"));
        EXPECT_EQ(rig.prompts.asked[0].icon, c.icon);
        if (c.length >= 0)
            EXPECT_EQ(rig.prompts.asked[0].text, QStringLiteral("File is Error!")) << c.what;
        else
            EXPECT_TRUE(rig.prompts.asked[0].text.contains(QStringLiteral("bad.T16"))) << c.what;
        EXPECT_EQ(rig.settings(), before) << c.what;
        EXPECT_EQ(rig.session.store.loadImage, loadBefore) << c.what;
        EXPECT_EQ(rig.presetView.replaced, 0);
        EXPECT_TRUE(rig.frames(kRead).empty()) << c.what; // no download offer
        EXPECT_EQ(rig.session.link.PendingFrames.load(), 0);
        EXPECT_EQ(rig.session.link.SendEnabled.load(), 1);
        EXPECT_TRUE(rig.line->isOpen());
    }
}

TEST(PresetOperations, OpenHoldsTheLineWhileItsDialogIsUpAndGivesItBack)
{
    PresetRig rig(true);
    int pendingDuring = -1, sendDuring = -1;
    bool openDuring = true;
    rig.prompts.whileShown = [&] {
        if (pendingDuring == -1) {
            pendingDuring = rig.session.link.PendingFrames.load();
            sendDuring = rig.session.link.SendEnabled.load();
            openDuring = rig.line->isOpen();
        }
    };
    EXPECT_EQ(rig.presets.open(), Outcome::Cancelled);
    EXPECT_EQ(pendingDuring, 10);
    EXPECT_EQ(sendDuring, 0);
    EXPECT_FALSE(openDuring);
    EXPECT_EQ(rig.session.link.PendingFrames.load(), 0);
    EXPECT_EQ(rig.session.link.SendEnabled.load(), 1);
    EXPECT_TRUE(rig.line->isOpen());

    // Not sending: the port is left alone.
    rig.session.link.SendEnabled = 0;
    rig.line->close();
    pendingDuring = -1;
    EXPECT_EQ(rig.presets.open(), Outcome::Cancelled);
    EXPECT_EQ(pendingDuring, 10);
    EXPECT_FALSE(rig.line->isOpen());
    EXPECT_EQ(rig.session.link.SendEnabled.load(), 0);
}

TEST(PresetOperations, OpenWhileConnectedEndsWithTheDownloadQuestionForProgramOne)
{
    PresetRig rig(true);
    MatrixParameters edited{};
    ResetMatrixDefaults(edited);
    editSomething(edited);
    writeRaw(rig.file("in.T16"), bytesOf(BuildMatrixImage(edited, rig.session.store.model)));
    rig.prompts.openFiles = {rig.file("in.T16")};
    rig.prompts.answers = {Answer::Yes};
    rig.memoryView.nameAnswers = {{true, QStringLiteral("Loaded")}};
    EXPECT_EQ(rig.presets.open(), Outcome::Loaded);
    ASSERT_EQ(rig.prompts.asked.size(), 1u);
    EXPECT_EQ(rig.prompts.asked[0].text, QStringLiteral("Do you Refresh NO.1 PROGRAM?"));
    ASSERT_TRUE(rig.sim.unit(1)->program(1).present);
    EXPECT_EQ(bytesOf(rig.sim.unit(1)->program(1).image).mid(13),
              bytesOf(BuildMatrixImage(edited, rig.session.store.model)).mid(13));
    EXPECT_EQ(rig.presetView.newOpenEnabled, (std::vector<bool>{false, true}));
}

TEST(PresetOperations, NewResetsToDefaultsAndOffersTheDownloadOnlyWhenConnected)
{
    for (const bool connected : {false, true}) {
        PresetRig rig(connected, true);
        editSomething(rig.session.store.params);
        EXPECT_TRUE(rig.presets.newPreset());
        MatrixParameters defaults{};
        ResetMatrixDefaults(defaults);
        EXPECT_EQ(rig.settings(), BuildMatrixImage(defaults, rig.session.store.model));
        EXPECT_EQ(rig.presetView.replaced, 1);
        // A silent unit is not asked about: nothing but the two name reads.
        EXPECT_TRUE(rig.prompts.asked.empty());
        EXPECT_EQ(rig.frames(kRead).size(), connected ? 6u : 0u);
        EXPECT_TRUE(rig.frames(kWrite).empty());
        EXPECT_EQ(rig.presetView.newOpenEnabled, connected ? (std::vector<bool>{false, true}) : std::vector<bool>{});
    }
}

TEST(PresetOperations, NewAndOpenWaitWhileAProcedureRuns)
{
    PresetRig rig(true);
    editSomething(rig.session.store.params);
    const MatrixImage before = rig.settings();
    rig.session.runProcedure([&] {
        EXPECT_FALSE(rig.presets.newPreset());
        EXPECT_EQ(rig.presets.open(), Outcome::Busy);
    });
    EXPECT_EQ(rig.settings(), before);
    EXPECT_TRUE(rig.prompts.openFilters.isEmpty());
}

TEST(PresetOperations, TheCloseQuestionClosesOnlyWhenNothingIsLost)
{
    struct Case {
        const char* what;
        bool modified;
        std::deque<Answer> answers;
        const char* saveTo; // nullptr: the save dialog is cancelled
        bool closes;
        bool written;
    };
    const Case cases[] = {
        {"unmodified", false, {}, nullptr, true, false},
        {"no", true, {Answer::No}, nullptr, true, false},
        {"cancel", true, {Answer::Cancel}, nullptr, false, false},
        {"yes, saved", true, {Answer::Yes}, "exit.T16", true, true},
        {"yes, save cancelled", true, {Answer::Yes}, nullptr, false, false},
        {"yes, save failed", true, {Answer::Yes}, "plain/exit.T16", false, false},
    };
    for (const Case& c : cases) {
        PresetRig rig;
        writeRaw(rig.file("plain"), "x");
        rig.session.link.SettingsModified = c.modified ? kSet : 0;
        rig.prompts.answers = c.answers;
        if (c.saveTo)
            rig.prompts.saveFiles = {rig.file(c.saveTo)};
        EXPECT_EQ(rig.presets.closeQuestion(), c.closes) << c.what;
        if (c.modified) {
            ASSERT_FALSE(rig.prompts.asked.empty());
            EXPECT_EQ(rig.prompts.asked[0].text, QStringLiteral("Exit this program,Save the change to a file?"));
            EXPECT_EQ(rig.prompts.asked[0].caption, QStringLiteral("TOLVAN Designer"));
            EXPECT_EQ(rig.prompts.asked[0].icon, Icon::Question);
            EXPECT_EQ(rig.prompts.asked[0].buttons, OperatorPrompts::Buttons::YesNoCancel);
        } else {
            EXPECT_TRUE(rig.prompts.asked.empty());
        }
        EXPECT_EQ(QFile::exists(rig.file("exit.T16")), c.written) << c.what;
        EXPECT_EQ(rig.session.link.SettingsModified, c.modified ? kSet : 0); // a save does not clear it
    }
}
