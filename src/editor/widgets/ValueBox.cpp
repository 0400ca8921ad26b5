#include "editor/widgets/ValueBox.h"

#include <cmath>

#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QSignalBlocker>

#include <algorithm>

ValueBox::ValueBox(QWidget* parent) : QDoubleSpinBox(parent)
{
    setLocale(QLocale::c());
    setButtonSymbols(QAbstractSpinBox::NoButtons);
    setKeyboardTracking(false);
    setAlignment(Qt::AlignCenter);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { m_edited = true; });
}

std::optional<double> ValueBox::parseTyped(const QString& text, const QString& suffix)
{
    QString t = text.trimmed();
    if (!suffix.isEmpty() && t.endsWith(suffix, Qt::CaseInsensitive))
        t.chop(suffix.size());
    t = t.trimmed();
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    // "inf", "nan" and absurd magnitudes are no value an operator means; callers scale and round
    // the result into integer codes, which must stay defined.
    if (!ok || !std::isfinite(v) || std::fabs(v) > 1e9)
        return std::nullopt;
    return v;
}

void ValueBox::showValue(double value)
{
    const QSignalBlocker blocker(this);
    setValue(value);
    m_edited = false;
}

void ValueBox::stepBy(int steps)
{
    m_edited = false;
    const double v = std::clamp(value() + steps * singleStep(), minimum(), maximum());
    emit valueEntered(v);
}

void ValueBox::commitTyped()
{
    if (!m_edited)
        return;
    m_edited = false;
    const auto v = parseTyped(lineEdit()->text(), suffix());
    if (v)
        emit valueEntered(*v);
    else
        showValue(value());
}

void ValueBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        commitTyped();
        QDoubleSpinBox::keyPressEvent(event);
        // Enter ends the entry here; it must not reach a dialog's default button.
        event->accept();
        return;
    }
    QDoubleSpinBox::keyPressEvent(event);
}

void ValueBox::focusOutEvent(QFocusEvent* event)
{
    commitTyped();
    QDoubleSpinBox::focusOutEvent(event);
}

QValidator::State ValueBox::validate(QString& input, int& /*pos*/) const
{
    // Anything that may become a number is let through; the owner decides what it means.
    QString t = input.trimmed();
    if (!suffix().isEmpty() && t.endsWith(suffix(), Qt::CaseInsensitive))
        t.chop(suffix().size());
    t = t.trimmed();
    if (t.isEmpty() || t == QLatin1String("-") || t == QLatin1String(".") || t == QLatin1String("-."))
        return QValidator::Intermediate;
    bool ok = false;
    QLocale::c().toDouble(t, &ok);
    return ok ? QValidator::Acceptable : QValidator::Invalid;
}
