#include "platform/HiveFile.h"

#include <QStringDecoder>
#include <QStringList>

const QByteArray HiveFile::kHeader = QByteArrayLiteral("Windows Registry Editor Version 5.00");
const QByteArray HiveFile::kOldHeader = QByteArrayLiteral("REGEDIT4");

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

// A leading U+FEFF is kept: inside a value it is text (the file's own mark is dropped by read).
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

struct SourceLine {
    QString text;         // without its line end
    bool readable = true; // text of the file's encoding
    bool ended = true;    // false for a last line without its line end
};

using Encoding = HiveTextForm::Encoding;
using LineEnd = HiveTextForm::LineEnd;

Encoding detectEncoding(QByteArrayView& bytes) {
    if (bytes.startsWith("\xFF\xFE")) {
        bytes = bytes.sliced(2);
        return Encoding::Utf16LeWithMark;
    }
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes = bytes.sliced(3);
        return Encoding::Utf8WithMark;
    }
    // The header's first letter with a zero after it: UTF-16LE whose mark was lost.
    if (bytes.size() >= 2 && bytes[0] != 0 && bytes[1] == 0)
        return Encoding::Utf16LeWithMark;
    return Encoding::Utf8;
}

std::optional<QString> decodeUtf16LeStrictly(QByteArrayView bytes) {
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    QString text(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(char16_t(quint8(bytes[2 * i]) | quint8(bytes[2 * i + 1]) << 8));
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            return std::nullopt;
    }
    return text;
}

// Splits at LF, CR LF and lone CR. Zeros after the last line are padding that a crash or a
// copy left, not text.
QList<SourceLine> splitLines(QByteArrayView bytes, HiveTextForm& form) {
    const bool wide = form.encoding == Encoding::Utf16LeWithMark;
    const qsizetype unit = wide ? 2 : 1;
    auto at = [&](qsizetype i) -> char16_t {
        return wide ? char16_t(quint8(bytes[i]) | quint8(bytes[i + 1]) << 8)
                    : char16_t(quint8(bytes[i]));
    };
    qsizetype size = bytes.size();
    if (wide && size % 2 != 0 && bytes[size - 1] == 0)
        --size;
    while (size >= unit && size % unit == 0 && at(size - unit) == 0)
        size -= unit;
    bytes = bytes.first(size);

    QList<SourceLine> lines;
    bool lineEndSeen = false;
    auto add = [&](QByteArrayView raw, bool ended) {
        const std::optional<QString> text =
            wide ? decodeUtf16LeStrictly(raw) : decodeUtf8Strictly(raw);
        lines.append(SourceLine{text.value_or(QString()), text.has_value(), ended});
    };
    qsizetype begin = 0;
    const qsizetype whole = size - size % unit;
    for (qsizetype i = 0; i < whole; i += unit) {
        const char16_t c = at(i);
        if (c != u'\n' && c != u'\r')
            continue;
        add(bytes.sliced(begin, i - begin), true);
        const bool pair = c == u'\r' && i + unit < whole && at(i + unit) == u'\n';
        if (!lineEndSeen) {
            form.lineEnd = pair ? LineEnd::CrLf : c == u'\r' ? LineEnd::Cr : LineEnd::Lf;
            lineEndSeen = true;
        }
        if (pair)
            i += unit;
        begin = i + unit;
    }
    if (begin < size)
        add(bytes.sliced(begin), false);
    return lines;
}

class Parser {
public:
    Parser(QList<SourceLine> lines, const HiveTextForm& form)
        : lines_(std::move(lines)), form_(form) {}

    HiveReading run() {
        bool headerSeen = false;
        bool headerRead = false;
        for (index_ = 0; index_ < lines_.size(); ++index_) {
            const qsizetype first = index_;
            const SourceLine& line = lines_[index_];
            if (!line.readable) {
                skip(first, line.ended ? QStringLiteral("it is not %1 text").arg(encodingName())
                                       : cutShort());
                continue;
            }
            const QStringView text = QStringView(line.text).trimmed();
            if (text.isEmpty() || text.startsWith(u';'))
                continue;
            if (hasForbiddenControl(text)) {
                skip(first, QStringLiteral("it holds a control character"));
                continue;
            }
            if (isHeader(text, QLatin1StringView(HiveFile::kHeader)) ||
                isHeader(text, QLatin1StringView(HiveFile::kOldHeader))) {
                if (!headerSeen)
                    form_.regedit4 = isHeader(text, QLatin1StringView(HiveFile::kOldHeader));
                headerSeen = headerRead = true;
                continue;
            }
            const std::optional<QString> problem =
                text.startsWith(u'[') ? parseSection(text) : parseValue(text);
            // A last line without its end that cannot be read was most likely cut on its way.
            if (problem)
                skip(first, lines_[index_].ended ? *problem : cutShort());
            else if (!headerSeen)
                skip(first, QStringLiteral("the file has no header line before it"));
            headerSeen = true;
        }
        // Bytes with nothing of the format in them tell nothing of how the file is kept.
        if (!headerRead && reading_.hive.isEmpty())
            form_ = HiveTextForm();
        reading_.hive.setForm(form_);
        return std::move(reading_);
    }

private:
    static QString cutShort() { return QStringLiteral("it is cut short at the end of the file"); }

    static bool isHeader(QStringView text, QLatin1StringView header) {
        return text.compare(header, Qt::CaseInsensitive) == 0;
    }

    QString encodingName() const {
        return form_.encoding == Encoding::Utf16LeWithMark ? QStringLiteral("UTF-16")
                                                           : QStringLiteral("UTF-8");
    }

    void skip(qsizetype index, QString reason) {
        if (reading_.problems.size() < HiveReading::kMaxListed)
            reading_.problems.append(HiveProblem{index + 1, std::move(reason)});
        ++reading_.skippedLines;
    }

    std::optional<QString> parseSection(QStringView text) {
        current_ = nullptr;
        badSectionLine_ = index_ + 1;
        if (!text.endsWith(u']'))
            return QStringLiteral("the section has no closing bracket");
        const QStringView inside = text.sliced(1, text.size() - 2);
        QString path;
        if (!samePath(inside, kRoot)) {
            if (!inside.startsWith(kRoot, Qt::CaseInsensitive) || inside.size() <= kRoot.size() ||
                inside[kRoot.size()] != u'\\')
                return QStringLiteral("the section is not below HKEY_CURRENT_USER");
            path = inside.sliced(kRoot.size() + 1).toString();
            if (!HiveFile::isValidKeyPath(path))
                return QStringLiteral("the section's key path has an empty name");
        }
        // A second section of the same key adds to it, as an import would.
        // Only the next section line adds keys, so the pointer stays good until it is replaced.
        current_ = &reading_.hive.createKey(path);
        currentNames_ = &valueIndex_[path.toCaseFolded()];
        badSectionLine_ = 0;
        return std::nullopt;
    }

    std::optional<QString> parseValue(QStringView text) {
        if (!current_) {
            if (badSectionLine_ > 0)
                return QStringLiteral("its section, on line %1, could not be read")
                    .arg(badSectionLine_);
            return QStringLiteral("it is not a section and stands before any section");
        }
        qsizetype pos = 0;
        QString name;
        if (text[0] == u'@') {
            pos = 1;
        } else if (text[0] == u'"') {
            std::optional<QString> quoted = parseQuoted(text, pos);
            if (!quoted)
                return QStringLiteral("the value's name does not end or has an unknown escape");
            name = *quoted;
        } else {
            return QStringLiteral("it is neither a section nor a value");
        }
        while (pos < text.size() && text[pos].isSpace())
            ++pos;
        if (pos >= text.size() || text[pos] != u'=')
            return QStringLiteral("no '=' follows the value's name");
        const QStringView data = text.sliced(pos + 1).trimmed();

        if (data.startsWith(u'"')) {
            qsizetype end = 0;
            std::optional<QString> string = parseQuoted(data, end);
            if (!string || end != data.size())
                return QStringLiteral("the quoted text does not end, has an unknown escape or "
                                      "something after it");
            setValue(name, RegType::kString, string->toUtf8().append('\0'));
            return std::nullopt;
        }
        if (data.startsWith(u"dword:", Qt::CaseInsensitive)) {
            const QStringView digits = data.sliced(6);
            std::optional<quint32> number = parseHexNumber(digits, 8);
            if (!number)
                return QStringLiteral("a dword takes one to eight hex digits");
            // Short digits on a line that the file's end cut may be the start of longer ones.
            if (digits.size() < 8 && !lines_[index_].ended)
                return cutShort();
            QByteArray bytes(4, '\0');
            for (int i = 0; i < 4; ++i)
                bytes[i] = char(*number >> (8 * i));
            setValue(name, RegType::kDword, bytes);
            return std::nullopt;
        }
        if (data.startsWith(u"hex", Qt::CaseInsensitive))
            return parseHexValue(name, data.sliced(3));
        return QStringLiteral("the value is of no kind that can be read");
    }

    std::optional<QString> parseHexValue(const QString& name, QStringView rest) {
        quint32 type = RegType::kBinary;
        if (rest.startsWith(u'(')) {
            const qsizetype close = rest.indexOf(u')');
            std::optional<quint32> number;
            if (close >= 0)
                number = parseHexNumber(rest.sliced(1, close - 1), 8);
            if (!number)
                return QStringLiteral("the type in hex(...) is not a hex number");
            type = *number;
            rest = rest.sliced(close + 1);
        }
        if (!rest.startsWith(u':'))
            return QStringLiteral("no ':' follows hex");
        QString list = rest.sliced(1).toString();
        // Long byte lists go on over lines that end in a backslash.
        while (list.endsWith(u'\\')) {
            list.chop(1);
            if (index_ + 1 >= lines_.size())
                return cutShort();
            const SourceLine& next = lines_[++index_];
            if (!next.readable || hasForbiddenControl(next.text))
                return QStringLiteral("a line it goes on over cannot be read");
            list += QStringView(next.text).trimmed();
        }
        // A byte list has no end mark: one that the file's end cut looks whole.
        if (!lines_[index_].ended)
            return cutShort();
        std::optional<QByteArray> bytes = parseHexBytes(list);
        if (!bytes)
            return QStringLiteral("the byte list holds something other than two-digit bytes");
        setValue(name, type, *bytes);
        return std::nullopt;
    }

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

    QList<SourceLine> lines_;
    qsizetype index_ = 0;
    HiveTextForm form_;
    HiveReading reading_;
    HiveKey* current_ = nullptr;
    qsizetype badSectionLine_ = 0; // of the section the next values would belong to
    // Case-folded value names of each key, so that large files parse in linear time.
    QHash<QString, QHash<QString, qsizetype>> valueIndex_;
    QHash<QString, qsizetype>* currentNames_ = nullptr;
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

HiveReading HiveFile::read(QByteArrayView bytes) {
    HiveTextForm form;
    form.encoding = detectEncoding(bytes);
    QList<SourceLine> lines = splitLines(bytes, form);
    return Parser(std::move(lines), form).run();
}

std::optional<HiveFile> HiveFile::parse(QByteArrayView bytes) {
    HiveReading reading = read(bytes);
    if (!reading.whole())
        return std::nullopt;
    return std::move(reading.hive);
}

QByteArray HiveFile::serialise() const {
    QString out =
        QString::fromLatin1(form_.regedit4 ? kOldHeader : kHeader) + QStringLiteral("\n\n");
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
    // Every raw line feed is a line end: texts carry theirs escaped.
    if (form_.lineEnd == HiveTextForm::LineEnd::CrLf)
        out.replace(u'\n', QStringLiteral("\r\n"));
    else if (form_.lineEnd == HiveTextForm::LineEnd::Cr)
        out.replace(u'\n', u'\r');
    switch (form_.encoding) {
    case HiveTextForm::Encoding::Utf8:
        break;
    case HiveTextForm::Encoding::Utf8WithMark:
        return "\xEF\xBB\xBF" + out.toUtf8();
    case HiveTextForm::Encoding::Utf16LeWithMark: {
        QByteArray wide("\xFF\xFE");
        wide.reserve(2 + 2 * out.size());
        for (QChar c : std::as_const(out))
            wide.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
        return wide;
    }
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
    // Through the non-const index, so that a copy that shares the keys is detached first.
    const auto found = index_.constFind(path.toCaseFolded());
    return found == index_.constEnd() ? nullptr : &keys_[*found];
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
