// Any bytes as a region block: what parses is a consistent shape that writes back as the very
// bytes it was read from.
#include "FuzzCheck.h"
#include "stage/RegionData.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView block(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<RegionData> shape = RegionData::parse(block);
    if (!shape)
        return 0;

    for (const QRect& r : shape->rectangles) {
        fuzzCheck(!r.isEmpty(), "no rectangle is empty");
        fuzzCheck(shape->bounds.contains(r), "every rectangle lies inside the bounds");
    }
    const QByteArray written = shape->toBlock();
    fuzzCheck(written == block.first(written.size()), "toBlock writes the bytes parse read");
    const std::optional<RegionData> again = RegionData::parse(written);
    fuzzCheck(again.has_value(), "what toBlock writes parses");
    fuzzCheck(again->bounds == shape->bounds && again->rectangles == shape->rectangles,
              "toBlock then parse gives the same shape");
    return 0;
}
