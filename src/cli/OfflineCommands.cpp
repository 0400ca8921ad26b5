#include "cli/OfflineCommands.h"

#include "cli/CliExit.h"
#include "cli/CliOptions.h"
#include "cli/PresetJson.h"
#include "editor/ResponseCurve.h"
#include "model/MatrixImageCodec.h"
#include "model/MatrixOperations.h"
#include "model/ParameterStore.h"
#include "programs/PresetFile.h"

#include <QJsonDocument>

namespace {

const QString kNewUsage = QStringLiteral("tolvan16ctl new FILE.T16 [--model 4x4..16x16]");
const QString kShowUsage = QStringLiteral("tolvan16ctl show FILE.T16");
const QString kCurveUsage = QStringLiteral("tolvan16ctl curve FILE.T16 --output N [--shadow]");

// A preset file of exactly 1600 bytes, or false with a one-line message naming the file.
bool readPreset(const QString& path, MatrixImage& image, QString& error)
{
    const PresetFile::ReadResult result = PresetFile::readFile(path, image);
    if (result.ok())
        return true;
    error = result.status == PresetFile::Status::WrongSize ? QStringLiteral("%1: %2").arg(path, result.error)
                                                           : result.error;
    return false;
}

int runNew(const QStringList& rest, QTextStream& err)
{
    CliOptions options({QStringLiteral("model")});
    DeviceModel model;
    if (!options.parse(rest) || !options.expectPositional(1, kNewUsage) || !options.deviceModel(model))
        return CliFail(err, kExitUsage, options.error());

    ParameterStore store;
    SelectDeviceModel(store, model.code);
    BuildMatrixImage(store);
    QString error;
    if (!PresetFile::writeFile(options.positional().first(), store.buildImage, &error))
        return CliFail(err, kExitFailure, error);
    return kExitOk;
}

int runShow(const QStringList& rest, QTextStream& out, QTextStream& err)
{
    CliOptions options({});
    if (!options.parse(rest) || !options.expectPositional(1, kShowUsage))
        return CliFail(err, kExitUsage, options.error());
    MatrixImage image{};
    QString error;
    if (!readPreset(options.positional().first(), image, error))
        return CliFail(err, kExitUsage, error);
    out << QJsonDocument(PresetJson(image)).toJson(QJsonDocument::Indented);
    return kExitOk;
}

int runCurve(const QStringList& rest, QTextStream& out, QTextStream& err)
{
    CliOptions options({QStringLiteral("output")}, {QStringLiteral("shadow")});
    int output = 0;
    if (!options.parse(rest) || !options.expectPositional(1, kCurveUsage))
        return CliFail(err, kExitUsage, options.error());
    if (!options.isSet(QStringLiteral("output")))
        return CliFail(err, kExitUsage, QStringLiteral("usage: %1").arg(kCurveUsage));
    if (!options.integer(QStringLiteral("output"), 1, 16, output))
        return CliFail(err, kExitUsage, options.error());
    MatrixImage image{};
    QString error;
    if (!readPreset(options.positional().first(), image, error))
        return CliFail(err, kExitUsage, error);

    MatrixParameters params;
    ApplyMatrixImage(image, params);
    CurvePointList points;
    DrawResponseCurvePoints(params, output, options.isSet(QStringLiteral("shadow")), points);
    // QString::number ignores the process locale (QCoreApplication adopts the system's), so the
    // decimal mark is always a point.
    for (const CurvePoint& p : points)
        out << QString::number(p.x, 'f', 6) << ' ' << QString::number(p.y, 'f', 6) << '\n';
    return kExitOk;
}

} // namespace

bool IsOfflineCommand(const QString& command)
{
    return command == QLatin1String("new") || command == QLatin1String("show") || command == QLatin1String("curve");
}

int RunOfflineCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const QString command = args.value(0);
    const QStringList rest = args.mid(1);
    if (command == QLatin1String("new"))
        return runNew(rest, err);
    if (command == QLatin1String("show"))
        return runShow(rest, out, err);
    if (command == QLatin1String("curve"))
        return runCurve(rest, out, err);
    return CliFail(err, kExitUsage, QStringLiteral("unknown command \"%1\"").arg(command));
}

QString OfflineUsage()
{
    return QStringLiteral("  %1\n"
                          "      write the New defaults as a preset file (default configuration 16x16;\n"
                          "      --model also takes the code 3..11)\n"
                          "  %2\n"
                          "      print the decoded preset as JSON, every value as its code and its text\n"
                          "  %3\n"
                          "      print the response-curve points of output N (1..16), one \"x y\" per line\n")
        .arg(kNewUsage, kShowUsage, kCurveUsage);
}
