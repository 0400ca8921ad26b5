#include "shell/StartupOptions.h"

#include <QRegularExpression>

StartupOptions StartupOptions::parse(const QStringList& arguments)
{
    StartupOptions o;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--virtual-unit")) {
            o.virtualUnit = true;
        } else if (a == QLatin1String("--quit-after-show")) {
            o.quitAfterShow = true;
        } else if (a == QLatin1String("--port") || a.startsWith(QLatin1String("--port="))) {
            QString value;
            if (a == QLatin1String("--port")) {
                if (i + 1 >= arguments.size()) {
                    o.error = QStringLiteral("--port needs a device path or COMn");
                    return o;
                }
                value = arguments[++i];
            } else {
                value = a.mid(7);
            }
            static const QRegularExpression com(QStringLiteral("^COM([0-9]{1,3})$"),
                                                QRegularExpression::CaseInsensitiveOption);
            const auto m = com.match(value);
            if (m.hasMatch()) {
                const int n = m.captured(1).toInt();
                if (n < 1 || n > 120) {
                    o.error = QStringLiteral("--port COMn needs n in 1..120");
                    return o;
                }
                o.portNumber = n;
            } else if (value.isEmpty()) {
                o.error = QStringLiteral("--port needs a device path or COMn");
                return o;
            } else {
                o.portPath = value;
            }
        } else if (a.startsWith(QLatin1Char('-')) && a != QLatin1String("-")) {
            // Qt's own options (-platform, -style, ...) were taken out by QApplication already.
            o.error = QStringLiteral("unknown option %1").arg(a);
            return o;
        }
    }
    return o;
}

QString StartupOptions::usage()
{
    return QStringLiteral("usage: tolvan16-designer [--port PATH|COMn] [--virtual-unit] [--quit-after-show]");
}
