#pragma once
#include "link/FrameTracker.h"

#include <QString>
#include <cstdint>
#include <functional>

class Session;
class PortSettings;

// What the Connect dialog and the main window show beyond the status bar (Session's setters).
// All calls on the GUI thread; the defaults ignore them.
class LinkSessionObserver {
public:
    virtual ~LinkSessionObserver() = default;
    // The dialog's "Connect" and "Disconnect" buttons (disabled while the attempts run).
    virtual void connectButtonsEnabledChanged(bool /*enabled*/) {}
    // A connect or quick connect succeeded: the Connect dialog closes.
    virtual void connectDialogCloseRequested() {}
    // The main window's lock picture (LOCK_image), driven by the link status timer.
    virtual void lockPictureVisibleChanged(bool /*visible*/) {}
};

// The operator-facing side of the link: prepares the port, the connect handshake (command 230) with
// the unit at the Connect dialog's address, the settings upload, quick connect, disconnect, the unit
// status reply and the 50 ms link status timer's logic.
//
// Plain sequential procedures over the Session; every wait is session.pump().wait() and may throw
// ProcedureAborted, so callers enter connect(), quickConnect(), disconnect() and prepareConnect()
// through Session::runProcedure. GUI thread only. Owns no port: the Session's LineTransport is the
// port, PortSettings says where it is.
class LinkSession {
public:
    // The settings upload run once the handshake was answered (ReadUnitSettings of the program
    // memory procedures). Returns whether the settings were read completely and applied. The link
    // decides success itself from KeyedReplies[N].Count; the result is informational.
    using SettingsUpload = std::function<bool()>;

    LinkSession(Session& session, PortSettings& ports);

    void setSettingsUpload(SettingsUpload upload) { m_upload = std::move(upload); }
    void setObserver(LinkSessionObserver* observer) { m_observer = observer; }

    // The Connect dialog's address box (trackbar4), 1..255, initial 1. The dialog writes it on every
    // change; the lock, unlock and banner procedures read it as "the connect dialog's address".
    int addressBox() const { return m_addressBox; }
    void setAddressBox(int address);

    // Connect (menu/toolbar) steps 1..4: close the port, RefreshTexts, ReopenPort, SendEnabled := 1,
    // LastReplyAddress := 0, and enables the dialog's buttons. Returns false when the port could not
    // be opened: the caller then shows PortSettings::openErrorText() and not the dialog.
    bool prepareConnect();

    // The connect procedure (dialog button "Connect"): up to 10 handshake attempts, each followed by
    // the settings upload; success = the last chunk (28 or 100) arrived complete. Ends "ONLINE"
    // (dialog closed) or "OFFLINE" with two disconnect frames 400 ms apart and SendEnabled 0; sending
    // is switched off only once the second frame has left the writer (it would be dropped otherwise).
    bool connect();

    // Handshake without the settings upload (command 230, payload 100, 3 x 100 ms). Success when the
    // last reply came from the address asked for.
    bool quickConnect();

    // Disconnect: resets the indicators, menus and program list; when SendEnabled is 1 sends the
    // disconnect frame twice 300 ms apart, and animates the progress for a second if the link was
    // connected. Sending is switched off once the second frame has left the writer. Safe to call in
    // any state.
    void disconnect();

    // Copies KeyedReplies[210] into LockState (data byte 3) and UnitInfo (5, 6, 7) and sets the Lock /
    // UnLock menus and the matrix layout panel from it.
    void applyUnitStatus();

    // One tick of the 50 ms link status timer (activity text, lock picture, layout panel). Never waits.
    void statusTick();
    bool lockPictureVisible() const { return m_lockPicture; }

    // Number of the last settings chunk: 28 for DeviceModel 3, 100 for 4..11.
    int lastSettingsChunk() const;

private:
    void sendDisconnectFrame();
    // Waits (1 ms polls, at most 0.5 s) until the last frame sent has left the writer.
    void waitUntilSent();
    void setButtons(bool enabled);

    Session& m_session;
    PortSettings& m_ports;
    SettingsUpload m_upload;
    LinkSessionObserver* m_observer = nullptr;
    int m_addressBox = 1;
    bool m_lockPicture = false;
    FrameTracker m_tracker;
};
