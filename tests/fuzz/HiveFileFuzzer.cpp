// Any bytes as the settings file: what is read of them, in whatever form, is written and read
// back as the same hive in the same form, and its keys and values are found by the names they
// were read under.
#include "FuzzCheck.h"
#include "platform/HiveFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const HiveReading reading = HiveFile::read(bytes);
    const HiveFile& hive = reading.hive;
    fuzzCheck(reading.problems.size() == qMin(reading.skippedLines, HiveReading::kMaxListed),
              "the problems listed are the first of those counted");
    fuzzCheck(HiveFile::parse(bytes).has_value() == reading.whole(),
              "parse accepts exactly what is read whole");

    const QByteArray written = hive.serialise();
    const std::optional<HiveFile> again = HiveFile::parse(written);
    fuzzCheck(again.has_value(), "what read keeps, serialise writes readably");
    fuzzCheck(*again == hive, "serialise then parse gives the same hive");
    fuzzCheck(again->form() == hive.form(), "serialise then parse gives the same form");
    fuzzCheck(again->serialise() == written, "writing what was read back changes nothing");

    for (const HiveKey& key : hive.keys()) {
        fuzzCheck(hive.key(key.path) == &key, "each key is found by its own path");
        fuzzCheck(key.path.isEmpty() || hive.keyExists(key.path), "each key exists");
        for (const HiveValue& value : key.values)
            fuzzCheck(key.value(value.name) == &value, "each value is found by its own name");
    }
    return 0;
}
