#include "editor/widgets/ArrowPair.h"

#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
QToolButton* makeArrow(Qt::ArrowType type, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setArrowType(type);
    b->setAutoRepeat(true);
    b->setAutoRepeatDelay(400);
    b->setAutoRepeatInterval(80);
    b->setFocusPolicy(Qt::TabFocus);
    b->setFixedSize(22, 14);
    b->setIconSize(QSize(8, 8));
    return b;
}
} // namespace

ArrowPair::ArrowPair(int minimum, int maximum, QWidget* parent)
    : QWidget(parent), m_minimum(minimum), m_maximum(std::max(minimum, maximum)), m_position(minimum)
{
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    m_up = makeArrow(Qt::UpArrow, this);
    m_down = makeArrow(Qt::DownArrow, this);
    v->addWidget(m_up);
    v->addWidget(m_down);
    setFixedSize(22, 28);
    connect(m_up, &QToolButton::clicked, this, [this] { step(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { step(-1); });
}

void ArrowPair::setPosition(int position)
{
    m_position = std::clamp(position, m_minimum, m_maximum);
}

void ArrowPair::step(int steps)
{
    const long long target = std::clamp<long long>(static_cast<long long>(m_position) + steps, m_minimum, m_maximum);
    if (int(target) == m_position)
        return;
    m_position = int(target);
    emit clicked(m_position);
}

void ArrowPair::setPurpose(const QString& purpose)
{
    setAccessibleName(purpose + QStringLiteral(" arrows"));
    m_up->setAccessibleName(purpose + QStringLiteral(" up"));
    m_down->setAccessibleName(purpose + QStringLiteral(" down"));
}
