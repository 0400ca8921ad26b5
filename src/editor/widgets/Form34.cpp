#include "editor/widgets/Form34.h"

#include "editor/LoadWithoutSending.h"
#include "editor/widgets/CompLimitPage.h"
#include "editor/widgets/DelayPage.h"
#include "editor/widgets/EditorPageContent.h"
#include "editor/widgets/InputGainPage.h"
#include "editor/widgets/MatrixControlPage.h"
#include "editor/widgets/OutputGainPage.h"
#include "editor/widgets/XoverEditorParts.h"
#include "link/Session.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int kWidth = 1010;
constexpr int kHeight = 660;

const char* const kPageCaptions[6] = {"Input Gain", "Matrix Control", "XOVER", "Delay", "Output Gain", "Comp/Limit"};

// Tabs 1..count captioned prefix + number; the current tab is kept where it still exists.
void setTabCount(QTabBar* tabs, int count, const QString& prefix)
{
    const QSignalBlocker blocker(tabs);
    count = std::clamp(count, 1, 16);
    while (tabs->count() > count)
        tabs->removeTab(tabs->count() - 1);
    while (tabs->count() < count)
        tabs->addTab(QString());
    for (int i = 0; i < tabs->count(); ++i)
        tabs->setTabText(i, prefix + QString::number(i + 1));
}

bool isTabPage(int page)
{
    return page == EditorSelection::XoverPage || page == EditorSelection::CompLimitPage;
}
} // namespace

QString Form34::titleFor(int deviceModel)
{
    const DeviceModel m = DeviceModel::fromCode(deviceModel);
    return QStringLiteral("%1*%2 Way Crossover").arg(m.inputs).arg(m.outputs);
}

Form34::Form34(Session& session, QWidget* parent, DeferredSend::Clocking clocking)
    : QDialog(parent),
      m_session(session),
      m_deferred(session, clocking),
      m_edits(session, m_deferred),
      m_context{session, m_deferred, m_edits}
{
    setWindowTitle(QStringLiteral("TOLVAN Designer"));
    setAccessibleName(QStringLiteral("TOLVAN Designer"));
    setFixedSize(kWidth, kHeight);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 10);

    m_title = new QLabel(this);
    QFont big = m_title->font();
    big.setPointSizeF(big.pointSizeF() * 1.9);
    big.setBold(true);
    m_title->setFont(big);
    m_title->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_title);

    m_pages = new QTabWidget(this);
    m_pages->setAccessibleName(QStringLiteral("Editor pages"));
    m_inputPage = new InputGainPage(m_context);
    m_matrixPage = new MatrixControlPage(m_context);
    m_delayPage = new DelayPage(m_context);
    m_outputPage = new OutputGainPage(m_context);
    m_pages->addTab(m_inputPage, QString());
    m_pages->addTab(m_matrixPage, QString());
    buildTabPage(EditorSelection::XoverPage, QStringLiteral("XOVER output tabs"));
    m_pages->addTab(m_delayPage, QString());
    m_pages->addTab(m_outputPage, QString());
    buildTabPage(EditorSelection::CompLimitPage, QStringLiteral("Comp/Limit channel tabs"));
    m_tabs[EditorSelection::MatrixPage] = m_matrixPage->tabs();
    layout->addWidget(m_pages, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_ok = new QPushButton(this);
    m_cancel = new QPushButton(this);
    m_ok->setMinimumWidth(90);
    m_cancel->setMinimumWidth(90);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::close);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::close);

    connect(m_pages, &QTabWidget::currentChanged, this, &Form34::enterPage);
    connect(m_outputPage, &OutputGainPage::outputCopyRequested, this, &Form34::outputCopyRequested);

    new XoverEditorParts(*this);
    CompLimitPage::install(*this);

    setCaptions();
    applyCounts();
}

Form34::~Form34()
{
    m_session.editorOnScreen = false;
}

void Form34::buildTabPage(int page, const QString& tabsName)
{
    auto* w = new QWidget;
    w->setAccessibleName(QString::fromLatin1(kPageCaptions[page]));
    auto* v = new QVBoxLayout(w);
    v->setContentsMargins(8, 8, 8, 8);
    auto* tabs = new QTabBar(w);
    tabs->setFocusPolicy(Qt::StrongFocus);
    tabs->setExpanding(false);
    tabs->setAccessibleName(tabsName);
    v->addWidget(tabs);
    auto* container = new QWidget(w);
    auto* cl = new QVBoxLayout(container);
    cl->setContentsMargins(0, 0, 0, 0);
    v->addWidget(container, 1);
    m_tabs[std::size_t(page)] = tabs;
    m_containers[std::size_t(page)] = container;
    m_pages->addTab(w, QString());
    connect(tabs, &QTabBar::currentChanged, this, [this, page](int index) { onChannelTab(page, index); });
}

QWidget* Form34::pageContainer(int page) const
{
    return (page >= 0 && page < 6) ? m_containers[std::size_t(page)] : nullptr;
}

QTabBar* Form34::channelTabs(int page) const
{
    return (page >= 0 && page < 6) ? m_tabs[std::size_t(page)] : nullptr;
}

void Form34::setPageContent(int page, EditorPageContent* content)
{
    if (isTabPage(page))
        m_contents[std::size_t(page)] = content;
}

int Form34::shownChannel(int page) const
{
    if (page == EditorSelection::MatrixPage)
        return m_matrixPage->shownOutput();
    if (isTabPage(page))
        return m_tabs[std::size_t(page)]->currentIndex() + 1;
    return 0;
}

void Form34::selectChannelTab(int page, int index)
{
    if (page == EditorSelection::MatrixPage) {
        m_matrixPage->selectTab(index);
        emit channelSelected(page, m_matrixPage->shownOutput());
        return;
    }
    if (!isTabPage(page))
        return;
    QTabBar* tabs = m_tabs[std::size_t(page)];
    index = std::clamp(index, 0, tabs->count() - 1);
    {
        const QSignalBlocker blocker(tabs);
        tabs->setCurrentIndex(index);
    }
    onChannelTab(page, index);
}

void Form34::onChannelTab(int page, int index)
{
    if (index < 0)
        return;
    QTabBar* tabs = m_tabs[std::size_t(page)];
    if (tabs->focusPolicy() != Qt::NoFocus && tabs->isVisible())
        tabs->setFocus(Qt::TabFocusReason);
    m_session.store.params.rememberedTab = std::uint8_t(index);
    loadTabChannel(page, std::min(index, 15) + 1);
    emit channelSelected(page, index + 1);
}

void Form34::loadTabChannel(int page, int channel)
{
    // Marks still pending belong to the channel shown so far: send them before the switch.
    m_deferred.sendPendingNow();
    EditorSelection& sel = m_deferred.selection();
    if (page == EditorSelection::XoverPage)
        sel.peqOutput = channel;
    else
        sel.dynamicsChannel = channel;
    m_session.command.Channel = std::uint8_t(channel);
    if (EditorPageContent* content = m_contents[std::size_t(page)]) {
        content->loadChannel(channel);
    } else {
        LoadWithoutSending scope(m_session, m_deferred);
    }
}

void Form34::setCaptions()
{
    m_ok->setText(QStringLiteral("OK"));
    m_ok->setAccessibleName(QStringLiteral("OK"));
    m_cancel->setText(QStringLiteral("Cancel"));
    m_cancel->setAccessibleName(QStringLiteral("Cancel"));
    for (int p = 0; p < 6; ++p)
        m_pages->setTabText(p, QString::fromLatin1(kPageCaptions[p]));
    m_inputPage->setCaptions();
    m_matrixPage->setCaptions();
    m_delayPage->setCaptions();
    m_outputPage->setCaptions();
    setTabCount(m_tabs[EditorSelection::XoverPage], m_tabs[EditorSelection::XoverPage]->count(), QStringLiteral("CH "));
    setTabCount(m_tabs[EditorSelection::CompLimitPage], m_tabs[EditorSelection::CompLimitPage]->count(),
                QStringLiteral("CH"));
    for (EditorPageContent* c : m_contents)
        if (c)
            c->setCaptions();
}

void Form34::applyCounts()
{
    const DeviceModel& m = m_session.store.model;
    m_inputPage->setVisibleCount(m.inputs);
    m_matrixPage->setCounts(m.inputs, m.outputs);
    m_delayPage->setVisibleCount(m.outputs);
    m_outputPage->setVisibleCount(m.outputs);
    setTabCount(m_tabs[EditorSelection::XoverPage], m.outputs, QStringLiteral("CH "));
    setTabCount(m_tabs[EditorSelection::CompLimitPage], m.outputs, QStringLiteral("CH"));
    for (EditorPageContent* c : m_contents)
        if (c)
            c->setCounts(m.inputs, m.outputs);
}

void Form34::openAt(int page, int tab)
{
    MatrixParameters& p = m_session.store.params;
    p.rememberedPage = std::uint8_t(std::clamp(page, 0, 5));
    p.rememberedTab = std::uint8_t(std::clamp(tab, 0, 15));
    if (isVisible()) {
        showSequence();
        return;
    }
    open();
}

void Form34::revealHoldRow()
{
    if (!isVisible() || m_holdRowRevealed)
        return;
    m_holdRowRevealed = true;
    emit holdRowRevealRequested();
}

void Form34::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (!parentWidget()) {
        if (QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
    showSequence();
}

void Form34::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        m_session.editorOnScreen = false;
}

void Form34::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    // Regaining the focus ends the marks: what is still marked goes out once now, nothing is lost.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isVisible() && !m_showing)
        m_deferred.sendPendingNow();
}

void Form34::keyPressEvent(QKeyEvent* event)
{
    // Enter ends a typed value and nothing else: the editor has no default button to press.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    // The hold-row key, as a plain key press rather than a shortcut: a shortcut the main window
    // registers for the same key on this window takes precedence and there is no ambiguity.
    const auto mods = event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
    if (event->key() == Qt::Key_L && mods == (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier)) {
        revealHoldRow();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Form34::showSequence()
{
    m_showing = true;
    {
        LoadWithoutSending scope(m_session, m_deferred);
        m_deferred.resetReplyWatch();
        m_session.editorOnScreen = true;
        setCaptions();
        applyCounts();
        m_delayPage->load();
        m_inputPage->load();
        m_outputPage->load();
        m_title->setText(titleFor(m_session.store.model.code));
        m_title->setAccessibleName(m_title->text());

        const int page = std::clamp(int(m_session.store.params.rememberedPage), 0, 5);
        {
            const QSignalBlocker blocker(m_pages);
            m_pages->setCurrentIndex(page);
        }
        enterPage(page);
        m_delayPage->refreshUnits();
    }
    m_showing = false;
}

void Form34::enterPage(int index)
{
    m_deferred.selection().pageShown = index;
    const int tab = m_session.store.params.rememberedTab;
    switch (index) {
    case EditorSelection::InputGainPage:
        m_inputPage->repaintWhite();
        break;
    case EditorSelection::MatrixPage:
        m_matrixPage->selectTab(tab);
        break;
    case EditorSelection::XoverPage:
    case EditorSelection::CompLimitPage:
        selectChannelTab(index, tab);
        break;
    case EditorSelection::OutputGainPage:
        m_outputPage->load();
        break;
    default:
        break;
    }
}
