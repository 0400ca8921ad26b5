#include "shell/PasswordFilter.h"

#include "link/LockProcedures.h"

#include <QLineEdit>

void PasswordFilter::attach(QLineEdit* edit)
{
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString& text) {
        const QString filtered = LockProcedures::filterPasswordText(text);
        if (filtered == text)
            return;
        const int cursor = std::max(0, edit->cursorPosition() - int(text.size() - filtered.size()));
        edit->setText(filtered);
        edit->setCursorPosition(std::min(cursor, int(filtered.size())));
    });
}
