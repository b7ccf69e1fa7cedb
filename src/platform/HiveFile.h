#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QtGlobal>
#include <optional>

// Value types as the registry numbers them; any other number is kept as it stands.
namespace RegType {
constexpr quint32 kNone = 0;
constexpr quint32 kString = 1;
constexpr quint32 kExpandString = 2;
constexpr quint32 kBinary = 3;
constexpr quint32 kDword = 4;
} // namespace RegType

struct HiveValue {
    QString name; // as written; empty is the key's default value
    quint32 type = RegType::kNone;
    QByteArray data; // DWORD: 4 bytes little-endian; strings: UTF-8 with a terminating zero

    bool operator==(const HiveValue&) const = default;
};

// One section of the file. Names compare without regard to case and keep their written case.
struct HiveKey {
    QString path; // below HKEY_CURRENT_USER, backslash-separated; empty for the root itself
    QList<HiveValue> values;

    const HiveValue* value(const QString& name) const;
    // A value that exists keeps its place, so the file lists values in the order they were
    // first written. False when the value already held exactly this.
    bool setValue(const QString& name, quint32 type, const QByteArray& data);

    bool operator==(const HiveKey&) const = default;
};

// How the file's text was written, so that a save writes it as its owner keeps it.
struct HiveTextForm {
    enum class Encoding { Utf8, Utf8WithMark, Utf16LeWithMark };
    enum class LineEnd { Lf, CrLf, Cr };

    Encoding encoding = Encoding::Utf8;
    LineEnd lineEnd = LineEnd::Lf;
    bool regedit4 = false; // the older header

    bool operator==(const HiveTextForm&) const = default;
};

// A line that could not be read and was skipped.
struct HiveProblem {
    qsizetype line; // counted from 1
    QString reason;
};

struct HiveReading;

// The current user's registry part as the text of a regedit export (version 5.00 or 4; UTF-8,
// or UTF-16LE as the registry editor writes it).
class HiveFile {
public:
    static const QByteArray kHeader;
    static const QByteArray kOldHeader;

    // Reads every line it can and lists the ones it skipped.
    static HiveReading read(QByteArrayView bytes);
    // The whole file or nothing: no value when any line could not be read. Whitespace alone is
    // an empty hive.
    static std::optional<HiveFile> parse(QByteArrayView bytes);
    // In the form the file was read in.
    QByteArray serialise() const;

    const HiveTextForm& form() const { return form_; }
    void setForm(const HiveTextForm& form) { form_ = form; }

    // Paths that keys may have: non-empty names separated by single backslashes, no control
    // characters.
    static bool isValidKeyPath(const QString& path);
    // Names that the file can carry (control characters other than tab, CR and LF cannot).
    static bool isValidValueName(const QString& name);

    bool isEmpty() const { return keys_.isEmpty(); }
    const QList<HiveKey>& keys() const { return keys_; }

    // A key exists with a section of its own or as the parent of one.
    bool keyExists(const QString& path) const;
    bool hasSubKeys(const QString& path) const;
    const HiveKey* key(const QString& path) const;
    HiveKey* key(const QString& path);
    // The key's section, added empty at the end when it has none.
    HiveKey& createKey(const QString& path);
    // Removes the key's section and every section below it; false when there was none.
    bool deleteTree(const QString& path);

    bool operator==(const HiveFile& other) const { return keys_ == other.keys_; }

private:
    void rebuildIndex();

    QList<HiveKey> keys_;
    QHash<QString, qsizetype> index_; // case-folded path to its place in keys_
    HiveTextForm form_;
};

struct HiveReading {
    // So many problems are listed at most; a file of garbage has one per line.
    static constexpr qsizetype kMaxListed = 20;

    HiveFile hive;
    QList<HiveProblem> problems;
    qsizetype skippedLines = 0;

    bool whole() const { return skippedLines == 0; }
};
