#include "programs/widgets/QtOperatorPrompts.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

QWidget* QtOperatorPrompts::dialogParent() const
{
    QWidget* w = m_parent;
    while (w && !w->isVisible())
        w = w->parentWidget();
    return w ? w : m_parent.data();
}

OperatorPrompts::Answer QtOperatorPrompts::ask(Icon icon, Buttons buttons, const QString& text, const QString& caption)
{
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    switch (icon) {
    case Icon::None:
        break;
    case Icon::Information:
        boxIcon = QMessageBox::Information;
        break;
    case Icon::Question:
        boxIcon = QMessageBox::Question;
        break;
    case Icon::Warning:
        boxIcon = QMessageBox::Warning;
        break;
    case Icon::Critical:
        boxIcon = QMessageBox::Critical;
        break;
    }
    QMessageBox::StandardButtons set = QMessageBox::Ok;
    QMessageBox::StandardButton first = QMessageBox::Ok;
    QMessageBox::StandardButton escape = QMessageBox::Ok;
    switch (buttons) {
    case Buttons::Ok:
        break;
    case Buttons::OkCancel:
        set = QMessageBox::Ok | QMessageBox::Cancel;
        escape = QMessageBox::Cancel;
        break;
    case Buttons::YesNo:
        set = QMessageBox::Yes | QMessageBox::No;
        first = QMessageBox::Yes;
        escape = QMessageBox::No;
        break;
    case Buttons::YesNoCancel:
        set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        first = QMessageBox::Yes;
        escape = QMessageBox::Cancel;
        break;
    }
    QMessageBox box(boxIcon, caption, text, set, dialogParent());
    box.setObjectName(QLatin1String(kBoxName));
    box.setDefaultButton(first);
    box.setEscapeButton(escape);
    for (QAbstractButton* b : box.buttons())
        b->setAccessibleName(b->text().remove(QLatin1Char('&')));
    const int clicked = box.exec();
    switch (clicked) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return escape == QMessageBox::Ok ? Answer::Ok : escape == QMessageBox::No ? Answer::No : Answer::Cancel;
    }
}

QString QtOperatorPrompts::chooseFile(bool save, const QString& filter)
{
    QFileDialog dialog(dialogParent(), save ? QStringLiteral("Save As") : QStringLiteral("Open"), m_folder, filter);
    dialog.setObjectName(save ? QStringLiteral("SaveDialog1") : QStringLiteral("OpenDialog1"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The callers ask about an existing file themselves, after their extension rule.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.selectFile(QString());
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QString chosen = dialog.selectedFiles().value(0);
    if (!chosen.isEmpty())
        m_folder = QFileInfo(chosen).absolutePath();
    return chosen;
}

QString QtOperatorPrompts::chooseOpenFile(const QString& filter)
{
    return chooseFile(false, filter);
}

QString QtOperatorPrompts::chooseSaveFile(const QString& filter)
{
    return chooseFile(true, filter);
}
