#include "platform/HiveFile.h"

#include <QStringDecoder>
#include <QStringList>

const QByteArray HiveFile::kHeader = QByteArrayLiteral("Windows Registry Editor Version 5.00");

namespace {

const QString kRoot = QStringLiteral("HKEY_CURRENT_USER");
constexpr qsizetype kHexBytesPerLine = 24;

bool samePath(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool isBelow(const QString& child, const QString& parent) {
    if (parent.isEmpty())
        return !child.isEmpty();
    return child.size() > parent.size() && child.at(parent.size()) == u'\\' &&
           child.startsWith(parent, Qt::CaseInsensitive);
}

// Raw control characters other than tab never appear in the file: line ends split lines and
// the rest would be damage.
bool hasForbiddenControl(QStringView text) {
    for (QChar c : text)
        if (c.unicode() < 0x20 && c != u'\t')
            return true;
    return false;
}

// A leading U+FEFF is kept: inside a value it is text (the file's own mark is dropped by parse).
std::optional<QString> decodeUtf8Strictly(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

std::optional<quint32> parseHexNumber(QStringView digits, qsizetype maxDigits) {
    if (digits.isEmpty() || digits.size() > maxDigits)
        return std::nullopt;
    quint32 value = 0;
    for (QChar c : digits) {
        const char16_t u = c.unicode();
        int digit = -1;
        if (u >= '0' && u <= '9')
            digit = u - '0';
        else if (u >= 'a' && u <= 'f')
            digit = u - 'a' + 10;
        else if (u >= 'A' && u <= 'F')
            digit = u - 'A' + 10;
        if (digit < 0)
            return std::nullopt;
        value = value << 4 | quint32(digit);
    }
    return value;
}

void appendQuoted(QString& out, const QString& text) {
    out += u'"';
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += u"\\\\";
            break;
        case '"':
            out += u"\\\"";
            break;
        case '\n':
            out += u"\\n";
            break;
        case '\r':
            out += u"\\r";
            break;
        case '\t':
            out += u"\\t";
            break;
        default:
            out += c;
        }
    }
    out += u'"';
}

// Reads a quoted text starting at `pos` (on its opening quote) and leaves `pos` after it.
std::optional<QString> parseQuoted(QStringView line, qsizetype& pos) {
    QString out;
    ++pos;
    while (pos < line.size()) {
        const QChar c = line[pos++];
        if (c == u'"')
            return out;
        if (c != u'\\') {
            out += c;
            continue;
        }
        if (pos >= line.size())
            return std::nullopt;
        switch (line[pos++].unicode()) {
        case '\\':
            out += u'\\';
            break;
        case '"':
            out += u'"';
            break;
        case 'n':
            out += u'\n';
            break;
        case 'r':
            out += u'\r';
            break;
        case 't':
            out += u'\t';
            break;
        default:
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<QByteArray> parseHexBytes(const QString& list) {
    QByteArray bytes;
    if (list.trimmed().isEmpty())
        return bytes;
    const QStringList items = list.split(u',');
    bytes.reserve(items.size());
    for (const QString& item : items) {
        const std::optional<quint32> byte = parseHexNumber(QStringView(item).trimmed(), 2);
        if (!byte || QStringView(item).trimmed().size() != 2)
            return std::nullopt;
        bytes.append(char(*byte));
    }
    return bytes;
}

// The text a string value shows as a quoted string, when it has one that reads back the same.
std::optional<QString> quotableText(const QByteArray& data) {
    if (data.isEmpty() || data.indexOf('\0') != data.size() - 1)
        return std::nullopt;
    std::optional<QString> text = decodeUtf8Strictly(QByteArrayView(data).chopped(1));
    if (!text)
        return std::nullopt;
    for (QChar c : *text)
        if (c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')
            return std::nullopt;
    return text;
}

void appendHex(QString& out, quint32 type, const QByteArray& data) {
    out += QStringLiteral("hex(%1):").arg(type, 0, 16);
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (i > 0) {
            out += u',';
            if (i % kHexBytesPerLine == 0)
                out += u"\\\n  ";
        }
        out += QStringLiteral("%1").arg(quint8(data[i]), 2, 16, QLatin1Char('0'));
    }
}

class Parser {
public:
    explicit Parser(const QString& text) : lines_(text.split(u'\n')) {}

    std::optional<HiveFile> run() {
        bool headerSeen = false;
        for (index_ = 0; index_ < lines_.size(); ++index_) {
            const std::optional<QStringView> line = lineAt(index_);
            if (!line)
                return std::nullopt;
            const QStringView text = line->trimmed();
            if (text.isEmpty())
                continue;
            if (!headerSeen) {
                if (text != QLatin1StringView(HiveFile::kHeader))
                    return std::nullopt;
                headerSeen = true;
            } else if (text.startsWith(u';')) {
                continue;
            } else if (text.startsWith(u'[')) {
                if (!parseSection(text))
                    return std::nullopt;
            } else if (!current_ || !parseValue(text)) {
                return std::nullopt;
            }
        }
        return hive_;
    }

private:
    std::optional<QStringView> lineAt(qsizetype index) const {
        QStringView line = lines_[index];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (hasForbiddenControl(line))
            return std::nullopt;
        return line;
    }

    bool parseSection(QStringView text) {
        if (!text.endsWith(u']'))
            return false;
        const QStringView inside = text.sliced(1, text.size() - 2);
        QString path;
        if (!samePath(inside, kRoot)) {
            if (!inside.startsWith(kRoot, Qt::CaseInsensitive) || inside.size() <= kRoot.size() ||
                inside[kRoot.size()] != u'\\')
                return false;
            path = inside.sliced(kRoot.size() + 1).toString();
            if (!HiveFile::isValidKeyPath(path))
                return false;
        }
        // A second section of the same key adds to it, as an import would.
        // Only the next section line adds keys, so the pointer stays good until it is replaced.
        current_ = &hive_.createKey(path);
        currentNames_ = &valueIndex_[path.toCaseFolded()];
        return true;
    }

    bool parseValue(QStringView text) {
        qsizetype pos = 0;
        QString name;
        if (text[0] == u'@') {
            pos = 1;
        } else if (text[0] == u'"') {
            std::optional<QString> quoted = parseQuoted(text, pos);
            if (!quoted)
                return false;
            name = *quoted;
        } else {
            return false;
        }
        while (pos < text.size() && text[pos].isSpace())
            ++pos;
        if (pos >= text.size() || text[pos] != u'=')
            return false;
        const QStringView data = text.sliced(pos + 1).trimmed();

        if (data.startsWith(u'"')) {
            qsizetype end = 0;
            std::optional<QString> string = parseQuoted(data, end);
            if (!string || end != data.size())
                return false;
            setValue(name, RegType::kString, string->toUtf8().append('\0'));
            return true;
        }
        if (data.startsWith(u"dword:", Qt::CaseInsensitive)) {
            const QStringView digits = data.sliced(6);
            std::optional<quint32> number = parseHexNumber(digits, 8);
            if (!number || digits.size() != 8)
                return false;
            QByteArray bytes(4, '\0');
            for (int i = 0; i < 4; ++i)
                bytes[i] = char(*number >> (8 * i));
            setValue(name, RegType::kDword, bytes);
            return true;
        }
        if (data.startsWith(u"hex", Qt::CaseInsensitive))
            return parseHexValue(name, data.sliced(3));
        return false;
    }

    bool parseHexValue(const QString& name, QStringView rest) {
        quint32 type = RegType::kBinary;
        if (rest.startsWith(u'(')) {
            const qsizetype close = rest.indexOf(u')');
            if (close < 0)
                return false;
            std::optional<quint32> number = parseHexNumber(rest.sliced(1, close - 1), 8);
            if (!number)
                return false;
            type = *number;
            rest = rest.sliced(close + 1);
        }
        if (!rest.startsWith(u':'))
            return false;
        QString list = rest.sliced(1).toString();
        // Long byte lists go on over lines that end in a backslash.
        while (list.endsWith(u'\\')) {
            list.chop(1);
            if (++index_ >= lines_.size())
                return false;
            const std::optional<QStringView> next = lineAt(index_);
            if (!next)
                return false;
            list += next->trimmed();
        }
        std::optional<QByteArray> bytes = parseHexBytes(list);
        if (!bytes)
            return false;
        setValue(name, type, *bytes);
        return true;
    }

    QStringList lines_;
    qsizetype index_ = 0;
    HiveFile hive_;
    HiveKey* current_ = nullptr;
    // Case-folded value names of each key, so that large files parse in linear time.
    QHash<QString, QHash<QString, qsizetype>> valueIndex_;
    QHash<QString, qsizetype>* currentNames_ = nullptr;

    // A name given twice in one key: the later one counts, as an import would take it.
    void setValue(const QString& name, quint32 type, const QByteArray& data) {
        const QString folded = name.toCaseFolded();
        const auto found = currentNames_->constFind(folded);
        if (found != currentNames_->constEnd()) {
            HiveValue& existing = current_->values[*found];
            existing.type = type;
            existing.data = data;
            return;
        }
        currentNames_->insert(folded, current_->values.size());
        current_->values.append(HiveValue{name, type, data});
    }
};

} // namespace

const HiveValue* HiveKey::value(const QString& name) const {
    for (const HiveValue& candidate : values)
        if (samePath(candidate.name, name))
            return &candidate;
    return nullptr;
}

bool HiveKey::setValue(const QString& name, quint32 type, const QByteArray& data) {
    for (HiveValue& existing : values) {
        if (!samePath(existing.name, name))
            continue;
        if (existing.type == type && existing.data == data)
            return false;
        existing.type = type;
        existing.data = data;
        return true;
    }
    values.append(HiveValue{name, type, data});
    return true;
}

std::optional<HiveFile> HiveFile::parse(QByteArrayView bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    std::optional<QString> text = decodeUtf8Strictly(bytes);
    if (!text)
        return std::nullopt;
    return Parser(*text).run();
}

QByteArray HiveFile::serialise() const {
    QString out = QString::fromLatin1(kHeader) + QStringLiteral("\n\n");
    for (const HiveKey& key : keys_) {
        out += u'[';
        out += kRoot;
        if (!key.path.isEmpty()) {
            out += u'\\';
            out += key.path;
        }
        out += u"]\n";
        for (const HiveValue& value : key.values) {
            if (value.name.isEmpty())
                out += u'@';
            else
                appendQuoted(out, value.name);
            out += u'=';
            std::optional<QString> text;
            if (value.type == RegType::kDword && value.data.size() == 4) {
                quint32 number = 0;
                for (int i = 3; i >= 0; --i)
                    number = number << 8 | quint8(value.data[i]);
                out += QStringLiteral("dword:%1").arg(number, 8, 16, QLatin1Char('0'));
            } else if (value.type == RegType::kString && (text = quotableText(value.data))) {
                appendQuoted(out, *text);
            } else {
                appendHex(out, value.type, value.data);
            }
            out += u'\n';
        }
        out += u'\n';
    }
    return out.toUtf8();
}

bool HiveFile::isValidKeyPath(const QString& path) {
    if (path.isEmpty() || hasForbiddenControl(path))
        return false;
    for (QStringView name : QStringView(path).split(u'\\'))
        if (name.isEmpty())
            return false;
    return true;
}

bool HiveFile::isValidValueName(const QString& name) {
    for (QChar c : name)
        if (c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')
            return false;
    return true;
}

bool HiveFile::keyExists(const QString& path) const {
    for (const HiveKey& key : keys_)
        if (samePath(key.path, path) || isBelow(key.path, path))
            return true;
    return false;
}

bool HiveFile::hasSubKeys(const QString& path) const {
    for (const HiveKey& key : keys_)
        if (isBelow(key.path, path))
            return true;
    return false;
}

const HiveKey* HiveFile::key(const QString& path) const {
    const auto found = index_.constFind(path.toCaseFolded());
    return found == index_.constEnd() ? nullptr : &keys_[*found];
}

HiveKey* HiveFile::key(const QString& path) {
    return const_cast<HiveKey*>(std::as_const(*this).key(path));
}

HiveKey& HiveFile::createKey(const QString& path) {
    if (HiveKey* existing = key(path))
        return *existing;
    index_.insert(path.toCaseFolded(), keys_.size());
    keys_.append(HiveKey{path, {}});
    return keys_.last();
}

bool HiveFile::deleteTree(const QString& path) {
    const qsizetype removed = keys_.removeIf(
        [&](const HiveKey& key) { return samePath(key.path, path) || isBelow(key.path, path); });
    rebuildIndex();
    return removed > 0;
}

void HiveFile::rebuildIndex() {
    index_.clear();
    for (qsizetype i = 0; i < keys_.size(); ++i)
        index_.insert(keys_[i].path.toCaseFolded(), i);
}
