#pragma once
#include <QString>
#include <QTextStream>

// Exit statuses of tolvan16ctl.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1; // the command was understood but could not be carried out
inline constexpr int kExitUsage = 2;   // bad usage or a bad file

// Writes "tolvan16ctl: message" as one line on err (line breaks inside the message become
// blanks) and returns status.
inline int CliFail(QTextStream& err, int status, QString message)
{
    message.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    err << "tolvan16ctl: " << message.trimmed() << '\n';
    err.flush();
    return status;
}
