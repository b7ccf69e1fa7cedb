#pragma once

#include "platform/HiveFile.h"

#include <QString>
#include <optional>

// The hive file on disk. It is replaced whole, never changed in place, so that it is always
// either the old file or the new one, whenever the process dies. What could not be read in it
// is never written over before a copy of it lies aside.
class HiveStorage {
public:
    // An empty path is a store that cannot be read or written.
    explicit HiveStorage(QString filePath);

    const QString& filePath() const { return filePath_; }

    // A missing file is an empty hive. Lines that cannot be read are skipped and named on
    // standard error, once for each content of the file; the file stays where it is until a
    // save keeps it aside. No value when the file exists but cannot be read or is no regular
    // file (a FIFO, a device or a directory: none of them is waited on). The first load also
    // removes temporary files that saves killed on their way left behind.
    std::optional<HiveFile> load();

    // Replaces the file, creating its directory when missing, or removes it when the hive has
    // no keys; through a symbolic link (also one whose target does not exist yet) its target
    // is written. The new file keeps the old one's mode and, where allowed, its owner. A file
    // with lines that could not be read, or whose copy is owed, is first copied aside to
    // <name>.bad-<UTC time>; when that cannot be done the file is left as it is and the save
    // fails, unless nothing in it could be read: such a file is moved aside instead.
    // False on any failure; the old file is then as it was (or moved aside).
    bool save(const HiveFile& hive);

    // Copies the file as it stands to <name>.bad-<UTC time>, where a damaged one is kept.
    // The copy's path; empty when there is no file or it could not be copied. A copy that
    // could not be made is owed: the next save makes it first, or fails.
    QString keepCopy();

private:
    QString filePath_;
    bool leftoversRemoved_ = false;
    std::optional<size_t> toldOf_; // the content whose unread lines were named
    std::optional<size_t> keptOf_; // the content a copy of which lies aside
    bool copyOwed_ = false;
};
