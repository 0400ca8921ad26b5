#include "cli/OnlineCommands.h"

#include "cli/CliExit.h"
#include "cli/CliOptions.h"
#include "cli/OnlineSession.h"
#include "link/BannerSender.h"
#include "link/DeviceSearch.h"
#include "link/LockProcedures.h"
#include "programs/PresetFile.h"
#include "programs/ProgramName.h"

#include <optional>

namespace {

const QString kCommon = QStringLiteral("[--port PATH|COMn] [--address N] [--model 4x4..16x16]");
const QString kSearchUsage = QStringLiteral("tolvan16ctl search [--range 1-64|65-128|129-192|193-255] [--port PATH|COMn]");
const QString kPullUsage = QStringLiteral("tolvan16ctl pull FILE.T16 ") + kCommon;
const QString kPushUsage = QStringLiteral("tolvan16ctl push FILE.T16 --program N [--name NAME] ") + kCommon;
const QString kProgramsUsage = QStringLiteral("tolvan16ctl programs ") + kCommon;
const QString kRecallUsage = QStringLiteral("tolvan16ctl recall N ") + kCommon;
const QString kDeleteUsage = QStringLiteral("tolvan16ctl delete N|all ") + kCommon;
const QString kLockUsage =
    QStringLiteral("tolvan16ctl lock [--level change|change+view|change+mute|everything] --password P ") + kCommon;
const QString kUnlockUsage = QStringLiteral("tolvan16ctl unlock --password P ") + kCommon;
const QString kBannerUsage = QStringLiteral("tolvan16ctl banner LINE1 LINE2 ") + kCommon;

QString noAnswer(int address)
{
    return QStringLiteral("no answer from the unit at address %1").arg(address);
}

// The options every online command takes, plus its own. Parses, then checks the common ones.
struct Common {
    CliOptions options;
    int address = 1;
    DeviceModel model = DeviceModel::fromCode(11);

    explicit Common(QStringList own, QStringList flags = {})
        : options((own << QStringLiteral("port") << QStringLiteral("address") << QStringLiteral("model")), flags)
    {
    }
    bool parse(const QStringList& rest, int positional, const QString& usage)
    {
        return options.parse(rest) && options.expectPositional(positional, usage) && options.address(address) &&
               options.deviceModel(model);
    }
};

// Runs `body` between opening the port and the closing Disconnect. With `quick`, the body runs
// only once the quick connect was answered.
int online(Common& c, QTextStream& err, bool quick, const std::function<int(OnlineSession&)>& body)
{
    OnlineSession s(err, c.address, c.model.code);
    QString error;
    if (!s.selectPort(c.options.port(), error))
        return CliFail(err, kExitUsage, error);
    if (!s.openPort(error))
        return CliFail(err, kExitFailure, error);
    int status = kExitOk;
    if (quick && !s.quickConnect())
        status = s.interrupted() ? kExitFailure : CliFail(err, kExitFailure, noAnswer(c.address));
    else
        status = body(s);
    if (s.interrupted())
        status = CliFail(err, kExitFailure, QStringLiteral("interrupted"));
    s.disconnect();
    return status;
}

int runSearch(const QStringList& rest, QTextStream& out, QTextStream& err)
{
    CliOptions options({QStringLiteral("range"), QStringLiteral("port")});
    if (!options.parse(rest) || !options.expectPositional(0, kSearchUsage))
        return CliFail(err, kExitUsage, options.error());
    static const QString kRanges[4] = {QStringLiteral("1-64"), QStringLiteral("65-128"), QStringLiteral("129-192"),
                                       QStringLiteral("193-255")};
    const QString rangeText = options.isSet(QStringLiteral("range")) ? options.value(QStringLiteral("range")) : kRanges[0];
    int range = -1;
    for (int i = 0; i < 4; ++i)
        if (rangeText == kRanges[i])
            range = i;
    if (range < 0)
        return CliFail(err, kExitUsage, QStringLiteral("bad range %1 (1-64, 65-128, 129-192 or 193-255)").arg(rangeText));

    OnlineSession s(err, 1, 11);
    QString error;
    if (!s.selectPort(options.port(), error))
        return CliFail(err, kExitUsage, error);
    DeviceSearch search(s.session(), s.ports());
    bool opened = false;
    s.run([&] { opened = search.open(); });
    if (!opened)
        return CliFail(err, kExitFailure, PortSettings::openErrorText(s.ports().portNumber()));
    search.dialogShown();
    s.run([&] { search.search(DeviceSearch::Range(range)); });
    search.close();
    for (int address : search.found())
        out << address << '\n';
    out.flush();
    int status = search.found().empty() ? kExitFailure : kExitOk;
    if (s.interrupted())
        status = CliFail(err, kExitFailure, QStringLiteral("interrupted"));
    else if (status != kExitOk)
        CliFail(err, status, QStringLiteral("no unit answered in %1").arg(rangeText));
    s.disconnect();
    return status;
}

int runPull(const QStringList& rest, QTextStream& err)
{
    Common c({});
    if (!c.parse(rest, 1, kPullUsage))
        return CliFail(err, kExitUsage, c.options.error());
    const QString path = c.options.positional().first();
    return online(c, err, false, [&](OnlineSession& s) {
        bool connected = false;
        s.run([&] { connected = s.link().connect(); });
        if (!connected)
            return s.interrupted() ? kExitFailure
                                   : CliFail(err, kExitFailure, noAnswer(c.address) + QStringLiteral(" or its settings did not arrive complete"));
        // What the unit runs, byte for byte (for a 4*4 unit bytes 448.. are the fixed prefill).
        QString error;
        if (!PresetFile::writeFile(path, s.session().store.loadImage, &error))
            return CliFail(err, kExitFailure, error);
        return kExitOk;
    });
}

int runPush(const QStringList& rest, QTextStream& err)
{
    Common c({QStringLiteral("program"), QStringLiteral("name")});
    int program = 0;
    if (!c.parse(rest, 1, kPushUsage))
        return CliFail(err, kExitUsage, c.options.error());
    if (!c.options.isSet(QStringLiteral("program")))
        return CliFail(err, kExitUsage, QStringLiteral("usage: %1").arg(kPushUsage));
    if (!c.options.integer(QStringLiteral("program"), 1, 16, program))
        return CliFail(err, kExitUsage, c.options.error());
    MatrixImage image{};
    const QString path = c.options.positional().first();
    const PresetFile::ReadResult read = PresetFile::readFile(path, image);
    if (!read.ok())
        return CliFail(err, kExitUsage, QStringLiteral("%1: %2").arg(path, read.error));
    // Without --name the file's own name bytes are the name, as File Down offers them.
    const QString name = c.options.isSet(QStringLiteral("name")) ? c.options.value(QStringLiteral("name"))
                                                                  : ProgramName::fromImageBytes(image.data());
    if (!ProgramName::isAcceptable(name))
        return CliFail(err, kExitUsage, QStringLiteral("a program name takes ASCII characters only"));
    return online(c, err, true, [&](OnlineSession& s) {
        MatrixImage& staging = s.session().store.stagingImage;
        staging = image;
        ProgramName::applyTo(staging, name);
        bool stored = false;
        s.run([&] { stored = s.memory().writeProgram(program); });
        if (!stored)
            return s.interrupted() ? kExitFailure
                                   : CliFail(err, kExitFailure, QStringLiteral("program %1 was not stored: the unit did not acknowledge every chunk").arg(program));
        return kExitOk;
    });
}

int runPrograms(const QStringList& rest, QTextStream& out, QTextStream& err)
{
    Common c({});
    if (!c.parse(rest, 0, kProgramsUsage))
        return CliFail(err, kExitUsage, c.options.error());
    return online(c, err, true, [&](OnlineSession& s) {
        for (int p = 1; p <= 16 && !s.interrupted(); ++p) {
            ProgramNameResult r;
            if (!s.run([&] { r = s.memory().readProgramName(p); }))
                break;
            if (!r.answered)
                out << p << " no-answer\n";
            else if (!r.inUse)
                out << p << " empty\n";
            else
                out << p << " in-use " << ProgramName::fromImageBytes(r.name) << '\n';
            out.flush();
        }
        return kExitOk;
    });
}

// A program number 1..16, or "all" (40) where allowed.
std::optional<int> programArgument(const QString& text, bool allowAll)
{
    if (allowAll && text == QLatin1String("all"))
        return ProgramMemory::kAllPrograms;
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 1 || n > 16)
        return std::nullopt;
    return n;
}

int runRecall(const QStringList& rest, QTextStream& err)
{
    Common c({});
    if (!c.parse(rest, 1, kRecallUsage))
        return CliFail(err, kExitUsage, c.options.error());
    const auto program = programArgument(c.options.positional().first(), false);
    if (!program)
        return CliFail(err, kExitUsage, QStringLiteral("usage: %1 (N = 1..16)").arg(kRecallUsage));
    return online(c, err, true, [&](OnlineSession& s) {
        bool answered = false;
        s.run([&] { answered = s.memory().recallProgram(*program); });
        if (!answered)
            return s.interrupted() ? kExitFailure : CliFail(err, kExitFailure, noAnswer(c.address));
        return kExitOk;
    });
}

int runDelete(const QStringList& rest, QTextStream& err)
{
    Common c({});
    if (!c.parse(rest, 1, kDeleteUsage))
        return CliFail(err, kExitUsage, c.options.error());
    const auto program = programArgument(c.options.positional().first(), true);
    if (!program)
        return CliFail(err, kExitUsage, QStringLiteral("usage: %1 (N = 1..16)").arg(kDeleteUsage));
    return online(c, err, true, [&](OnlineSession& s) {
        bool answered = false;
        s.run([&] { answered = s.memory().deleteWithRetry(*program); });
        if (!answered)
            return s.interrupted() ? kExitFailure : CliFail(err, kExitFailure, noAnswer(c.address));
        return kExitOk;
    });
}

int runLock(const QStringList& rest, QTextStream& err, bool lock)
{
    Common c(lock ? QStringList{QStringLiteral("level"), QStringLiteral("password")} : QStringList{QStringLiteral("password")});
    const QString& usage = lock ? kLockUsage : kUnlockUsage;
    if (!c.parse(rest, 0, usage))
        return CliFail(err, kExitUsage, c.options.error());
    if (!c.options.isSet(QStringLiteral("password")))
        return CliFail(err, kExitUsage, QStringLiteral("usage: %1").arg(usage));
    LockProcedures::Level level = LockProcedures::Level::Change;
    if (lock && c.options.isSet(QStringLiteral("level"))) {
        const QString t = c.options.value(QStringLiteral("level")).toLower();
        if (t == QLatin1String("change"))
            level = LockProcedures::Level::Change;
        else if (t == QLatin1String("change+view"))
            level = LockProcedures::Level::ChangeView;
        else if (t == QLatin1String("change+mute"))
            level = LockProcedures::Level::ChangeMute;
        else if (t == QLatin1String("everything"))
            level = LockProcedures::Level::Everything;
        else
            return CliFail(err, kExitUsage, QStringLiteral("bad level %1 (change, change+view, change+mute or everything)").arg(t));
    }
    // The password box's filter, then its four-character limit.
    const QString password = LockProcedures::filterPasswordText(c.options.value(QStringLiteral("password"))).left(4);
    return online(c, err, true, [&](OnlineSession& s) {
        LockProcedures procedures(s.session());
        bool done = false;
        s.run([&] {
            done = lock ? procedures.lock(level, password, c.address) : procedures.unlock(password, c.address);
        });
        if (!done)
            return s.interrupted() ? kExitFailure
                                   : CliFail(err, kExitFailure,
                                             lock ? QStringLiteral("the unit did not confirm the lock")
                                                  : QStringLiteral("the unit refused the unlock (wrong password?) or did not answer"));
        return kExitOk;
    });
}

int runBanner(const QStringList& rest, QTextStream& err)
{
    Common c({});
    if (!c.parse(rest, 2, kBannerUsage))
        return CliFail(err, kExitUsage, c.options.error());
    const QString line1 = c.options.positional().at(0).left(BannerSender::kMaxLineLength);
    const QString line2 = c.options.positional().at(1).left(BannerSender::kMaxLineLength);
    return online(c, err, true, [&](OnlineSession& s) {
        BannerSender banner(s.session());
        banner.setObserver(&s.progress());
        s.run([&] { banner.send(line1, line2, c.address); });
        banner.setObserver(nullptr);
        return kExitOk; // nothing is awaited: the banner is sent, not confirmed
    });
}

} // namespace

int runOnlineCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const QString command = args.value(0);
    const QStringList rest = args.mid(1);
    if (command == QLatin1String("search"))
        return runSearch(rest, out, err);
    if (command == QLatin1String("pull"))
        return runPull(rest, err);
    if (command == QLatin1String("push"))
        return runPush(rest, err);
    if (command == QLatin1String("programs"))
        return runPrograms(rest, out, err);
    if (command == QLatin1String("recall"))
        return runRecall(rest, err);
    if (command == QLatin1String("delete"))
        return runDelete(rest, err);
    if (command == QLatin1String("lock"))
        return runLock(rest, err, true);
    if (command == QLatin1String("unlock"))
        return runLock(rest, err, false);
    if (command == QLatin1String("banner"))
        return runBanner(rest, err);
    return CliFail(err, kExitUsage,
                   QStringLiteral("unknown command \"%1\" (tolvan16ctl --help lists the commands)").arg(command));
}

QString OnlineUsage()
{
    return QStringLiteral("  %1\n"
                          "      probe a quarter of the addresses; prints each address that answered (exit 1: none)\n"
                          "  %2\n"
                          "      connect, read the settings the unit runs and write them as a preset file\n"
                          "  %3\n"
                          "      store a preset file as program N (name: NAME, else the file's own)\n"
                          "  %4\n"
                          "      list programs 1..16: number, in-use / empty / no-answer, name\n"
                          "  %5\n"
                          "      make program N the running settings (about 12 s)\n"
                          "  %6\n"
                          "      delete program N, or all programs\n"
                          "  %7\n"
                          "  %8\n"
                          "      lock or unlock the unit's front panel with a four-character password\n"
                          "  %9\n"
                          "      write the two banner lines (20 characters each are sent)\n"
                          "  every command but search and pull first makes a quick connect; every one ends with\n"
                          "  a disconnect. --port defaults to the stored COM port; --address to 1; --model to 16x16.\n")
        .arg(kSearchUsage, kPullUsage, kPushUsage, kProgramsUsage, kRecallUsage, kDeleteUsage, kLockUsage, kUnlockUsage,
             kBannerUsage);
}
