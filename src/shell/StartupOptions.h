#pragma once
#include <QString>
#include <QStringList>

// What the designer's command line asks for.
//   --port PATH|COMn   use this device (or COM number) for this run; the stored port is kept
//   --virtual-unit     serve a virtual unit on a pseudo-terminal and select it
//   --quit-after-show  print the start-up figures once the main window is on screen, then quit
struct StartupOptions {
    QString portPath;           // a device path for this run
    int portNumber = 0;         // a COM number for this run (0 = the stored one)
    bool virtualUnit = false;
    QString virtualUnitPath;    // filled in once the virtual unit is up
    bool quitAfterShow = false;
    QString error;              // non-empty when the command line could not be read

    static StartupOptions parse(const QStringList& arguments);
    static QString usage();
};
