#include "shell/AboutDialog.h"

#include "shell/DialogPlacement.h"
#include "shell/RaisedTitleLabel.h"
#include "shell/ShellArtwork.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form23"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(kWidth, kHeight);

    auto* bevel = new QFrame(this);
    bevel->setFrameShape(QFrame::Panel);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(8, 8, kWidth - 16, 124);

    auto* icon = new QLabel(bevel);
    icon->setPixmap(ShellArtwork::applicationPixmap(64));
    icon->setScaledContents(true);
    icon->setGeometry(10, 8, 49, 41);
    icon->setAccessibleName(QStringLiteral("Application icon"));

    m_title = new RaisedTitleLabel(QStringLiteral("TOLVAN Desinger"), 19, bevel);
    m_title->setGeometry(64, 8, bevel->width() - 64 - 8, 30);

    auto* banner = new QLabel(bevel);
    banner->setPixmap(ShellArtwork::aboutBanner());
    banner->setScaledContents(true);
    banner->setGeometry(10, 58, 170, 56);
    banner->setAccessibleName(QStringLiteral("Banner picture"));

    const int column = 192;
    const int columnWidth = bevel->width() - column - 10;
    auto makeLine = [&](const QString& text, int y) {
        auto* l = new QLabel(text, bevel);
        l->setGeometry(column, y, columnWidth, 18);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };
    m_version = makeLine(QStringLiteral("Version:1.0A"), 56);
    m_revision = makeLine(QStringLiteral("Rev. 06061901"), 76);
    m_date = makeLine(QStringLiteral("2006-06"), 96);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setAccessibleName(QStringLiteral("OK"));
    m_ok->setDefault(true);
    m_ok->setGeometry(kWidth - 8 - 84, kHeight - 8 - 30, 84, 30);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    refreshTexts();
}

void AboutDialog::refreshTexts()
{
    setWindowTitle(QStringLiteral("About"));
    m_ok->setText(QStringLiteral("OK"));
    m_ok->setAccessibleName(QStringLiteral("OK"));
}

QString AboutDialog::titleText() const
{
    return m_title->text();
}
QString AboutDialog::versionText() const
{
    return m_version->text();
}
QString AboutDialog::revisionText() const
{
    return m_revision->text();
}
QString AboutDialog::dateText() const
{
    return m_date->text();
}

void AboutDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    DialogPlacement::centreOnScreen(this);
}
