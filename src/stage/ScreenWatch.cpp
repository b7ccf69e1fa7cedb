#include "stage/ScreenWatch.h"

#include <QGuiApplication>
#include <QScreen>

ScreenWatch::ScreenWatch(std::function<void()> changed, QObject* parent)
    : QObject(parent), changed_(std::move(changed)) {
    settle_.setSingleShot(true);
    settle_.setInterval(0);
    connect(&settle_, &QTimer::timeout, this, [this] { changed_(); });
    auto* app = qGuiApp;
    if (!app)
        return;
    connect(app, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        watch(screen);
        settle_.start();
    });
    connect(app, &QGuiApplication::screenRemoved, this, [this] { settle_.start(); });
    connect(app, &QGuiApplication::primaryScreenChanged, this, [this] { settle_.start(); });
    for (QScreen* screen : QGuiApplication::screens())
        watch(screen);
}

void ScreenWatch::watch(QScreen* screen) {
    connect(screen, &QScreen::geometryChanged, this, [this] { settle_.start(); });
    connect(screen, &QScreen::availableGeometryChanged, this, [this] { settle_.start(); });
    connect(screen, &QScreen::logicalDotsPerInchChanged, this, [this] { settle_.start(); });
}

QList<QRect> ScreenWatch::availableAreas() {
    QList<QRect> areas;
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        areas.append(primary->availableGeometry());
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen())
            areas.append(screen->availableGeometry());
    }
    return areas;
}
