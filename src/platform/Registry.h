#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

// The operations the settings need of the per-user registry, each reporting failure to
// its caller. Paths are relative to the current user's root and use backslashes.
class Registry {
public:
    virtual ~Registry() = default;

    virtual bool openKey(const QString& path, bool canCreate) = 0;
    virtual bool keyExists(const QString& path) = 0;
    // Of the key that is open.
    virtual bool hasSubKeys() = 0;
    // Removes the key and everything below it.
    virtual bool deleteKey(const QString& path) = 0;
    // Missing or of another type: no value.
    virtual std::optional<quint32> readDword(const QString& name) = 0;
    // Missing: empty. Of a type other than a string: no value.
    virtual std::optional<QString> readString(const QString& name) = 0;
    virtual bool writeDword(const QString& name, quint32 value) = 0;
    virtual bool writeString(const QString& name, const QString& value) = 0;
    // Writes reach the store here.
    virtual bool closeKey() = 0;
    // Keeps the store as it stands beside it, under a name of its own, for values that the
    // next writes would replace unread. Where the copy went; empty when none was made.
    virtual QString keepCopy() = 0;
};
