#pragma once
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

// Places a top-level window in the middle of the screen it is shown on.
inline void centreOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    window->setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window->size(),
                                            screen->availableGeometry()));
}
