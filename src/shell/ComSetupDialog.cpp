#include "shell/ComSetupDialog.h"

#include "link/PortSettings.h"
#include "shell/DialogPlacement.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

ComSetupDialog::ComSetupDialog(PortSettings& ports, QWidget* parent) : QDialog(parent), m_ports(ports)
{
    setObjectName(QStringLiteral("Form15"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("Label1"));
    m_list = new QComboBox(this);
    m_list->setObjectName(QStringLiteral("ComboBox1"));
    m_list->setAccessibleName(QStringLiteral("COM port"));
    m_list->setMaxVisibleItems(16);
    m_list->setMinimumWidth(150);
    m_ok = new QPushButton(this);
    m_ok->setObjectName(QStringLiteral("dxButton1"));
    m_ok->setDefault(true);
    m_ok->setMinimumWidth(84);

    auto* row = new QHBoxLayout;
    row->addWidget(m_list, 1);
    row->addSpacing(10);
    row->addWidget(m_ok);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 16);
    layout->setSpacing(10);
    layout->addWidget(m_label);
    layout->addLayout(row);

    // "activated" is every choice the operator makes, including the item already shown.
    connect(m_list, &QComboBox::activated, this, [this](int index) {
        m_ports.comSetupSelect(m_list->itemText(index));
        showCurrent();
    });
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    refreshTexts();
    m_label->setText(QStringLiteral("COM Select:COM120"));
    setFixedSize(300, sizeHint().height());
}

void ComSetupDialog::refreshTexts()
{
    setWindowTitle(QStringLiteral("COM Setup"));
    m_ok->setText(QStringLiteral("OK"));
    m_ok->setAccessibleName(QStringLiteral("OK"));
}

QString ComSetupDialog::listText() const
{
    return m_list->currentIndex() >= 0 ? m_list->currentText() : m_list->placeholderText();
}

QString ComSetupDialog::labelText() const
{
    return m_label->text();
}

void ComSetupDialog::done(int result)
{
    // Every way out (OK, Escape, the window's close button) ends here.
    m_ports.comSetupClosed();
    QDialog::done(result);
}

void ComSetupDialog::showEvent(QShowEvent* event)
{
    refreshTexts();
    fillList();
    QDialog::showEvent(event);
    DialogPlacement::centreOnScreen(this);
}

void ComSetupDialog::fillList()
{
    const QStringList items = m_ports.comSetupShow();
    m_list->clear();
    m_list->addItems(items);
    showCurrent();
}

void ComSetupDialog::showCurrent()
{
    const QString current = PortSettings::portName(m_ports.portNumber());
    const int index = m_list->findText(current);
    // A port that is not present is still shown as the list's text, without an item behind it.
    m_list->setPlaceholderText(current);
    m_list->setCurrentIndex(index);
    m_label->setText(m_ports.comSetupLabel());
}
