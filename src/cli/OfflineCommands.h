#pragma once
#include <QString>
#include <QStringList>
#include <QTextStream>

// The commands that need no unit: new, show, curve. They work on preset files only.
bool IsOfflineCommand(const QString& command);

// args[0] is the command. Output on out, one-line failures on err; returns the exit status
// (CliExit.h): 0 done, 2 bad usage or a bad file, 1 a file that could not be written.
int RunOfflineCommand(const QStringList& args, QTextStream& out, QTextStream& err);

// The usage lines of the offline commands.
QString OfflineUsage();
