// The output copy dialog on the in-process virtual line (virtual clock: the 15 s of progress run
// in moments): the source/target rule, the command and its resends, the in-memory copy, the muted
// outputs, and the unit and the editor agreeing afterwards.
#include "XoverFixture.h"

#include "editor/widgets/OutputGainPage.h"
#include "model/MatrixImageCodec.h"
#include "model/ParameterCompare.h"

#include <QApplication>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

namespace {

struct OutputCopyTest : XoverFixture {
    Form39* dialog = nullptr;

    void openCopyDialog(int model = 11)
    {
        session->store.model = DeviceModel::fromCode(model);
        editor->openAt(4, 0);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
        QTest::mouseClick(editor->outputGainPage()->outputCopyButton(), Qt::LeftButton);
        dialog = parts->outputCopyDialog();
        ASSERT_TRUE(dialog->isVisible());
        showDialog(dialog);
    }

    // Output 1 differs from output 2 in everything the copy carries; the unit runs the same
    // settings as the editor shows.
    void distinctSettings()
    {
        MatrixParameters& p = params();
        p.delay[1] = 4321;
        p.outputGain[1] = 0x0250;
        p.polarity[1] = 0x80;
        for (int i = 1; i <= 16; ++i)
            p.crosspoint[1][std::size_t(i)] = LevelWord(400 + 10 * i);
        for (int b = 1; b <= 5; ++b)
            p.peq[1][std::size_t(b)] = PeqBand{40 * b, 600 + 20 * b, std::uint8_t(10 + b), std::uint8_t(b % 4),
                                               std::uint8_t(b), std::uint8_t(b % 2 ? 0x00 : 0x80)};
        p.crossover[1] = CrossoverSettings{300, 60, 24, 19};
        for (int f = 0; f < 14; ++f)
            p.dynamics[1][f] = std::uint8_t(3 + f);
        p.dynamics[2][DynamicsBlock::LimiterHold] = 7;
        const MatrixImage image = BuildMatrixImage(p, session->store.model);
        line.unit(1)->running() = image;
        ApplyMatrixImage(image, p);
    }

    // Answers the question box the copy asks ("Do you Copy output data?") with `button`.
    void answerQuestion(QMessageBox::StandardButton button, QString* title, QString* text)
    {
        QTimer::singleShot(0, [=] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            *title = box->windowTitle();
            *text = box->text();
            box->button(button)->click();
        });
    }
};

} // namespace

TEST_F(OutputCopyTest, TargetNeverStaysOnTheSource)
{
    openCopyDialog(11);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Output Copy"));
    EXPECT_EQ(dialog->sourceBox()->value(), 1);
    EXPECT_EQ(dialog->targetBox()->value(), 2);
    EXPECT_EQ(dialog->sourceBox()->maximum(), 16);
    EXPECT_FALSE(dialog->progressBar()->isVisible());
    dialog->targetBox()->setValue(16);
    dialog->sourceBox()->setValue(16);
    EXPECT_EQ(dialog->targetBox()->value(), 1);
    dialog->targetBox()->setValue(1);
    dialog->sourceBox()->setValue(1);
    EXPECT_EQ(dialog->targetBox()->value(), 2);
    dialog->sourceBox()->setValue(5);
    dialog->targetBox()->setValue(5);
    EXPECT_EQ(dialog->targetBox()->value(), 6);
    dialog->close();

    openCopyDialog(4); // 4 x 8: the boxes end at 8
    EXPECT_EQ(dialog->sourceBox()->maximum(), 8);
    EXPECT_EQ(dialog->targetBox()->maximum(), 8);
}

TEST_F(OutputCopyTest, CopyOfOneOntoTwoReachesTheUnitAndTheEditorAlike)
{
    distinctSettings();
    const MatrixParameters before = params();
    openCopyDialog();
    line.clearLog();
    dialog->sourceBox()->setValue(1);
    dialog->targetBox()->setValue(2);
    QString title, text;
    answerQuestion(QMessageBox::Ok, &title, &text);
    session->setProgress(40);
    QTest::mouseClick(dialog->copyButton(), Qt::LeftButton);
    EXPECT_EQ(title, QStringLiteral("Copy Output Data"));
    EXPECT_EQ(text, QStringLiteral("Do you Copy output data?"));

    const auto frames = sent(237);
    ASSERT_EQ(frames.size(), 1u); // answered: no resend
    EXPECT_EQ(frames[0].selector, 1);
    EXPECT_EQ(frames[0].payload, QByteArray::fromHex("0102"));
    EXPECT_EQ(dialog->progressBar()->value(), 100);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(session->status().progress, 0);

    const MatrixParameters& p = params();
    EXPECT_EQ(p.delay[2], 4321);
    EXPECT_EQ(p.outputGain[2], 0x8250);
    EXPECT_EQ(p.polarity[2], 0x80);
    EXPECT_EQ(p.crosspoint[2][7], 470);
    EXPECT_EQ(p.peq[2][3].frequency, 120);
    EXPECT_EQ(p.crossover[2].lowPassType, 24);
    EXPECT_EQ(p.dynamics[2][DynamicsBlock::CompressorAttack], 3 + DynamicsBlock::CompressorAttack);
    EXPECT_EQ(p.dynamics[2][DynamicsBlock::LimiterHold], 7); // the hold is not copied
    for (int o = 1; o <= 16; ++o)
        EXPECT_TRUE(p.outputGain[std::size_t(o)] & 0x8000) << o;
    EXPECT_EQ(p.delay[3], before.delay[3]);

    MatrixParameters unit;
    ApplyMatrixImage(line.unit(1)->running(), unit);
    EXPECT_TRUE(SameParameters(p, unit));
}

TEST_F(OutputCopyTest, UnansweredCopyIsSentFiveTimesAndStillMirrored)
{
    distinctSettings();
    openCopyDialog();
    SimFaults silent;
    silent.silent = true;
    line.unit(1)->faults() = silent;
    line.clearLog();
    dialog->sourceBox()->setValue(1);
    dialog->targetBox()->setValue(3);
    const std::int64_t start = pump.nowMs();
    ASSERT_TRUE(dialog->runCopy());
    EXPECT_GE(pump.nowMs() - start, 5 * 300 + 100 * 150);
    const auto frames = sent(237);
    ASSERT_EQ(frames.size(), 5u);
    for (const SimFrame& f : frames)
        EXPECT_EQ(f.payload, QByteArray::fromHex("0103"));
    EXPECT_EQ(params().delay[3], 4321);
    EXPECT_FALSE(editor->isVisible());
}

TEST_F(OutputCopyTest, CancelSendsNothing)
{
    openCopyDialog();
    line.clearLog();
    QString title, text;
    answerQuestion(QMessageBox::Cancel, &title, &text);
    QTest::mouseClick(dialog->copyButton(), Qt::LeftButton);
    EXPECT_EQ(title, QStringLiteral("Copy Output Data"));
    EXPECT_TRUE(dialog->isVisible());
    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(editor->isVisible());
    EXPECT_TRUE(sent(237).empty());
}
