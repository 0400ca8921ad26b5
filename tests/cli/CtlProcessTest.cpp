// tolvan16ctl's offline commands, run as the built program.
#include "editor/ResponseCurve.h"
#include "model/MatrixImageCodec.h"
#include "model/MatrixOperations.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CtlRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

class CtlProcess : public ::testing::Test {
protected:
    CtlRun run(const QStringList& args)
    {
        QProcess process;
        process.start(QStringLiteral(T16_CTL_PATH), args);
        EXPECT_TRUE(process.waitForFinished(20000)) << args.join(' ').toStdString();
        CtlRun r;
        r.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        r.out = process.readAllStandardOutput();
        r.err = process.readAllStandardError();
        return r;
    }

    QString path(const QString& name) const { return m_dir.filePath(name); }

    QString writeImage(const QString& name, const MatrixImage& image)
    {
        return writeBytes(name, QByteArray(reinterpret_cast<const char*>(image.data()), kMatrixImageSize));
    }
    QString writeBytes(const QString& name, const QByteArray& bytes)
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    static MatrixImage newDefaults(int code)
    {
        MatrixParameters params;
        ResetMatrixDefaults(params);
        return BuildMatrixImage(params, DeviceModel::fromCode(code));
    }

    QTemporaryDir m_dir;
};

TEST_F(CtlProcess, NewWritesTheNewDefaultsForTheChosenConfiguration)
{
    struct Case {
        QStringList model;
        int code;
    };
    const Case cases[] = {{{}, 11}, {{"--model", "4x8"}, 4}, {{"--model=16*4"}, 9}, {{"--model", "7"}, 7}};
    for (const Case& c : cases) {
        const QString file = path(QStringLiteral("new%1.T16").arg(c.code));
        QStringList args{"new", file};
        args += c.model;
        const CtlRun r = run(args);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.isEmpty());
        QFile written(file);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        const QByteArray bytes = written.readAll();
        const MatrixImage expected = newDefaults(c.code);
        EXPECT_EQ(bytes, QByteArray(reinterpret_cast<const char*>(expected.data()), kMatrixImageSize)) << c.code;
    }
}

TEST_F(CtlProcess, ShowPrintsEveryValueAsCodeAndText)
{
    MatrixParameters params;
    ResetMatrixDefaults(params);
    params.inputGain[2] = 0x0276; // +3.0 dB, open
    params.crosspoint[4][3] = 0x8190;
    params.peq[4][2] = PeqBand{323, 635, 41, 1, 2, 0x00};
    params.crossover[4] = CrossoverSettings{274, 100, 28, 19};
    params.delay[4] = 2915;
    params.polarity[4] = 0x80;
    params.dynamics[4][DynamicsBlock::LimiterThreshold] = 0;
    params.dynamics[4][DynamicsBlock::GateThreshold] = 0;
    params.dynamics[4][DynamicsBlock::CompressorSwitch] = 0x80;
    MatrixImage image = BuildMatrixImage(params, DeviceModel::fromCode(6));
    image[std::size_t(ImageBlockOffset(5) + kBlockHighPassType)] = 0; // decodes to -1

    const CtlRun r = run({"show", writeImage("show.T16", image)});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QJsonParseError parseError;
    const QJsonObject doc = QJsonDocument::fromJson(r.out, &parseError).object();
    ASSERT_EQ(parseError.error, QJsonParseError::NoError) << parseError.errorString().toStdString();

    auto expectCoded = [](const QJsonValue& v, int code, const char* text, const char* what) {
        EXPECT_EQ(v[QStringLiteral("code")].toInt(-9999), code) << what;
        EXPECT_EQ(v[QStringLiteral("text")].toString(), QString::fromLatin1(text)) << what;
    };
    EXPECT_EQ(doc["name"].toString(), "   Preset   ");
    expectCoded(doc["configuration"]["model"], 6, "8*4", "model");
    EXPECT_EQ(doc["configuration"]["inputs"].toInt(), 8);
    EXPECT_EQ(doc["configuration"]["outputs"].toInt(), 4);

    const QJsonArray inputs = doc["inputs"].toArray();
    ASSERT_EQ(inputs.size(), 16);
    expectCoded(inputs[1]["gain"], 0x0276, "3.0dB", "input 2 gain");
    EXPECT_FALSE(inputs[1]["gain"]["muted"].toBool());
    EXPECT_TRUE(inputs[0]["gain"]["muted"].toBool());

    const QJsonArray outputs = doc["outputs"].toArray();
    ASSERT_EQ(outputs.size(), 16);
    const QJsonValue out4 = outputs[3];
    EXPECT_EQ(out4["output"].toInt(), 4);
    expectCoded(out4["crosspoints"][2]["gain"], 0x8190, "-20.0dB", "crosspoint 3 -> 4");
    expectCoded(out4["bands"][1]["frequency"], 323, "10.1KHz", "band 2 frequency");
    expectCoded(out4["bands"][1]["gain"], 635, "3.5dB", "band 2 gain");
    expectCoded(out4["bands"][1]["q"], 41, "11", "band 2 Q");
    expectCoded(out4["bands"][1]["type"], 1, "HISHELF", "band 2 type");
    expectCoded(out4["bands"][1]["bypass"], 0, "active", "band 2 bypass");
    expectCoded(out4["bands"][0]["bypass"], 0x80, "bypassed", "band 1 bypass");
    expectCoded(out4["crossover"]["lowPass"]["frequency"], 274, "2.0KHz", "low-pass frequency");
    expectCoded(out4["crossover"]["lowPass"]["type"], 28, "", "low-pass type 28");
    expectCoded(out4["crossover"]["highPass"]["frequency"], 100, "68.8Hz", "high-pass frequency");
    expectCoded(out4["crossover"]["highPass"]["type"], 19, "12dB Butterworth", "high-pass type");
    expectCoded(out4["delay"], 2915, "291.50ms", "delay");
    EXPECT_EQ(out4["delay"]["metres"].toString(), "99.98m");
    expectCoded(out4["polarity"], 0x80, "inverted", "polarity");
    expectCoded(out4["dynamics"]["compressor"]["switch"], 0x80, "in circuit", "compressor switch");
    expectCoded(out4["dynamics"]["compressor"]["threshold"], 23, "6dB", "compressor threshold");
    expectCoded(out4["dynamics"]["compressor"]["ratio"], 63, "64:128", "ratio");
    expectCoded(out4["dynamics"]["limiter"]["threshold"], 0, "-Inf", "limiter threshold");
    expectCoded(out4["dynamics"]["limiter"]["attack"], 0, "20.0us", "limiter attack");
    expectCoded(out4["dynamics"]["noiseGate"]["threshold"], 0, "0FF", "gate threshold");
    expectCoded(out4["dynamics"]["noiseGate"]["release"], 100, "1000ms", "gate release");

    expectCoded(outputs[4]["crossover"]["highPass"]["type"], -1, "FLAT THRU", "zero type byte");
}

TEST_F(CtlProcess, CurvePrintsTheDrawnPointsOfOneOutput)
{
    MatrixParameters params;
    ResetMatrixDefaults(params);
    params.crossover[3].lowPassType = 25; // "48dB Butterworth"
    params.crossover[3].lowPassFrequency = 200;
    params.peq[2][1] = PeqBand{100, 700, 30, 0, 1, 0x00};
    params.crossover[2] = CrossoverSettings{300, 60, 12, 22};
    const QString file = writeImage("curve.T16", BuildMatrixImage(params, DeviceModel::fromCode(11)));

    for (int output : {2, 3}) {
        for (bool shadow : {false, true}) {
            QStringList args{"curve", file, "--output", QString::number(output)};
            if (shadow)
                args << "--shadow";
            const CtlRun r = run(args);
            ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
            CurvePointList expected;
            DrawResponseCurvePoints(params, output, shadow, expected);
            QByteArray text;
            for (const CurvePoint& p : expected)
                text += QByteArray::number(p.x, 'f', 6) + ' ' + QByteArray::number(p.y, 'f', 6) + '\n';
            EXPECT_EQ(r.out, text) << "output " << output << (shadow ? " shadow" : "");
            if (output == 3) {
                EXPECT_EQ(r.out.count('\n'), shadow ? 659 : 265);
            }
        }
    }

    const CtlRun flat = run({"curve", file, "--output=1"});
    ASSERT_EQ(flat.exitCode, 0);
    const QList<QByteArray> lines = flat.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 394);
    EXPECT_EQ(lines.first(), "10.200000 0.190476");
    EXPECT_EQ(lines.last(), "20200.000000 0.190476");

    const CtlRun steep = run({"curve", file, "--output", "3"});
    EXPECT_TRUE(steep.out.endsWith("1680.000000 -79.872024\n"));
}

TEST_F(CtlProcess, BadUsageAndBadFilesExitWithTwoAndOneLine)
{
    const QString good = writeImage("good.T16", newDefaults(11));
    const QString shortFile = writeBytes("short.T16", QByteArray(1599, '\0'));
    const QString longFile = writeBytes("long.T16", QByteArray(1601, '\0'));
    const QString emptyFile = writeBytes("empty.T16", QByteArray());
    const QString missing = path("missing.T16");
    const QList<QStringList> cases = {
        {},
        {"frobnicate"},
        {"new"},
        {"new", path("a.T16"), path("b.T16")},
        {"new", path("a.T16"), "--model", "5x5"},
        {"new", path("a.T16"), "--model", "12"},
        {"new", path("a.T16"), "--model"},
        {"new", path("a.T16"), "--output", "1"},
        {"show"},
        {"show", missing},
        {"show", shortFile},
        {"show", longFile},
        {"show", emptyFile},
        {"show", good, "--bogus"},
        {"curve", good},
        {"curve", good, "--output", "0"},
        {"curve", good, "--output", "17"},
        {"curve", good, "--output", "x"},
        {"curve", good, "--output=2", "--shadow=yes"},
        {"curve", shortFile, "--output", "1"},
        {"curve", longFile, "--output", "1"},
    };
    for (const QStringList& args : cases) {
        const CtlRun r = run(args);
        const std::string what = "tolvan16ctl " + args.join(' ').toStdString();
        EXPECT_EQ(r.exitCode, 2) << what;
        EXPECT_TRUE(r.out.isEmpty()) << what;
        EXPECT_TRUE(r.err.startsWith("tolvan16ctl: ")) << what << ": " << r.err.toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << what << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.endsWith('\n')) << what;
    }
    EXPECT_FALSE(QFile::exists(path("a.T16"))) << "nothing is written on bad usage";

    EXPECT_TRUE(run({"show", shortFile}).err.contains("1599"));
    EXPECT_TRUE(run({"show", longFile}).err.contains("longer than 1600"));
}

TEST_F(CtlProcess, AFileThatCannotBeWrittenFailsWithOne)
{
    const CtlRun r = run({"new", path("no/such/folder/x.T16")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
}

TEST_F(CtlProcess, HelpListsTheCommands)
{
    const CtlRun r = run({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    for (const char* command : {"new FILE.T16", "show FILE.T16", "curve FILE.T16 --output N"})
        EXPECT_TRUE(r.out.contains(command)) << command;
}

} // namespace
