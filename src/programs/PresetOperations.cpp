#include "programs/PresetOperations.h"

#include "link/Session.h"
#include "model/MatrixImageCodec.h"
#include "model/MatrixOperations.h"
#include "programs/MemoryOperations.h"
#include "programs/OperatorPrompts.h"
#include "programs/PresetFile.h"
#include "programs/PresetView.h"

#include <QDir>
#include <QFileInfo>

namespace {
using Icon = OperatorPrompts::Icon;
using Buttons = OperatorPrompts::Buttons;
using Answer = OperatorPrompts::Answer;

constexpr int kOpenPendingFrames = 10;
} // namespace

PresetOperations::PresetOperations(Session& session, MemoryOperations& memory, PresetView& view,
                                   OperatorPrompts& prompts)
    : m_session(session), m_memory(memory), m_view(view), m_prompts(prompts)
{
}

void PresetOperations::offerDownload()
{
    // New and Open stay disabled while the offer runs, also when it ends through an abort.
    m_view.setNewOpenEnabled(false);
    m_session.runProcedure([this] { m_memory.downloadToProgram(); });
    m_view.setNewOpenEnabled(true);
}

bool PresetOperations::newPreset()
{
    if (m_session.procedureRunning())
        return false;
    ResetMatrixDefaults(m_session.store.params);
    m_view.settingsReplaced();
    if (m_session.link.LinkConnected == kSet)
        offerDownload();
    return true;
}

PresetOperations::OpenOutcome PresetOperations::open()
{
    if (m_session.procedureRunning())
        return OpenOutcome::Busy;

    // Every test of PendingFrames sees frames pending, and the closed port keeps the other
    // windows' timers from sending, while the dialog is modal.
    LinkState& link = m_session.link;
    link.PendingFrames.fetch_add(kOpenPendingFrames);
    bool reopen = false;
    if (link.SendEnabled.load() == 1) {
        m_session.line().close();
        link.SendEnabled = 0;
        reopen = true;
    }
    auto restoreLine = [&] {
        if (reopen) {
            m_session.line().open();
            link.SendEnabled = 1;
        }
        link.PendingFrames.fetch_sub(kOpenPendingFrames);
    };

    const QString path = m_prompts.chooseOpenFile(PresetFile::mainWindowFilter());
    if (path.isEmpty()) {
        restoreLine();
        return OpenOutcome::Cancelled;
    }

    MatrixImage image{};
    const PresetFile::ReadResult read = PresetFile::readFile(path, image);
    if (read.ok()) {
        ParameterStore& store = m_session.store;
        PrefillImageBuffers(store);
        ResetMatrixDefaults(store.params);
        store.loadImage = image;
        ApplyMatrixImage(store);
        m_view.settingsReplaced();
    } else if (read.status == PresetFile::Status::WrongSize) {
        m_prompts.ask(Icon::None, Buttons::Ok, QStringLiteral("File is Error!"), QStringLiteral("Open File"));
    } else {
        m_prompts.ask(Icon::Warning, Buttons::Ok, read.error, QStringLiteral("Open File"));
    }
    restoreLine();

    if (!read.ok())
        return OpenOutcome::Refused;
    if (link.LinkConnected == kSet)
        offerDownload();
    return OpenOutcome::Loaded;
}

bool PresetOperations::save()
{
    for (;;) {
        QString path = m_prompts.chooseSaveFile(PresetFile::mainWindowFilter());
        if (path.isEmpty())
            return false;
        path = PresetFile::withDefaultExtension(path);
        if (QFileInfo::exists(path) &&
            m_prompts.ask(Icon::Warning, Buttons::OkCancel,
                          QDir::toNativeSeparators(path) + QStringLiteral(" already existing, Overwrite this file?"),
                          QStringLiteral("Save file")) != Answer::Ok)
            continue; // the refused file is not written; a name is asked for again
        ParameterStore& store = m_session.store;
        BuildMatrixImage(store);
        QString error;
        if (!PresetFile::writeFile(path, store.buildImage, &error)) {
            m_prompts.ask(Icon::Critical, Buttons::Ok, error, QStringLiteral("Save file"));
            return false;
        }
        return true;
    }
}

bool PresetOperations::closeQuestion()
{
    if (m_session.link.SettingsModified != kSet)
        return true;
    switch (m_prompts.ask(Icon::Question, Buttons::YesNoCancel,
                          QStringLiteral("Exit this program,Save the change to a file?"),
                          QStringLiteral("TOLVAN Designer"))) {
    case Answer::Yes:
        return save();
    case Answer::No:
        return true;
    default:
        return false;
    }
}
