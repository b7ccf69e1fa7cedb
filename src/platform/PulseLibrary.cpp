#include "platform/PulseLibrary.h"

#include <QLibrary>

const PulseLibrary* PulseLibrary::load() {
    static const PulseLibrary* const loaded = []() -> const PulseLibrary* {
        // Never unloaded: a QLibrary leaves the library in place when it is destroyed.
        QLibrary file(QStringLiteral("pulse"), 0);
        static PulseLibrary library;
#define HOURLING_PULSE_RESOLVE(name)                                                               \
    library.name = reinterpret_cast<decltype(library.name)>(file.resolve(#name));                  \
    if (!library.name)                                                                             \
        return nullptr;
        HOURLING_PULSE_FUNCTIONS(HOURLING_PULSE_RESOLVE)
#undef HOURLING_PULSE_RESOLVE
        return &library;
    }();
    return loaded;
}
