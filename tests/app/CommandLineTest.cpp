// Her command line as read before the toolkit starts: her own options end the reading, the
// toolkit's pass with their values, anything else is refused by name.
#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

using Action = CommandLine::Action;

struct Case {
    QStringList arguments;
    Action action;
    QString display; // or, for Refuse, the word the refusal names
    QString platform;
};
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.arguments.join(u' ').toStdString();
}

class ReadCommandLine : public ::testing::TestWithParam<Case> {};

TEST_P(ReadCommandLine, Reads) {
    const Case& c = GetParam();
    const CommandLine line = readCommandLine(c.arguments);
    EXPECT_EQ(line.action, c.action);
    if (c.action == Action::Refuse)
        EXPECT_TRUE(line.refusal.contains(c.display)) << line.refusal.toStdString();
    else
        EXPECT_EQ(line.display, c.display);
    EXPECT_EQ(line.platform, c.platform);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ReadCommandLine,
    ::testing::Values(Case{{}, Action::Run, {}, {}}, Case{{"-h"}, Action::Help, {}, {}},
                      // Her own option wins over what follows, even what would be refused.
                      Case{{"-v", "--bogus"}, Action::Version, {}, {}},
                      // The toolkit's, with one dash or two, a value never taken for an option.
                      Case{{"-display", ":3", "--platform", "xcb"}, Action::Run, ":3", "xcb"},
                      Case{{"-style", "-help", "-reverse", "-style=fusion"}, Action::Run, {}, {}},
                      Case{{"-reverse", "-x"}, Action::Refuse, "'-x'", {}},
                      Case{{"now"}, Action::Refuse, "'now'", {}},
                      Case{{"-display"}, Action::Refuse, "'-display' needs a value", {}}));

} // namespace
