// tolvan16ctl: the designer's file and unit procedures without windows, for scripts.
#include "cli/CliExit.h"
#include "cli/OfflineCommands.h"
#include "cli/OnlineCommands.h"
#include "platform/QtEventPump.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace {

QString usage()
{
    return QStringLiteral("usage: tolvan16ctl COMMAND [ARGUMENTS] [OPTIONS]\n\ncommands:\n") + OfflineUsage()
        + OnlineUsage()
        + QStringLiteral("\nexit status: 0 done, 1 the command failed, 2 bad usage or a bad file\n");
}

} // namespace

int main(int argc, char** argv)
{
    QtEventPump::preferLightDispatcher();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tolvan16ctl"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return CliFail(err, kExitUsage, QStringLiteral("no command given (tolvan16ctl --help lists the commands)"));
    const QString& command = args.first();
    if (command == QLatin1String("--help") || command == QLatin1String("-h") || command == QLatin1String("help")) {
        out << usage();
        return kExitOk;
    }
    if (IsOfflineCommand(command))
        return RunOfflineCommand(args, out, err);
    return runOnlineCommand(args, out, err);
}
