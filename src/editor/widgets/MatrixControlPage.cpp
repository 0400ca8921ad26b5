#include "editor/widgets/MatrixControlPage.h"

#include "editor/DeferredSend.h"
#include "editor/LoadWithoutSending.h"
#include "editor/MatrixEdits.h"
#include "link/Session.h"

#include <QLabel>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>

#include <algorithm>

MatrixControlPage::MatrixControlPage(EditorContext& context, QWidget* parent)
    : GainStripsPage(context, ChannelStrip::Kind::Gain, parent)
{
    setAccessibleName(QStringLiteral("Matrix Control"));
    m_tabs = new QTabBar(this);
    m_tabs->setFocusPolicy(Qt::StrongFocus);
    m_tabs->setExpanding(false);
    m_tabs->setAccessibleName(QStringLiteral("Matrix output tabs"));
    for (int o = 1; o <= 16; ++o)
        m_tabs->addTab(QString());
    m_outputName = new QLabel(this);
    m_outputName->setAlignment(Qt::AlignCenter);
    QFont f = m_outputName->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.3);
    m_outputName->setFont(f);
    pageLayout()->insertWidget(0, m_tabs);
    pageLayout()->insertWidget(1, m_outputName);
    connect(m_tabs, &QTabBar::currentChanged, this, &MatrixControlPage::onTabSelected);
    setCaptions();
}

void MatrixControlPage::setCaptions()
{
    for (int o = 1; o <= m_tabs->count(); ++o)
        m_tabs->setTabText(o - 1, QStringLiteral("CH %1").arg(o));
    for (int i = 1; i <= 16; ++i)
        strip(i)->setName(QStringLiteral("In%1").arg(i));
    m_outputName->setText(QStringLiteral("CH %1").arg(m_shownOutput));
    m_outputName->setAccessibleName(m_outputName->text());
    for (int i = 1; i <= 16; ++i)
        strip(i)->setPurpose(QStringLiteral("Input %1 to output %2").arg(i).arg(m_shownOutput));
}

void MatrixControlPage::setCounts(int inputs, int outputs)
{
    setVisibleCount(inputs);
    const QSignalBlocker blocker(m_tabs);
    outputs = std::clamp(outputs, 1, 16);
    while (m_tabs->count() > outputs)
        m_tabs->removeTab(m_tabs->count() - 1);
    while (m_tabs->count() < outputs)
        m_tabs->addTab(QStringLiteral("CH %1").arg(m_tabs->count() + 1));
}

void MatrixControlPage::selectTab(int index)
{
    index = std::clamp(index, 0, m_tabs->count() - 1);
    {
        const QSignalBlocker blocker(m_tabs);
        m_tabs->setCurrentIndex(index);
    }
    onTabSelected(index);
}

void MatrixControlPage::onTabSelected(int index)
{
    if (index < 0)
        return;
    if (m_tabs->focusPolicy() != Qt::NoFocus && m_tabs->isVisible())
        m_tabs->setFocus(Qt::TabFocusReason);
    m_context.session.store.params.rememberedTab = std::uint8_t(index);
    loadOutput(std::min(index, 15) + 1);
}

void MatrixControlPage::loadOutput(int output)
{
    // The scope sends what is still marked for the output shown so far before the new one shows.
    LoadWithoutSending scope(m_context.session, m_context.deferred);
    m_shownOutput = output;
    m_context.deferred.selection().matrixOutput = output;
    m_context.session.command.Channel = std::uint8_t(output);
    m_outputName->setText(QStringLiteral("CH %1").arg(output));
    m_outputName->setAccessibleName(m_outputName->text());
    const MatrixParameters& p = m_context.session.store.params;
    for (int i = 1; i <= 16; ++i) {
        strip(i)->setPurpose(QStringLiteral("Input %1 to output %2").arg(i).arg(output));
        strip(i)->load(p.crosspoint[std::size_t(output)][std::size_t(i)]);
    }
    repaintWhite();
}

void MatrixControlPage::commit(int channel, ChannelStrip& strip, Cause)
{
    m_context.edits.crosspoint(m_shownOutput, channel, strip.word(), strip.ownsFocus());
}
