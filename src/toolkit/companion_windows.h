#pragma once
// The main window's companion windows (the player, the telemetry, the set-up of
// the driving, ...): tool windows that stay above the main window without
// locking it. They have no parent widget, because the windows that lock the main
// window disable it, and with it every child window; the window system is told
// instead that they belong to it (a transient parent), which keeps them above it.
//
// A companion opens where the user last left it, or else as high up as it can
// where it covers no control of the main window (in its free area, or beside it
// when the screen has room), made smaller if it must, and where it covers no
// other companion shown if it can. Where the user moves or sizes it is kept in
// velmora.ini. It opens with the focus on itself, not on its first field.
#include "settings/extension_settings.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <vector>

class QMainWindow;
class QWidget;

namespace toolkit {

class CompanionWindows : public QObject {
    Q_OBJECT

public:
    // controls holds the main window's controls as its children.
    CompanionWindows(QMainWindow &mainWindow, const QWidget &controls, const settings::ProgramLocation &files,
                     QObject *parent = nullptr);
    ~CompanionWindows() override;

    // window has no parent widget; name keys its place in velmora.ini.
    void adopt(QWidget &window, const QString &name);
    // The main window or one of its companions.
    bool contains(const QWidget *window) const;

signals:
    // The active window is now this one of them, or none of them (nullptr).
    void activeWindowChanged(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Companion {
        QPointer<QWidget> window;
        QString name;
        bool placed = false;
    };
    Companion *companionOf(const QObject *object);
    void place(Companion &companion);
    bool restorePlace(const Companion &companion);
    void placeFree(QWidget &window);
    std::vector<QRect> takenAreas(const QWidget &window, bool withCompanions) const;
    void followActiveWindow();
    void storePlaces();

    QMainWindow &mainWindow;
    const QWidget &controls;
    settings::ExtensionSettings stored;
    std::vector<Companion> companions;
    QPointer<QWidget> activeWindow;
    // Moves and sizes are written a moment after the last one: a drag sends many.
    QHash<QString, QRect> unstoredPlaces;
    QTimer storeTimer;
};

} // namespace toolkit
