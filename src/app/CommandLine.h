#pragma once

#include <QString>
#include <QStringList>

// The command line, read before the toolkit starts and without a display: her own options,
// and the toolkit's, which pass on to it and of which the display check needs two.
struct CommandLine {
    enum class Action { Run, Help, Version, Refuse };
    Action action = Action::Run;
    // For Refuse: the one line for standard error.
    QString refusal;
    // The toolkit's -display and -platform; empty when not given.
    QString display;
    QString platform;
};

// The arguments after the program's name.
CommandLine readCommandLine(const QStringList& arguments);

// What --help and --version print.
QString helpText();
QString versionText();
