#include "support/StageSettingsText.h"

#include <sstream>

namespace {

void describeSlot(std::ostringstream& out, const char* kind, int index, const EventSlot& slot) {
    out << kind << index << ": used=" << slot.used << " month=" << slot.month << " day=" << slot.day
        << " hour=" << slot.hour << " minute=" << slot.minute << " clip=["
        << slot.clip.toStdString() << "] message=[" << slot.message.toStdString()
        << "] otherWordBits=" << slot.otherWordBits << '\n';
}

} // namespace

std::string describeSettings(const StageSettings& settings) {
    std::ostringstream out;
    out << "AnaDigi=" << settings.AnaDigi << "\nStayOnTop=" << settings.StayOnTop
        << "\nFormLeft=" << settings.FormLeft << "\nFormTop=" << settings.FormTop << '\n';
    for (int i = 0; i < 3; ++i)
        describeSlot(out, "anniversary", i, settings.anniversaries[i]);
    for (int i = 0; i < 3; ++i)
        describeSlot(out, "schedule", i, settings.schedules[i]);
    out << "lastYotei=" << settings.lastYotei << "\nsamiLim=" << settings.samiLim
        << "\nThreadPrio=" << settings.ThreadPrio << "\nDigiAMPM=" << settings.DigiAMPM << '\n';
    return out.str();
}

void PrintTo(const EventSlot& slot, std::ostream* out) {
    std::ostringstream line;
    describeSlot(line, "slot", 0, slot);
    *out << line.str().substr(7);
}
