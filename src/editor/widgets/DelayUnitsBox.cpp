#include "editor/widgets/DelayUnitsBox.h"

#include <QRadioButton>
#include <QVBoxLayout>

DelayUnitsBox::DelayUnitsBox(QWidget* parent) : QGroupBox(parent)
{
    auto* layout = new QVBoxLayout(this);
    for (int u = 0; u < 3; ++u) {
        m_buttons[u] = new QRadioButton(this);
        layout->addWidget(m_buttons[u]);
        connect(m_buttons[u], &QRadioButton::toggled, this, [this, u](bool on) {
            if (!on || m_unit == Unit(u))
                return;
            m_unit = Unit(u);
            emit unitChanged(m_unit);
        });
    }
    m_buttons[Millisecond]->setChecked(true);
    setCaptions();
}

void DelayUnitsBox::setCaptions()
{
    setTitle(QStringLiteral("Units"));
    setAccessibleName(QStringLiteral("Units"));
    const char* names[3] = {"Millisecond", "Metres", "Feet"};
    for (int u = 0; u < 3; ++u) {
        m_buttons[u]->setText(QString::fromLatin1(names[u]));
        m_buttons[u]->setAccessibleName(QString::fromLatin1(names[u]));
    }
}
