// Preset files and the memory window's transfers over a pseudo-terminal in real time: a preset
// saved by the designer goes into a unit with tolvan16ctl push and comes back with tolvan16ctl
// pull byte for byte; Setup Down and the memory window's Save with the real paced writer.
#include "link/PacedWriter.h"
#include "link/Session.h"
#include "model/MatrixImageCodec.h"
#include "model/MatrixOperations.h"
#include "platform/QtEventPump.h"
#include "programs/MemoryOperations.h"
#include "programs/PresetOperations.h"
#include "programs/ProgramMemory.h"
#include "programs/ScriptedPrompts.h"
#include "sim/PtyServer.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray bytesOf(const MatrixImage& im)
{
    return QByteArray(reinterpret_cast<const char*>(im.data()), int(im.size()));
}

// Settings away from the defaults in every kind of field (the outputs muted, as a unit starts a
// recalled program).
void editEverywhere(MatrixParameters& p)
{
    ResetMatrixDefaults(p);
    for (int c = 1; c <= 16; ++c) {
        p.inputGain[std::size_t(c)] = LevelWord(300 + 20 * c);
        p.crosspoint[std::size_t(c)][std::size_t(17 - c)] = LevelWord(kMuteBit | (400 + c));
        p.outputGain[std::size_t(c)] = LevelWord(kMuteBit | (500 + c));
        p.delay[std::size_t(c)] = std::uint16_t(800 * c);
        p.polarity[std::size_t(c)] = c % 2 ? 0x80 : 0;
        p.peq[std::size_t(c)][3].gain = 480 + 10 * c;
        p.peq[std::size_t(c)][5].type = 2;
        p.peq[std::size_t(c)][5].flags = 0;
        p.crossover[std::size_t(c)].highPassType = c;
        p.dynamics[std::size_t(c)][DynamicsBlock::CompressorSwitch] = 0x80;
        p.dynamics[std::size_t(c)][DynamicsBlock::GateThreshold] = std::uint8_t(c);
    }
}

struct PresetsOverPty : ::testing::Test {
    QTemporaryDir dir;
    PtyServer server;
    QtEventPump pump;
    std::unique_ptr<Session> session;
    std::unique_ptr<ProgramMemory> memory;
    ScriptedMemoryView memoryView;
    ScriptedPresetView presetView;
    ScriptedPrompts prompts;
    std::unique_ptr<MemoryOperations> memoryOps;
    std::unique_ptr<PresetOperations> presets;
    PacedWriter* writer = nullptr;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(server.start(dir.filePath("line"))) << server.errorString().toStdString();
        session = std::make_unique<Session>(pump, [this](LinkState& l) {
            auto w = std::make_unique<PacedWriter>(l);
            writer = w.get();
            return w;
        });
        session->store.model = DeviceModel::fromCode(11);
        memory = std::make_unique<ProgramMemory>(*session);
        memoryOps = std::make_unique<MemoryOperations>(*session, *memory, memoryView, prompts);
        presets = std::make_unique<PresetOperations>(*session, *memoryOps, presetView, prompts);
    }
    void TearDown() override
    {
        presets.reset();
        memoryOps.reset();
        memory.reset();
        session.reset(); // drains the writer before the line goes away
        server.stop();
    }
    VirtualUnit& addUnit(int address, int modelCode)
    {
        VirtualUnit* u = nullptr;
        server.withLine([&](SimLine& l) {
            u = &l.addUnit(std::uint8_t(address));
            u->setModel(DeviceModel::fromCode(modelCode));
        });
        return *u;
    }
    // The designer's side of the line, as after a connect to address 1.
    void goOnline()
    {
        writer->setPortName(server.devicePath());
        ASSERT_TRUE(writer->open());
        session->command.Address = 1;
        session->link.SendEnabled = 1;
        session->link.LinkConnected = kSet;
    }
#ifdef T16_CTL_PATH
    int ctl(QStringList args, QByteArray* err = nullptr)
    {
        args << QStringLiteral("--port") << server.devicePath();
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath("config"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(T16_CTL_PATH), args);
        if (!p.waitForFinished(90000))
            return -1;
        if (err)
            *err = p.readAllStandardError();
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
#endif
};

} // namespace

#ifdef T16_CTL_PATH
TEST_F(PresetsOverPty, ADesignerPresetPushedAndPulledBackIsTheSameByteForByte)
{
    VirtualUnit& u = addUnit(1, 11);
    editEverywhere(session->store.params);
    const QString saved = dir.filePath("designer");
    prompts.saveFiles = {saved};
    ASSERT_TRUE(presets->save());
    const QByteArray file = readAll(saved + QStringLiteral(".T16"));
    ASSERT_EQ(file.size(), 1600);

    QByteArray err;
    ASSERT_EQ(ctl({QStringLiteral("push"), saved + QStringLiteral(".T16"), QStringLiteral("--program"), QStringLiteral("7")},
                  &err),
              0)
        << err.toStdString();
    MatrixImage stored{};
    server.withLine([&](SimLine&) { stored = u.program(7).image; });
    EXPECT_EQ(bytesOf(stored), file); // the file's own name and marker go in unchanged

    // The unit runs program 7 as a recall would make it (a recall holds the line for 12 s and is
    // tested on the virtual clock); pull reads what the unit runs.
    server.withLine([&](SimLine&) { u.running() = u.program(7).image; });
    const QString pulled = dir.filePath("pulled.T16");
    ASSERT_EQ(ctl({QStringLiteral("pull"), pulled}, &err), 0) << err.toStdString();
    EXPECT_EQ(readAll(pulled), file);

    // And the designer opens the pulled file as the same settings.
    session->store.params = MatrixParameters{};
    prompts.openFiles = {pulled};
    ASSERT_EQ(presets->open(), PresetOperations::OpenOutcome::Loaded);
    EXPECT_EQ(bytesOf(BuildMatrixImage(session->store.params, session->store.model)), file);
}
#endif

TEST_F(PresetsOverPty, SetupDownThenSaveOfThatProgramWritesTheSettingsUnderTheName)
{
    VirtualUnit& u = addUnit(1, 3);
    session->store.model = DeviceModel::fromCode(3);
    editEverywhere(session->store.params);
    goOnline();

    memoryView.selected = 4;
    memoryView.nameAnswers = {{true, QStringLiteral("Over pty")}};
    ASSERT_TRUE(memoryOps->run(MemoryOperations::Operation::SetupDown));
    bool present = false;
    server.withLine([&](SimLine&) { present = u.program(4).present; });
    ASSERT_TRUE(present);
    EXPECT_EQ(memoryOps->row(4).number, QStringLiteral("4[\u221A]"));
    EXPECT_EQ(memoryOps->row(4).name, QStringLiteral("Over pty    "));

    prompts.saveFiles = {dir.filePath("fromunit")};
    ASSERT_TRUE(memoryOps->run(MemoryOperations::Operation::Save));
    const QByteArray file = readAll(dir.filePath("fromunit.T16"));
    ASSERT_EQ(file.size(), 1600);
    MatrixImage expected = BuildMatrixImage(session->store.params, session->store.model);
    std::copy_n("Over pty    ", 12, expected.begin());
    expected[12] = 128;
    // A 4*4 program is 448 bytes; the rest of the file is the fixed default content.
    EXPECT_EQ(file.left(448), bytesOf(expected).left(448));
    EXPECT_EQ(file.mid(448), bytesOf(DefaultMatrixImage()).mid(448));
    EXPECT_TRUE(prompts.asked.empty());
}
