// Form19: texts, the 12-character box, the non-ASCII rule and the result flag.
#include "ModalDriver.h"

#include "programs/widgets/ProgramNameDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QKeyEvent>
#include <gtest/gtest.h>

namespace {
// Types `text` key by key, as a keyboard would, also characters QTest has no key code for.
void typeInto(QWidget* w, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(w, &press);
        QCoreApplication::sendEvent(w, &release);
    }
}
} // namespace

TEST(ProgramNameDialog, HasItsTextsAndATwelveCharacterBoxStartingWithPreset)
{
    ProgramNameDialog d;
    EXPECT_EQ(d.objectName(), QStringLiteral("Form19"));
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Program Name"));
    const auto labels = d.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels[0]->text(), QStringLiteral("Enter Program Name:"));
    EXPECT_EQ(d.text(), QStringLiteral("Preset "));
    EXPECT_EQ(d.nameBox()->accessibleName(), QStringLiteral("Program Name"));
    EXPECT_EQ(d.okButton()->text(), QStringLiteral("OK"));
    EXPECT_EQ(d.okButton()->accessibleName(), QStringLiteral("OK"));
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    d.nameBox()->clear();
    QTest::keyClicks(d.nameBox(), QStringLiteral("ABCDEFGHIJKLMNOP"));
    EXPECT_EQ(d.text(), QStringLiteral("ABCDEFGHIJKL"));
    EXPECT_EQ(d.minimumSize(), d.maximumSize());
    d.hide();
}

TEST(ProgramNameDialog, ANonAsciiCharacterBringsBackTheLastAcceptedTextWhichStartsEmptyOnShow)
{
    ProgramNameDialog d;
    d.setText(QStringLiteral("Hall"));
    QString afterFirstKey, afterTyping;
    whenModal<ProgramNameDialog>([&](ProgramNameDialog* dlg) {
        dlg->nameBox()->end(false);
        // Right after showing, nothing has been accepted yet: the box empties.
        typeInto(dlg->nameBox(), QStringLiteral("\u00E9"));
        afterFirstKey = dlg->text();
        typeInto(dlg->nameBox(), QStringLiteral("Stage"));
        typeInto(dlg->nameBox(), QStringLiteral("\u00FC"));
        afterTyping = dlg->text();
        dlg->okButton()->click();
    });
    d.setResultFlag(0);
    d.exec();
    EXPECT_TRUE(afterFirstKey.isEmpty()) << afterFirstKey.toStdString();
    EXPECT_EQ(afterTyping, QStringLiteral("Stage"));
    EXPECT_EQ(d.resultFlag(), 100);
    EXPECT_EQ(d.text(), QStringLiteral("Stage")); // kept for the next use
}

TEST(ProgramNameDialog, OnlyOkSetsTheResultFlag)
{
    ProgramNameDialog d;
    const std::pair<const char*, std::function<void(ProgramNameDialog*)>> ways[] = {
        {"OK", [](ProgramNameDialog* x) { x->okButton()->click(); }},
        {"Return", [](ProgramNameDialog* x) { QTest::keyClick(x->nameBox(), Qt::Key_Return); }},
        {"Escape", [](ProgramNameDialog* x) { QTest::keyClick(x->nameBox(), Qt::Key_Escape); }},
        {"close", [](ProgramNameDialog* x) { x->close(); }},
    };
    for (const auto& [what, close] : ways) {
        whenModal<ProgramNameDialog>(close);
        d.setResultFlag(0);
        d.exec();
        const bool ok = std::string(what) == "OK" || std::string(what) == "Return";
        EXPECT_EQ(d.resultFlag(), ok ? 100 : 0) << what;
    }
}
