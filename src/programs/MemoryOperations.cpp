#include "programs/MemoryOperations.h"

#include "link/Session.h"
#include "model/MatrixImageCodec.h"
#include "model/MatrixOperations.h"
#include "programs/MemoryView.h"
#include "programs/OperatorPrompts.h"
#include "programs/PresetFile.h"
#include "programs/ProgramName.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace {
using Icon = OperatorPrompts::Icon;
using Buttons = OperatorPrompts::Buttons;
using Answer = OperatorPrompts::Answer;

// Disables the operation buttons and the list for the length of one operation, also when the
// operation ends early through an abort.
class OperationFrame {
public:
    explicit OperationFrame(MemoryView& view) : m_view(view) { m_view.setOperationsEnabled(false); }
    ~OperationFrame() { m_view.setOperationsEnabled(true); }
    OperationFrame(const OperationFrame&) = delete;
    OperationFrame& operator=(const OperationFrame&) = delete;

private:
    MemoryView& m_view;
};

// Bytes of a stored program: 448 for a 4*4 unit, the whole image otherwise.
int programBytes(const DeviceModel& model)
{
    return model.chunkCount() * 16;
}
} // namespace

MemoryOperations::MemoryOperations(Session& session, ProgramMemory& memory, MemoryView& view,
                                   OperatorPrompts& prompts)
    : m_session(session), m_memory(memory), m_view(view), m_prompts(prompts)
{
    for (int p = 1; p <= kPrograms; ++p)
        m_rows[std::size_t(p)] = Row{QString::number(p), QString()};
}

QString MemoryOperations::inUseMark()
{
    return QStringLiteral("[\u221A]");
}

QString MemoryOperations::storedMark()
{
    return QStringLiteral("[\u25BD]");
}

bool MemoryOperations::busy() const
{
    return m_session.procedureRunning();
}

bool MemoryOperations::run(Operation operation)
{
    if (busy())
        return false;
    const int program = std::clamp(m_view.selectedProgram(), 1, kPrograms);
    m_session.runProcedure([&] {
        OperationFrame frame(m_view);
        switch (operation) {
        case Operation::Refresh:
            refresh();
            break;
        case Operation::Upload:
            upload(program);
            break;
        case Operation::FileDown:
            fileDown(program);
            break;
        case Operation::SetupDown:
            setupDown(program);
            break;
        case Operation::Delete:
            deleteOne(program);
            break;
        case Operation::DeleteAll:
            deleteAll();
            break;
        case Operation::Save:
            save(program);
            break;
        }
    });
    return true;
}

void MemoryOperations::ok()
{
    m_session.setProgress(0);
    if (!busy())
        m_view.setOperationsEnabled(true);
    m_refreshPosition = kStopped;
    m_stopFlag = kStopped;
    m_view.closeWindow();
}

void MemoryOperations::resetAllRows()
{
    for (int p = 1; p <= kPrograms; ++p)
        resetRow(p);
}

void MemoryOperations::setRow(int program, const QString& number, const QString& name)
{
    Row& r = m_rows[std::size_t(program)];
    r.number = number;
    r.name = name;
    m_view.showRow(program, number, name);
}

void MemoryOperations::resetRow(int program)
{
    setRow(program, QString::number(program), QString());
}

void MemoryOperations::markStored(int program, const QString& text)
{
    setRow(program, QString::number(program) + storedMark(), text);
}

ProgramNameResult MemoryOperations::readNameAndUpdate(int program)
{
    const ProgramNameResult result = m_memory.readProgramName(program);
    if (result.answered && result.inUse)
        setRow(program, QString::number(program) + inUseMark(), ProgramName::fromImageBytes(result.name));
    else
        resetRow(program);
    return result;
}

void MemoryOperations::stageCurrentSettings()
{
    ParameterStore& store = m_session.store;
    BuildMatrixImage(store);
    const int n = programBytes(store.model);
    std::copy_n(store.buildImage.begin(), n, store.stagingImage.begin());
}

void MemoryOperations::refresh()
{
    m_stopFlag = 0;
    m_session.reply.ClearKeyedReplies();
    m_refreshPosition = 1;
    m_session.setProgress(0);
    resetAllRows();
    // OK moves the position and the stop flag to 100: the loop ends after the current program.
    while (m_refreshPosition <= kPrograms && m_stopFlag == 0) {
        const int program = m_refreshPosition;
        m_session.pump().wait(5);
        m_view.selectRow(program);
        readNameAndUpdate(program);
        ++m_refreshPosition;
        m_session.setProgress(6 * m_refreshPosition);
    }
    m_session.setProgress(100);
    m_session.setProgress(0);
}

void MemoryOperations::upload(int program)
{
    m_session.reply.ClearKeyedReplies();
    m_session.setProgress(0);
    resetRow(program);
    const ProgramNameResult name = readNameAndUpdate(program);
    if (name.inUse &&
        m_prompts.ask(Icon::Question, Buttons::YesNo, QStringLiteral("Do you Refresh Device and interface?"),
                      QStringLiteral("Upload")) == Answer::Yes) {
        m_memory.readProgram(program);
        if (m_memory.readComplete())
            m_memory.recallProgram(program);
    }
    m_session.setProgress(100);
    m_session.setProgress(0);
    // Applied whenever every chunk arrived, also when the recall itself got no answer.
    if (m_memory.readComplete()) {
        ParameterStore& store = m_session.store;
        m_memory.copyChunksInto(store.loadImage);
        ApplyMatrixImage(store);
        MarkAllOutputsMuted(store.params);
        m_view.settingsReplaced();
        m_view.closeWindow();
    }
}

void MemoryOperations::fileDown(int program)
{
    m_session.reply.ClearKeyedReplies();
    const QString path = m_prompts.chooseOpenFile(PresetFile::memoryWindowFilter());
    if (!path.isEmpty()) {
        // Only a whole image reaches the staging image: a file of another length leaves it as
        // it was and is not stored.
        MatrixImage file{};
        const PresetFile::ReadResult read = PresetFile::readFile(path, file);
        if (read.status == PresetFile::Status::ReadError)
            return; // a file that cannot be read ends the operation
        ParameterStore& store = m_session.store;
        if (read.ok())
            store.stagingImage = file;
        m_view.setNameText(ProgramName::fromImageBytes(store.stagingImage.data()));
        const bool accepted = m_view.runNameDialog();
        if (read.ok() && accepted) {
            const QString text = m_view.nameText();
            ProgramName::applyTo(store.stagingImage, text);
            markStored(program, text);
            m_memory.writeProgram(program);
        }
    }
    m_session.pump().wait(300);
    readNameAndUpdate(program);
    m_session.setProgress(0);
}

void MemoryOperations::setupDown(int program)
{
    m_session.reply.ClearKeyedReplies();
    if (m_view.runNameDialog()) {
        stageCurrentSettings();
        const QString text = m_view.nameText();
        ProgramName::applyTo(m_session.store.stagingImage, text);
        markStored(program, text);
        m_memory.writeProgram(program);
    }
    m_session.pump().wait(300);
    readNameAndUpdate(program);
}

void MemoryOperations::deleteOne(int program)
{
    m_session.setProgress(0);
    resetRow(program);
    const ProgramNameResult name = readNameAndUpdate(program);
    if (!name.inUse)
        return; // an empty or silent slot is neither asked about nor deleted
    if (m_prompts.ask(Icon::Warning, Buttons::OkCancel, QStringLiteral("Delete this program?"),
                      QStringLiteral("Delete program")) != Answer::Ok)
        return;
    m_memory.deleteWithRetry(program);
    readNameAndUpdate(program);
}

void MemoryOperations::deleteAll()
{
    if (m_prompts.ask(Icon::Warning, Buttons::OkCancel, QStringLiteral("Delete all program?"),
                      QStringLiteral("Delete program")) == Answer::Ok) {
        m_session.setProgress(0);
        m_memory.deleteWithRetry(ProgramMemory::kAllPrograms);
        // The list is not read back: every row is reset whether or not the unit answered.
        for (int i = 1; i <= kPrograms; ++i) {
            m_session.pump().wait(50);
            m_session.setProgress(int(std::ceil(5.5 * i)));
            m_view.selectRow(i);
            resetRow(i);
        }
        m_session.pump().wait(300);
        m_session.pump().wait(50);
    }
    m_session.setProgress(0);
}

void MemoryOperations::save(int program)
{
    for (;;) {
        const ProgramNameResult name = readNameAndUpdate(program);
        if (!name.inUse) {
            m_prompts.ask(Icon::None, Buttons::Ok, QStringLiteral("This Program is blank."),
                          QStringLiteral("Save file..."));
            return;
        }
        QString path = m_prompts.chooseSaveFile(PresetFile::memoryWindowFilter());
        if (path.isEmpty()) {
            m_session.setProgress(0);
            return;
        }
        path = PresetFile::withDefaultExtension(path);
        if (QFileInfo::exists(path) &&
            m_prompts.ask(Icon::Warning, Buttons::OkCancel,
                          QDir::toNativeSeparators(path) + QStringLiteral(" already existing, Overwrite this file?"),
                          QStringLiteral("Save file")) != Answer::Ok)
            continue; // the refused file is not written; the Save starts over
        saveProgramToFile(program, path);
        m_session.setProgress(0);
        return;
    }
}

bool MemoryOperations::saveProgramToFile(int program, const QString& path)
{
    // The program is read before the file is touched, and the file is written only when every
    // chunk arrived: an incomplete read leaves an existing file as it was.
    m_memory.readProgram(program);
    if (!m_memory.readComplete()) {
        const QString shown = QDir::toNativeSeparators(path);
        const QString text =
            QFileInfo::exists(path)
                ? QStringLiteral("The program was not read completely from the unit. %1 was left as it was.").arg(shown)
                : QStringLiteral("The program was not read completely from the unit. %1 was not written.").arg(shown);
        m_prompts.ask(Icon::Warning, Buttons::Ok, text, QStringLiteral("Save file..."));
        return false;
    }
    ParameterStore& store = m_session.store;
    // Bytes a 4*4 program does not reach keep the defined default content.
    PrefillImageBuffers(store);
    m_memory.copyChunksInto(store.buildImage);
    QString error;
    if (!PresetFile::writeFile(path, store.buildImage, &error)) {
        m_prompts.ask(Icon::Critical, Buttons::Ok, error, QStringLiteral("Save file..."));
        return false;
    }
    return true;
}

void MemoryOperations::downloadToProgram()
{
    ParameterStore& store = m_session.store;
    KeyedReply& first = m_session.reply.KeyedReplies[1];
    store.currentProgram = 1;
    const int program = store.currentProgram;
    m_view.selectRow(program);

    first.Count = 0;
    readNameAndUpdate(program);
    m_session.pump().wait(400);
    if (first.Count != 16) {
        readNameAndUpdate(program);
        m_session.pump().wait(400);
    }
    if (first.Count != 16)
        return; // a unit that does not answer is not asked about

    if (m_prompts.ask(Icon::Question, Buttons::YesNo,
                      QStringLiteral("Do you Refresh NO.%1 PROGRAM?").arg(program),
                      QStringLiteral("DOWNLOAD PROGRAM")) != Answer::Yes)
        return;
    m_view.selectRow(store.currentProgram);
    // Enabled again the next time the memory window becomes active.
    m_view.setOperationsEnabled(false);
    if (!m_view.runNameDialog())
        return; // closing the name dialog without OK is a cancel: program 1 is not touched

    stageCurrentSettings();
    const QString text = m_view.nameText();
    ProgramName::applyTo(store.stagingImage, text);
    markStored(1, text);
    m_memory.writeProgram(1);

    MarkAllOutputsMuted(store.params);
    m_view.settingsReplaced();
    m_session.pump().wait(600);
    m_memory.recallProgram(1);
}
