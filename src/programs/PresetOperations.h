#pragma once
#include <QString>

class MemoryOperations;
class OperatorPrompts;
class PresetView;
class Session;

// The File menu's preset commands and the close question: New, Open, Save of the complete
// settings as .T16 files, and, while a unit is connected, the DownloadToProgram offer after New
// and Open. GUI thread only.
class PresetOperations {
public:
    enum class OpenOutcome { Loaded, Cancelled, Refused, Busy };

    PresetOperations(Session& session, MemoryOperations& memory, PresetView& view, OperatorPrompts& prompts);

    // Resets the settings to the "New" defaults, then offers DownloadToProgram when connected.
    // False (nothing done) while a procedure runs.
    bool newPreset();

    // Open: asks for a file and loads it. The file is checked before anything changes: a file
    // that is not exactly 1600 bytes ("File is Error!") or cannot be read (a message naming the
    // error) leaves the settings as they were and is not followed by the download offer. While
    // the dialog is shown and the file is read, PendingFrames carries 10 more and the port is
    // closed when sending was enabled.
    OpenOutcome open();

    // Save: asks for a file name (".T16" added when it has no extension), asks before an
    // existing file is replaced (Cancel asks for a name again) and writes the current settings
    // through a temporary file. Returns whether a file was written; a failure is reported.
    bool save();

    // The question before the main window closes. True: close. Yes closes only when the save
    // wrote a file; a cancelled or failed save keeps the designer open.
    bool closeQuestion();

private:
    void offerDownload();

    Session& m_session;
    MemoryOperations& m_memory;
    PresetView& m_view;
    OperatorPrompts& m_prompts;
};
