#include "programs/widgets/ProgramNameDialog.h"

#include "programs/ProgramName.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

ProgramNameDialog::ProgramNameDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form19"));
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("Label1"));
    m_box = new QLineEdit(this);
    m_box->setObjectName(QStringLiteral("Edit1"));
    m_box->setMaxLength(ProgramName::kLength);
    m_box->setMinimumWidth(m_box->fontMetrics().horizontalAdvance(QLatin1Char('W')) * ProgramName::kLength + 12);
    m_label->setBuddy(m_box);
    m_ok = new QPushButton(this);
    m_ok->setObjectName(QStringLiteral("Button1"));
    m_ok->setDefault(true);
    m_ok->setAutoDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(8);
    layout->addWidget(m_label);
    layout->addWidget(m_box);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(m_ok);
    row->addStretch(1);
    layout->addLayout(row);

    connect(m_box, &QLineEdit::textChanged, this, &ProgramNameDialog::onTextChanged);
    connect(m_ok, &QPushButton::clicked, this, [this] {
        m_resultFlag = kResultOk;
        accept();
    });

    refreshTexts();
    m_box->setText(QStringLiteral("Preset "));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString ProgramNameDialog::text() const
{
    return m_box->text();
}

void ProgramNameDialog::setText(const QString& text)
{
    m_box->setText(text);
}

void ProgramNameDialog::refreshTexts()
{
    setWindowTitle(QStringLiteral("Program Name"));
    m_label->setText(QStringLiteral("Enter Program Name:"));
    m_box->setAccessibleName(QStringLiteral("Program Name"));
    m_ok->setText(QStringLiteral("OK"));
    m_ok->setAccessibleName(QStringLiteral("OK"));
}

void ProgramNameDialog::showEvent(QShowEvent* event)
{
    refreshTexts();
    m_box->setMaxLength(ProgramName::kLength);
    // From here on a refused character takes the box back to what was accepted since showing.
    m_lastAccepted.clear();
    QDialog::showEvent(event);
    m_box->setFocus();
    m_box->selectAll();
}

void ProgramNameDialog::onTextChanged(const QString& text)
{
    if (!ProgramName::isAcceptable(text)) {
        // setText below re-enters with an acceptable text.
        m_box->setText(m_lastAccepted);
        return;
    }
    m_lastAccepted = text;
}
