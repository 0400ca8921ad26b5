#pragma once
#include "programs/ProgramMemory.h"

#include <QString>
#include <array>

class MemoryView;
class OperatorPrompts;
class Session;

// The memory window's operations over the unit's 16 programs (Refresh, Upload, File Down, Setup
// Down, Delete, Delete All, Save, OK) and DownloadToProgram, the offer of New and Open to store
// the new settings as program 1. Holds the program list's texts, the refresh position and the
// stop flag; shows them through a MemoryView and asks through OperatorPrompts.
//
// The operations are procedures over the Session (they wait with pump().wait(), which may throw
// ProcedureAborted). run() enters them through Session::runProcedure and refuses to start while
// any procedure of the session runs, so that one transfer never starts inside another and
// interleaves with it on the line. GUI thread only.
class MemoryOperations {
public:
    enum class Operation { Refresh, Upload, FileDown, SetupDown, Delete, DeleteAll, Save };
    static constexpr int kPrograms = 16;
    static constexpr int kStopped = 100;

    struct Row {
        QString number; // "n", "n[√]" (in use) or "n[▽]" (just stored here)
        QString name;
    };

    MemoryOperations(Session& session, ProgramMemory& memory, MemoryView& view, OperatorPrompts& prompts);

    // A button of the window, on the list's selected program, inside the common frame (operation
    // buttons and list disabled while it runs, enabled after). False when refused because a
    // procedure is running.
    bool run(Operation operation);
    // True while a procedure of the session runs (an operation here, DownloadToProgram, a link
    // procedure): no operation may start and activation leaves the buttons disabled.
    bool busy() const;

    // OK: progress 0, refresh position and stop flag 100 (a running Refresh ends after the
    // program it is reading), buttons enabled unless an operation still runs, window closed.
    void ok();

    // DownloadToProgram. A procedure: enter through Session::runProcedure. Stores the current
    // settings as program 1 when the unit answers, the operator says Yes and closes the name
    // dialog with OK; closing the dialog any other way writes nothing.
    void downloadToProgram();

    // Every row back to its bare number and an empty name (window creation, disconnect).
    void resetAllRows();
    const Row& row(int program) const { return m_rows[std::size_t(program)]; }
    int refreshPosition() const { return m_refreshPosition; }
    int stopFlag() const { return m_stopFlag; }

    // The texts the operations show.
    static QString inUseMark();  // "[√]"
    static QString storedMark(); // "[▽]"

private:
    void refresh();
    void upload(int program);
    void fileDown(int program);
    void setupDown(int program);
    void deleteOne(int program);
    void deleteAll();
    void save(int program);
    // Reads program p and writes it to `path`; only a complete read reaches the file.
    bool saveProgramToFile(int program, const QString& path);

    void resetRow(int program);
    void markStored(int program, const QString& text);
    // ReadProgramName and the row update that follows every name read.
    ProgramNameResult readNameAndUpdate(int program);
    // BuildMatrixImage, then the part of the build image a program holds into StagingImage.
    void stageCurrentSettings();
    void setRow(int program, const QString& number, const QString& name);

    Session& m_session;
    ProgramMemory& m_memory;
    MemoryView& m_view;
    OperatorPrompts& m_prompts;
    std::array<Row, kPrograms + 1> m_rows{}; // [1..16]
    int m_refreshPosition = 0;
    int m_stopFlag = 0;
};
