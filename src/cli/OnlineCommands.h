#pragma once
#include <QString>
#include <QStringList>
#include <QTextStream>

// The commands that talk to a unit over the serial line. args[0] is the command word; the common
// options (--model, --port, --address) are parsed with CliOptions. Returns the exit status
// (CliExit.h); an unknown command is bad usage (2) with a one-line message on err. Runs inside
// the QCoreApplication that main() created.
int runOnlineCommand(const QStringList& args, QTextStream& out, QTextStream& err);

// The usage lines of the online commands, in the form of OfflineUsage(); empty when there are none.
QString OnlineUsage();
