#include "editor/widgets/Form39.h"

#include "editor/DeferredSend.h"
#include "editor/EditorContext.h"
#include "editor/FilterEntryRules.h"
#include "editor/OutputCopy.h"
#include "link/Session.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

Form39::Form39(EditorContext& context, QWidget& editor, QWidget* parent)
    : QDialog(parent), m_context(context), m_editor(editor)
{
    setObjectName(QStringLiteral("Form39"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(10);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    m_sourceCaption = new QLabel(this);
    m_targetCaption = new QLabel(this);
    m_source = new QSpinBox(this);
    m_target = new QSpinBox(this);
    for (QSpinBox* box : {m_source, m_target}) {
        box->setRange(1, 16);
        box->setMinimumWidth(70);
        box->setAlignment(Qt::AlignCenter);
    }
    m_source->setValue(1);
    m_target->setValue(2);
    grid->addWidget(m_sourceCaption, 0, 0);
    grid->addWidget(m_source, 0, 1);
    grid->addWidget(m_targetCaption, 1, 0);
    grid->addWidget(m_target, 1, 1);
    grid->setColumnStretch(2, 1);
    layout->addLayout(grid);

    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 100);
    m_progress->setAccessibleName(QStringLiteral("Output copy progress"));
    m_progress->hide();
    layout->addWidget(m_progress);

    auto* buttons = new QHBoxLayout;
    m_copy = new QPushButton(this);
    m_cancel = new QPushButton(this);
    m_copy->setMinimumWidth(100);
    m_cancel->setMinimumWidth(100);
    buttons->addStretch(1);
    buttons->addWidget(m_copy);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);

    connect(m_source, &QSpinBox::valueChanged, this, &Form39::onBoxChanged);
    connect(m_target, &QSpinBox::valueChanged, this, &Form39::onBoxChanged);
    connect(m_copy, &QPushButton::clicked, this, &Form39::onCopyClicked);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    // Enter in a value box takes the typed value; it must not press a button as well.
    for (QPushButton* b : findChildren<QPushButton*>()) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    setCaptions();
}

void Form39::setCaptions()
{
    setWindowTitle(QStringLiteral("Output Copy"));
    setAccessibleName(QStringLiteral("Output Copy"));
    m_sourceCaption->setText(QStringLiteral("Source Output:"));
    m_sourceCaption->setAccessibleName(m_sourceCaption->text());
    m_targetCaption->setText(QStringLiteral("Target Output"));
    m_targetCaption->setAccessibleName(m_targetCaption->text());
    m_source->setAccessibleName(QStringLiteral("Source Output:"));
    m_target->setAccessibleName(QStringLiteral("Target Output"));
    m_copy->setText(QStringLiteral("Output Copy"));
    m_copy->setAccessibleName(QStringLiteral("Output Copy"));
    m_cancel->setText(QStringLiteral("Cancel"));
    m_cancel->setAccessibleName(QStringLiteral("Cancel"));
}

void Form39::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    setCaptions();
    m_progress->setValue(0);
    m_progress->hide();
    const int outputs = m_context.session.store.model.outputs;
    m_source->setMaximum(outputs);
    m_target->setMaximum(outputs);
    onBoxChanged();
}

void Form39::onBoxChanged()
{
    const int source = m_source->value();
    const int target = FilterEntryRules::outputCopyTarget(source, m_target->value(), m_target->maximum());
    if (target != m_target->value())
        m_target->setValue(target);
}

void Form39::reject()
{
    if (!m_running)
        QDialog::reject();
}

void Form39::setControlsEnabled(bool enabled)
{
    for (QWidget* w : {static_cast<QWidget*>(m_source), static_cast<QWidget*>(m_target),
                       static_cast<QWidget*>(m_copy), static_cast<QWidget*>(m_cancel)})
        w->setEnabled(enabled);
}

void Form39::onCopyClicked()
{
    if (m_running)
        return;
    const auto answer = QMessageBox::question(this, QStringLiteral("Copy Output Data"),
                                              QStringLiteral("Do you Copy output data?"),
                                              QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok);
    if (answer != QMessageBox::Ok)
        return;
    runCopy();
}

bool Form39::runCopy()
{
    if (m_running)
        return false;
    m_running = true;
    const int source = m_source->value();
    const int target = m_target->value();
    m_progress->setValue(0);
    m_progress->show();
    setControlsEnabled(false);
    OutputCopy copy(m_context.session, m_context.deferred.commands());
    const bool completed = m_context.session.runProcedure(
        [&] { copy.run(source, target, [this](int step) { m_progress->setValue(step); }); });
    setControlsEnabled(true);
    m_running = false;
    if (!completed)
        return false;
    accept();
    m_editor.close();
    return true;
}
