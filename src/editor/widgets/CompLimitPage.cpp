#include "editor/widgets/CompLimitPage.h"

#include "editor/DeferredSend.h"
#include "editor/DynamicsEntry.h"
#include "editor/EditorSelection.h"
#include "editor/LoadWithoutSending.h"
#include "editor/MatrixEdits.h"
#include "editor/widgets/ArrowPair.h"
#include "editor/widgets/DynamicsValueBox.h"
#include "editor/widgets/FocusRule.h"
#include "editor/widgets/Form34.h"
#include "link/Session.h"
#include "model/MatrixTables.h"
#include "model/MatrixTexts.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

using F = DynamicsBlock::Field;

enum class Kind { Number, Text, List };

// One row of the page: what its value control is, its code range and its names. The numeric
// boxes carry their unit, decimals and range; the rules of each field are in the functions below.
struct RowSpec {
    int field;
    Kind kind;
    int maxCode;
    const char* caption;
    const char* purpose;     // accessible names: the purpose, then " up" / " down" for the arrows
    const char* controlName; // object names as the unit's documentation calls the controls
    const char* arrowsName;
    int decimals;
    const char* suffix;
    double minimum;
    double maximum;
};

constexpr RowSpec kRowSpecs[] = {
    {F::CompressorAttack, Kind::Number, 127, "Attack", "Compressor attack", "COM_Attack", "UpDown8", 2, "ms", 0, 100},
    {F::CompressorRelease, Kind::Number, 127, "Release", "Compressor release", "COM_Release", "UpDown9", 0, "ms", 0, 5000},
    {F::CompressorThreshold, Kind::Text, 29, "Threshold", "Compressor threshold", "Com_threshold", "UpDown10", 0, "", 0, 0},
    {F::CompressorRatio, Kind::Number, 127, "Ratio", "Compressor ratio", "COM_Ratio", "UpDown11", 0, ":128", 1, 128},
    {F::CompressorBoost, Kind::List, 3, "Boost", "Compressor boost", "com_boost", "UpDown12", 0, "", 0, 0},
    {F::LimiterAttack, Kind::Number, 127, "Attack", "Limiter attack", "LIM_Attack", "UpDown1", 1, "us", 20, 3000},
    {F::LimiterRelease, Kind::Number, 127, "Release", "Limiter release", "LIM_Release", "UpDown2", 0, "ms", 0, 5000},
    {F::LimiterThreshold, Kind::Text, 127, "Threshold", "Limiter threshold", "LIM_threshold", "UpDown3", 0, "", 0, 0},
    {F::LimiterHold, Kind::List, 8, "Hold", "Limiter hold", "Lim_hold", "UpDown4", 0, "", 0, 0},
    {F::GateAttack, Kind::Number, 127, "Attack", "Noise gate attack", "NOI_Attack", "UpDown5", 2, "ms", 0, 100},
    {F::GateRelease, Kind::Number, 127, "Release", "Noise gate release", "NOI_Release", "UpDown6", 0, "ms", 0, 5000},
    {F::GateThreshold, Kind::List, 28, "Threshold", "Noise gate threshold", "NOI_THRESHOLD", "UpDown7", 0, "", 0, 0},
};

const RowSpec* specOf(int field)
{
    for (const RowSpec& s : kRowSpecs)
        if (s.field == field)
            return &s;
    return nullptr;
}

const char* const kGroupCaptions[3] = {"Compressor", "Limit", "Noise Gate"};
constexpr int kCaptionWidth = 70;
constexpr int kControlWidth = 112;
constexpr int kLineHeight = 36;

// What a numeric box shows for a code.
double numberOf(int field, int code)
{
    switch (field) {
    case F::CompressorAttack:
    case F::GateAttack:
        return AttackAt(code) / 100.0;
    case F::LimiterAttack:
        return LimiterAttackAt(code) / 10.0;
    case F::CompressorRelease:
    case F::LimiterRelease:
    case F::GateRelease:
        return ReleaseMsAt(code);
    case F::CompressorRatio:
        return std::clamp(code, 0, 127) + 1;
    default:
        return 0;
    }
}

// The code of a number typed into a box.
int codeOfNumber(int field, double value)
{
    switch (field) {
    case F::CompressorAttack:
    case F::GateAttack:
        return AttackCodeFromMs(value);
    case F::LimiterAttack:
        return LimiterAttackCodeFromUs(value);
    case F::CompressorRelease:
    case F::LimiterRelease:
    case F::GateRelease:
        return ReleaseCodeFromMs(value);
    case F::CompressorRatio:
        return RatioCodeFromEntry(value);
    default:
        return 0;
    }
}

QString textOf(int field, int code)
{
    return field == F::CompressorThreshold ? CompressorThresholdText(code) : LimiterThresholdText(code);
}

int codeOfText(int field, const QString& text)
{
    return field == F::CompressorThreshold ? CompressorThresholdCodeFromText(text)
                                           : LimiterThresholdCodeFromText(text);
}

QStringList listItems(int field)
{
    QStringList items;
    auto add = [&items](const auto& names) {
        for (const char* n : names)
            items << QString::fromLatin1(n);
    };
    switch (field) {
    case F::CompressorBoost:
        add(CompressorBoostTexts);
        break;
    case F::LimiterHold:
        add(LimiterHoldTexts);
        break;
    case F::GateThreshold:
        add(GateThresholdTexts);
        break;
    default:
        break;
    }
    return items;
}

// The LED switch "OFF": lit (red) while its block is out of circuit.
QPushButton* makeSwitch(QWidget* parent)
{
    auto* b = new QPushButton(QStringLiteral("OFF"), parent);
    b->setCheckable(true);
    b->setFocusPolicy(Qt::StrongFocus);
    b->setFixedWidth(kControlWidth);
    b->setStyleSheet(QStringLiteral("QPushButton:checked { background-color: #d81e1e; color: white; "
                                    "border: 1px solid #801010; border-radius: 3px; padding: 3px; }"));
    return b;
}

} // namespace

CompLimitPage* CompLimitPage::install(Form34& form)
{
    QWidget* container = form.pageContainer(EditorSelection::CompLimitPage);
    auto* page = new CompLimitPage(form.context(), container);
    if (container && container->layout())
        container->layout()->addWidget(page);
    form.setPageContent(EditorSelection::CompLimitPage, page);
    connect(&form, &Form34::holdRowRevealRequested, page, &CompLimitPage::revealHoldRow);
    if (form.holdRowRevealed())
        page->revealHoldRow();
    return page;
}

CompLimitPage::CompLimitPage(EditorContext& context, QWidget* parent) : QWidget(parent), m_context(context)
{
    setAccessibleName(QStringLiteral("Comp/Limit"));
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(6, 10, 6, 6);
    outer->setSpacing(14);

    for (int g = 0; g < 3; ++g) {
        auto* box = new QGroupBox(this);
        QFont bold = box->font();
        bold.setBold(true);
        box->setFont(bold);
        m_groups[std::size_t(g)] = box;
        auto* v = new QVBoxLayout(box);
        v->setContentsMargins(14, 14, 14, 14);
        v->setSpacing(4);
        outer->addWidget(box, 1, Qt::AlignTop);
    }

    auto layoutOf = [this](int g) { return static_cast<QVBoxLayout*>(m_groups[std::size_t(g)]->layout()); };

    layoutOf(0)->addWidget(buildSwitchLine(m_compressorSwitch, QStringLiteral("COM_SW"), m_groups[0]));
    layoutOf(1)->addWidget(buildSwitchLine(m_limiterSwitch, QStringLiteral("LIM_SW"), m_groups[1]));
    // The noise gate has no switch: a blank line keeps its rows level with the other groups.
    layoutOf(2)->addSpacing(kLineHeight + layoutOf(2)->spacing());

    for (const RowSpec& s : kRowSpecs) {
        const int g = s.field <= F::CompressorBoost ? 0 : (s.field <= F::LimiterHold ? 1 : 2);
        buildRow(s.field, m_groups[std::size_t(g)]);
        layoutOf(g)->addWidget(m_rows[std::size_t(s.field)].line);
    }
    for (int g = 0; g < 3; ++g)
        layoutOf(g)->addStretch(1);

    m_compressorSwitch->setAccessibleName(QStringLiteral("Compressor switch"));
    m_limiterSwitch->setAccessibleName(QStringLiteral("Limiter switch"));
    connect(m_compressorSwitch, &QPushButton::clicked, this,
            [this](bool lit) { onSwitchClicked(F::CompressorSwitch, lit); });
    connect(m_limiterSwitch, &QPushButton::clicked, this, [this](bool lit) { onSwitchClicked(F::LimiterSwitch, lit); });

    // Hidden until the operator asks for it with Ctrl+Shift+Alt+L.
    m_rows[F::LimiterHold].line->setVisible(false);
    setCaptions();
}

QWidget* CompLimitPage::buildSwitchLine(QPushButton*& button, const QString& objectName, QWidget* parent)
{
    auto* line = new QWidget(parent);
    line->setFixedHeight(kLineHeight);
    auto* h = new QHBoxLayout(line);
    h->setContentsMargins(0, 0, 0, 0);
    h->addSpacing(kCaptionWidth + h->spacing());
    button = makeSwitch(line);
    button->setObjectName(objectName);
    QFont normal = button->font();
    normal.setBold(false);
    button->setFont(normal);
    h->addWidget(button);
    h->addStretch(1);
    return line;
}

void CompLimitPage::buildRow(int field, QWidget* parent)
{
    const RowSpec& s = *specOf(field);
    Row& r = m_rows[std::size_t(field)];
    r.line = new QWidget(parent);
    r.line->setFixedHeight(kLineHeight);
    QFont normal = r.line->font();
    normal.setBold(false);
    r.line->setFont(normal);
    auto* h = new QHBoxLayout(r.line);
    h->setContentsMargins(0, 0, 0, 0);

    r.caption = new QLabel(r.line);
    r.caption->setFixedWidth(kCaptionWidth);
    h->addWidget(r.caption);

    QWidget* control = nullptr;
    switch (s.kind) {
    case Kind::Number:
        r.box = new DynamicsValueBox(r.line);
        r.box->setDecimals(s.decimals);
        r.box->setSuffix(QString::fromLatin1(s.suffix));
        r.box->setRange(s.minimum, s.maximum);
        connect(r.box, &ValueBox::valueEntered, this, [this, field](double v) { onValueEntered(field, v); });
        connect(r.box, &DynamicsValueBox::stepRequested, this,
                [this, field](int steps) { m_rows[std::size_t(field)].arrows->step(steps); });
        control = r.box;
        break;
    case Kind::Text:
        r.text = new QLineEdit(r.line);
        r.text->setAlignment(Qt::AlignCenter);
        r.text->setMaxLength(32);
        connect(r.text, &QLineEdit::returnPressed, this, [this, field] { onTextEntered(field); });
        connect(r.text, &QLineEdit::editingFinished, this, [this, field] { onTextEditingFinished(field); });
        control = r.text;
        break;
    case Kind::List:
        r.list = new QComboBox(r.line);
        r.list->addItems(listItems(field));
        r.list->setMaxVisibleItems(12);
        connect(r.list, &QComboBox::activated, this, [this, field](int index) { onListChosen(field, index); });
        control = r.list;
        break;
    }
    control->setObjectName(QString::fromLatin1(s.controlName));
    control->setFixedWidth(kControlWidth);
    h->addWidget(control);

    r.arrows = new ArrowPair(0, s.maxCode, r.line);
    r.arrows->setObjectName(QString::fromLatin1(s.arrowsName));
    r.arrows->setPurpose(QString::fromLatin1(s.purpose));
    connect(r.arrows, &ArrowPair::clicked, this, [this, field](int p) { onArrowClicked(field, p); });
    h->addWidget(r.arrows);
    h->addStretch(1);

    control->setAccessibleName(QString::fromLatin1(s.purpose));
    showCode(field, 0);
}

void CompLimitPage::setCaptions()
{
    for (int g = 0; g < 3; ++g) {
        m_groups[std::size_t(g)]->setTitle(QString::fromLatin1(kGroupCaptions[g]));
        m_groups[std::size_t(g)]->setAccessibleName(m_groups[std::size_t(g)]->title());
    }
    m_compressorSwitch->setText(QStringLiteral("OFF"));
    m_limiterSwitch->setText(QStringLiteral("OFF"));
    for (const RowSpec& s : kRowSpecs) {
        QLabel* c = m_rows[std::size_t(s.field)].caption;
        c->setText(QString::fromLatin1(s.caption));
        c->setAccessibleName(c->text());
    }
}

ArrowPair* CompLimitPage::arrows(int field) const
{
    return field >= 0 && field < kRows ? m_rows[std::size_t(field)].arrows : nullptr;
}

DynamicsValueBox* CompLimitPage::valueBox(int field) const
{
    return field >= 0 && field < kRows ? m_rows[std::size_t(field)].box : nullptr;
}

QLineEdit* CompLimitPage::thresholdText(int field) const
{
    return field >= 0 && field < kRows ? m_rows[std::size_t(field)].text : nullptr;
}

QComboBox* CompLimitPage::list(int field) const
{
    return field >= 0 && field < kRows ? m_rows[std::size_t(field)].list : nullptr;
}

QLabel* CompLimitPage::caption(int field) const
{
    return field >= 0 && field < kRows ? m_rows[std::size_t(field)].caption : nullptr;
}

void CompLimitPage::revealHoldRow()
{
    m_holdShown = true;
    m_rows[F::LimiterHold].line->setVisible(true);
}

int CompLimitPage::shownChannel() const
{
    return std::clamp(m_context.deferred.selection().dynamicsChannel, 1, 16);
}

bool CompLimitPage::editorOnScreen() const
{
    return m_context.session.editorOnScreen;
}

bool CompLimitPage::rowLocked(int field) const
{
    return field == F::LimiterHold && !m_holdShown;
}

void CompLimitPage::LoadDynamicsPage(int channel)
{
    channel = std::clamp(channel, 1, 16);
    LoadWithoutSending scope(m_context.session, m_context.deferred);
    m_context.deferred.selection().dynamicsChannel = channel;
    m_context.session.command.Channel = std::uint8_t(channel);
    if (!editorOnScreen())
        return;

    const DynamicsBlock& block = m_context.session.store.params.dynamics[std::size_t(channel)];
    for (auto [button, field] : {std::pair{m_compressorSwitch, int(F::CompressorSwitch)},
                                 std::pair{m_limiterSwitch, int(F::LimiterSwitch)}}) {
        const QSignalBlocker blocker(button);
        button->setChecked(IsDynamicsSwitchLit(block[field]));
    }
    for (const RowSpec& s : kRowSpecs) {
        Row& r = m_rows[std::size_t(s.field)];
        r.arrows->setPosition(block[s.field]);
        // A code beyond the row's range (from a file or a unit) is shown as its nearest value,
        // or as an empty list choice; the stored byte is left as it is.
        showCode(s.field, block[s.field]);
    }
}

void CompLimitPage::showCode(int field, int code)
{
    Row& r = m_rows[std::size_t(field)];
    if (r.box) {
        r.box->showValue(numberOf(field, code));
    } else if (r.text) {
        r.text->setText(textOf(field, code));
        r.text->setCursorPosition(0);
    } else if (r.list) {
        const QSignalBlocker blocker(r.list);
        r.list->setCurrentIndex(code >= 0 && code < r.list->count() ? code : -1);
    }
}

void CompLimitPage::store(int field, int code)
{
    if (rowLocked(field))
        return;
    m_context.edits.dynamicsByte(shownChannel(), field, std::uint8_t(code));
}

void CompLimitPage::onArrowClicked(int field, int position)
{
    if (rowLocked(field)) {
        // The hidden hold row changes nothing, its arrows included: they stay on the stored code.
        const DynamicsBlock& block = m_context.session.store.params.dynamics[std::size_t(shownChannel())];
        m_rows[std::size_t(field)].arrows->setPosition(block[field]);
        return;
    }
    // The hold list follows its arrows only together with the store.
    if (field != F::LimiterHold)
        showCode(field, position);
    if (!editorOnScreen())
        return;
    if (field == F::LimiterHold)
        showCode(field, position);
    store(field, position);
}

void CompLimitPage::onValueEntered(int field, double value)
{
    Row& r = m_rows[std::size_t(field)];
    if (std::isnan(value)) {
        showCode(field, r.arrows->position());
        return;
    }
    const int code = codeOfNumber(field, value);
    showCode(field, code);
    if (!r.box->ownsFocus())
        return;
    r.arrows->setPosition(code);
    store(field, code);
}

void CompLimitPage::onTextEntered(int field)
{
    Row& r = m_rows[std::size_t(field)];
    const int code = codeOfText(field, r.text->text());
    if (FocusRule::allows(r.text)) {
        r.arrows->setPosition(code);
        store(field, code);
    }
    showCode(field, code);
}

void CompLimitPage::onTextEditingFinished(int field)
{
    // Text left without Enter is not taken: show again what the row holds, so the box never
    // shows a threshold that is not in effect.
    Row& r = m_rows[std::size_t(field)];
    if (!r.text->hasFocus())
        showCode(field, r.arrows->position());
}

void CompLimitPage::onListChosen(int field, int index)
{
    Row& r = m_rows[std::size_t(field)];
    if (rowLocked(field)) {
        showCode(field, r.arrows->position());
        return;
    }
    if (index < 0 || !FocusRule::allows(r.list))
        return;
    // The arrows follow the list, so that their next click steps from the chosen item.
    r.arrows->setPosition(index);
    store(field, index);
}

void CompLimitPage::onSwitchClicked(int field, bool lit)
{
    if (!editorOnScreen())
        return;
    m_context.edits.dynamicsByte(shownChannel(), field, DynamicsSwitchByte(lit));
}
