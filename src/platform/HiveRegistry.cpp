#include "platform/HiveRegistry.h"

#include "platform/ConfigHome.h"

namespace {

bool isAtOrBelow(const QString& path, const QString& top) {
    return path.compare(top, Qt::CaseInsensitive) == 0 ||
           (path.size() > top.size() && path.at(top.size()) == u'\\' &&
            path.startsWith(top, Qt::CaseInsensitive));
}

} // namespace

HiveRegistry::HiveRegistry(QString hivePath) : storage_(std::move(hivePath)) {}

QString HiveRegistry::defaultPath() {
    const QString base = configHome();
    return base.isEmpty() ? QString() : base + QStringLiteral("/hourling/user.reg");
}

bool HiveRegistry::openKey(const QString& path, bool canCreate) {
    if (hive_)
        closeKey();
    if (!HiveFile::isValidKeyPath(path))
        return false;
    std::optional<HiveFile> hive = storage_.load();
    if (!hive)
        return false;
    bool created = false;
    if (!hive->keyExists(path)) {
        if (!canCreate)
            return false;
        hive->createKey(path);
        created = true;
    }
    opened_ = hive;
    if (created)
        opened_->deleteTree(path);
    hive_ = std::move(hive);
    openPath_ = path;
    dirty_ = created;
    writtenNames_.clear();
    return true;
}

bool HiveRegistry::keyExists(const QString& path) {
    if (!HiveFile::isValidKeyPath(path))
        return false;
    if (hive_)
        return hive_->keyExists(path);
    const std::optional<HiveFile> hive = storage_.load();
    return hive && hive->keyExists(path);
}

bool HiveRegistry::hasSubKeys() {
    return hive_ && hive_->hasSubKeys(openPath_);
}

bool HiveRegistry::deleteKey(const QString& path) {
    if (!HiveFile::isValidKeyPath(path))
        return false;
    std::optional<HiveFile> hive = hive_ ? hive_ : storage_.load();
    if (!hive || !hive->deleteTree(path) || !storage_.save(*hive))
        return false;
    known_ = hive;
    if (hive_) {
        dirty_ = false;
        writtenNames_.clear();
        if (isAtOrBelow(openPath_, path)) {
            hive_.reset();
            opened_.reset();
        } else {
            hive_ = std::move(hive);
            opened_ = hive_;
        }
    }
    return true;
}

const HiveValue* HiveRegistry::openValue(const QString& name) const {
    if (!hive_)
        return nullptr;
    const HiveKey* key = hive_->key(openPath_);
    return key ? key->value(name) : nullptr;
}

std::optional<quint32> HiveRegistry::readDword(const QString& name) {
    const HiveValue* value = openValue(name);
    if (!value || value->type != RegType::kDword || value->data.size() != 4)
        return std::nullopt;
    quint32 number = 0;
    for (int i = 3; i >= 0; --i)
        number = number << 8 | quint8(value->data[i]);
    return number;
}

std::optional<QString> HiveRegistry::readString(const QString& name) {
    if (!hive_)
        return std::nullopt;
    const HiveValue* value = openValue(name);
    if (!value)
        return QString();
    if (value->type != RegType::kString && value->type != RegType::kExpandString)
        return std::nullopt;
    // The text ends at its terminating zero, or at the data's end when that is missing.
    const qsizetype end = value->data.indexOf('\0');
    return QString::fromUtf8(end < 0 ? value->data : value->data.left(end));
}

bool HiveRegistry::write(const QString& name, quint32 type, const QByteArray& data) {
    if (!hive_ || !HiveFile::isValidValueName(name))
        return false;
    if (hive_->createKey(openPath_).setValue(name, type, data))
        dirty_ = true;
    if (!writtenNames_.contains(name, Qt::CaseInsensitive))
        writtenNames_ << name;
    return true;
}

bool HiveRegistry::writeDword(const QString& name, quint32 value) {
    QByteArray data(4, '\0');
    for (int i = 0; i < 4; ++i)
        data[i] = char(value >> (8 * i));
    return write(name, RegType::kDword, data);
}

bool HiveRegistry::writeString(const QString& name, const QString& value) {
    // The text a string of another form already reads as leaves it alone, so that its other
    // bytes (those after a zero, an expandable string's kind) are written back as they were.
    if (hive_ && readString(name) == std::optional<QString>(value) && openValue(name))
        return true;
    return write(name, RegType::kString, value.toUtf8().append('\0'));
}

// The file as it is now, with the key created and, of her writes, those that change what
// she knew.
HiveFile HiveRegistry::merged() const {
    HiveFile result = *opened_;
    HiveKey& key = result.createKey(openPath_);
    const HiveKey* mine = hive_->key(openPath_);
    const HiveKey* known = known_->key(openPath_);
    for (const QString& name : writtenNames_) {
        const HiveValue* written = mine ? mine->value(name) : nullptr;
        if (!written)
            continue;
        const HiveValue* before = known ? known->value(name) : nullptr;
        const bool changedByHer =
            !before || before->type != written->type || before->data != written->data;
        if (changedByHer || !key.value(name))
            key.setValue(name, written->type, written->data);
    }
    return result;
}

bool HiveRegistry::closeKey() {
    if (!hive_)
        return true;
    bool saved = true;
    if (dirty_) {
        const bool changedElsewhere = known_ && !(*opened_ == *known_);
        const HiveFile toWrite = changedElsewhere ? merged() : *hive_;
        // A merge that keeps the file's every value writes nothing.
        saved = (changedElsewhere && toWrite == *opened_ && opened_->keyExists(openPath_)) ||
                storage_.save(toWrite);
    }
    if (saved)
        known_ = std::move(hive_);
    hive_.reset();
    opened_.reset();
    dirty_ = false;
    return saved;
}

QString HiveRegistry::keepCopy() {
    return storage_.keepCopy();
}
