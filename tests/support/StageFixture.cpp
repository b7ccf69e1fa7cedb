#include "support/StageFixture.h"

#include "app/SettingsStore.h"
#include "support/TestApplication.h"

void StageFixture::SetUp() {
    testApplication();
    ASSERT_TRUE(folder.isValid());
    clock.set(timeOf(3, 15, 3, 0, 0));
}

void StageFixture::TearDown() {
    // Before the registry it saves into.
    stage.reset();
}

QString StageFixture::hivePath() const {
    return folder.path() + QStringLiteral("/hourling/user.reg");
}

void StageFixture::store(const StageSettings& settings) {
    HiveRegistry writer(hivePath());
    ASSERT_TRUE(SaveSettings(writer, settings, {settings.FormLeft, settings.FormTop}));
}

std::optional<quint32> StageFixture::storedDword(const QString& name) const {
    HiveRegistry reader(hivePath());
    if (!reader.openKey(kProgramKey, false))
        return std::nullopt;
    const auto value = reader.readDword(name);
    reader.closeKey();
    return value;
}

bool StageFixture::programKeyExists() const {
    HiveRegistry reader(hivePath());
    return reader.keyExists(kProgramKey);
}

MainStage& StageFixture::create() {
    stage.reset();
    registry = std::make_unique<HiveRegistry>(hivePath());
    stage = std::make_unique<MainStage>(StageServices{*registry, keys, clock});
    return *stage;
}

MainStage& StageFixture::start() {
    create().show();
    return *stage;
}
