// Saves numbered settings records one after another until it is killed.
// Usage: store_save_forever <hive file> <first number>

#include "NumberedSettings.h"
#include "app/SettingsStore.h"
#include "platform/HiveRegistry.h"

#include <QString>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    HiveRegistry registry(QString::fromLocal8Bit(argv[1]));
    for (qint32 n = std::atoi(argv[2]);; ++n)
        saveSettings(registry, numberedSettings(n), numberedPosition(n));
}
