#pragma once
#include <QString>

// What the link procedures report. The windows implement it; tests and the command-line tool
// may too. Every call is made on the GUI thread; the defaults ignore it.
class SessionObserver {
public:
    virtual ~SessionObserver() = default;
    virtual void progressChanged(int /*progst1, 0..100*/) {}
    virtual void activityTextChanged(const QString& /*RX232TEXT*/) {}
    // ONLINELED (0..100) and Panel4 ("ONLINE" / "OFFLINE").
    virtual void onlineDisplayChanged(int /*led*/, const QString& /*panel4*/) {}
    virtual void lockMenusChanged(bool /*lockEnabled*/, bool /*unlockEnabled*/) {}
    virtual void layoutPanelEnabledChanged(bool /*enabled*/) {}
    // Disconnect resets the memory window's program list to bare numbers.
    virtual void programListCleared() {}
    // RefreshTexts of every window.
    virtual void refreshTexts() {}
};
