#include "programs/widgets/MemoryWindow.h"

#include "link/Session.h"
#include "programs/widgets/ProgramNameDialog.h"
#include "programs/widgets/QtOperatorPrompts.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
constexpr const char* kCaptions[MemoryWindow::kButtonCount] = {
    "Refresh", "Upload", "File Down", "Setup Down", "Delete", "Delete All", "Save", "OK",
};
constexpr int kVisibleRows = 12;
constexpr std::uint8_t kLockLimit = 127;
} // namespace

MemoryWindow::MemoryWindow(Session& session, ProgramMemory& memory, QWidget* parent, OperatorPrompts* prompts)
    : QDialog(parent), m_session(session)
{
    setObjectName(QStringLiteral("Form38"));
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    if (!prompts) {
        m_ownPrompts = std::make_unique<QtOperatorPrompts>(this);
        prompts = m_ownPrompts.get();
    }

    m_list = new QTableWidget(MemoryOperations::kPrograms, 2, this);
    m_list->setObjectName(QStringLiteral("StringGrid1"));
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->horizontalHeader()->setHighlightSections(false);
    m_list->setColumnWidth(0, 90);
    m_list->setColumnWidth(1, 123);
    m_list->setWordWrap(false);
    for (int r = 0; r < MemoryOperations::kPrograms; ++r) {
        m_list->setItem(r, 0, new QTableWidgetItem(QString::number(r + 1)));
        m_list->setItem(r, 1, new QTableWidgetItem(QString()));
    }
    const int rowHeight = m_list->fontMetrics().height() + 8;
    m_list->verticalHeader()->setMinimumSectionSize(rowHeight);
    m_list->verticalHeader()->setDefaultSectionSize(rowHeight);
    m_list->setFixedSize(90 + 123 + m_list->verticalScrollBar()->sizeHint().width() + 2 * m_list->frameWidth(),
                         m_list->horizontalHeader()->sizeHint().height() + kVisibleRows * rowHeight +
                             2 * m_list->frameWidth());
    m_list->setCurrentCell(0, 0);

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(6);
    for (int b = 0; b < kButtonCount; ++b) {
        auto* button = new QPushButton(this);
        button->setObjectName(QStringLiteral("Button%1").arg(b + 1));
        button->setAutoDefault(false);
        button->setMinimumWidth(96);
        m_buttons[std::size_t(b)] = button;
        if (b == Ok)
            buttons->addStretch(1);
        buttons->addWidget(button);
        const Button which = Button(b);
        connect(button, &QPushButton::clicked, this, [this, which] { onButton(which); });
    }

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_nameDialog = new ProgramNameDialog(this);
    m_operations = std::make_unique<MemoryOperations>(session, memory, *this, *prompts);

    refreshTexts();
    m_session.addObserver(this);
}

MemoryWindow::~MemoryWindow()
{
    m_session.removeObserver(this);
}

bool MemoryWindow::mayOpen() const
{
    return m_session.link.LinkConnected == kSet && m_session.link.LockState < kLockLimit &&
           !m_session.procedureRunning();
}

bool MemoryWindow::showIfAllowed()
{
    if (!mayOpen() || isVisible())
        return false;
    exec();
    return true;
}

void MemoryWindow::refreshTexts()
{
    setWindowTitle(QStringLiteral("Memory precinct"));
    for (int b = 0; b < kButtonCount; ++b) {
        const QString caption = QString::fromLatin1(kCaptions[b]);
        m_buttons[std::size_t(b)]->setText(caption);
        m_buttons[std::size_t(b)]->setAccessibleName(caption);
    }
    m_list->setHorizontalHeaderLabels({QStringLiteral("Program"), QStringLiteral("Name")});
    m_list->setAccessibleName(QStringLiteral("Program list"));
    m_nameDialog->refreshTexts();
}

void MemoryWindow::programListCleared()
{
    m_operations->resetAllRows();
}

bool MemoryWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        activate();
    return QDialog::event(event);
}

void MemoryWindow::activate()
{
    refreshTexts();
    // An operation that is still running (its question or the name dialog just closed) keeps
    // the buttons disabled until it ends.
    if (!m_operations->busy())
        setOperationsEnabled(true);
}

void MemoryWindow::onButton(Button which)
{
    switch (which) {
    case Refresh:
        m_operations->run(MemoryOperations::Operation::Refresh);
        break;
    case Upload:
        m_operations->run(MemoryOperations::Operation::Upload);
        break;
    case FileDown:
        m_operations->run(MemoryOperations::Operation::FileDown);
        break;
    case SetupDown:
        m_operations->run(MemoryOperations::Operation::SetupDown);
        break;
    case Delete:
        m_operations->run(MemoryOperations::Operation::Delete);
        break;
    case DeleteAll:
        m_operations->run(MemoryOperations::Operation::DeleteAll);
        break;
    case Save:
        m_operations->run(MemoryOperations::Operation::Save);
        break;
    case Ok:
        m_operations->ok();
        break;
    case kButtonCount:
        break;
    }
}

void MemoryWindow::showRow(int program, const QString& number, const QString& name)
{
    if (program < 1 || program > MemoryOperations::kPrograms)
        return;
    m_list->item(program - 1, 0)->setText(number);
    m_list->item(program - 1, 1)->setText(name);
}

void MemoryWindow::selectRow(int program)
{
    if (program >= 1 && program <= MemoryOperations::kPrograms)
        m_list->setCurrentCell(program - 1, 0);
}

int MemoryWindow::selectedProgram() const
{
    const int row = m_list->currentRow();
    return row < 0 ? 1 : row + 1;
}

void MemoryWindow::setOperationsEnabled(bool enabled)
{
    for (int b = 0; b < kButtonCount; ++b)
        if (b != Ok)
            m_buttons[std::size_t(b)]->setEnabled(enabled);
    m_list->setEnabled(enabled);
}

void MemoryWindow::setNameText(const QString& text)
{
    m_nameDialog->setText(text);
}

QString MemoryWindow::nameText() const
{
    return m_nameDialog->text();
}

bool MemoryWindow::runNameDialog()
{
    // Over this window, or over the main window while this one is closed (DownloadToProgram).
    QWidget* anchor = isVisible() ? static_cast<QWidget*>(this) : parentWidget() ? parentWidget()->window() : nullptr;
    if (anchor && anchor->isVisible()) {
        m_nameDialog->adjustSize();
        m_nameDialog->move(anchor->frameGeometry().center() - m_nameDialog->rect().center());
    }
    m_nameDialog->setResultFlag(0);
    m_nameDialog->exec();
    return m_nameDialog->resultFlag() == ProgramNameDialog::kResultOk;
}

void MemoryWindow::closeWindow()
{
    if (isVisible())
        accept();
}

void MemoryWindow::settingsReplaced()
{
    emit parametersReplaced();
}
