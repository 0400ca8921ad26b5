#pragma once
// Helpers for the designer's window tests: a private settings folder, finding controls by their
// accessible names, answering modal dialogs, and a help viewer that records what it was given.
#include "platform/gui/HelpViewer.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>
#include <optional>

// Points both settings scopes (user and machine-wide) at folders of their own for one test.
struct SettingsSandbox {
    QTemporaryDir dir;
    SettingsSandbox()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.filePath(QStringLiteral("user")));
        QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, dir.filePath(QStringLiteral("system")));
    }
    QString userFile() const { return dir.filePath(QStringLiteral("user/TOLVAN16.ini")); }
    static QVariant value(const QString& key)
    {
        QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("TOLVAN16"));
        return s.value(key);
    }
    static void setValue(const QString& key, const QVariant& v)
    {
        QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("TOLVAN16"));
        s.setValue(key, v);
        s.sync();
    }
};

// The first descendant of `root` of type T whose accessible name is `name` (visible or not).
template <class T>
T* byName(QWidget* root, const QString& name)
{
    for (T* w : root->findChildren<T*>()) {
        if (w->accessibleName() == name)
            return w;
    }
    return nullptr;
}

// The action of a menu (or the toolbar) with this text.
inline QAction* actionByText(QWidget* root, const QString& text)
{
    for (QAction* a : root->findChildren<QAction*>()) {
        if (a->text() == text)
            return a;
    }
    return nullptr;
}

// Watchers that have not fired yet; cancelModalWatchers() (every fixture's TearDown) drops them
// so that none outlives the test whose variables it refers to.
inline std::vector<QPointer<QTimer>>& pendingModalWatchers()
{
    static std::vector<QPointer<QTimer>> watchers;
    return watchers;
}
inline void cancelModalWatchers()
{
    for (auto& t : pendingModalWatchers())
        delete t.data();
    pendingModalWatchers().clear();
}

// Runs `handle` once the next modal window (other than `except`) is on screen; gives up after
// `timeoutMs`. The handler runs inside that window's event loop.
inline void whenModal(std::function<void(QWidget*)> handle, QWidget* except = nullptr, int timeoutMs = 10000)
{
    auto* timer = new QTimer;
    pendingModalWatchers().emplace_back(timer);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, clock, handle, except, timeoutMs] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != except && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            handle(modal);
            return;
        }
        if (clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

// What a message box said, and closes it.
struct SeenMessage {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};
inline SeenMessage takeMessage(QWidget* modal)
{
    SeenMessage m;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        m.title = box->windowTitle();
        m.text = box->text();
        m.icon = box->icon();
        box->accept();
    }
    return m;
}

struct RecordingHelpViewer : HelpViewer {
    bool available = true;
    QStringList shown;
    bool show(const QString& filePath, QWidget*) override
    {
        if (!available)
            return false;
        shown << filePath;
        return true;
    }
};
