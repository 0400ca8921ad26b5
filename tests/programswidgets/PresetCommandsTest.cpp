// The File menu actions bound to the preset commands, and the message boxes and file dialogs
// the commands use on screen.
#include "ModalDriver.h"
#include "programs/ScriptedPrompts.h"
#include "support/VirtualRig.h"

#include "model/MatrixImageCodec.h"
#include "model/MatrixOperations.h"
#include "programs/ProgramMemory.h"
#include "programs/widgets/MemoryWindow.h"
#include "programs/widgets/PresetCommands.h"
#include "programs/widgets/QtOperatorPrompts.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Answer = OperatorPrompts::Answer;
using Icon = OperatorPrompts::Icon;
using Buttons = OperatorPrompts::Buttons;

struct CommandsRig : VirtualRig {
    ProgramMemory memory{session};
    ScriptedPrompts prompts;
    QWidget window;
    MemoryWindow memoryWindow{session, memory, &window, &prompts};
    PresetCommands commands{session, memoryWindow.operations(), &window, &prompts};
    QAction newAction{QStringLiteral("New")};
    QAction openAction{QStringLiteral("Open...")};
    QAction saveAction{QStringLiteral("Save...")};
    QTemporaryDir dir;

    CommandsRig()
    {
        unit(1);
        commands.attach(&newAction, &openAction, &saveAction);
    }
};

} // namespace

TEST(PresetCommands, TheActionsRunNewOpenAndSave)
{
    CommandsRig rig;
    QSignalSpy replaced(&rig.commands, &PresetCommands::parametersReplaced);
    rig.session.store.params.delay[2] = 99;
    rig.newAction.trigger();
    MatrixParameters defaults{};
    ResetMatrixDefaults(defaults);
    const MatrixImage defaultImage = BuildMatrixImage(defaults, rig.session.store.model);
    EXPECT_EQ(BuildMatrixImage(rig.session.store.params, rig.session.store.model), defaultImage);
    EXPECT_EQ(replaced.count(), 1);

    const QString path = rig.dir.filePath(QStringLiteral("saved"));
    rig.prompts.saveFiles = {path};
    rig.saveAction.trigger();
    QFile saved(path + QStringLiteral(".T16"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray(reinterpret_cast<const char*>(defaultImage.data()), 1600));

    rig.session.store.params.delay[2] = 99;
    rig.prompts.openFiles = {path + QStringLiteral(".T16")};
    rig.openAction.trigger();
    EXPECT_EQ(rig.session.store.params.delay[2], 0);
    EXPECT_EQ(replaced.count(), 2);
}

TEST(PresetCommands, NewAndOpenAreDisabledWhileTheDownloadOfferRuns)
{
    CommandsRig rig;
    rig.online(1);
    bool newEnabled = true, openEnabled = true;
    rig.prompts.whileShown = [&] {
        newEnabled = rig.newAction.isEnabled();
        openEnabled = rig.openAction.isEnabled();
    };
    rig.newAction.trigger(); // the download question is answered No
    ASSERT_EQ(rig.prompts.asked.size(), 1u);
    EXPECT_EQ(rig.prompts.asked[0].caption, QStringLiteral("DOWNLOAD PROGRAM"));
    EXPECT_FALSE(newEnabled);
    EXPECT_FALSE(openEnabled);
    EXPECT_TRUE(rig.newAction.isEnabled());
    EXPECT_TRUE(rig.openAction.isEnabled());
}

TEST(QtOperatorPrompts, MessageBoxesCarryTheTextCaptionIconAndButtonsAsked)
{
    struct Case {
        Icon icon;
        Buttons buttons;
        QMessageBox::Icon boxIcon;
        QMessageBox::StandardButtons boxButtons;
        QMessageBox::StandardButton click; // NoButton: Escape
        Answer answer;
    };
    const Case cases[] = {
        {Icon::None, Buttons::Ok, QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok, Answer::Ok},
        {Icon::Warning, Buttons::OkCancel, QMessageBox::Warning, QMessageBox::Ok | QMessageBox::Cancel,
         QMessageBox::Cancel, Answer::Cancel},
        {Icon::Warning, Buttons::OkCancel, QMessageBox::Warning, QMessageBox::Ok | QMessageBox::Cancel,
         QMessageBox::NoButton, Answer::Cancel},
        {Icon::Question, Buttons::YesNo, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes,
         Answer::Yes},
        {Icon::Question, Buttons::YesNo, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
         QMessageBox::NoButton, Answer::No},
        {Icon::Question, Buttons::YesNoCancel, QMessageBox::Question,
         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::No, Answer::No},
        {Icon::Critical, Buttons::Ok, QMessageBox::Critical, QMessageBox::Ok, QMessageBox::NoButton, Answer::Ok},
    };
    QWidget parent;
    QtOperatorPrompts prompts(&parent);
    for (const Case& c : cases) {
        QString text, title;
        QMessageBox::Icon icon{};
        QMessageBox::StandardButtons buttons{};
        bool named = true;
        whenModal<QMessageBox>([&](QMessageBox* box) {
            text = box->text();
            title = box->windowTitle();
            icon = box->icon();
            buttons = box->standardButtons();
            for (QAbstractButton* b : box->buttons())
                named = named && !b->accessibleName().isEmpty();
            if (c.click == QMessageBox::NoButton)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->button(c.click)->click();
        });
        EXPECT_EQ(prompts.ask(c.icon, c.buttons, QStringLiteral("Delete all program?"), QStringLiteral("Delete program")),
                  c.answer);
        EXPECT_EQ(text, QStringLiteral("Delete all program?"));
        EXPECT_EQ(title, QStringLiteral("Delete program"));
        EXPECT_EQ(icon, c.boxIcon);
        EXPECT_EQ(buttons, c.boxButtons);
        EXPECT_TRUE(named);
    }
}

TEST(QtOperatorPrompts, TheSaveDialogStartsWithAnEmptyNameAndTheFilterGiven)
{
    QTemporaryDir dir;
    QWidget parent;
    QtOperatorPrompts prompts(&parent);
    QStringList filters;
    QString startName = QStringLiteral("unset");
    bool confirmsOverwrite = true;
    auto answer = [&](const QString& typed) {
        whenModal<QFileDialog>([&, typed](QFileDialog* d) {
            filters = d->nameFilters();
            confirmsOverwrite = !d->testOption(QFileDialog::DontConfirmOverwrite);
            auto* edit = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(edit, nullptr);
            startName = edit->text();
            edit->setText(typed);
            d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->click();
        });
    };
    answer(dir.filePath(QStringLiteral("first")));
    EXPECT_EQ(prompts.chooseSaveFile(QStringLiteral("*.T16(tolvan 16) (*.T16)")), dir.filePath(QStringLiteral("first")));
    EXPECT_EQ(filters, QStringList{QStringLiteral("*.T16(tolvan 16) (*.T16)")});
    EXPECT_TRUE(startName.isEmpty());
    EXPECT_FALSE(confirmsOverwrite);
    answer(QStringLiteral("second"));
    EXPECT_EQ(prompts.chooseSaveFile(QStringLiteral("*.T16(tolvan 16) (*.T16)")), dir.filePath(QStringLiteral("second")));
    EXPECT_TRUE(startName.isEmpty()) << startName.toStdString(); // the last name is not offered again
}
