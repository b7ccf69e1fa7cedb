#pragma once

#include "platform/HiveFile.h"

#include <QString>
#include <optional>

// The hive file on disk. It is replaced whole, never changed in place, so that it is always
// either the old file or the new one, whenever the process dies.
class HiveStorage {
public:
    // An empty path is a store that cannot be read or written.
    explicit HiveStorage(QString filePath);

    const QString& filePath() const { return filePath_; }

    // A missing file is an empty hive, and so is one that cannot be parsed (it stays where it
    // is until a save moves it aside). No value when the file exists but cannot be read.
    std::optional<HiveFile> load() const;

    // Replaces the file, creating its directory when missing, or removes it when the hive has
    // no keys. A file that cannot be parsed is first moved aside to <name>.bad-<UTC time>.
    // False on any failure; the old file is then as it was (or moved aside).
    bool save(const HiveFile& hive) const;

    // Copies the file as it stands to <name>.bad-<UTC time>, where a damaged one is moved.
    // The copy's path; empty when there is no file or it could not be copied.
    QString keepCopy() const;

private:
    QString filePath_;
};
