#include "editor/widgets/MatrixOverview.h"

#include "editor/EditorSelection.h"
#include "editor/widgets/MatrixPanel.h"
#include "link/Session.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
QPushButton* smallButton(QWidget* parent, int width)
{
    auto* b = new QPushButton(parent);
    b->setFixedSize(width, MatrixPanel::kRowHeight - 3);
    b->setStyleSheet(QStringLiteral("QPushButton { padding: 0px 2px; }"));
    return b;
}

QWidget* rowPanel(QWidget* parent)
{
    auto* w = new QWidget(parent);
    w->setFixedHeight(MatrixPanel::kRowHeight);
    return w;
}
} // namespace

int MatrixOverview::matrixTabFor(int y, int outputs)
{
    const int limit = std::max(outputs, 4) - 1;
    return std::clamp(std::max(y, 0) * 16 / MatrixPanel::kHeight, 0, limit);
}

MatrixOverview::MatrixOverview(Session& session, QWidget* parent) : QWidget(parent), m_session(session)
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 8, 10, 8);
    m_heading = new QLabel(this);
    QFont big = m_heading->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    m_heading->setFont(big);
    m_heading->setAlignment(Qt::AlignCenter);
    outer->addWidget(m_heading);

    auto* row = new QHBoxLayout;
    row->setSpacing(14);
    row->addStretch(1);

    auto* inputs = new QVBoxLayout;
    inputs->setSpacing(0);
    for (int i = 1; i <= 16; ++i) {
        InputPanel& p = m_inputs[std::size_t(i)];
        p.panel = rowPanel(this);
        auto* h = new QHBoxLayout(p.panel);
        h->setContentsMargins(0, 0, 0, 0);
        h->setSpacing(4);
        p.name = new QLabel(p.panel);
        p.name->setFixedWidth(42);
        p.gain = smallButton(p.panel, 48);
        h->addWidget(p.name);
        h->addWidget(p.gain);
        inputs->addWidget(p.panel);
        connect(p.gain, &QPushButton::clicked, this,
                [this, i] { emit editorRequested(EditorSelection::InputGainPage, i - 1); });
    }
    inputs->addStretch(1);

    m_matrix = new MatrixPanel(session.store, this);
    connect(m_matrix, &MatrixPanel::clicked, this, [this](int y) {
        emit editorRequested(EditorSelection::MatrixPage, matrixTabFor(y, m_session.store.model.outputs));
    });
    auto* matrixColumn = new QVBoxLayout;
    matrixColumn->addWidget(m_matrix);
    matrixColumn->addStretch(1);

    auto* outputs = new QVBoxLayout;
    outputs->setSpacing(0);
    for (int o = 1; o <= 16; ++o) {
        OutputPanel& p = m_outputs[std::size_t(o)];
        p.panel = rowPanel(this);
        auto* h = new QHBoxLayout(p.panel);
        h->setContentsMargins(0, 0, 0, 0);
        h->setSpacing(3);
        p.name = new QLabel(p.panel);
        p.name->setFixedWidth(42);
        p.gain = smallButton(p.panel, 48);
        p.xover = smallButton(p.panel, 56);
        p.delay = smallButton(p.panel, 52);
        p.dynamics = smallButton(p.panel, 84);
        h->addWidget(p.name);
        h->addWidget(p.gain);
        h->addWidget(p.xover);
        h->addWidget(p.delay);
        h->addWidget(p.dynamics);
        outputs->addWidget(p.panel);
        const int tab = o - 1;
        connect(p.gain, &QPushButton::clicked, this, [this, tab] { emit editorRequested(EditorSelection::OutputGainPage, tab); });
        connect(p.xover, &QPushButton::clicked, this, [this, tab] { emit editorRequested(EditorSelection::XoverPage, tab); });
        connect(p.delay, &QPushButton::clicked, this, [this, tab] { emit editorRequested(EditorSelection::DelayPage, tab); });
        connect(p.dynamics, &QPushButton::clicked, this,
                [this, tab] { emit editorRequested(EditorSelection::CompLimitPage, tab); });
    }
    outputs->addStretch(1);

    row->addLayout(inputs);
    row->addLayout(matrixColumn);
    row->addLayout(outputs);
    row->addStretch(1);
    outer->addLayout(row, 1);
    rebuild();
}

void MatrixOverview::refreshTexts()
{
    m_heading->setText(QStringLiteral("Matrix Control"));
    m_heading->setAccessibleName(m_heading->text());
    for (int i = 1; i <= 16; ++i) {
        InputPanel& p = m_inputs[std::size_t(i)];
        p.name->setText(QStringLiteral("In %1").arg(i));
        p.name->setAccessibleName(p.name->text());
        p.gain->setText(QStringLiteral("Gain"));
        p.gain->setAccessibleName(QStringLiteral("Input %1 Gain").arg(i));
    }
    for (int o = 1; o <= 16; ++o) {
        OutputPanel& p = m_outputs[std::size_t(o)];
        p.name->setText(QStringLiteral("Out%1").arg(o));
        p.name->setAccessibleName(p.name->text());
        p.gain->setText(QStringLiteral("Gain"));
        p.xover->setText(QStringLiteral("XOVER"));
        p.delay->setText(QStringLiteral("Delay"));
        p.dynamics->setText(QStringLiteral("Comp/Limit"));
        p.gain->setAccessibleName(QStringLiteral("Output %1 Gain").arg(o));
        p.xover->setAccessibleName(QStringLiteral("Output %1 XOVER").arg(o));
        p.delay->setAccessibleName(QStringLiteral("Output %1 Delay").arg(o));
        p.dynamics->setAccessibleName(QStringLiteral("Output %1 Comp/Limit").arg(o));
    }
}

void MatrixOverview::rebuild()
{
    refreshTexts();
    const DeviceModel& m = m_session.store.model;
    for (int i = 1; i <= 16; ++i)
        m_inputs[std::size_t(i)].panel->setVisible(i <= m.inputs);
    for (int o = 1; o <= 16; ++o)
        m_outputs[std::size_t(o)].panel->setVisible(o <= m.outputs);
    refreshMatrix();
}

void MatrixOverview::refreshMatrix()
{
    m_matrix->update();
}
