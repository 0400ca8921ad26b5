#pragma once
// Answers the next modal dialog of a test: polls for it from the event loop that its exec()
// runs, then hands it to `act`.
#include <QApplication>
#include <QTimer>
#include <functional>

template <typename Dialog>
void whenModal(std::function<void(Dialog*)> act, int attempts = 200)
{
    QTimer::singleShot(10, [act, attempts] {
        if (auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            act(d);
            return;
        }
        if (attempts > 0)
            whenModal<Dialog>(act, attempts - 1);
    });
}
