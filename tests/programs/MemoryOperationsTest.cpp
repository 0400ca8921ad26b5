// The memory window's operations and DownloadToProgram on a virtual clock against a virtual unit:
// what the list shows, what reaches the unit, what is asked, what reaches files.
#include "ScriptedPrompts.h"
#include "support/VirtualRig.h"

#include "model/MatrixImageCodec.h"
#include "model/MatrixOperations.h"
#include "programs/MemoryOperations.h"
#include "programs/ProgramMemory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr int kRead = 204, kWrite = 205, kCommit = 206, kRecall = 202, kDelete = 203;
using Op = MemoryOperations::Operation;
using Answer = OperatorPrompts::Answer;
using Icon = OperatorPrompts::Icon;

const QString kInUse = QStringLiteral("[\u221A]");
const QString kStored = QStringLiteral("[\u25BD]");

MatrixImage pattern(std::uint8_t seed)
{
    MatrixImage im{};
    for (std::size_t i = 0; i < im.size(); ++i)
        im[i] = std::uint8_t(seed + i * 7 + (i >> 8));
    return im;
}

MatrixImage namedProgram(std::uint8_t seed, const char (&name)[13])
{
    MatrixImage im = pattern(seed);
    std::copy_n(name, 12, im.begin());
    im[12] = 128;
    return im;
}

QByteArray bytesOf(const MatrixImage& im, int n = kMatrixImageSize)
{
    return QByteArray(reinterpret_cast<const char*>(im.data()), n);
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

MatrixImage imageOfParams(const MatrixParameters& params, const DeviceModel& model)
{
    return BuildMatrixImage(params, model);
}

struct MemoryRig : VirtualRig {
    ProgramMemory memory{session};
    ScriptedMemoryView view;
    ScriptedPrompts prompts;
    MemoryOperations ops{session, memory, view, prompts};
    QTemporaryDir dir;

    explicit MemoryRig(int modelCode = 11, bool silent = false) : VirtualRig(modelCode)
    {
        unit(1, modelCode).faults().silent = silent;
        online(1);
    }
    VirtualUnit& u() { return *sim.unit(1); }
    void store(int p, const MatrixImage& im)
    {
        u().program(p).image = im;
        u().program(p).present = true;
    }
    QString file(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    bool run(Op op, int selected)
    {
        view.selected = selected;
        return ops.run(op);
    }
    MatrixImage params() const { return imageOfParams(session.store.params, session.store.model); }
};

} // namespace

TEST(MemoryOperations, RefreshListsInUseSlotsWithTheirNamesThenBareNumbersOnceTheUnitFallsSilent)
{
    MemoryRig rig;
    rig.store(3, namedProgram(1, "Front  Hall "));
    rig.store(16, namedProgram(2, "Stage       "));
    ASSERT_TRUE(rig.run(Op::Refresh, 1));
    for (int p = 1; p <= 16; ++p) {
        const bool used = p == 3 || p == 16;
        EXPECT_EQ(rig.ops.row(p).number, QString::number(p) + (used ? kInUse : QString())) << p;
        EXPECT_EQ(rig.view.rows[std::size_t(p)].first, rig.ops.row(p).number);
    }
    EXPECT_EQ(rig.ops.row(3).name, QStringLiteral("Front  Hall "));
    EXPECT_EQ(rig.ops.row(16).name, QStringLiteral("Stage       "));
    EXPECT_TRUE(rig.ops.row(4).name.isEmpty());

    rig.u().faults().silent = true;
    rig.view.selections.clear();
    const std::int64_t t0 = rig.pump.nowMs();
    ASSERT_TRUE(rig.run(Op::Refresh, 1));
    const std::int64_t took = rig.pump.nowMs() - t0;
    for (int p = 1; p <= 16; ++p) {
        EXPECT_EQ(rig.ops.row(p).number, QString::number(p));
        EXPECT_TRUE(rig.ops.row(p).name.isEmpty());
        EXPECT_EQ(rig.view.rows[std::size_t(p)], std::make_pair(QString::number(p), QString()));
    }
    // Three unanswered requests and two 200 ms pauses per program, after a 5 ms pause.
    EXPECT_GE(took, 16 * (5 + 3 * (49 + 2) + 2 * 200));
    std::vector<int> walked;
    for (int p = 1; p <= 16; ++p)
        walked.push_back(p);
    EXPECT_EQ(rig.view.selections, walked);
    EXPECT_EQ(rig.session.status().progress, 0);
    EXPECT_EQ(rig.view.enabledChanges, (std::vector<bool>{false, true, false, true}));
}

TEST(MemoryOperations, OkDuringRefreshStopsItAfterTheProgramBeingRead)
{
    MemoryRig rig(11, true);
    // The operator presses OK about two programs in.
    const int id = rig.pump.addTickHandler([&](std::int64_t nowNs) {
        if (nowNs / 1000000 == 1000)
            rig.ops.ok();
    });
    ASSERT_TRUE(rig.run(Op::Refresh, 1));
    rig.pump.removeTickHandler(id);
    EXPECT_EQ(rig.view.selections, (std::vector<int>{1, 2}));
    EXPECT_EQ(rig.ops.stopFlag(), 100);
    EXPECT_GT(rig.ops.refreshPosition(), 16);
    EXPECT_EQ(rig.view.closes, 1);
    // OK inside a running operation leaves the buttons to the operation's end.
    EXPECT_EQ(rig.view.enabledChanges, (std::vector<bool>{false, true}));
}

TEST(MemoryOperations, UploadOfAnInUseSlotRecallsItAppliesItAndMutesAllOutputs)
{
    MemoryRig rig;
    const MatrixImage program = namedProgram(40, "Upload me   ");
    rig.store(5, program);
    rig.prompts.answers = {Answer::Yes};
    ASSERT_TRUE(rig.run(Op::Upload, 5));

    ASSERT_EQ(rig.prompts.asked.size(), 1u);
    EXPECT_EQ(rig.prompts.asked[0].text, QStringLiteral("Do you Refresh Device and interface?"));
    EXPECT_EQ(rig.prompts.asked[0].caption, QStringLiteral("Upload"));
    EXPECT_EQ(rig.prompts.asked[0].icon, Icon::Question);

    MatrixParameters expected{};
    ApplyMatrixImage(program, expected);
    MarkAllOutputsMuted(expected);
    EXPECT_EQ(rig.params(), imageOfParams(expected, rig.session.store.model));
    for (int o = 1; o <= 16; ++o)
        EXPECT_TRUE(rig.session.store.params.outputGain[std::size_t(o)] & kMuteBit) << o;
    EXPECT_EQ(rig.frames(kRecall).size(), 1u);
    EXPECT_EQ(rig.u().currentProgram, 5);
    EXPECT_EQ(rig.session.store.currentProgram, 5);
    EXPECT_EQ(rig.view.closes, 1);
    EXPECT_EQ(rig.view.replaced, 1);
}

TEST(MemoryOperations, UploadOfAnEmptySlotOrWithNoAsksOrChangesNothingFurther)
{
    for (const bool empty : {true, false}) {
        MemoryRig rig;
        if (!empty)
            rig.store(5, namedProgram(40, "Kept        "));
        const MatrixImage before = rig.params();
        ASSERT_TRUE(rig.run(Op::Upload, 5));
        EXPECT_EQ(rig.prompts.asked.size(), empty ? 0u : 1u); // the one question is answered No
        EXPECT_EQ(rig.params(), before);
        EXPECT_TRUE(rig.frames(kRecall).empty());
        EXPECT_EQ(rig.frames(kRead).size(), 1u); // the name read only
        EXPECT_EQ(rig.view.closes, 0);
    }
}

TEST(MemoryOperations, FileDownStoresOnlyAFileOfExactly1600BytesUnderTheNameEntered)
{
    MemoryRig rig;
    const MatrixImage onDisk = namedProgram(90, "From disk   ");
    writeRaw(rig.file("good.T16"), bytesOf(onDisk));
    rig.prompts.openFiles = {rig.file("good.T16")};
    rig.view.nameAnswers = {{true, QStringLiteral("AB")}};
    ASSERT_TRUE(rig.run(Op::FileDown, 7));

    EXPECT_EQ(rig.prompts.openFilters, QStringList{QStringLiteral("*.T16(TOLVAN 16) (*.T16)")});
    // The name box was given the file's 12 name bytes.
    EXPECT_EQ(rig.view.nameAtShow, std::vector<QString>{QStringLiteral("From disk   ")});
    ASSERT_TRUE(rig.u().program(7).present);
    MatrixImage expected = onDisk;
    std::copy_n("AB          ", 12, expected.begin());
    expected[12] = 128;
    EXPECT_EQ(bytesOf(rig.u().program(7).image), bytesOf(expected));
    // Marked as just stored, then re-read from the unit.
    bool sawStored = false;
    EXPECT_EQ(rig.ops.row(7).number, QStringLiteral("7") + kInUse);
    EXPECT_EQ(rig.ops.row(7).name, QStringLiteral("AB          "));
    for (int p : rig.view.shownRows)
        sawStored = sawStored || p == 7;
    EXPECT_TRUE(sawStored);
}

TEST(MemoryOperations, FileDownOfAFileOfAnyOtherLengthStoresNothingAndRereadsTheSlot)
{
    for (const int length : {0, 1599, 1601, 1799, 1800, 4096}) {
        MemoryRig rig;
        rig.session.store.stagingImage = pattern(3);
        QByteArray data = bytesOf(namedProgram(90, "Wrong size  "));
        data.resize(length, char(0x33));
        writeRaw(rig.file("odd.T16"), data);
        rig.prompts.openFiles = {rig.file("odd.T16")};
        ASSERT_TRUE(rig.run(Op::FileDown, 2));
        EXPECT_EQ(rig.view.nameAtShow.size(), 1u) << length; // the name dialog is still shown
        EXPECT_TRUE(rig.frames(kWrite).empty()) << length;
        EXPECT_TRUE(rig.frames(kCommit).empty()) << length;
        EXPECT_FALSE(rig.u().program(2).present);
        EXPECT_EQ(rig.session.store.stagingImage, pattern(3)) << "staging image touched, length " << length;
        EXPECT_EQ(rig.frames(kRead).size(), 1u) << length; // the closing name read
        EXPECT_EQ(rig.ops.row(2).number, QStringLiteral("2"));
    }
}

TEST(MemoryOperations, FileDownClosedWithoutOkOrCancelledStoresNothing)
{
    MemoryRig rig;
    writeRaw(rig.file("good.T16"), bytesOf(pattern(1)));
    rig.prompts.openFiles = {rig.file("good.T16")};
    rig.view.nameAnswers = {{false, QStringLiteral("Typed")}};
    ASSERT_TRUE(rig.run(Op::FileDown, 4));
    EXPECT_TRUE(rig.frames(kWrite).empty());
    // A cancelled open dialog goes straight to the closing name read.
    ASSERT_TRUE(rig.run(Op::FileDown, 4));
    EXPECT_EQ(rig.view.nameAtShow.size(), 1u);
    EXPECT_TRUE(rig.frames(kWrite).empty());
    EXPECT_EQ(rig.frames(kRead).size(), 2u);
}

TEST(MemoryOperations, SetupDownStoresTheCurrentSettingsUnderAPaddedName)
{
    const std::pair<QString, QByteArray> names[] = {
        {QStringLiteral("AB"), QByteArray("AB          ")},
        {QStringLiteral("Twelve chars"), QByteArray("Twelve chars")},
    };
    for (const auto& [typed, stored] : names) {
        MemoryRig rig;
        rig.session.store.params.delay[3] = 1234;
        rig.session.store.params.inputGain[2] = 0x0200;
        rig.view.nameAnswers = {{true, typed}};
        ASSERT_TRUE(rig.run(Op::SetupDown, 9));
        ASSERT_TRUE(rig.u().program(9).present);
        const MatrixImage& inUnit = rig.u().program(9).image;
        EXPECT_EQ(bytesOf(inUnit, 12), stored);
        EXPECT_EQ(inUnit[12], 128);
        const MatrixImage built = rig.params();
        EXPECT_EQ(bytesOf(inUnit).mid(13), bytesOf(built).mid(13));
        EXPECT_EQ(rig.ops.row(9).number, QStringLiteral("9") + kInUse);
        EXPECT_EQ(rig.ops.row(9).name, QString::fromLatin1(stored));
    }
}

TEST(MemoryOperations, SetupDownClosedWithoutOkWritesNothing)
{
    MemoryRig rig;
    rig.view.nameAnswers = {{false, std::nullopt}};
    ASSERT_TRUE(rig.run(Op::SetupDown, 9));
    EXPECT_TRUE(rig.frames(kWrite).empty());
    EXPECT_FALSE(rig.u().program(9).present);
}

TEST(MemoryOperations, DeleteAsksOnlyForAnInUseSlotAndDeletesOnOk)
{
    MemoryRig rig;
    rig.store(6, namedProgram(4, "Doomed      "));
    // Cancel keeps it.
    ASSERT_TRUE(rig.run(Op::Delete, 6));
    ASSERT_EQ(rig.prompts.asked.size(), 1u);
    EXPECT_EQ(rig.prompts.asked[0].text, QStringLiteral("Delete this program?"));
    EXPECT_EQ(rig.prompts.asked[0].caption, QStringLiteral("Delete program"));
    EXPECT_EQ(rig.prompts.asked[0].icon, Icon::Warning);
    EXPECT_TRUE(rig.u().program(6).present);
    EXPECT_TRUE(rig.frames(kDelete).empty());

    rig.prompts.answers = {Answer::Ok};
    ASSERT_TRUE(rig.run(Op::Delete, 6));
    EXPECT_FALSE(rig.u().program(6).present);
    EXPECT_EQ(rig.frames(kDelete).size(), 1u); // answered: no second frame
    EXPECT_EQ(rig.ops.row(6).number, QStringLiteral("6"));

    // An empty slot is neither asked about nor deleted.
    ASSERT_TRUE(rig.run(Op::Delete, 6));
    EXPECT_EQ(rig.prompts.asked.size(), 2u);
    EXPECT_EQ(rig.frames(kDelete).size(), 1u);
}

TEST(MemoryOperations, DeleteAllResetsEveryRowEvenWithoutAnAnswer)
{
    MemoryRig rig;
    for (int p : {1, 8, 16})
        rig.store(p, namedProgram(std::uint8_t(p), "Listed      "));
    ASSERT_TRUE(rig.run(Op::Refresh, 1));
    ASSERT_EQ(rig.ops.row(8).number, QStringLiteral("8") + kInUse);

    rig.u().faults().silent = true;
    rig.prompts.answers = {Answer::Ok};
    ASSERT_TRUE(rig.run(Op::DeleteAll, 3));
    EXPECT_EQ(rig.prompts.asked.back().text, QStringLiteral("Delete all program?"));
    EXPECT_EQ(rig.prompts.asked.back().caption, QStringLiteral("Delete program"));
    const auto deletes = rig.frames(kDelete);
    ASSERT_EQ(deletes.size(), 2u); // unanswered: sent once more
    EXPECT_EQ(deletes[0].selector, 40);
    EXPECT_EQ(deletes[0].payload, QByteArray(1, char(40)));
    for (int p = 1; p <= 16; ++p) {
        EXPECT_EQ(rig.ops.row(p).number, QString::number(p));
        EXPECT_TRUE(rig.ops.row(p).name.isEmpty());
    }
    EXPECT_EQ(rig.session.status().progress, 0);
    // Nothing is read back.
    EXPECT_EQ(rig.frames(kRead).size(), 16u);
}

TEST(MemoryOperations, SaveOfABlankSlotSaysSoAndCreatesNoFile)
{
    MemoryRig rig;
    rig.prompts.saveFiles = {rig.file("blank.T16")};
    ASSERT_TRUE(rig.run(Op::Save, 11));
    ASSERT_EQ(rig.prompts.asked.size(), 1u);
    EXPECT_EQ(rig.prompts.asked[0].text, QStringLiteral("This Program is blank."));
    EXPECT_EQ(rig.prompts.asked[0].caption, QStringLiteral("Save file..."));
    EXPECT_EQ(rig.prompts.asked[0].icon, Icon::None);
    EXPECT_TRUE(rig.prompts.saveFilters.isEmpty()); // no save dialog
    EXPECT_TRUE(QDir(rig.dir.path()).entryList(QDir::Files).isEmpty());
}

TEST(MemoryOperations, SaveWritesTheStoredProgramAndAppendsTheExtension)
{
    MemoryRig rig;
    const MatrixImage program = namedProgram(60, "To a file   ");
    rig.store(12, program);
    rig.prompts.saveFiles = {rig.file("copy")};
    ASSERT_TRUE(rig.run(Op::Save, 12));
    EXPECT_TRUE(rig.prompts.asked.empty());
    EXPECT_EQ(readAll(rig.file("copy.T16")), bytesOf(program));
    EXPECT_EQ(rig.session.status().progress, 0);
}

TEST(MemoryOperations, SaveOfAFourByFourProgramFillsTheRestFromTheDefaultImage)
{
    MemoryRig rig(3);
    MatrixImage program = namedProgram(61, "Small unit  ");
    std::fill(program.begin() + 448, program.end(), 0); // what a 4*4 unit holds beyond its program
    rig.store(2, program);
    rig.prompts.saveFiles = {rig.file("small.T16")};
    ASSERT_TRUE(rig.run(Op::Save, 2));
    const QByteArray saved = readAll(rig.file("small.T16"));
    ASSERT_EQ(saved.size(), 1600);
    EXPECT_EQ(saved.left(448), bytesOf(program, 448));
    EXPECT_EQ(saved.mid(448), bytesOf(DefaultMatrixImage()).mid(448));
}

TEST(MemoryOperations, AnExistingFileIsAskedAboutAndCancelStartsTheSaveOverWithoutWritingIt)
{
    MemoryRig rig;
    rig.store(12, namedProgram(60, "Newer       "));
    writeRaw(rig.file("old.T16"), "old content");
    rig.prompts.saveFiles = {rig.file("old.T16")}; // then the second dialog is cancelled
    ASSERT_TRUE(rig.run(Op::Save, 12));
    ASSERT_EQ(rig.prompts.asked.size(), 1u);
    EXPECT_EQ(rig.prompts.asked[0].text,
              QDir::toNativeSeparators(rig.file("old.T16")) + QStringLiteral(" already existing, Overwrite this file?"));
    EXPECT_EQ(rig.prompts.asked[0].caption, QStringLiteral("Save file"));
    EXPECT_EQ(rig.prompts.saveFilters.size(), 2);
    EXPECT_EQ(readAll(rig.file("old.T16")), QByteArray("old content"));
    EXPECT_EQ(rig.frames(kRead).size(), 2u); // the name read of each run, no program read

    rig.prompts.saveFiles = {rig.file("old.T16")};
    rig.prompts.answers = {Answer::Ok};
    ASSERT_TRUE(rig.run(Op::Save, 12));
    EXPECT_EQ(readAll(rig.file("old.T16")), bytesOf(namedProgram(60, "Newer       ")));
}

TEST(MemoryOperations, AnIncompleteReadWritesNoFileAndLeavesAnExistingOneUntouched)
{
    MemoryRig rig;
    rig.store(12, namedProgram(60, "Half there  "));
    writeRaw(rig.file("keep.T16"), "previous");
    rig.u().faults().incompleteChunk = 50;
    rig.prompts.saveFiles = {rig.file("keep.T16"), rig.file("fresh.T16")};
    rig.prompts.answers = {Answer::Ok, Answer::Ok};
    ASSERT_TRUE(rig.run(Op::Save, 12));
    EXPECT_EQ(readAll(rig.file("keep.T16")), QByteArray("previous"));
    ASSERT_EQ(rig.prompts.asked.size(), 2u); // the overwrite question, then the failure
    EXPECT_TRUE(rig.prompts.asked[1].text.contains(QStringLiteral("not read completely")));
    EXPECT_EQ(rig.prompts.asked[1].caption, QStringLiteral("Save file..."));

    ASSERT_TRUE(rig.run(Op::Save, 12));
    EXPECT_FALSE(QFile::exists(rig.file("fresh.T16")));
    EXPECT_TRUE(rig.prompts.asked.back().text.contains(QStringLiteral("not read completely")));
}

TEST(MemoryOperations, AFailedFileWriteIsReported)
{
    MemoryRig rig;
    rig.store(12, namedProgram(60, "Nowhere     "));
    writeRaw(rig.file("plain"), "x");
    rig.prompts.saveFiles = {rig.file("plain") + QStringLiteral("/p.T16")};
    ASSERT_TRUE(rig.run(Op::Save, 12));
    ASSERT_EQ(rig.prompts.asked.size(), 1u);
    EXPECT_EQ(rig.prompts.asked[0].icon, Icon::Critical);
    EXPECT_TRUE(rig.prompts.asked[0].text.contains(QStringLiteral("p.T16")));
}

TEST(MemoryOperations, NoOperationStartsWhileAnotherRuns)
{
    MemoryRig rig;
    rig.store(6, namedProgram(4, "Busy        "));
    bool refused = false;
    bool buttonsDisabled = false;
    rig.prompts.whileShown = [&] {
        // The operator clicks Refresh while the Delete question is up (the window was activated again).
        buttonsDisabled = !rig.view.enabled;
        refused = !rig.ops.run(Op::Refresh);
    };
    rig.prompts.answers = {Answer::Ok};
    ASSERT_TRUE(rig.run(Op::Delete, 6));
    EXPECT_TRUE(refused);
    EXPECT_TRUE(buttonsDisabled);
    EXPECT_EQ(rig.frames(kRead).size(), 2u); // the Delete's two name reads, no Refresh
    EXPECT_FALSE(rig.u().program(6).present);
    EXPECT_TRUE(rig.view.enabled);
    // And any other procedure of the session counts too.
    rig.session.runProcedure([&] { EXPECT_FALSE(rig.ops.run(Op::Refresh)); });
}

TEST(MemoryOperations, DownloadToProgramAsksNothingOfASilentUnit)
{
    MemoryRig rig(11, true);
    rig.session.runProcedure([&] { rig.ops.downloadToProgram(); });
    EXPECT_TRUE(rig.prompts.asked.empty());
    EXPECT_TRUE(rig.view.nameAtShow.empty());
    EXPECT_TRUE(rig.frames(kWrite).empty());
    EXPECT_EQ(rig.frames(kRead).size(), 6u); // two name reads of three requests
    EXPECT_EQ(rig.session.store.currentProgram, 1);
    EXPECT_EQ(rig.view.selections, std::vector<int>{1});
}

TEST(MemoryOperations, DownloadToProgramNamesProgramOneAndStoresAndRecallsIt)
{
    MemoryRig rig;
    rig.session.store.params.delay[1] = 777;
    rig.view.selected = 9;
    rig.prompts.answers = {Answer::Yes};
    rig.view.nameAnswers = {{true, QStringLiteral("Show")}};
    const MatrixImage settings = rig.params();
    rig.session.runProcedure([&] { rig.ops.downloadToProgram(); });

    ASSERT_EQ(rig.prompts.asked.size(), 1u);
    EXPECT_EQ(rig.prompts.asked[0].text, QStringLiteral("Do you Refresh NO.1 PROGRAM?"));
    EXPECT_EQ(rig.prompts.asked[0].caption, QStringLiteral("DOWNLOAD PROGRAM"));
    EXPECT_EQ(rig.prompts.asked[0].icon, Icon::Question);
    ASSERT_TRUE(rig.u().program(1).present);
    EXPECT_EQ(bytesOf(rig.u().program(1).image, 12), QByteArray("Show        "));
    EXPECT_EQ(bytesOf(rig.u().program(1).image).mid(13), bytesOf(settings).mid(13));
    EXPECT_EQ(rig.ops.row(1).number, QStringLiteral("1") + kStored);
    EXPECT_EQ(rig.ops.row(1).name, QStringLiteral("Show"));
    for (const auto& f : rig.frames(kWrite))
        EXPECT_EQ(f.selector, 1);
    EXPECT_EQ(rig.frames(kRecall).size(), 1u);
    EXPECT_EQ(rig.u().currentProgram, 1);
    EXPECT_EQ(rig.session.store.currentProgram, 1);
    for (int o = 1; o <= 16; ++o)
        EXPECT_TRUE(rig.session.store.params.outputGain[std::size_t(o)] & kMuteBit);
    EXPECT_EQ(rig.view.selections, (std::vector<int>{1, 1}));
    EXPECT_FALSE(rig.view.enabled); // until the memory window is next activated
}

TEST(MemoryOperations, DownloadToProgramWritesNothingWhenTheNameDialogIsNotClosedWithOkOrTheAnswerIsNo)
{
    for (const bool sayNo : {false, true}) {
        MemoryRig rig;
        const MatrixImage old = namedProgram(5, "Keep me     ");
        rig.store(1, old);
        rig.prompts.answers = {sayNo ? Answer::No : Answer::Yes};
        rig.view.nameAnswers = {{false, QStringLiteral("Typed")}};
        rig.session.runProcedure([&] { rig.ops.downloadToProgram(); });
        EXPECT_EQ(rig.view.nameAtShow.size(), sayNo ? 0u : 1u);
        EXPECT_TRUE(rig.frames(kWrite).empty());
        EXPECT_TRUE(rig.frames(kCommit).empty());
        EXPECT_TRUE(rig.frames(kRecall).empty());
        EXPECT_EQ(rig.u().program(1).image, old);
    }
}
