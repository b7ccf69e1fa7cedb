#pragma once

#include "platform/HiveFile.h"
#include "platform/HiveStorage.h"
#include "platform/Registry.h"

#include <QStringList>
#include <optional>

// The registry over the hive file. Opening a key reads the file afresh; writes to the open
// key reach the file at closeKey, in one atomic replacement, and only when something changed.
// While a key is open, keyExists and deleteKey work on the hive as it stands in memory, and
// deleteKey writes the file at once, pending writes included.
//
// Another program may change the file while she runs (an editor, a sync tool). When the file
// holds other values than she last read or wrote, closeKey writes only the values whose
// written data differs from what she knew of them, and of the others keeps what the file
// holds now.
class HiveRegistry : public Registry {
public:
    explicit HiveRegistry(QString hivePath);

    // $XDG_CONFIG_HOME/hourling/user.reg, or ~/.config/hourling/user.reg when that is unset,
    // the home taken from the password entry when HOME is unset. Empty when there is no home.
    static QString defaultPath();

    const QString& hivePath() const { return storage_.filePath(); }

    // Opening another key while one is open closes the first.
    bool openKey(const QString& path, bool canCreate) override;
    bool keyExists(const QString& path) override;
    bool hasSubKeys() override;
    // Also closes the open key when that is the key deleted or lies below it.
    bool deleteKey(const QString& path) override;
    std::optional<quint32> readDword(const QString& name) override;
    std::optional<QString> readString(const QString& name) override;
    bool writeDword(const QString& name, quint32 value) override;
    bool writeString(const QString& name, const QString& value) override;
    // True when nothing was open or nothing changed; false when the file could not be
    // replaced, and the writes are then lost.
    bool closeKey() override;
    // The file as it is on disk, beside it as <file>.bad-<UTC time>. When no copy can be made,
    // the next write that reaches the file tries again, and fails rather than write over it.
    QString keepCopy() override;

private:
    const HiveValue* openValue(const QString& name) const;
    bool write(const QString& name, quint32 type, const QByteArray& data);

    HiveFile merged() const;

    HiveStorage storage_;
    std::optional<HiveFile> hive_;   // while a key is open
    std::optional<HiveFile> opened_; // the file as the open key was read from it
    // The hive as she last read it or wrote it; in it, her own writes stand even where a
    // merge kept another program's value in the file.
    std::optional<HiveFile> known_;
    QStringList writtenNames_; // of the open key
    QString openPath_;
    bool dirty_ = false;
};
