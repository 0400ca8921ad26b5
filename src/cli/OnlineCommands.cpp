#include "cli/OnlineCommands.h"

#include "cli/CliExit.h"

// No command talks to a unit yet: every command that is not an offline one is unknown.
int runOnlineCommand(const QStringList& args, QTextStream& /*out*/, QTextStream& err)
{
    return CliFail(err, kExitUsage,
                   QStringLiteral("unknown command \"%1\" (tolvan16ctl --help lists the commands)").arg(args.value(0)));
}

QString OnlineUsage()
{
    return QString();
}
