// Any bytes as the settings file: what parses is written and read back as the same hive, and
// its keys and values are found by the names they were read under.
#include "FuzzCheck.h"
#include "platform/HiveFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<HiveFile> hive = HiveFile::parse(bytes);
    if (!hive)
        return 0;

    const QByteArray written = hive->serialise();
    const std::optional<HiveFile> again = HiveFile::parse(written);
    fuzzCheck(again.has_value(), "what parse accepts, serialise writes readably");
    fuzzCheck(*again == *hive, "serialise then parse gives the same hive");
    fuzzCheck(again->serialise() == written, "writing what was read back changes nothing");

    for (const HiveKey& key : hive->keys()) {
        fuzzCheck(hive->key(key.path) == &key, "each key is found by its own path");
        fuzzCheck(key.path.isEmpty() || hive->keyExists(key.path), "each key exists");
        for (const HiveValue& value : key.values)
            fuzzCheck(key.value(value.name) == &value, "each value is found by its own name");
    }
    return 0;
}
