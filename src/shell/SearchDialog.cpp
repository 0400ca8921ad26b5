#include "shell/SearchDialog.h"

#include "link/Session.h"
#include "shell/DialogPlacement.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
constexpr int kResultRows = DeviceSearch::kRows - 1; // grid rows 1..255
}

SearchDialog::SearchDialog(Session& session, DeviceSearch& search, QWidget* parent)
    : QDialog(parent), m_session(session), m_search(search)
{
    setObjectName(QStringLiteral("Form18"));
    DialogPlacement::useMinimiseAndSystemButtons(this);

    m_grid = new QTableWidget(kResultRows, 2, this);
    m_grid->setObjectName(QStringLiteral("StringGrid1"));
    m_grid->setAccessibleName(QStringLiteral("Search results"));
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(20);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setHorizontalHeaderLabels({QStringLiteral("Device Count"), QStringLiteral("ID+Message")});
    // The columns are 70 and 78 pixels unless the header texts need more in this font.
    const QFontMetrics fm(m_grid->horizontalHeader()->font());
    const int c0 = std::max(70, fm.horizontalAdvance(QStringLiteral("Device Count")) + 14);
    const int c1 = std::max({78, fm.horizontalAdvance(QStringLiteral("ID+Message")) + 18,
                             fm.horizontalAdvance(QStringLiteral("255........OK")) + 14});
    m_grid->setColumnWidth(0, c0);
    m_grid->setColumnWidth(1, c1);
    for (int r = 0; r < kResultRows; ++r) {
        for (int c = 0; c < 2; ++c) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            m_grid->setItem(r, c, item);
        }
    }
    m_grid->setFixedWidth(c0 + c1 + m_grid->verticalScrollBar()->sizeHint().width() + 2 * m_grid->frameWidth());
    m_grid->setMinimumHeight(260);

    const char* rangeNames[4] = {"RadioButton1", "RadioButton2", "RadioButton3", "RadioButton4"};
    const char* rangeTexts[4] = {"1~64", "65~128", "129~192", "193~255"};
    auto* rangeBox = new QFrame(this);
    rangeBox->setFrameShape(QFrame::StyledPanel);
    auto* rangeLayout = new QVBoxLayout(rangeBox);
    rangeLayout->setContentsMargins(12, 8, 12, 8);
    for (int i = 0; i < 4; ++i) {
        m_ranges[i] = new QRadioButton(QString::fromLatin1(rangeTexts[i]), rangeBox);
        m_ranges[i]->setObjectName(QString::fromLatin1(rangeNames[i]));
        m_ranges[i]->setAccessibleName(QString::fromLatin1(rangeTexts[i]));
        rangeLayout->addWidget(m_ranges[i]);
    }
    m_ranges[0]->setChecked(true);

    auto makeButton = [this](const char* name, const char* text) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAccessibleName(QString::fromLatin1(text));
        b->setAutoDefault(false);
        b->setMinimumWidth(100);
        return b;
    };
    m_searchButton = makeButton("Dxbutton1", "Search");
    m_stop = makeButton("dxButton3", "Stop");
    m_ok = makeButton("dxButton2", "OK");

    auto* side = new QVBoxLayout;
    side->setSpacing(8);
    side->addWidget(rangeBox);
    side->addSpacing(6);
    side->addWidget(m_searchButton);
    side->addWidget(m_stop);
    side->addStretch(1);
    side->addWidget(m_ok);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(12);
    layout->addWidget(m_grid);
    layout->addLayout(side);

    connect(m_searchButton, &QPushButton::clicked, this, [this] { runSearch(); });
    connect(m_stop, &QPushButton::clicked, this, [this] { m_search.stop(); });
    connect(m_ok, &QPushButton::clicked, this, [this] {
        m_search.ok();
        accept();
    });

    m_search.setObserver(this);
    refreshTexts();
    setFixedSize(sizeHint().width(), 320);
}

void SearchDialog::refreshTexts()
{
    setWindowTitle(QStringLiteral("Search Devices"));
}

QString SearchDialog::cellText(int row, int column) const
{
    if (row == 0)
        return m_grid->horizontalHeaderItem(column) ? m_grid->horizontalHeaderItem(column)->text() : QString();
    if (row < 1 || row > kResultRows)
        return {};
    return m_grid->item(row - 1, column)->text();
}

int SearchDialog::selectedRow() const
{
    const auto rows = m_grid->selectionModel()->selectedRows();
    return rows.isEmpty() ? 0 : rows.first().row() + 1;
}

void SearchDialog::done(int result)
{
    if (m_searching) {
        // Ends after the address being probed; runSearch() completes the closing then.
        m_closedWhileSearching = true;
        m_search.stop();
    } else {
        m_search.close();
    }
    QDialog::done(result);
}

void SearchDialog::cellChanged(int row, int column, const QString& text)
{
    if (column < 0 || column > 1)
        return;
    if (row == 0) {
        m_grid->setHorizontalHeaderItem(column, new QTableWidgetItem(text));
        return;
    }
    if (row >= 1 && row <= kResultRows)
        m_grid->item(row - 1, column)->setText(text);
}

void SearchDialog::rowSelected(int row)
{
    if (row >= 1 && row <= kResultRows) {
        m_grid->selectRow(row - 1);
        m_grid->scrollToItem(m_grid->item(row - 1, 0));
    }
}

void SearchDialog::scrolledToTop()
{
    m_grid->scrollToTop();
}

void SearchDialog::searchButtonEnabledChanged(bool enabled)
{
    m_searchButton->setEnabled(enabled);
}

void SearchDialog::stopCaptionChanged(const QString& caption)
{
    m_stop->setText(caption);
    m_stop->setAccessibleName(caption);
}

void SearchDialog::showEvent(QShowEvent* event)
{
    refreshTexts();
    m_closedWhileSearching = false;
    m_search.dialogShown();
    QDialog::showEvent(event);
    DialogPlacement::centreOnScreen(this);
}

DeviceSearch::Range SearchDialog::selectedRange() const
{
    for (int i = 0; i < 4; ++i) {
        if (m_ranges[i]->isChecked())
            return DeviceSearch::Range(i);
    }
    return DeviceSearch::Range::From1To64;
}

void SearchDialog::runSearch()
{
    if (m_searching)
        return;
    m_searching = true;
    for (auto* r : m_ranges)
        r->setEnabled(false);
    const DeviceSearch::Range range = selectedRange();
    m_session.runProcedure([this, range] { m_search.search(range); });
    m_searching = false;
    for (auto* r : m_ranges)
        r->setEnabled(true);
    m_searchButton->setEnabled(true);
    if (m_closedWhileSearching) {
        m_closedWhileSearching = false;
        m_search.close();
    }
}
