#pragma once
#include <QString>
#include <QWidget>

// Finds a control by its accessible name below `root` (the first one in child order), as a
// screen reader would address it.
template <class T>
T* findNamed(QWidget* root, const QString& name)
{
    for (T* w : root->findChildren<T*>())
        if (w->accessibleName() == name)
            return w;
    return nullptr;
}

// Visible controls of type T with the given name.
template <class T>
int countVisibleNamed(QWidget* root, const QString& name)
{
    int n = 0;
    for (T* w : root->findChildren<T*>())
        if (w->accessibleName() == name && w->isVisibleTo(root))
            ++n;
    return n;
}
