#include "support/StageFixture.h"

#include "app/SettingsStore.h"
#include "support/SettingsFile.h"
#include "support/TestApplication.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QTimer>

void StageFixture::SetUp() {
    testApplication();
    ASSERT_TRUE(folder.isValid());
    clock.set(timeOf(3, 15, 3, 0, 0));
}

void StageFixture::TearDown() {
    destroy();
}

void StageFixture::openMenu() {
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(60, 300),
                            stage->mapToGlobal(QPoint(60, 300)));
    QCoreApplication::sendEvent(stage.get(), &event);
    ASSERT_TRUE(menu->isVisible());
}

void StageFixture::pick(QAction* item) {
    menu->hide();
    item->trigger();
    QCoreApplication::processEvents();
}

void StageFixture::pickModal(QAction* item, const std::function<void(QDialog&)>& inside) {
    bool shown = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || shown)
            return;
        shown = true;
        inside(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    poll.start();
    pick(item);
    EXPECT_TRUE(shown) << "no dialog opened";
}

void StageFixture::destroy() {
    menu = nullptr;
    balloon = nullptr;
    stage.reset();
}

QString StageFixture::hivePath() const {
    return folder.path() + QStringLiteral("/hourling/user.reg");
}

void StageFixture::store(const StageSettings& settings) {
    ASSERT_TRUE(storeSettings(hivePath(), settings));
}

std::optional<quint32> StageFixture::storedDword(const QString& name) const {
    return ::storedDword(hivePath(), name);
}

bool StageFixture::programKeyExists() const {
    HiveRegistry reader(hivePath());
    return reader.keyExists(kProgramKey);
}

MainStage& StageFixture::create() {
    destroy();
    registry = std::make_unique<HiveRegistry>(hivePath());
    stage = std::make_unique<MainStage>(
        StageServices{*registry, keys, clock, sound, timers, random, beeper});
    balloon = &stage->balloon();
    menu = stage->findChild<StagePopupMenu*>(QStringLiteral("PopupMenu1"));
    return *stage;
}

MainStage& StageFixture::start() {
    create().show();
    return *stage;
}
